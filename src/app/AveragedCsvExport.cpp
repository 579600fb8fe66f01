#include "app/AveragedCsvExport.h"

#include "app/ExportPrompts.h"
#include "app/Program.h"
#include "convert/Conversions.h"
#include "export/CsvText.h"
#include "export/ExportFile.h"
#include "export/WindowAverage.h"
#include "settings/Conventions.h"
#include "stats/TimeText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace fixtally {

namespace {

// The window end is kept this much (a tenth of a millisecond) before the next window's
// start, so a fix exactly at the end belongs to the next window only.
constexpr double WindowEndGap = 1e-9;

// The windows of the export: the first always, then one stepping later each as long as
// the window ends at or before the final time.
class WindowSequence {
public:
    WindowSequence(double start, double finalTime, double span, double step)
        : start_(start), end_(start + span), final_(finalTime), span_(span), step_(step) {}

    bool Next(double& windowStart) {
        if (done_) return false;
        windowStart = start_;
        const double nextStart = start_ + step_;
        if (!(nextStart > start_)) {
            done_ = true; // a stepping that cannot move on
        } else {
            start_ = nextStart;
            end_ = start_ + span_;
            done_ = !(final_ >= end_);
        }
        return true;
    }
    // The end of the window after the last one given.
    double End() const { return end_; }

