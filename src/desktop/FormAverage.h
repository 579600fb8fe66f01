#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace fixtally {

class TFormMain;
class AverageDialog;
struct Program;

// The "Average condition" dialog of the averaged export: binds its widgets to the
// program's AverageDialog model; span, stepping and limit are settings.
class TFormAverage : public QDialog {
public:
    explicit TFormAverage(TFormMain& main);

    // Activates the dialog and shows it modally over the main window.
    void Execute();
    void ShowModel();

protected:
    void reject() override; // Esc: "Cancel"

private:
    AverageDialog& Model();
    void Run(const std::function<void()>& handler);

    TFormMain& main_;
    Program& program_;
    QLabel* labelTitl_ = nullptr;
    QLabel* labelRange_ = nullptr;
    QLineEdit* editStime_ = nullptr;
    QLineEdit* editFtime_ = nullptr;
    QLineEdit* editSpan_ = nullptr;
    QLineEdit* editStep_ = nullptr;
    QLineEdit* editHerror_ = nullptr;
    QLabel* labelm_ = nullptr;
    QCheckBox* checkEffectHori_ = nullptr;
};

} // namespace fixtally
