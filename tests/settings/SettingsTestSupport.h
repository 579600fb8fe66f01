#pragma once

#include "../support/TempFolder.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace fixtally::test {

using fixtally::testing::ReadWholeFile;

// Replaces the file with the bytes.
inline void WriteBytes(const std::filesystem::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

// UTF-16 LE bytes of an ASCII text, as another program would write them.
inline std::string Utf16Le(std::string_view ascii, bool bom = true) {
    std::string out = bom ? "\xFF\xFE" : "";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

// Sets (or, with a null value, removes) an environment variable for one scope and
// restores the previous state; the time zone is re-read both times.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
        ::tzset();
    }
    ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
        ::tzset();
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace fixtally::test
