#include "export/AveragedCsvExport.h"

#include "app/Program.h"
#include "convert/Conversions.h"
#include "export/CsvText.h"
#include "export/ExportFile.h"
#include "export/WindowAverage.h"
#include "stats/TimeText.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace fixtally {

namespace {

// The window end is kept this much (a tenth of a millisecond) before the next window's
// start, so a fix exactly at the end belongs to the next window only.
constexpr double WindowEndGap = 1e-9;

class BusyCursor {
public:
    explicit BusyCursor(Platform& ui) : ui_(ui) { ui_.SetBusyCursor(true); }
    ~BusyCursor() { ui_.SetBusyCursor(false); }

private:
    Platform& ui_;
};

void SetProgress(Program& program, double done, double total) {
    int maximum = program.Ui.TaskbarMaximum();
    if (maximum <= 0) return;
    double share = total > 0 ? std::clamp(done / total, 0.0, 1.0) : 1.0;
    program.Ui.SetTaskbarProgress(11 + static_cast<int>((maximum - 11) * share));
}

} // namespace

ExportOutcome ExportAveragedCsv(Program& program, WindowScan scan) {
    AverageDialog& dialog = program.Average;
    const double start = dialog.StartTime(program);
    const double finalTime = dialog.FinalTime(program);
    const std::string& spanText = AverageDialog::tCenterEditCSVspan(program);
    const std::string& stepText = AverageDialog::tCenterEditCSVstep(program);
    const std::string& limitText = AverageDialog::tCenterEditHerror(program);
    const double span = TextToFloat(spanText) / 24;
    const double step = TextToFloat(stepText) / 24;
    const bool limited = dialog.CheckBoxEffectHori;

    const std::string path = AveragedCsvPath(program.Log.LogFileName, spanText, stepText,
                                             limited ? &limitText : nullptr);
    const std::string fileName(FileNameOf(path));
    if (AskOverwrite(program, path) == OverwriteAnswer::No) {
        program.Main.StatusPanel0 = " Aborted.";
        return ExportOutcome::Declined;
    }
    ExportFile file;
    if (!file.Create(path)) {
        program.Ui.ShowMessage("\nFile could not be created", MessageKind::Error, ButtonOk);
        program.Main.StatusPanel0 = " File could not be created.";
        return ExportOutcome::CreateFailed;
    }
    BusyCursor busy(program.Ui);
    const int latLonDecimals = TextToInt(program.Settings.CSVdecimals.LatLon);
    const int altDecimals = TextToInt(program.Settings.CSVdecimals.Alt);
    auto writeFailed = [&] {
        file.Close();
        program.Main.StatusPanel0 = " Error: could not be CSV output.";
        return ExportOutcome::WriteFailed;
    };

    std::string line = "Time,latitude,Longitude,Altitude,Span=";
    line += spanText;
    line += 'h';
    EndCsvLine(line);
    if (!file.Write(line)) return writeFailed();

    std::optional<AcceptedFixIndex> index;
    if (scan == WindowScan::Indexed) index.emplace(program);
    DistanceLimit limit;
    auto average = [&](double from, double to) {
        return index ? index->Average(from, to) : WindowAverage(program, from, to, limit);
    };
    if (limited) {
        WindowMean centre = average(start, finalTime);
        limit = {true, centre.Latitude, centre.Longitude, TextToFloat(limitText)};
        if (index) index->ApplyLimit(limit);
    }

    double windowStart = start;
    double windowEnd = start + span;
    long long lines = 0;
    do {
        const WindowMean mean = average(windowStart, windowEnd - WindowEndGap);
        if (!std::isnan(mean.Latitude) && !std::isnan(mean.Longitude)) {
            line = FormatFixTime(program, windowStart);
            line += ',';
            AppendFixed(line, mean.Latitude, latLonDecimals);
            line += ',';
            AppendFixed(line, mean.Longitude, latLonDecimals);
            line += ',';
            // A window whose fixes have no height leaves the altitude empty.
            AppendFixed(line, mean.Altitude, altDecimals);
            EndCsvLine(line);
            if (!file.Write(line)) return writeFailed();
            if (lines % 8 == 0) {
                program.Main.StatusPanel0 = WritingStatus(fileName, (lines / 7) % 11);
                SetProgress(program, windowEnd - start, finalTime - start);
                program.Ui.ProcessMessages();
                if (program.Log.AbortRequested) break;
            }
            ++lines;
        }
        const double nextStart = windowStart + step;
        if (!(nextStart > windowStart)) break; // a stepping that cannot move on
        windowStart = nextStart;
        windowEnd = windowStart + span;
    } while (finalTime >= windowEnd);

    if (!file.Close()) return writeFailed();
    if (program.Log.AbortRequested) {
        program.Main.StatusPanel0 = "*** Aborted by user ***";
        return ExportOutcome::Aborted;
    }
    if (lines == 0) {
        program.Main.StatusPanel0 = " No valid data.";
        return ExportOutcome::Done;
    }
    std::string status = " Completed: ";
    status += fileName;
    status += ' ';
    AppendInteger(status, lines);
    status += "rec.";
    program.Main.StatusPanel0 = std::move(status);
    SetProgress(program, windowEnd - start, finalTime - start);
    return ExportOutcome::Done;
}

ExportOutcome SaveAverageToCsvClick(Program& program, const AverageDialogRunner& showDialog) {
    if (program.Log.Loading) return ExportOutcome::Busy;
    if (!program.Store.Exists() || program.Store.Count() == 0) {
        program.Ui.ShowMessage("\nNo reading data.", MessageKind::Error, ButtonOk);
        return ExportOutcome::NoData;
    }
    program.Average.CloseRequested = false;
    if (showDialog) showDialog(program);
    ExportOutcome outcome = ExportOutcome::Cancelled;
    if (!program.Log.AbortRequested) outcome = ExportAveragedCsv(program);
    program.Log.AbortRequested = false;
    return outcome;
}

} // namespace fixtally
