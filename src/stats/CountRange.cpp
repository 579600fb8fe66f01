#include "stats/CountRange.h"

#include "stats/TimeText.h"

#include <cmath>

namespace fixtally {

double SnapToBound(double time, double bound) {
    return std::fabs(time - bound) <= BoundTolerance ? bound : time;
}

double ParseRangeStart(std::string_view text, const TimeRange& fullRange,
                       std::string_view dateFormat) {
    return SnapToBound(ParseFixTime(text, dateFormat), fullRange.Start);
}

double ParseRangeEnd(std::string_view text, const TimeRange& fullRange,
                     std::string_view dateFormat) {
    return SnapToBound(ParseFixTime(text, dateFormat), fullRange.End);
}

void ClampRangeEdits(std::string& startText, std::string& finalText, const TimeRange& fullRange,
                     std::string_view dateFormat) {
    double s = ParseRangeStart(startText, fullRange, dateFormat);
    if (s == 0 || s < fullRange.Start || s > fullRange.End)
        startText = FormatFixTime(fullRange.Start, dateFormat);
    double e = ParseRangeEnd(finalText, fullRange, dateFormat);
    if (e == 0 || e > fullRange.End || e < fullRange.Start)
        finalText = FormatFixTime(fullRange.End, dateFormat);
}

std::string RangeText(const TimeRange& range, std::string_view dateFormat) {
    return FormatFixTime(range.Start, dateFormat) + " to " + FormatFixTime(range.End, dateFormat);
}

} // namespace fixtally
