#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace fixtally {

class TFormMain;
class ReduceDialog;
struct Program;

// The "Reduce" dialog shown by the track exports: binds its widgets to the program's
// ReduceDialog model; the two edits are the Reduce settings.
class TFormReduce : public QDialog {
public:
    explicit TFormReduce(TFormMain& main);

    // Activates the dialog and shows it modally over the main window.
    void Execute();
    void ShowModel();

protected:
    void reject() override; // Esc: "Cancel"
    void changeEvent(QEvent* event) override;

private:
    ReduceDialog& Model();
    void Closing();

    TFormMain& main_;
    Program& program_;
    QLabel* label1_ = nullptr;
    QLineEdit* editMd_ = nullptr;
    QLineEdit* editEt_ = nullptr;
};

} // namespace fixtally
