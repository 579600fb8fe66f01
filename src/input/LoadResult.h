#pragma once

#include "fixdata/FixStore.h"
#include "fixdata/LoadedLog.h"
#include "settings/Settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace fixtally {

// How a read of a log ended.
enum class LoadOutcome {
    Loaded,        // the read pass ran to the end (Records may be 0 for a CSV log)
    NoData,        // an NMEA log without a single GGA, RMC or GNS sentence
    CannotOpen,    // the file could not be opened
    UnknownLayout, // a CSV log without a header naming latitude and longitude columns
    Failed,        // a read error, or memory for the store could not be had
    Aborted,       // the observer asked to stop
};

// The steps of a read that the program shows as they begin.
enum class ReadStage {
    Opening,  // NMEA: before the file is opened
    Checking, // NMEA: the check pass that learns which sentence opens an epoch
    Reading,  // the read pass; a CSV log announces it with ProfileFound instead
};

// What a reader tells while it reads, and how it learns that the user wants it to stop.
class ReadObserver {
public:
    virtual ~ReadObserver() = default;
    virtual void StageBegun(ReadStage) {}
    // NMEA: the mode text of the check pass ("GGA/RMC mode" ...).
    virtual void ModeFound(std::string_view) {}
    // CSV: the logger profile that recognised the header.
    virtual void ProfileFound(std::string_view) {}
    // After every 2048th (NMEA) or 1024th (CSV) stored fix; false stops the read.
    virtual bool Progress(std::int64_t /*bytesRead*/, std::int64_t /*fileSize*/) { return true; }
    // Polled line by line where a read cannot wait for the next progress call.
    virtual bool AbortRequested() { return false; }
};

// What a read needs besides the path.
struct ReadOptions {
    const Settings* Options = nullptr; // extensions, CSV aliases and profiles, leap second
    bool ExpandMode = false;           // the "/H" switch
    double LastFixTime = 0;            // carried over from the previous load
    int LogPosDecimals = 1;            // the decimals found so far, raised by the read
    int LogAltDecimals = 1;
};

// The outcome of one read. The records go to the store handed to the reader.
struct LoadResult {
    LoadOutcome Outcome = LoadOutcome::Failed;
    std::int64_t Records = 0;   // fixes stored
    bool StoreReplaced = false; // the store was emptied for this log (it is empty on failure)
    bool RangeFound = false;    // Range holds the log's time span
    TimeRange Range;            // first and last fix time
    LoadedLog Log;              // LastFixTime, the decimals found, IsRtklibLog, CsvProfile
    std::string ModeText;       // NMEA: the mode text of the check pass
    std::string Refusal;        // UnknownLayout: the status text that goes before the name
    std::int64_t BytesRead = 0; // at the end of the read
    std::int64_t FileSize = 0;
    long long Skipped = 0; // NMEA epochs without a position or time; CSV repeated fixes
};

// A result before the read: the path and what the options carry over from earlier loads.
inline LoadResult StartLoadResult(std::string_view path, const ReadOptions& options) {
    LoadResult result;
    LoadedLog& log = result.Log;
    log.LogFileName = std::string(path);
    log.LastFixTime = options.LastFixTime;
    log.ExpandMode = options.ExpandMode;
    log.LogPosDecimals = options.LogPosDecimals;
    log.LogAltDecimals = options.LogAltDecimals;
    return result;
}

} // namespace fixtally
