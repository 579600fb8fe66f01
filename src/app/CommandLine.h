#pragma once

#include <string>
#include <vector>

namespace fixtally {

struct Program;

// The desktop program's command line at the first activation of the main
// window: ".ini" arguments choose and read the settings (else the INI file
// chosen at start-up is read), "/H" switches on expand mode, and the last
// argument of a known log kind is loaded.
void ProcessCommandLine(Program& program, const std::vector<std::string>& arguments);

// Files dropped on the main window, in the order the system lists them: INI
// files switch the settings file, the last other file is loaded (without a
// kind test). Dropping only INI files loads the current log again.
void HandleDroppedFiles(Program& program, const std::vector<std::string>& files);

} // namespace fixtally
