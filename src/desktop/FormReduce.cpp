#include "desktop/FormReduce.h"

#include "app/Program.h"
#include "app/ReduceDialog.h"
#include "desktop/DialogSupport.h"
#include "desktop/MainWindow.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace fixtally {

namespace {

constexpr int Width = 300;
constexpr int Height = 164;

// "Condition to output" in a larger size of the dialog's font.
QFont TitleFont(const QFont& font) {
    QFont title = font;
    if (font.pointSizeF() > 0)
        title.setPointSizeF(font.pointSizeF() * 1.4);
    else
        title.setPixelSize(font.pixelSize() * 7 / 5);
    return title;
}

} // namespace

TFormReduce::TFormReduce(TFormMain& main) : QDialog(&main), main_(main), program_(main.program()) {
    SetupDialogFrame(this, "FormReduce", ReduceDialog::Caption, Width, Height);
    auto* enter = new EnterDiscarder(this);

    label1_ =
        DialogLabel(this, "Label1", ReduceDialog::Label1, QRect(0, 8, Width, 28), Qt::AlignCenter);
    label1_->setFont(TitleFont(font()));
    DialogLabel(this, "LabelMd", "Moving distance", QRect(16, 46, 116, 22));
    editMd_ = DialogEdit(this, "EditMd", QRect(134, 46, 80, 22), Qt::AlignRight | Qt::AlignVCenter);
    DialogLabel(this, "LabelMdu", "m", QRect(220, 46, 64, 22));
    DialogLabel(this, "Label2", "or", QRect(134, 70, 80, 18), Qt::AlignCenter);
    DialogLabel(this, "LabelEt", "Elapsed time", QRect(16, 90, 116, 22));
    editEt_ = DialogEdit(this, "EditEt", QRect(134, 90, 80, 22), Qt::AlignRight | Qt::AlignVCenter);
    DialogLabel(this, "LabelEtu", "second", QRect(220, 90, 64, 22));
    for (QLineEdit* edit : {editMd_, editEt_}) {
        enter->Watch(edit);
        connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) {
            (edit == editMd_ ? ReduceDialog::EditMd(program_) : ReduceDialog::EditEt(program_)) =
                text.toStdString();
        });
    }

    QPushButton* cancel = DialogButton(this, "Button1", "Cancel", QRect(18, 128, 80, 25));
    QPushButton* reduce = DialogButton(this, "ButtonOK", "Reduce", QRect(110, 128, 80, 25));
    QPushButton* full = DialogButton(this, "ButtonFull", "Full", QRect(202, 128, 80, 25));
    connect(cancel, &QPushButton::clicked, this, [this] {
        Model().Button1Click(program_);
        Closing();
    });
    connect(reduce, &QPushButton::clicked, this, [this] {
        Model().ButtonOKClick(program_);
        Closing();
    });
    connect(full, &QPushButton::clicked, this, [this] {
        Model().ButtonFullClick();
        Closing();
    });
    setTabOrder(editMd_, editEt_);
    setTabOrder(editEt_, cancel);
    setTabOrder(cancel, reduce);
    setTabOrder(reduce, full);
}

ReduceDialog& TFormReduce::Model() {
    return program_.Reduce;
}

void TFormReduce::ShowModel() {
    ShowText(editMd_, ReduceDialog::EditMd(program_));
    ShowText(editEt_, ReduceDialog::EditEt(program_));
}

void TFormReduce::Execute() {
    Model().FormActivate(program_);
    ShowModel();
    editMd_->setFocus();
    ExecCentred(this, &main_);
}

void TFormReduce::Closing() {
    ShowModel();
    if (Model().CloseRequested && isVisible()) done(QDialog::Accepted);
}

void TFormReduce::reject() {
    Model().Button1Click(program_);
    QDialog::reject();
}

void TFormReduce::changeEvent(QEvent* event) {
    // The title keeps its larger size in whatever interface font is applied.
    if (event->type() == QEvent::FontChange && label1_) label1_->setFont(TitleFont(font()));
    QDialog::changeEvent(event);
}

} // namespace fixtally
