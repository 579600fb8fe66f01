#pragma once

#include "fixdata/FixRecord.h"
#include "fixdata/LoadedLog.h"
#include "settings/FilterLimits.h"

namespace fixtally {

struct Program;

// The quality test of one fix-quality character: a space always passes; any other
// character counts as its digit value (a non-digit as 0) and is compared with the RTKLIB
// pair when isRtklibLog is set, else with the NMEA/CSV pair.
bool QualityPasses(char16_t quality, const FilterLimits& limits, bool isRtklibLog);

// Whether a fix takes part in the statistics, the graph and the averaged export:
// position present, time not 0, DOPs within their limits (a missing DOP passes), time
// inside countRange (both bounds inclusive, NaN never inside), quality passes.
bool AcceptFix(const FixRecord& fix, const FilterLimits& limits, bool isRtklibLog,
               const TimeRange& countRange);

// The same with the program's limits (program.Limits, from the last ReadFilterLimits),
// IsRtklibLog and CountRange.
bool AcceptFix(const Program& program, const FixRecord& fix);

// Whether a time lies in the range, both bounds inclusive; false when anything is NaN.
inline bool InTimeRange(double time, const TimeRange& range) {
    return time >= range.Start && time <= range.End;
}

} // namespace fixtally
