#pragma once

#include <string>
#include <string_view>

namespace fixtally {

struct Program;

// FormatFixTime and ParseFixTime with the program's date format in use.
std::string FormatFixTime(const Program& program, double time);
double ParseFixTime(const Program& program, std::string_view text);

} // namespace fixtally
