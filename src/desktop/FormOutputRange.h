#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;

namespace fixtally {

class TFormMain;
class OutputRange;
struct Program;

// The count-range dialog "Count range": binds its widgets to the program's OutputRange
// model. It exists for the whole run, so its edits keep their texts between openings.
class TFormOutputRange : public QDialog {
public:
    explicit TFormOutputRange(TFormMain& main);

    // Activates the dialog and shows it modally over the main window.
    void Execute();
    void ShowModel();

protected:
    void reject() override; // Esc: "Cancel"

private:
    OutputRange& Model();
    void Run(const std::function<void()>& handler, bool counts);

    TFormMain& main_;
    Program& program_;
    QLabel* labelTitl_ = nullptr;
    QLabel* labelRange_ = nullptr;
    QLineEdit* editStime_ = nullptr;
    QLineEdit* editEtime_ = nullptr;
    bool counting_ = false;
};

} // namespace fixtally
