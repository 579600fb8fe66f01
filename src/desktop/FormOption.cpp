#include "desktop/FormOption.h"

#include "app/OptionDialog.h"
#include "app/Program.h"
#include "desktop/DialogSupport.h"
#include "desktop/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <span>

namespace fixtally {

namespace {

enum class Kind { Edit, List, Check, Radio };

// Where each field of the model sits: its group, caption and geometry in the group.
struct Place {
    const char* Control;
    Kind Type;
    const char* Caption;
    QRect Label; // empty for check boxes and radio buttons
    QRect Field;
};

struct GroupPlace {
    const char* Name;
    const char* Caption;
    QRect Geometry;
    std::span<const Place> Fields;
};

constexpr int H = 22; // height of a field row

const Place Shading[] = {
    {"LabeledEditBright", Kind::Edit, "Brightest", {10, 20, 62, H}, {74, 20, 48, H}},
    {"LabeledEditDark", Kind::Edit, "Darkest", {136, 20, 58, H}, {196, 20, 48, H}},
};
const Place CsvOption[] = {
    {"CheckBoxSepTime", Kind::Check, "Date + time", {}, {14, 20, 150, H}},
};
const Place DisplayDecimals[] = {
    {"LabeledEditPosDec", Kind::Edit, "Latitude,Longitude", {10, 20, 118, H}, {130, 20, 40, H}},
    {"LabeledEditErrDec", Kind::Edit, "Distance, 2drms", {176, 20, 104, H}, {282, 20, 40, H}},
    {"LabeledEditAltDec", Kind::Edit, "Altitude", {10, 50, 118, H}, {130, 50, 40, H}},
    {"LabeledEditDopDec", Kind::Edit, "DOP", {176, 50, 104, H}, {282, 50, 40, H}},
    {"CheckBoxDDMMSS", Kind::Check, "dd mm ss.sss", {}, {336, 20, 110, H}},
};
const Place CsvDecimals[] = {
    {"LabeledEditCsvLatLon", Kind::Edit, "Latitude,Longitude", {10, 20, 118, H}, {130, 20, 40, H}},
    {"LabeledEditCsvError", Kind::Edit, "Distance, 2drms", {176, 20, 104, H}, {282, 20, 40, H}},
    {"LabeledEditCsvAlt", Kind::Edit, "Altitude", {10, 50, 118, H}, {130, 50, 40, H}},
    {"LabeledEditCsvDop", Kind::Edit, "DOP", {176, 50, 104, H}, {282, 50, 40, H}},
    {"LabeledEditCsvSpeed", Kind::Edit, "Speed", {336, 20, 56, H}, {396, 20, 40, H}},
};
const Place NmeaCsv[] = {
    {"ComboBoxNmeaQS", Kind::List, "Fix quality", {10, 20, 80, H}, {92, 20, 58, H}},
    {"ComboBoxNmeaQU", Kind::List, nullptr, {}, {156, 20, 130, H}},
    {"LabeledEditHDOP", Kind::Edit, "HDOP<=", {10, 50, 56, H}, {68, 50, 60, H}},
    {"LabeledEditVDOP", Kind::Edit, "VDOP<=", {150, 50, 56, H}, {208, 50, 60, H}},
    {"LabeledEditPDOP", Kind::Edit, "PDOP<=", {290, 50, 56, H}, {348, 50, 60, H}},
};
const Place Rtklib[] = {
    {"ComboBoxRtkQS", Kind::List, "Quality flag", {10, 20, 80, H}, {92, 20, 58, H}},
    {"ComboBoxRtkQU", Kind::List, nullptr, {}, {156, 20, 130, H}},
};
const Place Probability[] = {
    {"RadioButton2drms", Kind::Radio, "2drms", {}, {16, 20, 90, H}},
    {"RadioButtonCEP", Kind::Radio, "CEP(50%)", {}, {112, 20, 100, H}},
};
const Place DateFormat[] = {
    {"EditDateFormat", Kind::Edit, "Format", {10, 20, 50, H}, {62, 20, 112, H}},
};

const GroupPlace Groups[] = {
    {"GroupBoxShading", " Shading of the graph ", {8, 10, 260, 51}, Shading},
    {"GroupBoxCsvOption", " CSV option ", {280, 10, 178, 51}, CsvOption},
    {"GroupBoxDisplayDecimals",
     " Number of decimals of display ",
     {8, 66, 450, 81},
     DisplayDecimals},
    {"GroupBoxCsvDecimals",
     " Number of decimals of the CSV output ",
     {8, 152, 450, 81},
     CsvDecimals},
    {"GroupBoxNmeaCsv", " NMEA,CSV ", {8, 238, 450, 81}, NmeaCsv},
    {"GroupBoxRtklib", " RTKLIB ", {8, 324, 450, 51}, Rtklib},
    {"GroupBoxProbability", " Probability unit ", {8, 380, 230, 51}, Probability},
    {"GroupBoxDateFormat", " Date format ", {273, 380, 185, 51}, DateFormat},
};

std::span<const std::string_view> ListItems(std::string_view control) {
    if (control == "ComboBoxNmeaQU") return OptionDialog::NmeaQualityItems();
    if (control == "ComboBoxRtkQU") return OptionDialog::RtklibQualityItems();
    return OptionDialog::OperatorItems();
}

} // namespace

TFormOption::TFormOption(TFormMain& main) : QDialog(&main), main_(main), program_(main.program()) {
    SetupDialogFrame(this, "FormOption", OptionDialog::Caption, OptionDialog::ClientWidth,
                     OptionDialog::ClientHeight);
    CreateControls();
}

OptionDialog& TFormOption::Model() {
    return program_.Options;
}

void TFormOption::CreateControls() {
    auto* enter = new EnterDiscarder(this);
    std::vector<QWidget*> order;
    for (const GroupPlace& g : Groups) {
        auto* group = new QGroupBox(g.Caption, this);
        group->setObjectName(g.Name);
        group->setGeometry(g.Geometry);
        for (const Place& p : g.Fields) {
            if (p.Caption && !p.Label.isEmpty()) DialogLabel(group, nullptr, p.Caption, p.Label);
            const std::string control = p.Control;
            const OptionField* field = OptionDialog::FindField(control);
            switch (p.Type) {
            case Kind::Edit: {
                QLineEdit* edit = DialogEdit(group, p.Control, p.Field);
                enter->Watch(edit);
                order.push_back(edit);
                if (!field) {
                    editDateFormat_ = edit;
                    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
                        Model().EditDateFormat = text.toStdString();
                    });
                    break;
                }
                edits_[control] = edit;
                connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
                    *OptionDialog::Setting(program_, *field).Text = text.toStdString();
                });
                break;
            }
            case Kind::List: {
                auto* list = new QComboBox(group);
                list->setObjectName(p.Control);
                list->setGeometry(p.Field);
                list->setEditable(true);
                list->setInsertPolicy(QComboBox::NoInsert);
                for (std::string_view item : ListItems(control))
                    list->addItem(QString::fromUtf8(item.data(), qsizetype(item.size())));
                list->setMaxVisibleItems(list->count()); // every entry visible when dropped
                enter->Watch(list);
                order.push_back(list);
                lists_[control] = list;
                connect(list, &QComboBox::currentTextChanged, this,
                        [this, field](const QString& text) {
                            *OptionDialog::Setting(program_, *field).Text = text.toStdString();
                        });
                break;
            }
            case Kind::Check: {
                auto* check = new QCheckBox(p.Caption, group);
                check->setObjectName(p.Control);
                check->setGeometry(p.Field);
                order.push_back(check);
                checks_[control] = check;
                connect(check, &QCheckBox::clicked, this, [this, field](bool ticked) {
                    *OptionDialog::Setting(program_, *field).Flag = ticked;
                });
                break;
            }
            case Kind::Radio: {
                auto* radio = new QRadioButton(p.Caption, group);
                radio->setObjectName(p.Control);
                radio->setGeometry(p.Field);
                const bool twoDrms = field != nullptr; // "RadioButtonCEP" has no field
                (twoDrms ? radio2drms_ : radioCep_) = radio;
                order.push_back(radio);
                connect(radio, &QRadioButton::clicked, this,
                        [this, twoDrms] { ProbabilityClick(twoDrms); });
                break;
            }
            }
        }
    }
    QPushButton* cancel = DialogButton(this, "ButtonCancel", "Cancel", QRect(300, 438, 70, 25));
    QPushButton* ok = DialogButton(this, "ButtonOK", "OK", QRect(388, 438, 70, 25));
    buttonCancel_ = cancel;
    order.push_back(cancel);
    order.push_back(ok);
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    connect(cancel, &QPushButton::clicked, this,
            [this] { Run([this] { Model().ButtonCancelClick(program_); }, false); });
    connect(ok, &QPushButton::clicked, this,
            [this] { Run([this] { Model().ButtonOKClick(program_); }, true); });
}

