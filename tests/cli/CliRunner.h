#pragma once

// Runs the built fixtally-cli as a script would: stdout, stderr and the exit code.

#include "../support/TempFolder.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <sys/wait.h>

namespace fixtally::testing {

struct CliOutput {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

// Arguments are quoted for the shell by the caller; stderr goes through errFile.
inline CliOutput RunCli(const std::string& arguments, const std::string& errFile) {
    const std::string command =
        std::string(FIXTALLY_BINARY_DIR) + "/fixtally-cli " + arguments + " 2>'" + errFile + "'";
    CliOutput run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.Out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Err = ReadWholeFile(errFile);
    return run;
}

// The number after the first `"key": ` at or after from in a JSON text; NaN for null or
// a missing key.
inline double JsonNumber(std::string_view json, std::string_view key, std::size_t from = 0) {
    const std::string pattern = "\"" + std::string(key) + "\": ";
    const std::size_t at = json.find(pattern, from);
    if (at == std::string_view::npos) return std::nan("");
    const std::string rest(json.substr(at + pattern.size(), 40));
    if (rest.rfind("null", 0) == 0) return std::nan("");
    return std::strtod(rest.c_str(), nullptr);
}

inline std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

inline std::string ExampleLog(const std::string& name = "static-1hz-hour.nmea") {
    return std::string(FIXTALLY_SOURCE_DIR) + "/examples/" + name;
}

} // namespace fixtally::testing
