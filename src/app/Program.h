#pragma once

#include "app/AverageDialog.h"
#include "app/OptionDialog.h"
#include "app/OutputRange.h"
#include "app/ReduceDialog.h"
#include "display/MainWindowModel.h"
#include "fixdata/FixStore.h"
#include "fixdata/LoadedLog.h"
#include "graph/ScatterGraph.h"
#include "platform/Platform.h"
#include "settings/Conventions.h"
#include "settings/FilterLimits.h"
#include "settings/Settings.h"
#include "stats/FixErrorSamples.h"
#include "stats/FixFilter.h"
#include "stats/Statistics.h"
#include "stats/StatisticsResults.h"

#include <string>

namespace fixtally {

// The whole state of one running program. Operations take it by reference,
// so tests can build as many independent programs as they like.
struct Program {
    explicit Program(Platform& platform) : Ui(platform) {}

    Platform& Ui;
    FixStore Store;
    LoadedLog Log;
    TimeRange CountRange;
    TimeRange FullRange;
    ::fixtally::Settings Settings;
    ::fixtally::Conventions Conventions;
    StatisticsResults Results;
    FixStatistics LastStatistics; // plain numbers of the last count that got through
    FixErrorSamples FixErrors;    // per-fix errors of the last count, kept when FixErrors.Keep
    FilterLimits Limits;          // rebuilt by ReadFilterLimits before every count and drawing
    MainWindowModel Main;
    ScatterGraph Graph;
    OutputRange RangeDialog;
    ReduceDialog Reduce;   // shown before every track export
    AverageDialog Average; // "Average condition" of the averaged export
    OptionDialog Options;  // "Option setting"
    std::string IniPath;   // full path of the INI file in use
    // The file and the system's reason of the last export that could not be written.
    struct {
        std::string Path, Reason;
    } ExportFailure;
};

// The filter in force: the limits of the last ReadFilterLimits, the log kind and CountRange.
inline FixFilter CurrentFilter(const Program& program) {
    return {program.Limits, program.Log.IsRtklibLog, program.CountRange};
}

} // namespace fixtally
