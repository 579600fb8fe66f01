#pragma once

#include <string>

namespace fixtally {

// The program's fixed notation: value rounded to decimals places, "." as the point, a
// leading "-" only when a non-zero digit remains, no thousands separators. Decimal counts
// below 0 or above 18 are written with 0 or 18. A value with more than 15 digits before
// the point is written in scientific notation; NaN and infinities as "NAN", "INF", "-INF".
std::string FixedText(double value, int decimals);

// FixedText padded on the left with spaces to at least width characters.
std::string FixedText(double value, int decimals, int width);

// Prepends spaces to text until it is at least width characters long.
void PadLeft(std::string& text, std::size_t width);

} // namespace fixtally
