#pragma once

#include <array>
#include <string>

namespace fixtally {

inline constexpr int RangeIndexMin = 1;
inline constexpr int RangeIndexMax = 32;
inline constexpr int RangeIndexDefault = 7;

// Full-scale ranges of the scatter graph in metres, the 1-2-5 sequence from 1 mm to
// 20,000 km. RangeTable[0] belongs to RangeIndex 1.
inline constexpr std::array<double, RangeIndexMax> RangeTable{
    0.001, 0.002, 0.005,  0.01,   0.02,   0.05,    0.1,     0.2,     0.5,      1,       2,
    5,     10,    20,     50,     100,    200,     500,     1000,    2000,     5000,    10000,
    20000, 50000, 100000, 200000, 500000, 1000000, 2000000, 5000000, 10000000, 20000000};

// RangeIndex brought into 1..32 (an INI value outside is clamped to the nearer end).
int ClampRangeIndex(int index);

// The range in metres of a RangeIndex (clamped into 1..32 first).
double RangeOfIndex(int index);

// The auto-range choice: the smallest index whose range exceeds the largest axis offset by
// the 0.1 % margin (offset < 0.999 x range), or 32 when none does.
int AutoRangeIndex(double largestAxisOffset);

// The range label under the graph (LabelFS): millimetres below 1 cm, centimetres below
// 1 m, metres up to 999 m, above that kilometres grouped by "," and right-aligned in 15
// characters.
std::string RangeLabelText(double graphRange);

} // namespace fixtally
