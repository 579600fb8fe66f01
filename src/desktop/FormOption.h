#pragma once

#include <QDialog>

#include <functional>
#include <map>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace fixtally {

class TFormMain;
class OptionDialog;
struct Program;

// The options dialog "Option setting": one widget per field of the OptionDialog model
// (objectName = the field's control name), each showing and editing its setting.
class TFormOption : public QDialog {
public:
    explicit TFormOption(TFormMain& main);

    // Activates the dialog and shows it modally over the main window.
    void Execute();
    void ShowModel();
    // The main window's click on the spread group: selects the other radio button, whose
    // handler switches the unit.
    void SelectOtherProbability();

protected:
    void reject() override; // Esc: "Cancel"

private:
    OptionDialog& Model();
    void CreateControls();
    void Run(const std::function<void()>& handler, bool counts);
    void ProbabilityClick(bool twoDrms);

    TFormMain& main_;
    Program& program_;
    std::map<std::string, QLineEdit*> edits_;
    std::map<std::string, QComboBox*> lists_;
    std::map<std::string, QCheckBox*> checks_;
    QRadioButton* radio2drms_ = nullptr;
    QRadioButton* radioCep_ = nullptr;
    QLineEdit* editDateFormat_ = nullptr;
    QWidget* buttonCancel_ = nullptr;
    bool counting_ = false;
};

} // namespace fixtally
