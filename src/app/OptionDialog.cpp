#include "app/OptionDialog.h"

#include "app/GraphCommands.h"
#include "app/Program.h"
#include "app/Recount.h"
#include "app/ResultsView.h"
#include "convert/Conversions.h"
#include "settings/Conventions.h"
#include "stats/CountRange.h"

#include <array>

namespace fixtally {

namespace {

constexpr std::string_view O = "Option";
constexpr std::string_view D = "CSVdecimals";

using R = OptionRole;

// The focus order of the dialog: shading, CSV option, display decimals, CSV decimals,
// NMEA/CSV filter, RTKLIB filter, probability unit; the date format follows.
constexpr std::array FieldTable{
    OptionField{"LabeledEditBright", O, "MiniColor", R::Shading},
    OptionField{"LabeledEditDark", O, "MaxColor", R::Shading},
    OptionField{"CheckBoxSepTime", O, "CSV_SepTime", R::Plain},
    OptionField{"LabeledEditPosDec", O, "PosDecimal", R::DisplayDecimal},
    OptionField{"LabeledEditErrDec", O, "ErrorDecimal", R::DisplayDecimal},
    OptionField{"LabeledEditAltDec", O, "AltDecimal", R::DisplayDecimal},
    OptionField{"LabeledEditDopDec", O, "DopDecimal", R::DisplayDecimal},
    OptionField{"CheckBoxDDMMSS", O, "DDMMSS", R::Ddmmss},
    OptionField{"LabeledEditCsvLatLon", D, "LatLon", R::Plain},
    OptionField{"LabeledEditCsvError", D, "Error", R::Plain},
    OptionField{"LabeledEditCsvAlt", D, "Alt", R::Plain},
    OptionField{"LabeledEditCsvDop", D, "DOP", R::Plain},
    OptionField{"LabeledEditCsvSpeed", D, "Speed", R::Plain},
    OptionField{"ComboBoxNmeaQS", O, "NMEA_QS", R::NmeaFilter},
    OptionField{"ComboBoxNmeaQU", O, "NMEA_QU", R::NmeaFilter},
    OptionField{"LabeledEditHDOP", O, "HDOPlim", R::NmeaFilter},
    OptionField{"LabeledEditVDOP", O, "VDOPlim", R::NmeaFilter},
    OptionField{"LabeledEditPDOP", O, "PDOPlim", R::NmeaFilter},
    OptionField{"ComboBoxRtkQS", O, "RTK_QS", R::RtklibFilter},
    OptionField{"ComboBoxRtkQU", O, "RTK_QU", R::RtklibFilter},
    OptionField{"RadioButton2drms", O, "2drms", R::Probability},
};

constexpr std::array<std::string_view, 4> Operators{"<=", "=", ">=", "<>"};
constexpr std::array<std::string_view, 9> NmeaQualities{
    "0 Invalid",   "1 SPS",       "2 DGPS",         "3 PPS",      "4 RTK",
    "5 Float RTK", "6 Estimated", "7 Manual input", "8 Simulator"};
constexpr std::array<std::string_view, 6> RtklibQualities{"1 fix",  "2 float",  "3 sbas",
                                                          "4 dgps", "5 single", "6 ppp"};

const SettingKey* KeyOf(const OptionField& field) {
    for (const SettingKey& key : SettingKeyTable())
        if (key.Section == field.Section && key.Key == field.Key) return &key;
    return nullptr;
}

std::string NormalisedDateFormat(std::string_view text) {
    std::string format(TrimText(text));
    for (char& c : format)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return format;
}

} // namespace

std::span<const OptionField> OptionDialog::Fields() {
    return FieldTable;
}

const OptionField* OptionDialog::FindField(std::string_view control) {
    for (const OptionField& field : FieldTable)
        if (field.Control == control) return &field;
    return nullptr;
}

SettingRef OptionDialog::Setting(Program& program, const OptionField& field) {
    const SettingKey* key = KeyOf(field);
    return key ? SettingOf(*key, program.Settings) : SettingRef{};
}

std::span<const std::string_view> OptionDialog::OperatorItems() {
    return Operators;
}
std::span<const std::string_view> OptionDialog::NmeaQualityItems() {
    return NmeaQualities;
}
std::span<const std::string_view> OptionDialog::RtklibQualityItems() {
    return RtklibQualities;
}

std::string OptionDialog::FieldText(const Program& program, const OptionField& field) {
    // SettingOf hands out writable references; the value is only read here.
    SettingRef ref = Setting(const_cast<Program&>(program), field);
    if (ref.Text) return *ref.Text;
    if (ref.Flag) return *ref.Flag ? "1" : "0";
    if (ref.Int) return std::to_string(*ref.Int);
    return {};
}

void OptionDialog::FormActivate(Program& program) {
    CloseRequested = false;
    if (!synced_ || program.Settings.DateFormat != syncedDateFormat_) {
        EditDateFormat = program.Settings.DateFormat;
        syncedDateFormat_ = program.Settings.DateFormat;
        synced_ = true;
    }
    snapshot_.clear();
    for (const OptionField& field : FieldTable) snapshot_.push_back(FieldText(program, field));
    snapshotDateFormat_ = EditDateFormat;
}

void OptionDialog::SelectProbability(Program& program, bool twoDrms) {
    program.Settings.TwoDrms = twoDrms;
    SetProbabilityCaption(program);
}

void OptionDialog::SelectOtherProbability(Program& program) {
    SelectProbability(program, !program.Settings.TwoDrms);
}

bool OptionDialog::Changed(const Program& program, OptionRole role) const {
    if (snapshot_.size() != FieldTable.size()) return false; // never activated
    for (std::size_t i = 0; i < FieldTable.size(); ++i)
        if (FieldTable[i].Role == role && FieldText(program, FieldTable[i]) != snapshot_[i])
            return true;
    return false;
}

bool OptionDialog::RecountDue(const Program& program) const {
    if (Changed(program, R::DisplayDecimal)) return true;
    return program.Log.IsRtklibLog ? Changed(program, R::RtklibFilter)
                                   : Changed(program, R::NmeaFilter);
}

void OptionDialog::ButtonCancelClick(Program& program) {
    if (snapshot_.size() == FieldTable.size()) {
        for (std::size_t i = 0; i < FieldTable.size(); ++i) {
            const OptionField& field = FieldTable[i];
            if (field.Role == R::Probability) {
                const bool twoDrms = snapshot_[i] == "1";
                if (program.Settings.TwoDrms != twoDrms) SelectProbability(program, twoDrms);
                continue;
            }
            const SettingKey* key = KeyOf(field);
            if (key) (void)AssignSetting(SettingOf(*key, program.Settings), snapshot_[i]);
        }
        EditDateFormat = snapshotDateFormat_;
    }
    CloseRequested = true;
}

void OptionDialog::ButtonOKClick(Program& program) {
    const bool recountDue = RecountDue(program);
    const bool logLoaded = program.Store.Exists();

    if (Changed(program, R::Shading)) {
        ReadShadingLevels(program); // the colour bar is drawn from the levels
        ++ShadingRedraws;
        if (!recountDue) {
            RedrawScatterGraph(program);
            ++GraphRedraws;
        }
    }
    if (recountDue && logLoaded) {
        CountFixes(program);
        ++Recounts;
    } else if (Changed(program, R::Ddmmss)) {
        ShowAveragePosition(program);
        ++AveragePositionShows;
    }
    ApplyDateFormat(program);
    CloseRequested = true;
}

void OptionDialog::ApplyDateFormat(Program& program) {
    if (TrimText(EditDateFormat).empty()) EditDateFormat = program.Conventions.DefaultDateFormat;
    if (!EditDateFormat.empty() &&
        (EditDateFormat.front() == '/' || EditDateFormat.back() == '/')) {
        ++DateFormatErrors;
        program.Ui.ShowMessage("\nDate format error!!  \n\n" + EditDateFormat, MessageKind::Error,
                               ButtonOk);
        return;
    }
    const std::string previous = DateFormatInUse(program.Settings, program.Conventions);
    std::string format = NormalisedDateFormat(EditDateFormat);
    if (format.empty()) format = program.Conventions.DefaultDateFormat;
    // The field and the setting both show the format in use.
    EditDateFormat = format;
    program.Settings.DateFormat = format;
    syncedDateFormat_ = format;
    if (format == previous) return;

    // The texts of both time dialogs in the new format; the count range in force becomes
    // the full range.
    OutputRange& range = program.RangeDialog;
    range.PublishLogRange(program);
    AverageDialog& average = program.Average;
    average.LabelRange = RangeText(program.FullRange, format);
    average.tCenterEditCSVstime = range.EditStime;
    average.tCenterEditCSVftime = range.EditEtime;
    if (program.Store.Exists()) {
        CountFixes(program);
        ++Recounts;
    }
}

} // namespace fixtally
