#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fixtally {

// A usable INI path, or the message why there is none ("Cannot create : "
// with a folder, "Cannot Copy : " with a file path).
struct IniPathResult {
    std::string Path;
    std::string Error;
    bool Ok() const { return Error.empty(); }
};

// Full path of the running executable; empty when it cannot be found.
std::string ExecutablePath();

// The folder of a path with its trailing "/".
std::string FolderOf(std::string_view path);

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute
// path, else $HOME/.config (no trailing "/").
std::string ConfigHome();

// Later of a file's birth and last-write times in nanoseconds since the
// epoch; 0 when the file does not exist or its times cannot be read.
std::int64_t IniTimeStamp(const std::string& path);

// Where the INI file named by path is used. A path without a folder lies in
// the executable's folder. When that folder cannot be written (tested with a
// "$$$" temporary file), the file is used in the configuration folder named
// after the executable, which is created with its parents; the file is copied
// there first when the copy there is missing or older.
IniPathResult UsableIniPath(std::string_view path, const std::string& exePath = ExecutablePath());

// The INI path at start-up: the first argument ending in ".ini" (any case),
// else the executable's path with ".ini" in place of its extension. An
// argument with a "/" is taken relative to the current folder, one without
// lies in the executable's folder. The result passes through UsableIniPath.
IniPathResult DefaultIniPath(const std::vector<std::string>& args,
                             const std::string& exePath = ExecutablePath());

// True when the path's extension is ".ini" in any case.
bool IsIniPath(std::string_view path);

} // namespace fixtally
