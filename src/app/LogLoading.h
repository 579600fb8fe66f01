#pragma once

#include <string_view>

namespace fixtally {

struct Program;

// Prepares the program for a load of program.Log.LogFileName (a comment after
// ";" is dropped) and loads it. Returns what LoadLog returned, 0 for no name.
int LoadLogFile(Program& program);

// Loads one log with the reader its extension selects and leaves the final
// status text, menu state and cursor. Returns the reader's result: the record
// count, 0 for no data, below 0 for a failure or an abort.
int LoadLog(Program& program, std::string_view path);

} // namespace fixtally
