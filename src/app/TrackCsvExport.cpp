#include "app/TrackCsvExport.h"

#include "app/ExportPrompts.h"
#include "app/Program.h"
#include "app/ResultsView.h"
#include "convert/Conversions.h"
#include "convert/DatePattern.h"
#include "display/ResultsDisplay.h"
#include "export/CsvText.h"
#include "export/ExportFile.h"
#include "export/TrackThinning.h"
#include "geodesy/Geodesic.h"
#include "settings/Conventions.h"
#include "stats/TimeText.h"

#include <cmath>

namespace fixtally {

namespace {

struct TrackCsvDecimals {
    int LatLon, Alt, Speed, Dop, Error;
};

// The CSV decimals of the options; a text converting to 0 falls back to the display.
TrackCsvDecimals ReadTrackCsvDecimals(const Program& program) {
    const auto& csv = program.Settings.CSVdecimals;
    auto orElse = [](int value, int fallback) { return value == 0 ? fallback : value; };
    return {orElse(TextToInt(csv.LatLon), program.Main.PosDecimals),
            orElse(TextToInt(csv.Alt), program.Main.AltDecimals),
            orElse(TextToInt(csv.Speed), program.Main.AltDecimals), orElse(TextToInt(csv.DOP), 3),
            orElse(TextToInt(csv.Error), program.Main.AltDecimals)};
}

void SetProgress(Program& program, std::size_t position, std::size_t size) {
    int maximum = program.Ui.TaskbarMaximum();
    if (maximum <= 0 || size == 0) return;
    program.Ui.SetTaskbarProgress(11 + static_cast<int>(static_cast<long long>(maximum - 11) *
                                                        static_cast<long long>(position) /
                                                        static_cast<long long>(size)));
}

void AppendQuality(std::string& line, char16_t quality) {
    if (quality == u' ') return;
    // The file is 8-bit text: a character outside ASCII has no safe single byte.
    line += quality < 0x80 ? static_cast<char>(quality) : '?';
}

} // namespace

ExportOutcome ExportTrackCsv(Program& program, bool withError,
                             const ReduceDialogRunner& showReduceDialog) {
    FixStore& store = program.Store;
    if (!store.Exists() || store.Count() == 0) {
        program.Ui.ShowMessage("\nNo reading data.", MessageKind::Error, ButtonOk);
        return ExportOutcome::NoData;
    }
    BusyCursorGuard busy(program.Ui);

    const bool dateColumn = !program.Settings.CSV_SepTime;
    const TrackCsvDecimals decimals = ReadTrackCsvDecimals(program);

    program.Reduce.CloseRequested = false;
    if (showReduceDialog) showReduceDialog(program);
    if (program.Log.AbortRequested) return ExportOutcome::Cancelled;

    const std::string path = program.Ui.ChooseExportPath(TrackCsvPath(program.Log.LogFileName));
    if (path.empty()) return ExportOutcome::Declined;
    const std::string fileName(FileNameOnly(path));
    if (RefuseOverLog(program, path)) return ExportOutcome::OverLog;
    if (AskOverwrite(program, path) == OverwriteAnswer::No) return ExportOutcome::Declined;

    ExportFile file;
    if (!file.Create(path)) {
        NoteExportFailure(program, path, file.ErrorText());
        program.Ui.ShowMessage("\nFile could not be created", MessageKind::Error, ButtonOk);
        return ExportOutcome::CreateFailed;
    }
    // The file is dropped with every way out but Commit: the target keeps its old bytes.
    auto writeFailed = [&] {
        NoteExportFailure(program, path, file.ErrorText());
        file.Discard();
        program.Main.StatusPanel0 = " Error: could not be CSV output.";
        return ExportOutcome::WriteFailed;
    };

    const StatisticsResults& results = program.Results;
    const GeoPoint& reference = results.UseTrueReference ? results.TruePoint : results.AveragePoint;
    const bool averageAltitudeKnown = !std::isnan(results.AveragePoint.Altitude);
    const bool averagePositionKnown =
        !std::isnan(results.AveragePoint.Latitude) && !std::isnan(results.AveragePoint.Longitude);
    const bool cep = !program.Settings.TwoDrms;
    const std::string dateFormat = DateFormatInUse(program.Settings, program.Conventions);
    const std::string dateTimePattern = dateFormat + " hh:nn:ss.";

    std::string line;
    if (dateColumn) line += "DATE,";
    line += "TIME,LATITUDE,LONGITUDE,HEIGHT,SPEED,HDOP,VDOP,PDOP,USED SAT,VALID";
    if (withError) {
        // Every row carries the height error field, so its title is always there.
        line += ",Height err";
        if (averagePositionKnown) {
            line += ",E-W err,N-S err,Hor. err,";
            line += cep ? "CEP(50%)" : "2drms";
        }
    }
    EndCsvLine(line);
    if (!file.Write(line)) return writeFailed();

    const std::size_t count = store.Count();
    TrackThinning thinning(program.Reduce.Rule(), count);
    long long rows = 0;
    long long errorCount = 0;
    double sumOfSquares = 0;
    for (std::size_t i = 1; i <= count; ++i) {
        const FixRecord fix = DecodeFixRecord(store.Data() + (i - 1) * FixRecordSize);
        if (!thinning.Passes(i, fix)) continue;
        if (fix.Time < program.CountRange.Start || fix.Time > program.CountRange.End) continue;
        thinning.Written(fix);

        line.clear();
        if (dateColumn) {
            if (fix.Time >= 1) AppendDatePattern(line, fix.Time, dateFormat);
            line += ',';
        }
        AppendTimeFraction(line, fix.Time,
                           dateColumn || fix.Time < 1 ? std::string_view("hh:nn:ss.")
                                                      : dateTimePattern);
        line += ',';
        AppendFixed(line, fix.Latitude, decimals.LatLon);
        line += ',';
        AppendFixed(line, fix.Longitude, decimals.LatLon);
        line += ',';
        AppendFixed(line, fix.Altitude, decimals.Alt);
        line += ',';
        AppendFixed(line, fix.Speed * 1.852, decimals.Speed);
        line += ',';
        AppendFixed(line, fix.Hdop, decimals.Dop);
        line += ',';
        AppendFixed(line, fix.Vdop, decimals.Dop);
        line += ',';
        AppendFixed(line, fix.Pdop, decimals.Dop);
        line += ',';
        if (fix.SatsUsed != 255) AppendInteger(line, fix.SatsUsed);
        line += ',';
        AppendQuality(line, fix.FixQuality);
        if (withError) {
            line += ',';
            if (averageAltitudeKnown)
                AppendFixed(line, fix.Altitude - reference.Altitude, decimals.Error);
            if (averagePositionKnown) {
                AxisOffset offset = AxisOffsets(reference.Latitude, reference.Longitude,
                                                fix.Latitude, fix.Longitude);
                double horizontal = GeodesicDistance(reference.Latitude, reference.Longitude,
                                                     fix.Latitude, fix.Longitude, 0, 0);
                ++errorCount;
                sumOfSquares += horizontal * horizontal;
                double running = 2 * std::sqrt(sumOfSquares / static_cast<double>(errorCount));
                if (cep) running *= CepFactor;
                line += ',';
                AppendFixed(line, offset.East, decimals.Error);
                line += ',';
                AppendFixed(line, offset.North, decimals.Error);
                line += ',';
                AppendFixed(line, horizontal, decimals.Error);
                line += ',';
                AppendFixed(line, running, decimals.Error);
            }
        }
        EndCsvLine(line);
        if (!file.Write(line)) return writeFailed();
        ++rows;

        if (i % 256 == 0) {
            program.Main.StatusPanel0 =
                WritingStatus(fileName, static_cast<long long>(i / 4095) % 11);
            SetProgress(program, i, count);
            program.Ui.ProcessMessages();
            // Esc keeps the rows written so far, as a file of its own.
            if (program.Log.AbortRequested)
                return file.Commit() ? ExportOutcome::Aborted : writeFailed();
        }
    }

    if (withError && results.UseTrueReference) {
        line.clear();
        if (dateColumn) line += ',';
        line += ',';
        AppendFixed(line, results.TruePoint.Latitude, decimals.LatLon);
        line += ',';
        AppendFixed(line, results.TruePoint.Longitude, decimals.LatLon);
        line += ',';
        AppendFixed(line, results.TruePoint.Altitude, decimals.Alt);
        line += ",True coordinates";
        EndCsvLine(line);
        if (!file.Write(line)) return writeFailed();
    }
    if (!file.Commit()) return writeFailed();

    program.Main.StatusPanel0 = CompletedStatus(fileName, rows);
    SetProgress(program, count, count);
    return ExportOutcome::Done;
}

ExportOutcome SaveToCsvClick(Program& program, bool withError,
                             const ReduceDialogRunner& showReduceDialog) {
    if (program.Log.Loading) return ExportOutcome::Busy;
    // An Esc pressed while idle must not cancel the next export.
    program.Log.AbortRequested = false;
    ExportOutcome outcome = ExportTrackCsv(program, withError, showReduceDialog);
    if (program.Log.AbortRequested) program.Main.StatusPanel0 = "*** Aborted by user ***";
    program.Log.AbortRequested = false;
    return outcome;
}

} // namespace fixtally
