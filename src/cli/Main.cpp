// fixtally-cli: loads one log as the desktop program's command line does, then
// prints the report, the status texts or the result fields, or writes exports
// and the graph.

#include "app/ExportCommands.h"
#include "app/ExportPrompts.h"
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
#include "display/ResultsDisplay.h"
#include "input/LogKind.h"
#include "input/csv/CsvProfiles.h"
#include "platform/HeadlessPlatform.h"
#include "settings/Conventions.h"
#include "settings/SettingKeys.h"
#include "settings/Version.h"

#ifdef FIXTALLY_HAVE_GRAPH
#include "graph/render/GraphRender.h"
#endif
#ifdef FIXTALLY_HAVE_PRINT
#include "print/ReportPdf.h"
#endif

#include <filesystem>
#include <iostream>
#include <optional>

using namespace fixtally;

namespace {

enum ExitCode { ExitDone = 0, ExitNotLoaded = 1, ExitUsage = 2, ExitExport = 3, ExitNoFix = 4 };

constexpr const char* ExistsHint = "fixtally-cli: output file exists; --yes overwrites it\n";

int Usage(const std::string& error) {
    std::cerr << "fixtally-cli: " << error << "\n" << CliUsage;
    return ExitUsage;
}

// Message boxes have no screen here: their texts go to standard error, except a question
// that --yes answered Yes ("exists. Overwrite?"), which reports nothing.
void FlushMessages(HeadlessPlatform& ui, std::size_t& shown) {
    for (; shown < ui.Messages.size(); ++shown) {
        const HeadlessPlatform::Message& message = ui.Messages[shown];
        if ((message.Buttons & ButtonYes) && message.Answer == ButtonYes) continue;
        std::string text = message.Text;
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

// The printout of "Print Text(&R)" followed by the graph, as a PDF; false (with the reason
// on stderr) when it was refused or could not be written.
bool WritePdf(const Program& program, const std::string& path) {
#ifdef FIXTALLY_HAVE_PRINT
    const std::string report = BuildReportText(program);
    if (report.empty()) return false;
    if (WriteReportPdf(path, report, program.Main.InterfaceFontName, program.Graph) ==
        PdfOutcome::Written)
        return true;
    std::cerr << "fixtally-cli: cannot write " << path << "\n";
#else
    (void)program;
    std::cerr << "fixtally-cli: this build has no printing (Qt 6 PrintSupport missing)\n";
#endif
    return false;
}

} // namespace

int main(int argc, char** argv) {
    CliOptions options;
    std::string error;
    if (!ParseCliOptions(argc, argv, options, error)) return Usage(error);
    if (options.Help) {
        std::cout << CliUsage;
        return ExitDone;
    }
    if (options.Version) {
        std::cout << "fixtally-cli " << VersionText() << "\n";
        return ExitDone;
    }

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
        bool notText = false;
        if (!ReadSettingsFile(program, ini, &notText)) {
            std::cerr << "fixtally-cli: cannot read settings file " << ini << "\n";
            return ExitUsage;
        }
        if (notText)
            std::cerr << "fixtally-cli: warning: " << ini
                      << " is no text in any accepted encoding; its settings are not used\n";
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
                             options.ExportAverage || !options.GraphPath.empty() ||
                             !options.PdfPath.empty() || timePlot;
    if (options.Report || !otherOutput) std::cout << BuildReportText(program);
    if (options.Status)
        std::cout << program.Main.StatusPanel0 << "\n"
                  << program.Main.StatusPanel1 << "\n"
                  << program.Main.LabelStatus << "\n";
    AccuracyFigures accuracy;
    if (program.FixErrors.Keep) (void)ComputeAccuracy(program.FixErrors, accuracy);
    if (options.Accuracy) std::cout << AccuracyBlock(accuracy, program.Main.ErrorDecimals);
    if (options.Json) {
        Json json = JsonResults(program);
        json["statistics"] = StatisticsJson(program);
        json["accuracy"] = AccuracyJson(accuracy);
        std::cout << JsonText(json) << "\n";
    }
    std::cout.flush();
    FlushMessages(ui, shown);

    // A refused or failed export shows only its reason: the message of its dialog or box,
    // the hint for an existing file, or the file and the system's reason of a failed write.
    int exitCode = ExitDone;
    auto exportFailed = [&](ExportOutcome outcome) {
        FlushMessages(ui, shown);
        if (ExportDone(outcome)) return;
        if (outcome == ExportOutcome::Declined) std::cerr << ExistsHint;
        if (outcome == ExportOutcome::WriteFailed) std::cerr << program.Main.StatusPanel0 << "\n";
        if (outcome == ExportOutcome::CreateFailed || outcome == ExportOutcome::WriteFailed)
            std::cerr << "fixtally-cli: cannot write " << program.ExportFailure.Path << ": "
                      << program.ExportFailure.Reason << "\n";
        exitCode = ExitExport;
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
    // Pictures follow the rules of the exports: never over the log, an existing file only
    // with --yes, written whole or not at all.
    auto writePicture = [&](const std::string& path, const auto& write) {
        std::string reason;
        if (RefuseOverLog(program, path)) {
            exportFailed(ExportOutcome::OverLog);
        } else if (AskOverwrite(program, path) == OverwriteAnswer::No) {
            exportFailed(ExportOutcome::Declined);
        } else if (write(&reason) != PictureOutcome::Written) {
            std::cerr << "fixtally-cli: cannot write " << path << ": " << reason << "\n";
            exitCode = ExitExport;
        }
    };
    if (!options.GraphPath.empty()) {
#ifdef FIXTALLY_HAVE_GRAPH
        writePicture(options.GraphPath, [&](std::string* reason) {
            return WriteGraph(program, accuracy, options.GraphPath, options.GraphPlain, true,
                              reason);
        });
#else
        std::cerr << "fixtally-cli: this build has no graph rendering (Qt 6 Gui missing)\n";
        exitCode = ExitExport;
#endif
    }
    if (timePlot) {
#ifdef FIXTALLY_HAVE_PLOT
        writePicture(options.TimePlotPath, [&](std::string* reason) {
            return WriteTimePlot(program, accuracy, options.TimePlotPath, plotWidth, plotHeight,
                                 true, reason);
        });
#else
        std::cerr << "fixtally-cli: this build has no time plot (Qt 6 Charts missing)\n";
        exitCode = ExitExport;
#endif
    }
    if (!options.PdfPath.empty()) {
        const std::string& path = options.PdfPath;
        if (RefuseOverLog(program, path)) {
            exportFailed(ExportOutcome::OverLog);
        } else if (AskOverwrite(program, path) == OverwriteAnswer::No) {
            exportFailed(ExportOutcome::Declined);
        } else {
            FlushMessages(ui, shown);
            if (!WritePdf(program, path)) exitCode = ExitExport;
        }
    }
    FlushMessages(ui, shown);

    // Nothing counted: the report above says so, and so does the exit code.
    if (exitCode == ExitDone && program.Main.LabelStatus == NoEffectiveData) {
        std::cerr << NoEffectiveData << "\n";
        exitCode = ExitNoFix;
    }
    return exitCode;
}