void TFormOption::ShowModel() {
    for (const OptionField& field : OptionDialog::Fields()) {
        const SettingRef ref = OptionDialog::Setting(program_, field);
        const std::string control(field.Control);
        if (auto e = edits_.find(control); e != edits_.end() && ref.Text) {
            ShowText(e->second, *ref.Text);
        } else if (auto l = lists_.find(control); l != lists_.end() && ref.Text) {
            const QString text = QString::fromStdString(*ref.Text);
            if (l->second->currentText() != text) {
                const QSignalBlocker blocker(l->second);
                l->second->setCurrentText(text);
            }
        } else if (auto c = checks_.find(control); c != checks_.end() && ref.Flag) {
            c->second->setChecked(*ref.Flag);
        }
    }
    const bool twoDrms = program_.Settings.TwoDrms;
    if (radio2drms_->isChecked() != twoDrms || radioCep_->isChecked() == twoDrms)
        (twoDrms ? radio2drms_ : radioCep_)->setChecked(true);
    ShowText(editDateFormat_, Model().EditDateFormat);
}

void TFormOption::Execute() {
    Model().FormActivate(program_);
    ShowModel();
    buttonCancel_->setFocus();
    ExecCentred(this, &main_);
}

void TFormOption::SelectOtherProbability() {
    ShowModel();
    (program_.Settings.TwoDrms ? radioCep_ : radio2drms_)->click();
}

void TFormOption::ProbabilityClick(bool twoDrms) {
    if (twoDrms)
        Model().RadioButton2drmsClick(program_);
    else
        Model().RadioButtonCEPClick(program_);
    main_.ShowModel();
}

void TFormOption::Run(const std::function<void()>& handler, bool counts) {
    if (counting_) return; // a count of OK processes events; no second click meanwhile
    if (counts) {
        counting_ = true;
        main_.RunBusy(handler);
        counting_ = false;
    } else {
        handler();
    }
    ShowModel();
    main_.ShowModel();
    if (Model().CloseRequested && isVisible()) done(QDialog::Accepted);
}

void TFormOption::reject() {
    if (counting_) return;
    Model().ButtonCancelClick(program_);
    ShowModel();
    main_.ShowModel();
    QDialog::reject();
}

} // namespace fixtally
