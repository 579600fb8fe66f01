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

} // namespace fixtally
