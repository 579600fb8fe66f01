#include "desktop/FormOutputRange.h"

#include "app/OutputRange.h"
#include "app/Program.h"
#include "desktop/DialogSupport.h"
#include "desktop/MainWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace fixtally {

namespace {

constexpr int Width = 360;
constexpr int Height = 178;

} // namespace

TFormOutputRange::TFormOutputRange(TFormMain& main)
    : QDialog(&main), main_(main), program_(main.program()) {
    SetupDialogFrame(this, "FormOutputRange", OutputRange::Caption, Width, Height);
    auto* enter = new EnterDiscarder(this);

    labelTitl_ = DialogLabel(this, "LabelTitl", "", QRect(0, 10, Width, 18), Qt::AlignCenter);
    labelRange_ = DialogLabel(this, "LabelRange", "", QRect(0, 30, Width, 18), Qt::AlignCenter);

    struct Row {
        const char* Caption;
        const char* Edit;
        const char* Plus;
        const char* Minus;
        int Top;
        void (OutputRange::*PlusClick)(const Program&);
        void (OutputRange::*MinusClick)(const Program&);
    };
    const Row rows[] = {{"Start time", "EditStime", "ButtonSP1", "ButtonSM1", 62,
                         &OutputRange::ButtonSP1Click, &OutputRange::ButtonSM1Click},
                        {"Final time", "EditEtime", "ButtonFP1", "ButtonFM1", 94,
                         &OutputRange::ButtonFP1Click, &OutputRange::ButtonFM1Click}};
    for (const Row& row : rows) {
        DialogLabel(this, nullptr, row.Caption, QRect(12, row.Top, 72, 22));
        QLineEdit* edit = DialogEdit(this, row.Edit, QRect(86, row.Top, 190, 22), Qt::AlignCenter);
        enter->Watch(edit);
        const bool start = row.Top == rows[0].Top;
        (start ? editStime_ : editEtime_) = edit;
        connect(edit, &QLineEdit::textEdited, this, [this, start](const QString& text) {
            (start ? Model().EditStime : Model().EditEtime) = text.toStdString();
        });
        QPushButton* plus = DialogButton(this, row.Plus, "+1h", QRect(282, row.Top, 34, 22));
        QPushButton* minus = DialogButton(this, row.Minus, "-1h", QRect(318, row.Top, 34, 22));
        for (auto [button, click] : {std::pair{plus, row.PlusClick}, {minus, row.MinusClick}}) {
            button->setFocusPolicy(Qt::ClickFocus); // skipped by Tab
            connect(button, &QPushButton::clicked, this,
                    [this, click] { Run([this, click] { (Model().*click)(program_); }, false); });
        }
    }

    QPushButton* exit = DialogButton(this, "ButtonExit", "Cancel", QRect(104, 138, 76, 25));
    QPushButton* reset = DialogButton(this, "ButtonCancel", "Reset", QRect(188, 138, 76, 25));
    QPushButton* set = DialogButton(this, "ButtonOK", "Set", QRect(272, 138, 76, 25));
    connect(exit, &QPushButton::clicked, this,
            [this] { Run([this] { Model().ButtonExitClick(); }, false); });
    connect(reset, &QPushButton::clicked, this,
            [this] { Run([this] { Model().ButtonCancelClick(program_); }, true); });
    connect(set, &QPushButton::clicked, this,
            [this] { Run([this] { Model().ButtonOKClick(program_); }, true); });
    setTabOrder(editStime_, editEtime_);
    setTabOrder(editEtime_, exit);
    setTabOrder(exit, reset);
    setTabOrder(reset, set);
}

OutputRange& TFormOutputRange::Model() {
    return program_.RangeDialog;
}

void TFormOutputRange::ShowModel() {
    const OutputRange& m = Model();
    ShowText(labelTitl_, m.LabelTitl);
    ShowText(labelRange_, m.LabelRange);
    ShowText(editStime_, m.EditStime);
    ShowText(editEtime_, m.EditEtime);
}

void TFormOutputRange::Execute() {
    Model().FormActivate();
    ShowModel();
    editStime_->setFocus();
    ExecCentred(this, &main_);
}

void TFormOutputRange::Run(const std::function<void()>& handler, bool counts) {
    // A count processes events: the dialog takes no second click meanwhile.
    if (counting_) return;
    if (counts) {
        counting_ = true;
        main_.RunBusy(handler);
        counting_ = false;
    } else {
        handler();
    }
    ShowModel();
    if (Model().CloseRequested && isVisible()) done(QDialog::Accepted);
}

void TFormOutputRange::reject() {
    if (counting_) return; // Esc during the count aborts the count, not the dialog
    Model().ButtonExitClick();
    QDialog::reject();
}

} // namespace fixtally
