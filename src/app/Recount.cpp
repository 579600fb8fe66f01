#include "app/Recount.h"

#include "app/GraphCommands.h"
#include "app/Program.h"
#include "app/ResultsView.h"
#include "app/TrueCoordinates.h"
#include "display/ResultsDisplay.h"
#include "graph/RangeTable.h"
#include "settings/Conventions.h"
#include "settings/FilterLimits.h"
#include "stats/Statistics.h"

namespace fixtally {

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

    const FixFilter filter{program.Limits, program.Log.IsRtklibLog, program.CountRange};
    const CountProgress progress = [&program] {
        program.Ui.ProcessMessages();
        return !program.Log.AbortRequested;
    };
    program.LastStatistics = FixStatistics{};
    const GeoPoint* trueReference = results.UseTrueReference ? &results.TruePoint : nullptr;
    FixStatistics statistics;
    const StatisticsOutcome outcome =
        program.FixErrors.Keep
            ? ComputeStatistics(program.Store, filter, trueReference, progress, statistics,
                                program.FixErrors)
            : ComputeStatistics(program.Store, filter, trueReference, progress, statistics);
    results.AveragePoint = statistics.Average;
    if (outcome == StatisticsOutcome::NoEffectiveData) {
        program.Main.LabelStatus = NoEffectiveData;
        program.Ui.SetBusyCursor(false);
        return false;
    }
    results.ReferencePoint = statistics.Reference;
    if (outcome == StatisticsOutcome::Stopped) {
        program.Ui.SetBusyCursor(false);
        return false;
    }
    results.ErrorSpread = statistics.Spread;
    results.LargestAxisOffset = statistics.Tally.LargestAxisOffset;
    program.LastStatistics = statistics;

    const std::string dateFormat = DateFormatInUse(program.Settings, program.Conventions);
    StatisticsView view;
    view.TwoDrms = program.Settings.TwoDrms;
    view.DDMMSS = program.Settings.DDMMSS;
    view.UseTrueReference = results.UseTrueReference;
    view.TruePoint = results.TruePoint;
    view.DateFormat = dateFormat;
    view.LastFixTime = program.Log.LastFixTime;
    ShowStatistics(program.Main, statistics, view);

    if (program.Settings.AutoRange) {
        program.Settings.RangeIndex = AutoRangeIndex(statistics.Tally.LargestAxisOffset);
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
