// fixtally-cli: loads one log as the desktop program's command line does, then
// prints the report, the status texts or the result fields, or writes exports
// and the graph.

#include "app/ExportCommands.h"
#include "app/LogLoading.h"
#include "app/OutputRange.h"
#include "app/Program.h"
#include "app/ProgramReport.h"
#include "app/ProgramSettings.h"
#include "cli/AccuracyOutput.h"
#include "cli/CliOptions.h"
#include "cli/CompareCommand.h"
#include "cli/GraphCommand.h"
#include "cli/JsonResults.h"
#include "cli/StatisticsJson.h"
#include "cli/TimePlotCommand.h"
#include "input/LogKind.h"
#include "input/csv/CsvProfiles.h"
#include "platform/HeadlessPlatform.h"
#include "settings/Conventions.h"
#include "settings/SettingKeys.h"
#include "settings/Version.h"

#include <filesystem>
#include <iostream>
#include <optional>

using namespace fixtally;

namespace {

enum ExitCode { ExitDone = 0, ExitNotLoaded = 1, ExitUsage = 2, ExitExport = 3 };

int Usage(const std::string& error) {
    std::cerr << "fixtally-cli: " << error << "\n" << CliUsage;
    return ExitUsage;
}

// Message boxes have no screen here: their texts go to standard error.
void FlushMessages(HeadlessPlatform& ui, std::size_t& shown) {
    for (; shown < ui.Messages.size(); ++shown) {
        std::string text = ui.Messages[shown].Text;
        while (!text.empty() && (text.front() == '\n' || text.front() == '\r')) text.erase(0, 1);
        std::cerr << text << "\n";
    }
}

std::string ExecutableFolder(const char* argv0) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv0, ec);
    return self.parent_path().string();
}

} // namespace

