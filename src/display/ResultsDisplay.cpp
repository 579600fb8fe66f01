#include "display/ResultsDisplay.h"

#include "convert/Conversions.h"
#include "display/FixedText.h"
#include "geodesy/Geodesic.h"
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

void ReadDisplayDecimals(MainWindowModel& main, Settings& settings, int logPosDecimals,
                         int logAltDecimals) {
    // "0" leaves the count to the log; the log's count is clamped silently, so the
    // user's "0" stays and the next log decides again.
    auto logOrTyped = [](std::string& text, int logDecimals, int low, int high) {
        const int typed = TextToInt(text);
        if (typed == 0) return ClampInt(logDecimals, low, high);
        const int used = ClampInt(typed, low, high);
        if (used != typed) text = std::to_string(used);
        return used;
    };
    main.PosDecimals = logOrTyped(settings.PosDecimal, logPosDecimals, 3, 9);
    main.AltDecimals = logOrTyped(settings.AltDecimal, logAltDecimals, 1, 6);

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

void ShowSpreadFields(MainWindowModel& main, const SpreadValues& spread, bool twoDrms) {
    const double factor = twoDrms ? 1.0 : CepFactor;
    main.tCenterEditH2drms = SpreadText(spread.Horizontal, factor, main.ErrorDecimals);
    main.tCenterEditEW2drms = SpreadText(spread.EastWest, factor, main.ErrorDecimals);
    main.tCenterEditNS2drms = SpreadText(spread.NorthSouth, factor, main.ErrorDecimals);
    main.tCenterEditAlt2drms = SpreadText(spread.Altitude, factor, main.ErrorDecimals);
    PairWidths(main.tCenterEditH2drms, main.tCenterEditAlt2drms);
    PairWidths(main.tCenterEditEW2drms, main.tCenterEditNS2drms);
}

void ShowAveragePosition(MainWindowModel& main, const GeoPoint& average, bool ddmmss) {
    if (std::isnan(average.Latitude) || std::isnan(average.Longitude)) {
        main.tCenterEditLatAve.clear();
        main.tCenterEditLonAve.clear();
        return;
    }
    if (ddmmss) {
        main.tCenterEditLatAve = FormatDmsHemisphere(average.Latitude, main.PosDecimals, "NS");
        main.tCenterEditLonAve = FormatDmsHemisphere(average.Longitude, main.PosDecimals, "EW");
    } else {
        main.tCenterEditLatAve = FixedText(average.Latitude, main.PosDecimals + 4, 3);
        main.tCenterEditLonAve = FixedText(average.Longitude, main.PosDecimals + 4, 3);
    }
}

std::string FilterLabelText(const Settings& settings, bool isRtklibLog) {
    return isRtklibLog ? settings.RTK_QS + settings.RTK_QU : settings.NMEA_QS + settings.NMEA_QU;
}

std::string ProbabilityCaption(bool twoDrms) {
    return twoDrms ? " 2drms " : " CEP(50%) ";
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

std::string StatusLineText(double firstTime, double lastTime, long long accepted,
                           long long withAltitude, std::string_view dateFormat) {
    return FormatFixTime(firstTime, dateFormat) + " to " + FormatFixTime(lastTime, dateFormat) +
           "(UTC)" + " elapsed: " + ElapsedText(lastTime - firstTime) + "  " +
           std::to_string(accepted) + ":" + std::to_string(withAltitude) + "records.";
}

std::string PeakTimeText(double time, double lastFixTime, std::string_view dateFormat) {
    std::string pattern = "  ";
    if (lastFixTime > 1) {
        pattern += dateFormat;
        pattern += " ";
    }
    pattern += "hh:nn:ss.";
    return FormatTimeFraction(time, pattern) + "(UTC)";
}

void ClearResultFields(MainWindowModel& main) {
    for (const ResultField& field : ResultFields()) (main.*field.Text).clear();
    main.LabelStatus.clear();
}

namespace {

std::string Metres(double value, int decimals) {
    return FixedText(value, decimals) + "m";
}

void ShowPeaks(MainWindowModel& main, const CountTally& t, const StatisticsView& view) {
    std::string horizontal = Metres(t.PeakHorizontal, main.ErrorDecimals);
    std::string altitude;
    if (t.AltitudeCount > 0) {
        altitude = Metres(t.PeakAltitude, main.ErrorDecimals);
        PadLeft(horizontal, altitude.size());
        PadLeft(altitude, horizontal.size());
    }
    // A peak of exactly 0 keeps its time at 0 and shows nothing.
    if (t.PeakHorizontalTime == 0)
        horizontal.clear();
    else
        horizontal += PeakTimeText(t.PeakHorizontalTime, view.LastFixTime, view.DateFormat);
    if (t.PeakAltitudeTime == 0)
        altitude.clear();
    else
        altitude += PeakTimeText(t.PeakAltitudeTime, view.LastFixTime, view.DateFormat);
    main.tCenterEditHP = horizontal;
    main.tCenterEditAP = altitude;
}

void ShowDifference(MainWindowModel& main, const GeoPoint& a, const GeoPoint& t) {
    main.tCenterEditHorDiff =
        Metres(GeodesicDistance(a.Latitude, a.Longitude, t.Latitude, t.Longitude, 0, 0),
               main.ErrorDecimals);
    if (!std::isnan(a.Altitude))
        main.tCenterEditAltDiff = Metres(a.Altitude - t.Altitude, main.ErrorDecimals);
    const AxisOffset offset = AxisOffsets(t.Latitude, t.Longitude, a.Latitude, a.Longitude);
    main.tCenterEditEwDiff = Metres(offset.East, main.ErrorDecimals);
    main.tCenterEditNsDiff = Metres(offset.North, main.ErrorDecimals);
}

void ShowSatellites(MainWindowModel& main, const CountTally& t) {
    const SatelliteTally& used = t.SatsUsed;
    if (used.Min < 255 && used.Count > 0) {
        main.tCenterEditSuAve = FixedText(static_cast<double>(used.Sum) / used.Count, 1);
        main.tCenterEditSuMin = std::to_string(used.Min);
        main.tCenterEditSuMax = std::to_string(used.Max);
    }
    const SatelliteTally& extra = t.SatsExtra;
    if (extra.Min < 255 && extra.Count > 0) {
        main.tCenterEditSuAve +=
            "(" + FixedText(static_cast<double>(extra.Sum) / extra.Count, 1) + ")";
        main.tCenterEditSuMin += "(" + std::to_string(extra.Min) + ")";
        main.tCenterEditSuMax += "(" + std::to_string(extra.Max) + ")";
    }
}

void ShowDop(const DopTally& dop, int decimals, std::string& ave, std::string& min,
             std::string& max) {
    if (!(dop.Min < 255.0 && dop.Count > 0)) return;
    ave = FixedText(dop.Sum / dop.Count, decimals);
    min = FixedText(dop.Min, decimals);
    max = FixedText(dop.Max, decimals);
}

} // namespace

void ShowStatistics(MainWindowModel& main, const FixStatistics& statistics,
                    const StatisticsView& view) {
    const CountTally& t = statistics.Tally;
    ShowSpreadFields(main, statistics.Spread, view.TwoDrms);
    ShowAveragePosition(main, statistics.Average, view.DDMMSS);
    if (t.AltitudeCount > 0)
        main.tCenterEditAltAve = Metres(t.AltitudeSum / t.AltitudeCount, main.AltDecimals);
    main.tCenterEditDgpsP = FixedText(static_cast<double>(t.Accepted) / t.InRange * 100, 1) + "%";
    ShowPeaks(main, t, view);
    if (view.UseTrueReference) ShowDifference(main, statistics.Average, view.TruePoint);
    ShowSatellites(main, t);
    ShowDop(t.Hdop, main.DopDecimals, main.tCenterEditHdopAve, main.tCenterEditHdopMin,
            main.tCenterEditHdopMax);
    ShowDop(t.Vdop, main.DopDecimals, main.tCenterEditVdopAve, main.tCenterEditVdopMin,
            main.tCenterEditVdopMax);
    ShowDop(t.Pdop, main.DopDecimals, main.tCenterEditPdopAve, main.tCenterEditPdopMin,
            main.tCenterEditPdopMax);
    main.LabelStatus =
        StatusLineText(t.FirstTime, t.LastTime, t.Accepted, t.AltitudeCount, view.DateFormat);
}

} // namespace fixtally
