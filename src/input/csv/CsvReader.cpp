#include "input/csv/CsvReader.h"

#include "input/LogLineReader.h"
#include "input/csv/CsvFix.h"
#include "input/csv/CsvHeader.h"
#include "input/csv/CsvProfiles.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <string>

namespace fixtally {

namespace {

constexpr long long ProgressInterval = 1024;

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
bool ReadFixes(LogLineReader& reader, const ColumnMap& map, const ProfileParams& params,
               const Settings& settings, ReadObserver& observer, FixStore& store,
               LoadResult& result) {
    CsvLineDecoder decoder(map, params, settings.LeapSecond, result.Log);
    CsvFixValues values;
    std::int64_t& count = result.Records;
    long long progress = 0;
    bool timed = false; // a stored fix with a time has set the count range
    double previousTime = 0, previousLatitude = 0, previousLongitude = 0;
    result.RangeFound = true; // a log without a timed fix has the range 0..0
    while (ReadCsvFix(reader, decoder, previousTime, values)) {
        const bool repeat = params.MergeRepeats && count > 0 && values.Time == previousTime &&
                            values.Latitude == previousLatitude &&
                            values.Longitude == previousLongitude;
        if (!repeat) {
            store.Append(FixRecordFromCsv(values, map, params));
            ++count;
            ++progress;
            result.Log.LastFixTime = values.Time;
            // A fix without a time (0) has no place in the log's time span.
            if (values.Time != 0) {
                TimeRange& range = result.Range;
                if (!timed) {
                    range.Start = range.End = values.Time;
                    timed = true;
                } else {
                    range.Start = std::min(range.Start, values.Time);
                    range.End = std::max(range.End, values.Time);
                }
            }
        } else {
            ++result.Skipped;
        }
        previousTime = values.Time;
        previousLatitude = values.Latitude;
        previousLongitude = values.Longitude;

        if (!repeat && progress == ProgressInterval) ReserveForLog(store, reader, count);
        if (!repeat && progress % ProgressInterval == 0 &&
            !observer.Progress(reader.LogBytesRead(), reader.LogFileSize())) {
            result.Outcome = LoadOutcome::Aborted;
            return false;
        }
    }
    if (reader.ReadFailed()) {
        result.Outcome = LoadOutcome::Failed;
        return false;
    }
    return true;
}

} // namespace

LoadResult ReadCsvLog(std::string_view path, const ReadOptions& options, ReadObserver& observer,
                      FixStore& store) {
    LoadResult result = StartLoadResult(path, options);
    LoadedLog& log = result.Log;
    result.StoreReplaced = true;

    LogLineReader reader;
    // A failed read leaves an empty store: the previous log must not be taken for this one.
    if (!reader.OpenLog(log.LogFileName)) {
        store.Clear();
        result.Outcome = LoadOutcome::CannotOpen;
        return result;
    }
    ColumnMap map;
    ProfileParams params;
    const Settings& settings = *options.Options;
    try {
        // Settings that were never read (no INI) still know the built-in logger profiles.
        const Settings* withProfilesAdded = &settings;
        Settings withProfiles;
        if (settings.CSV_Info.empty() && settings.CSV_Option.empty()) {
            withProfiles = settings;
            AddDefaultProfiles(withProfiles);
            withProfilesAdded = &withProfiles;
        }
        if (!AnalyseCsvHeader(reader, *withProfilesAdded, log, map, params)) {
            result.Refusal = UnknownHeaderText(map, "");
            reader.CloseLog();
            store.Clear();
            result.Outcome = LoadOutcome::UnknownLayout;
            return result;
        }
    } catch (const std::exception&) {
        reader.CloseLog();
        store.Clear();
        result.Outcome = LoadOutcome::Failed;
        return result;
    }
    log.CsvProfile = map.ProfileName;
    observer.ProfileFound(map.ProfileName);

    try {
        store.Replace();
        if (!ReadFixes(reader, map, params, settings, observer, store, result)) {
            reader.CloseLog();
            store.Clear();
            return result;
        }
        result.BytesRead = reader.LogBytesRead();
        result.FileSize = reader.LogFileSize();
        log.LogPosDecimals = std::clamp(log.LogPosDecimals, 3, 9);
    } catch (const std::exception&) {
        reader.CloseLog();
        store.Clear();
        result.Outcome = LoadOutcome::Failed;
        return result;
    }
    reader.CloseLog();
    result.Outcome = LoadOutcome::Loaded;
    return result;
}

} // namespace fixtally
