#pragma once

#include <string_view>

namespace fixtally {

struct Program;

// Reads a CSV log or RTKLIB solution file into a new fix store: recognises the header,
// decodes every data line, shows progress every 1024 stored fixes, honours Esc, then
// publishes the log's time range and counts. Returns the number of fixes stored (0 or
// more), -1 when the file cannot be opened, the user aborted or the reading failed (the
// store is then empty), -2 when no header with latitude and longitude columns was found.
int ReadCsvLog(Program& program, std::string_view path);

// The same for program.Log.LogFileName.
int ReadCsvLog(Program& program);

} // namespace fixtally