    // Passes over the windows that end well before nextFix, the time of the first fix at
    // or after the next window's start (infinity: none), so that a gap of years between
    // fixes costs a few jumps instead of a walk. A jump lands exactly on the start the
    // step-by-step walk reaches: within one binary exponent range of the start times
    // every step adds the same rounded amount, so m steps add m times it, exactly.
    void SkipEmpty(double nextFix) {
        if (done_) return;
        if (nextFix == std::numeric_limits<double>::infinity()) {
            done_ = true; // no fix is left for any window
            return;
        }
        // Every window ending this much before the fix is empty, whatever the rounding
        // of its end.
        constexpr double Margin = 1e-6;
        constexpr double WorthAJump = 16;
        while (!done_ && start_ > 0 && step_ > 0 && step_ < start_) {
            int exponent = 0;
            std::frexp(start_, &exponent); // start_ lies in [2^(exponent-1), 2^exponent)
            const double unit = std::ldexp(1.0, exponent - 53);
            // A step of an odd number of half units rounds up or down by the last bit.
            if (std::fmod(step_, unit) == unit / 2) return;
            const double increment = (start_ + step_) - start_;
            if (!(increment > 0)) return;
            const double rangeEnd = std::ldexp(1.0, exponent);
            double steps = std::min(std::floor((rangeEnd - start_) / increment) - 2,
                                    std::floor((nextFix - Margin - span_ - start_) / increment));
            if (steps < WorthAJump) return;
            double landing = start_ + steps * increment;
            while (steps >= WorthAJump && !(landing + span_ + Margin <= nextFix))
                landing = start_ + --steps * increment;
            if (steps < WorthAJump) return;
            start_ = landing;
            end_ = start_ + span_;
            done_ = !(final_ >= end_);
        }
    }
    // The start of the next window to be given.
    double Start() const { return start_; }

private:
    double start_, end_, final_, span_, step_;
    bool done_ = false;
};

void SetProgress(Program& program, double done, double total) {
    int maximum = program.Ui.TaskbarMaximum();
    if (maximum <= 0) return;
    double share = done / total;
    share = total > 0 && !std::isnan(share) ? std::clamp(share, 0.0, 1.0) : 1.0;
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

    const std::string path = program.Ui.ChooseExportPath(AveragedCsvPath(
        program.Log.LogFileName, spanText, stepText, limited ? &limitText : nullptr));
    const std::string fileName(FileNameOnly(path));
    if (!path.empty() && RefuseOverLog(program, path)) return ExportOutcome::OverLog;
    if (path.empty() || AskOverwrite(program, path) == OverwriteAnswer::No) {
        program.Main.StatusPanel0 = " Aborted.";
        return ExportOutcome::Declined;
    }
    ExportFile file;
    if (!file.Create(path)) {
        NoteExportFailure(program, path, file.ErrorText());
        program.Ui.ShowMessage("\nFile could not be created", MessageKind::Error, ButtonOk);
        program.Main.StatusPanel0 = " File could not be created.";
        return ExportOutcome::CreateFailed;
    }
    BusyCursorGuard busy(program.Ui);
    const int latLonDecimals = TextToInt(program.Settings.CSVdecimals.LatLon);
    const int altDecimals = TextToInt(program.Settings.CSVdecimals.Alt);
    const std::string dateFormat = DateFormatInUse(program.Settings, program.Conventions);
    // The file is dropped with every way out but Commit: the target keeps its old bytes.
    auto writeFailed = [&] {
        NoteExportFailure(program, path, file.ErrorText());
        file.Discard();
        program.Main.StatusPanel0 = " Error: could not be CSV output.";
        return ExportOutcome::WriteFailed;
    };

    std::string line = "Time,latitude,Longitude,Altitude,Span=";
    line += spanText;
    line += 'h';
    EndCsvLine(line);
    if (!file.Write(line)) return writeFailed();

    const FixFilter filter = CurrentFilter(program);
    std::optional<AcceptedFixIndex> index;
    if (scan == WindowScan::Indexed) index.emplace(program.Store, filter);
    DistanceLimit limit;
    auto average = [&](double from, double to) {
        return index ? index->Average(from, to)
                     : WindowAverage(program.Store, filter, from, to, limit);
    };
    if (limited) {
        WindowMean centre = average(start, finalTime);
        limit = {true, centre.Latitude, centre.Longitude, TextToFloat(limitText)};
        if (index) index->ApplyLimit(limit);
    }

    // The windows, computed a few ahead of the lines that are written.
    WindowSequence windows(start, finalTime, span, step);
    double windowStart[AcceptedFixIndex::WindowBatch], windowTo[AcceptedFixIndex::WindowBatch];
    WindowMean means[AcceptedFixIndex::WindowBatch];
    std::size_t ready = 0, next = 0;
    long long lines = 0;
    for (;;) {
        if (next == ready) {
            ready = next = 0;
            double from;
            while (ready < AcceptedFixIndex::WindowBatch) {
                if (index) windows.SkipEmpty(index->NextTime(windows.Start()));
                if (!windows.Next(from)) break;
                windowStart[ready] = from;
                windowTo[ready] = from + span - WindowEndGap;
                ++ready;
            }
            if (ready == 0) break;
            if (index) {
                index->Average(windowStart, windowTo, means, ready);
            } else {
                for (std::size_t k = 0; k < ready; ++k)
                    means[k] =
                        WindowAverage(program.Store, filter, windowStart[k], windowTo[k], limit);
            }
        }
        const std::size_t k = next++;
        const WindowMean& mean = means[k];
        if (std::isnan(mean.Latitude) || std::isnan(mean.Longitude)) continue;
        line = FormatFixTime(windowStart[k], dateFormat);
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
            SetProgress(program, windowStart[k] + span - start, finalTime - start);
            program.Ui.ProcessMessages();
            if (program.Log.AbortRequested) break;
        }
        ++lines;
    }

    // Esc keeps the lines written so far, as a file of its own.
    if (!file.Commit()) return writeFailed();
    if (program.Log.AbortRequested) {
        program.Main.StatusPanel0 = "*** Aborted by user ***";
        return ExportOutcome::Aborted;
    }
    if (lines == 0) {
        program.Main.StatusPanel0 = " No valid data.";
        return ExportOutcome::Done;
    }
    program.Main.StatusPanel0 = CompletedStatus(fileName, lines);
    SetProgress(program, windows.End() - start, finalTime - start);
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
