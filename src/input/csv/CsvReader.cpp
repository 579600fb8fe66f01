#include "input/csv/CsvReader.h"

#include "app/LogKind.h"
#include "app/Program.h"
#include "display/ResultsDisplay.h"
#include "input/LogLineReader.h"
#include "input/ReadProgress.h"
#include "input/csv/CsvFix.h"
#include "input/csv/CsvHeader.h"
#include "input/csv/CsvProfiles.h"
#include "stats/CountFixes.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <string>

namespace fixtally {

namespace {

constexpr long long ProgressInterval = 1024;

std::string CountText(long long count) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, count);
    return std::string(buffer, result.ptr);
}

// Sizes the store once for the whole log, from the bytes the first fixes took, so that
// it does not grow step by step through a large log.
void ReserveForLog(FixStore& store, const LogLineReader& reader, long long stored) {
    const long long read = reader.LogBytesRead();
    if (read <= 0 || reader.LogFileSize() <= read) return;
    const double size = static_cast<double>(reader.LogFileSize());
    double estimate = static_cast<double>(stored) * size / static_cast<double>(read) * 1.0625;
    // Never more than twice the file's size in records: short first lines must not make
    // a large log reserve memory it will not fill.
    estimate = std::min(estimate, 2 * size / static_cast<double>(FixRecordSize));
    store.Reserve(static_cast<std::size_t>(estimate) + ProgressInterval);
}

// The pass over the data lines; false when it was aborted or failed.
bool ReadFixes(Program& program, LogLineReader& reader, const ColumnMap& map,
               const ProfileParams& params, std::string_view name, long long& count) {
    CsvLineDecoder decoder(map, params, program.Settings.LeapSecond, program.Log);
    CsvFixValues values;
    long long progress = 0;
    bool timed = false; // a stored fix with a time has set the count range
    double previousTime = 0, previousLatitude = 0, previousLongitude = 0;
    while (ReadCsvFix(reader, decoder, previousTime, values)) {
        const bool repeat = params.MergeRepeats && count > 0 && values.Time == previousTime &&
                            values.Latitude == previousLatitude &&
                            values.Longitude == previousLongitude;
        if (!repeat) {
            program.Store.Append(FixRecordFromCsv(values, map, params));
            ++count;
            ++progress;
            program.Log.LastFixTime = values.Time;
            // A fix without a time (0) has no place in the log's time span.
            if (values.Time != 0) {
                TimeRange& range = program.CountRange;
                if (!timed) {
                    range.Start = range.End = values.Time;
                    timed = true;
                } else {
                    range.Start = std::min(range.Start, values.Time);
                    range.End = std::max(range.End, values.Time);
                }
            }
        }
        previousTime = values.Time;
        previousLatitude = values.Latitude;
        previousLongitude = values.Longitude;

        if (!repeat && progress == ProgressInterval) ReserveForLog(program.Store, reader, count);
        if (!repeat && progress % ProgressInterval == 0) {
            ShowReadingPercentage(program, name, reader.LogBytesRead(), reader.LogFileSize());
            ShowReadProgress(program, reader.LogBytesRead(), reader.LogFileSize());
            program.Ui.ProcessMessages();
            if (program.Log.AbortRequested) return false;
        }
    }
    return !reader.ReadFailed();
}

} // namespace

int ReadCsvLog(Program& program, std::string_view path) {
    const std::string name(FileNameOnly(path));
    ClearResults(program);
    ClearStatusBar(program);
    program.Main.StatusPanel0 = " " + name + "  Reading CSV file ...";
    program.Ui.ProcessMessages();

    LogLineReader reader;
    // A failed read leaves an empty store: the previous log must not be taken for this one.
    if (!reader.OpenLog(std::string(path))) {
        program.Main.StatusPanel0 = "  Can not open: " + name;
        program.Store.Clear();
        return -1;
    }
    ColumnMap map;
    ProfileParams params;
    try {
        // Settings that were never read (no INI) still know the built-in logger profiles.
        const Settings* settings = &program.Settings;
        Settings withProfiles;
        if (settings->CSV_Info.empty() && settings->CSV_Option.empty()) {
            withProfiles = program.Settings;
            AddDefaultProfiles(withProfiles);
            settings = &withProfiles;
        }
        if (!AnalyseCsvHeader(reader, *settings, program.Log, map, params)) {
            program.Main.StatusPanel0 = UnknownHeaderText(map, name);
            reader.CloseLog();
            program.Store.Clear();
            return -2;
        }
    } catch (const std::exception&) {
        reader.CloseLog();
        program.Store.Clear();
        return -1;
    }
    program.Main.StatusPanel0 = " " + name + "  " + map.ProfileName + " CSV file ...";
    program.Log.CsvProfile = map.ProfileName;

    long long count = 0;
    try {
        program.Store.Replace();
        program.CountRange = TimeRange{};
        if (!ReadFixes(program, reader, map, params, name, count)) {
            reader.CloseLog();
            program.Store.Clear();
            return -1;
        }
        program.Main.StatusPanel1 += "  Read:" + CountText(count) + "rec.";
        ShowReadProgress(program, reader.LogBytesRead(), reader.LogFileSize());
        program.Log.LogPosDecimals = std::clamp(program.Log.LogPosDecimals, 3, 9);
        PublishLogRange(program);
        if (count > 0) CountFixes(program);
    } catch (const std::exception&) {
        reader.CloseLog();
        program.Store.Clear();
        return -1;
    }
    reader.CloseLog();
    return static_cast<int>(count);
}

int ReadCsvLog(Program& program) {
    const std::string path = program.Log.LogFileName;
    return ReadCsvLog(program, path);
}

} // namespace fixtally
