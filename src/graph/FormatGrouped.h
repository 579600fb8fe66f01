#pragma once

#include <string>

namespace fixtally {

// value in fixed notation with the given decimals, thousands separated by ",",
// right-aligned in at least 15 characters; "NAN" when it cannot be formatted.
std::string FormatGrouped(double value, int decimals);

} // namespace fixtally
