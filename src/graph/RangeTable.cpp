#include "graph/RangeTable.h"

#include "graph/FormatGrouped.h"

#include <charconv>
#include <cmath>

namespace fixtally {

namespace {

// The shortest text with at most 15 significant digits.
std::string GeneralNumber(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

} // namespace

int ClampRangeIndex(int index) {
    if (index < RangeIndexMin) return RangeIndexMin;
    return index > RangeIndexMax ? RangeIndexMax : index;
}

double RangeOfIndex(int index) {
    return RangeTable[ClampRangeIndex(index) - 1];
}

int AutoRangeIndex(double largestAxisOffset) {
    int index = RangeIndexMin;
    while (index < RangeIndexMax && largestAxisOffset >= 0.999 * RangeTable[index - 1]) ++index;
    return index;
}

std::string RangeLabelText(double graphRange) {
    if (graphRange < 0.01) return GeneralNumber(graphRange * 1000) + "mm";
    if (graphRange < 1) return GeneralNumber(graphRange * 100) + "cm";
    if (graphRange > 999) return FormatGrouped(graphRange / 1000, 0) + "km";
    return GeneralNumber(graphRange) + "m";
}

} // namespace fixtally
