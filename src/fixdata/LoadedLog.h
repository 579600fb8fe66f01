#pragma once

#include <string>

namespace fixtally {

// A time window as two day numbers.
struct TimeRange {
    double Start = 0;
    double End = 0;
};

// Values that describe the log being loaded or last loaded.
struct LoadedLog {
    std::string LogFileName;
    double LastFixTime = 0; // not reset between loads
    int LogPosDecimals = 1;
    int LogAltDecimals = 1;
    bool AbortRequested = false;
    bool Loading = false;
    bool IsRtklibLog = false;
    bool ExpandMode = false; // the "/H" switch; stays set for the run
    std::string CsvProfile;  // logger profile that read the loaded CSV log; empty otherwise
};

} // namespace fixtally
