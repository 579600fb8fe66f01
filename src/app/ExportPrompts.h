#pragma once

#include <string>

namespace fixtally {

struct Program;
class Platform;

// Shows the busy cursor for the lifetime of the guard.
class BusyCursorGuard {
public:
    explicit BusyCursorGuard(Platform& ui);
    ~BusyCursorGuard();
    BusyCursorGuard(const BusyCursorGuard&) = delete;
    BusyCursorGuard& operator=(const BusyCursorGuard&) = delete;

private:
    Platform& ui_;
};

enum class OverwriteAnswer { NoFile, Yes, No };

// When the file exists, asks path + " exists.\r\n\r\nOverwrite?" with Yes and No.
OverwriteAnswer AskOverwrite(Program& program, const std::string& path);

// The text of the refusal to write an output over the log being read.
std::string OverLogMessage(const std::string& path);

// True, after an error box with OverLogMessage, when path names the log being read:
// no output is ever written over it, whatever the answer to "Overwrite?" would be.
bool RefuseOverLog(Program& program, const std::string& path);

// Keeps the file and the system's reason of a failed export for a caller to report.
void NoteExportFailure(Program& program, const std::string& path, const std::string& reason);

} // namespace fixtally
