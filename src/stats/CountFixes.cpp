#include "stats/CountFixes.h"

#include "app/Program.h"
#include "display/FixedText.h"
#include "display/ResultsDisplay.h"
#include "graph/GraphSub.h"
#include "graph/RangeTable.h"
#include "settings/FilterLimits.h"
#include "stats/CountTally.h"
#include "stats/FixFilter.h"
#include "stats/Geodesic.h"
#include "stats/TrueCoordinates.h"

#include <cmath>
#include <string>

namespace fixtally {

namespace {

// Plain means of the accepted fixes' degrees and altitudes; NaN where nothing counted.
GeoPoint AveragePass(const Program& program) {
    double latSum = 0, lonSum = 0, altSum = 0;
    long long count = 0, altCount = 0;
    const std::byte* data = program.Store.Data();
    const std::size_t records = program.Store.Count();
    for (std::size_t i = 0; i < records; ++i) {
        const FixRecord fix = DecodeFixRecord(data + i * FixRecordSize);
        if (!AcceptFix(program, fix)) continue;
        latSum += fix.Latitude;
        lonSum += fix.Longitude;
        ++count;
        if (!std::isnan(fix.Altitude)) {
            altSum += fix.Altitude;
            ++altCount;
        }
    }
    GeoPoint average;
    if (count > 0) {
        average.Latitude = latSum / count;
        average.Longitude = lonSum / count;
    }
    if (altCount > 0) average.Altitude = altSum / altCount;
    return average;
}

std::string Metres(double value, int decimals) {
    return FixedText(value, decimals) + "m";
}

void ShowPeaks(Program& program, const CountTally& t) {
    MainWindowModel& main = program.Main;
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
        horizontal += PeakTimeText(program, t.PeakHorizontalTime);
    if (t.PeakAltitudeTime == 0)
        altitude.clear();
    else
        altitude += PeakTimeText(program, t.PeakAltitudeTime);
    main.tCenterEditHP = horizontal;
    main.tCenterEditAP = altitude;
}

void ShowDifference(Program& program) {
    MainWindowModel& main = program.Main;
    const GeoPoint& a = program.Results.AveragePoint;
    const GeoPoint& t = program.Results.TruePoint;
    main.tCenterEditHorDiff =
        Metres(GeodesicDistance(a.Latitude, a.Longitude, t.Latitude, t.Longitude, 0, 0),
               main.ErrorDecimals);
    if (!std::isnan(a.Altitude))
        main.tCenterEditAltDiff = Metres(a.Altitude - t.Altitude, main.ErrorDecimals);
    const AxisOffset offset = AxisOffsets(t.Latitude, t.Longitude, a.Latitude, a.Longitude);
    main.tCenterEditEwDiff = Metres(offset.East, main.ErrorDecimals);
    main.tCenterEditNsDiff = Metres(offset.North, main.ErrorDecimals);
}

void ShowSatellites(Program& program, const CountTally& t) {
    MainWindowModel& main = program.Main;
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

void ShowResults(Program& program, const CountTally& t) {
    MainWindowModel& main = program.Main;
    ShowSpreadFields(program);
    ShowAveragePosition(program);
    if (t.AltitudeCount > 0)
        main.tCenterEditAltAve = Metres(t.AltitudeSum / t.AltitudeCount, main.AltDecimals);
    main.tCenterEditDgpsP = FixedText(static_cast<double>(t.Accepted) / t.InRange * 100, 1) + "%";
    ShowPeaks(program, t);
    if (program.Results.UseTrueReference) ShowDifference(program);
    ShowSatellites(program, t);
    ShowDop(t.Hdop, main.DopDecimals, main.tCenterEditHdopAve, main.tCenterEditHdopMin,
            main.tCenterEditHdopMax);
    ShowDop(t.Vdop, main.DopDecimals, main.tCenterEditVdopAve, main.tCenterEditVdopMin,
            main.tCenterEditVdopMax);
    ShowDop(t.Pdop, main.DopDecimals, main.tCenterEditPdopAve, main.tCenterEditPdopMin,
            main.tCenterEditPdopMax);
    ShowStatusLine(program, t.FirstTime, t.LastTime, t.Accepted, t.AltitudeCount);
}

double TwiceRms(double sumOfSquares, long long count) {
    return 2 * std::sqrt(sumOfSquares / static_cast<double>(count));
}

} // namespace

bool CountStatistics(Program& program) {
    StatisticsResults& results = program.Results;
    results.UseTrueReference = !program.Settings.UseAverage;
    ReadDisplayDecimals(program);
    ShowFilterLabel(program);
    if (results.UseTrueReference && ReadTrueCoordinates(program)) return false;

    ClearResults(program);
    results.ErrorSpread = SpreadValues{};
    program.Limits = ReadFilterLimits(program.Settings);
    program.Log.AbortRequested = false;
    program.Ui.SetBusyCursor(true);

    results.AveragePoint = AveragePass(program);
    if (std::isnan(results.AveragePoint.Latitude) || std::isnan(results.AveragePoint.Longitude)) {
        program.Main.LabelStatus = NoEffectiveData;
        program.Ui.SetBusyCursor(false);
        return false;
    }

    results.ReferencePoint = results.UseTrueReference ? results.TruePoint : results.AveragePoint;
    CountTally tally;
    if (!TallyFixes(program, results.ReferencePoint, tally, TallyMode::Parallel)) {
        program.Ui.SetBusyCursor(false);
        return false;
    }

    SpreadValues& spread = results.ErrorSpread;
    if (tally.Accepted > 0) {
        spread.Horizontal = TwiceRms(tally.SumH2, tally.Accepted);
        spread.NorthSouth = TwiceRms(tally.SumNs2, tally.Accepted);
        spread.EastWest = TwiceRms(tally.SumEw2, tally.Accepted);
    }
    if (tally.AltitudeCount > 0) spread.Altitude = TwiceRms(tally.SumDa2, tally.AltitudeCount);
    results.LargestAxisOffset = tally.LargestAxisOffset;

    ShowResults(program, tally);

    if (program.Settings.AutoRange) {
        program.Settings.RangeIndex = AutoRangeIndex(tally.LargestAxisOffset);
        SetGraphRange(program, program.Settings.RangeIndex, false);
    }
    return true;
}

void CountFixes(Program& program) {
    if (!CountStatistics(program)) return;
    const GeoPoint& reference = program.Results.ReferencePoint;
    DrawScatterGraph(program, reference.Longitude, reference.Latitude, reference.Altitude);
    program.Main.ButtonCopyAveVisible = true;
    program.Ui.SetBusyCursor(false);
}

} // namespace fixtally
