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

// Reads the NMEA log program.Log.LogFileName into program.Store with the status texts,
// progress and Esc handling of the window, then sets CountRange and FullRange, fills the
// range texts of the count-range and averaged-CSV dialogs and runs CountFixes. Returns
// the record count, 0 when the log holds no usable data, -1 when the file cannot be read
// or the user aborted (the store is then empty if the read pass had started).
int ReadNmeaLog(Program& program);

// ReadNmeaLog without the statistics run at its end: readPassDone tells whether the read
// pass completed, after which ReadNmeaLog runs CountFixes.
int ReadNmeaPasses(Program& program, bool& readPassDone);

// The same for a CSV log or RTKLIB solution file at path (program.Log.LogFileName when
// no path is given): the number of fixes stored (0 or more), -1 when the file cannot be
// opened, the user aborted or the reading failed (the store is then empty), -2 when no
// header with latitude and longitude columns was found. The count runs when fixes were
// stored.
int ReadCsvLog(Program& program, std::string_view path);
int ReadCsvLog(Program& program);

} // namespace fixtally
