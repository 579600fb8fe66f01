#include "display/ResultsDisplay.h"

#include "app/Program.h"
#include "convert/Conversions.h"
#include "display/FixedText.h"
#include "graph/GraphSub.h"
#include "settings/FilterLimits.h"
#include "stats/TimeText.h"

#include <array>
#include <cmath>

namespace fixtally {

namespace {

// Pads the shorter of two non-empty texts with leading spaces: first the second one,
// then the first one.
void PairWidths(std::string& first, std::string& second) {
    if (first.empty() || second.empty()) return;
    PadLeft(second, first.size());
    PadLeft(first, second.size());
}

std::string SpreadText(double value, double factor, int decimals) {
    if (std::isnan(value)) return {};
    return FixedText(value * factor, decimals) + "m";
}

std::string TwoDigits(long long value) {
    std::string text = std::to_string(value);
    PadLeft(text, 2);
    for (char& c : text)
        if (c == ' ') c = '0';
    return text;
}

} // namespace

std::span<const ResultField> ResultFields() {
    using M = MainWindowModel;
    static constexpr std::array<ResultField, 26> fields{{
        {"tCenterEditLatAve", &M::tCenterEditLatAve},
        {"tCenterEditLonAve", &M::tCenterEditLonAve},
        {"tCenterEditAltAve", &M::tCenterEditAltAve},
        {"tCenterEditH2drms", &M::tCenterEditH2drms},
        {"tCenterEditAlt2drms", &M::tCenterEditAlt2drms},
        {"tCenterEditEW2drms", &M::tCenterEditEW2drms},
        {"tCenterEditNS2drms", &M::tCenterEditNS2drms},
        {"tCenterEditSuAve", &M::tCenterEditSuAve},
        {"tCenterEditSuMin", &M::tCenterEditSuMin},
        {"tCenterEditSuMax", &M::tCenterEditSuMax},
        {"tCenterEditHdopAve", &M::tCenterEditHdopAve},
        {"tCenterEditHdopMin", &M::tCenterEditHdopMin},
        {"tCenterEditHdopMax", &M::tCenterEditHdopMax},
        {"tCenterEditVdopAve", &M::tCenterEditVdopAve},
        {"tCenterEditVdopMin", &M::tCenterEditVdopMin},
        {"tCenterEditVdopMax", &M::tCenterEditVdopMax},
        {"tCenterEditPdopAve", &M::tCenterEditPdopAve},
        {"tCenterEditPdopMin", &M::tCenterEditPdopMin},
        {"tCenterEditPdopMax", &M::tCenterEditPdopMax},
        {"tCenterEditDgpsP", &M::tCenterEditDgpsP},
        {"tCenterEditHP", &M::tCenterEditHP},
        {"tCenterEditAP", &M::tCenterEditAP},
        {"tCenterEditHorDiff", &M::tCenterEditHorDiff},
        {"tCenterEditAltDiff", &M::tCenterEditAltDiff},
        {"tCenterEditEwDiff", &M::tCenterEditEwDiff},
        {"tCenterEditNsDiff", &M::tCenterEditNsDiff},
    }};
    return fields;
}

void ReadDisplayDecimals(Program& program) {
    Settings& settings = program.Settings;
    MainWindowModel& main = program.Main;

    // "0" leaves the count to the log; the log's count is clamped silently, so the
    // user's "0" stays and the next log decides again.
    auto logOrTyped = [](std::string& text, int logDecimals, int low, int high) {
        const int typed = TextToInt(text);
        if (typed == 0) return ClampInt(logDecimals, low, high);
        const int used = ClampInt(typed, low, high);
        if (used != typed) text = std::to_string(used);
        return used;
    };
    main.PosDecimals = logOrTyped(settings.PosDecimal, program.Log.LogPosDecimals, 3, 9);
    main.AltDecimals = logOrTyped(settings.AltDecimal, program.Log.LogAltDecimals, 1, 6);

    main.ErrorDecimals = TextToInt(settings.ErrorDecimal);
    if (main.ErrorDecimals == 0) {
        main.ErrorDecimals = main.AltDecimals;
        settings.ErrorDecimal = settings.AltDecimal;
    }
    main.DopDecimals = TextToInt(settings.DopDecimal);
    if (main.DopDecimals == 0) {
        main.DopDecimals = 3;
        settings.DopDecimal = "3";
    }
}

void ShowSpreadFields(Program& program) {
    MainWindowModel& main = program.Main;
    const SpreadValues& spread = program.Results.ErrorSpread;
    const double factor = program.Settings.TwoDrms ? 1.0 : CepFactor;
    main.tCenterEditH2drms = SpreadText(spread.Horizontal, factor, main.ErrorDecimals);
    main.tCenterEditEW2drms = SpreadText(spread.EastWest, factor, main.ErrorDecimals);
    main.tCenterEditNS2drms = SpreadText(spread.NorthSouth, factor, main.ErrorDecimals);
    main.tCenterEditAlt2drms = SpreadText(spread.Altitude, factor, main.ErrorDecimals);
    PairWidths(main.tCenterEditH2drms, main.tCenterEditAlt2drms);
    PairWidths(main.tCenterEditEW2drms, main.tCenterEditNS2drms);
}

void ShowAveragePosition(Program& program) {
    MainWindowModel& main = program.Main;
    const GeoPoint& average = program.Results.AveragePoint;
    if (std::isnan(average.Latitude) || std::isnan(average.Longitude)) {
        main.tCenterEditLatAve.clear();
        main.tCenterEditLonAve.clear();
        return;
    }
    if (program.Settings.DDMMSS) {
        main.tCenterEditLatAve = FormatDmsHemisphere(average.Latitude, main.PosDecimals, "NS");
        main.tCenterEditLonAve = FormatDmsHemisphere(average.Longitude, main.PosDecimals, "EW");
    } else {
        main.tCenterEditLatAve = FixedText(average.Latitude, main.PosDecimals + 4, 3);
        main.tCenterEditLonAve = FixedText(average.Longitude, main.PosDecimals + 4, 3);
    }
}

void ShowFilterLabel(Program& program) {
    const Settings& settings = program.Settings;
    program.Main.LabelDgps = program.Log.IsRtklibLog ? settings.RTK_QS + settings.RTK_QU
                                                     : settings.NMEA_QS + settings.NMEA_QU;
}

std::string ElapsedText(double days) {
    if (!std::isfinite(days)) return {};
    // Whole milliseconds first, so that a span a hair short of a day reads as one day.
    const long long total = std::llround(std::fabs(days) * 86400000.0);
    const long long wholeDays = total / 86400000;
    const long long seconds = (total % 86400000) / 1000;
    std::string text;
    if (wholeDays != 0) text = (days < 0 ? "-" : "") + std::to_string(wholeDays) + " ";
    text += TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
            TwoDigits(seconds % 60);
    return text;
}

void ShowStatusLine(Program& program, double firstTime, double lastTime, long long accepted,
                    long long withAltitude) {
    program.Main.LabelStatus =
        FormatFixTime(program, firstTime) + " to " + FormatFixTime(program, lastTime) + "(UTC)" +
        " elapsed: " + ElapsedText(lastTime - firstTime) + "  " + std::to_string(accepted) + ":" +
        std::to_string(withAltitude) + "records.";
}

void SetProbabilityCaption(Program& program) {
    program.Main.GroupBox2drms = program.Settings.TwoDrms ? " 2drms " : " CEP(50%) ";
    ShowSpreadFields(program);
}

void ClearResults(Program& program) {
    for (const ResultField& field : ResultFields()) (program.Main.*field.Text).clear();
    program.Main.LabelStatus.clear();
    DrawGraphBackground(program);
}

void ClearStatusBar(Program& program) {
    program.Main.StatusPanel0.clear();
    program.Main.StatusPanel1.clear();
    if (program.Ui.TaskbarMaximum() > 0) {
        program.Ui.SetTaskbarProgress(0);
        program.Ui.SetTaskbarState(TaskbarState::None);
    }
}

std::string PeakTimeText(const Program& program, double time) {
    std::string pattern = "  ";
    if (program.Log.LastFixTime > 1)
        pattern += DateFormatInUse(program.Settings, program.Conventions) + " ";
    pattern += "hh:nn:ss.";
    return FormatTimeFraction(time, pattern) + "(UTC)";
}

} // namespace fixtally
