#pragma once

#include "fixdata/FixRecord.h"
#include "fixdata/LoadedLog.h"
#include "settings/FilterLimits.h"

namespace fixtally {

// The quality test of one fix-quality character: a space always passes; any other
// character counts as its digit value (a non-digit as 0) and is compared with the RTKLIB
// pair when isRtklibLog is set, else with the NMEA/CSV pair.
bool QualityPasses(char16_t quality, const FilterLimits& limits, bool isRtklibLog);

// Whether a fix takes part in the statistics, the graph and the averaged export:
// position present, time not 0, DOPs within their limits (a missing DOP passes), time
// inside countRange (both bounds inclusive, NaN never inside), quality passes.
bool AcceptFix(const FixRecord& fix, const FilterLimits& limits, bool isRtklibLog,
               const TimeRange& countRange);

// Whether a time lies in the range, both bounds inclusive; false when anything is NaN.
inline bool InTimeRange(double time, const TimeRange& range) {
    return time >= range.Start && time <= range.End;
}

// The filter of one count, drawing or export, taken as it stands when the work begins, so
// that handlers that run while messages are processed cannot change it halfway through.
struct FixFilter {
    FilterLimits Limits;
    bool IsRtklibLog = false;
    TimeRange Range;

    bool InRange(const FixRecord& fix) const { return InTimeRange(fix.Time, Range); }
    bool Accepts(const FixRecord& fix) const { return AcceptFix(fix, Limits, IsRtklibLog, Range); }
};

} // namespace fixtally
