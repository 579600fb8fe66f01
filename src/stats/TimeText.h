#pragma once

#include <string>
#include <string_view>

namespace fixtally {

// The program's one way to write and read a fix time. Times are day numbers (days since
// 1899-12-30, UTC); a value of 1 or below is a time of day without a date.

// Formats a time with a pattern whose end controls the fraction of seconds: a pattern
// ending in "." shows the milliseconds without trailing zeros (none for whole seconds);
// ".z", ".zz", ".zzz" keep one, two or three digits, cut, not rounded. Pattern letters:
// yyyy/yy, mm/m, dd/d, hh/h, nn/n, ss/s, zzz/z; every other character is copied.
// Empty when the time cannot be formatted (NaN, outside the years 1 to 9999).
std::string FormatTimeFraction(double time, std::string_view pattern);
// The same appended to out, without allocating once out has room; false (out unchanged)
// when the time cannot be formatted.
bool AppendTimeFraction(std::string& out, double time, std::string_view pattern);

// The standard text of a fix time: date (in dateFormat), a space and hh:nn:ss with the
// milliseconds that are not zero; the time alone for a value of 1 or below.
std::string FormatFixTime(double time, std::string_view dateFormat);

// Reads a text in the form FormatFixTime writes with the same dateFormat; a time of day
// alone is read as such. 0 when the text cannot be read.
double ParseFixTime(std::string_view text, std::string_view dateFormat);

} // namespace fixtally
