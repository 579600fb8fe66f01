#include "desktop/FormAverage.h"

#include "app/AverageDialog.h"
#include "app/Program.h"
#include "desktop/DialogSupport.h"
#include "desktop/MainWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace fixtally {

namespace {

constexpr int Width = 380;
constexpr int Height = 286;

} // namespace

TFormAverage::TFormAverage(TFormMain& main)
    : QDialog(&main), main_(main), program_(main.program()) {
    SetupDialogFrame(this, "FormAverage", AverageDialog::Caption, Width, Height);
    auto* enter = new EnterDiscarder(this);
    const Qt::Alignment centre = Qt::AlignCenter;

    labelTitl_ = DialogLabel(this, "LabelTitl", "", QRect(0, 8, Width, 18), centre);
    labelRange_ = DialogLabel(this, "LabelRange", "", QRect(0, 28, Width, 18), centre);

    DialogLabel(this, nullptr, "Start time", QRect(12, 56, 78, 22));
    editStime_ = DialogEdit(this, "tCenterEditCSVstime", QRect(92, 56, 190, 22), centre);
    QPushButton* day = DialogButton(this, "ButtonDay", "Day", QRect(288, 56, 40, 22));
    QPushButton* hour = DialogButton(this, "ButtonHour", "Hour", QRect(330, 56, 40, 22));
    DialogLabel(this, nullptr, "Final time", QRect(12, 86, 78, 22));
    editFtime_ = DialogEdit(this, "tCenterEditCSVftime", QRect(92, 86, 190, 22), centre);
    QPushButton* fday = DialogButton(this, "ButtonFday", "Day", QRect(288, 86, 40, 22));
    QPushButton* fhour = DialogButton(this, "ButtonFhour", "Hour", QRect(330, 86, 40, 22));

    DialogLabel(this, nullptr, "Averaging span", QRect(12, 122, 110, 22));
    editSpan_ = DialogEdit(this, "tCenterEditCSVspan", QRect(124, 122, 70, 22), centre);
    DialogLabel(this, nullptr, "hour", QRect(200, 122, 60, 22));
    DialogLabel(this, nullptr, "Time stepping", QRect(12, 152, 110, 22));
    editStep_ = DialogEdit(this, "tCenterEditCSVstep", QRect(124, 152, 70, 22), centre);
    DialogLabel(this, nullptr, "hour", QRect(200, 152, 60, 22));

    checkEffectHori_ = new QCheckBox("Excessive error is ignored", this);
    checkEffectHori_->setObjectName("CheckBoxEffectHori");
    checkEffectHori_->setGeometry(12, 184, 250, 22);
    editHerror_ = DialogEdit(this, "tCenterEditHerror", QRect(124, 210, 70, 22), centre);
    labelm_ = DialogLabel(this, "Labelm", "meter or more", QRect(200, 210, 120, 22));

    QPushButton* cancel = DialogButton(this, "ButtonCSVcancel", "Cancel", QRect(118, 250, 78, 25));
    QPushButton* reset = DialogButton(this, "ButtonReset", "Reset", QRect(204, 250, 78, 25));
    QPushButton* ok = DialogButton(this, "ButtonCSVok", "OK", QRect(290, 250, 78, 25));

    const std::pair<QLineEdit*, std::function<std::string&()>> edits[] = {
        {editStime_, [this]() -> std::string& { return Model().tCenterEditCSVstime; }},
        {editFtime_, [this]() -> std::string& { return Model().tCenterEditCSVftime; }},
        {editSpan_,
         [this]() -> std::string& { return AverageDialog::tCenterEditCSVspan(program_); }},
        {editStep_,
         [this]() -> std::string& { return AverageDialog::tCenterEditCSVstep(program_); }},
        {editHerror_,
         [this]() -> std::string& { return AverageDialog::tCenterEditHerror(program_); }},
    };
    for (const auto& [edit, text] : edits) {
        enter->Watch(edit);
        connect(edit, &QLineEdit::textEdited, this,
                [text = text](const QString& typed) { text() = typed.toStdString(); });
    }
    connect(checkEffectHori_, &QCheckBox::clicked, this, [this](bool ticked) {
        Run([this, ticked] { Model().CheckBoxEffectHoriClick(ticked); });
    });
    connect(day, &QPushButton::clicked, this,
            [this] { Run([this] { Model().ButtonDayClick(program_); }); });
    connect(hour, &QPushButton::clicked, this,
            [this] { Run([this] { Model().ButtonHourClick(program_); }); });
    connect(fday, &QPushButton::clicked, this,
            [this] { Run([this] { Model().ButtonFdayClick(program_); }); });
    connect(fhour, &QPushButton::clicked, this,
            [this] { Run([this] { Model().ButtonFhourClick(program_); }); });
    connect(cancel, &QPushButton::clicked, this,
            [this] { Run([this] { Model().ButtonCSVcancelClick(program_); }); });
    connect(reset, &QPushButton::clicked, this,
            [this] { Run([this] { Model().ButtonResetClick(program_); }); });
    connect(ok, &QPushButton::clicked, this,
            [this] { Run([this] { (void)Model().ButtonCSVokClick(program_); }); });

    QWidget* order[] = {editStime_, day,       hour,      editFtime_,       fday,
                        fhour,      editSpan_, editStep_, checkEffectHori_, editHerror_,
                        cancel,     reset,     ok};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

AverageDialog& TFormAverage::Model() {
    return program_.Average;
}

void TFormAverage::ShowModel() {
    const AverageDialog& m = Model();
    ShowText(labelTitl_, m.LabelTitl);
    ShowText(labelRange_, m.LabelRange);
    ShowText(editStime_, m.tCenterEditCSVstime);
    ShowText(editFtime_, m.tCenterEditCSVftime);
    ShowText(editSpan_, AverageDialog::tCenterEditCSVspan(program_));
    ShowText(editStep_, AverageDialog::tCenterEditCSVstep(program_));
    ShowText(editHerror_, AverageDialog::tCenterEditHerror(program_));
    checkEffectHori_->setChecked(m.CheckBoxEffectHori);
    editHerror_->setEnabled(m.LimitEnabled());
    labelm_->setEnabled(m.LimitEnabled());
}

void TFormAverage::Execute() {
    Model().FormActivate(program_);
    ShowModel();
    editStime_->setFocus();
    ExecCentred(this, &main_);
}

void TFormAverage::Run(const std::function<void()>& handler) {
    handler();
    ShowModel();
    if (Model().CloseRequested && isVisible()) done(QDialog::Accepted);
}

void TFormAverage::reject() {
    Model().ButtonCSVcancelClick(program_);
    QDialog::reject();
}

} // namespace fixtally