int main(int argc, char** argv) {
    CliOptions options;
    std::string error;
    if (!ParseCliOptions(argc, argv, options, error)) return Usage(error);

    HeadlessPlatform ui;
    ui.DefaultAnswer = options.Yes ? ButtonYes : ButtonNo;
    std::size_t shown = 0;
    Program program(ui);
    program.Settings.Version = VersionText();
    program.Settings.DataPath = ExecutableFolder(argv[0]);
    program.Main.Caption = "Fixtally. " + VersionText();
    AddDefaultProfiles(program.Settings);
    SetupConventions(program.Conventions);
    MeasureLocalOffset(program.Conventions);

    for (const std::string& ini : options.IniPaths) {
        if (!ReadSettingsFile(program, ini)) {
            std::cerr << "fixtally-cli: cannot read settings file " << ini << "\n";
            return ExitUsage;
        }
    }
    for (const auto& [key, value] : options.Sets) {
        SettingRef ref = LookupSetting(program.Settings, key);
        if (!ref) return Usage("unknown setting " + key);
        if (!AssignSetting(ref, value)) return Usage("setting " + key + " needs an integer");
    }
    ApplySettings(program);
    if (options.Expand) {
        program.Main.Caption += " *** Expand mode ***";
        program.Log.ExpandMode = true;
    }
    if (options.UseTrue) {
        program.Settings.UseAverage = false;
        program.Settings.TrueLat = options.TrueLat;
        program.Settings.TrueLon = options.TrueLon;
        program.Settings.TrueAlt = options.TrueAlt;
    }

    if (options.Compare) return RunCompare(program, options, std::cout, std::cerr);

    int plotWidth = 1200, plotHeight = 800;
    if (options.HaveSize && !ParsePictureSize(options.Size, plotWidth, plotHeight))
        return Usage("--size needs WIDTHxHEIGHT, each 100 to 10000, got \"" + options.Size + "\"");

    // Only these outputs pay for keeping every fix's errors.
    const bool timePlot = !options.TimePlotPath.empty();
    const bool graphLegend = !options.GraphPath.empty() && !options.GraphPlain;
    program.FixErrors.Keep = options.Json || options.Accuracy || timePlot || graphLegend;
    program.FixErrors.KeepTimes = timePlot;
    program.Log.LogFileName = options.LogPath;
    const int loaded = LoadLogFile(program);
    FlushMessages(ui, shown);
    if (loaded <= 0) {
        std::cerr << program.Main.StatusPanel0 << "\n";
        return ExitNotLoaded;
    }

    if (options.HaveRange) {
        program.RangeDialog.EditStime = options.RangeStart;
        program.RangeDialog.EditEtime = options.RangeEnd;
        program.RangeDialog.ButtonOKClick(program);
        FlushMessages(ui, shown);
    }

    const bool otherOutput = options.Status || options.Json || options.ExportTrack ||
                             options.ExportAverage || !options.GraphPath.empty() || timePlot;
    if (options.Report || !otherOutput) std::cout << BuildReportText(program);
    if (options.Status)
        std::cout << program.Main.StatusPanel0 << "\n"
                  << program.Main.StatusPanel1 << "\n"
                  << program.Main.LabelStatus << "\n";
    AccuracyFigures accuracy;
    if (program.FixErrors.Keep) (void)ComputeAccuracy(program.FixErrors, accuracy);
    if (options.Accuracy) std::cout << AccuracyBlock(accuracy, program.Main.ErrorDecimals);
    if (options.Json)
        std::cout << JsonResults(program,
                                 StatisticsJsonMember(program) + AccuracyJsonMember(accuracy))
                  << "\n";
    FlushMessages(ui, shown);

    int exitCode = ExitDone;
    auto exportFailed = [&](ExportOutcome outcome) {
        FlushMessages(ui, shown);
        if (ExportDone(outcome)) return false;
        if (outcome == ExportOutcome::Declined)
            std::cerr << "fixtally-cli: output file exists; --yes overwrites it\n";
        else
            std::cerr << program.Main.StatusPanel0 << "\n";
        exitCode = ExitExport;
        return true;
    };
    if (options.ExportTrack) {
        std::optional<ReducePress> reduce;
        if (options.HaveReduce) reduce = ReducePress{options.ReduceDist, options.ReduceSecs};
        exportFailed(RunTrackExport(program, options.WithError, reduce));
    }
    if (options.ExportAverage) {
        AverageRequest request;
        request.Span = options.AverageSpan;
        request.Step = options.AverageStep;
        if (options.HaveLimit) request.Limit = options.Limit;
        if (options.HaveStart) request.Start = options.AverageStart;
        if (options.HaveFinal) request.Final = options.AverageFinal;
        exportFailed(RunAverageExport(program, request));
    }
    auto pictureWritten = [&](PictureOutcome outcome, const std::string& path) {
        switch (outcome) {
        case PictureOutcome::Written:
            return;
        case PictureOutcome::Exists:
            std::cerr << "fixtally-cli: output file exists; --yes overwrites it\n";
            break;
        case PictureOutcome::IsTheLog:
            std::cerr << "fixtally-cli: " << path << " is the log being read\n";
            break;
        case PictureOutcome::WriteFailed:
            std::cerr << "fixtally-cli: cannot write " << path << "\n";
            break;
        }
        exitCode = ExitExport;
    };
    if (!options.GraphPath.empty()) {
#ifdef FIXTALLY_HAVE_GRAPH
        pictureWritten(
            WriteGraph(program, accuracy, options.GraphPath, options.GraphPlain, options.Yes),
            options.GraphPath);
#else
        std::cerr << "fixtally-cli: this build has no graph rendering (Qt 6 Gui missing)\n";
        exitCode = ExitExport;
#endif
    }
    if (timePlot) {
#ifdef FIXTALLY_HAVE_PLOT
        pictureWritten(WriteTimePlot(program, accuracy, options.TimePlotPath, plotWidth, plotHeight,
                                     options.Yes),
                       options.TimePlotPath);
#else
        std::cerr << "fixtally-cli: this build has no time plot (Qt 6 Charts missing)\n";
        exitCode = ExitExport;
#endif
    }
    return exitCode;
}
