#pragma once

#include <string>

namespace fixtally {

struct Program;

// The text report of what the main window shows. Without a loaded log (or with an empty
// store) it shows the no-data message and returns an empty text.
std::string BuildReportText(const Program& program);

} // namespace fixtally
