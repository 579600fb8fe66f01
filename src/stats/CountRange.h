#pragma once

#include "fixdata/LoadedLog.h"

#include <string>
#include <string_view>

namespace fixtally {

// Time texts carry whole milliseconds, so the text of a range bound reads back up to half
// a millisecond away from the bound (a few microseconds of slack for the arithmetic).
inline constexpr double BoundTolerance = 0.502 / 86400000.0;

// A parsed time within half a millisecond of a range bound is that bound: the text the
// program wrote for the bound then reads back as the bound itself. Anything else is left.
double SnapToBound(double time, double bound);

// ParseFixTime of a start or final time text, snapped to the matching bound of fullRange.
double ParseRangeStart(std::string_view text, const TimeRange& fullRange,
                       std::string_view dateFormat);
double ParseRangeEnd(std::string_view text, const TimeRange& fullRange,
                     std::string_view dateFormat);

// Replaces a start or final text that is unreadable or outside fullRange by the text of
// the matching bound. A start later than the end is left as it is.
void ClampRangeEdits(std::string& startText, std::string& finalText, const TimeRange& fullRange,
                     std::string_view dateFormat);

// "start to end" with both times as FormatFixTime texts.
std::string RangeText(const TimeRange& range, std::string_view dateFormat);

} // namespace fixtally
