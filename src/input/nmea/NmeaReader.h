#pragma once

#include "input/ReadProgress.h"

namespace fixtally {

struct Program;
class LogLineReader;

// Reads the NMEA log program.Log.LogFileName into program.Store: a check pass learns which
// sentence opens an epoch, a read pass appends one record per epoch with a position and a
// time. Shows progress in the status bar and the taskbar, honours AbortRequested, sets
// CountRange and FullRange, fills the range texts of the count-range and averaged-CSV
// dialogs and runs CountFixes. Returns the record count, 0 when the log holds no usable
// data, -1 when the file cannot be read or the user aborted (the store is then empty if
// the read pass had started).
int ReadNmeaLog(Program& program);

// ReadNmeaLog without the statistics run at its end: readPassDone tells whether the read
// pass completed, after which ReadNmeaLog runs CountFixes.
int ReadNmeaPasses(Program& program, bool& readPassDone);

} // namespace fixtally
