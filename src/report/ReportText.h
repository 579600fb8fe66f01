#pragma once

#include <string>

namespace fixtally {

struct Program;

inline constexpr const char* NoReadingDataMessage = "\nNo reading data.";

// The plain-text report of what the main window shows: the result fields as they are
// displayed, under the captions of their labels, lines ending in "\r\n". Without a loaded
// log (or with an empty store) it shows the no-data message and returns an empty text.
std::string BuildReportText(const Program& program);

} // namespace fixtally
