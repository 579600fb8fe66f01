#pragma once

#include <cstdint>
#include <string_view>

namespace fixtally {

struct Program;

// The taskbar value for a read pass at bytesRead of fileSize: from 11 up to the
// platform's maximum; nothing is shown when the maximum is 0.
void ShowReadProgress(Program& program, std::int64_t bytesRead, std::int64_t fileSize);

// " " + name + "  Reading (" + percentage with one decimal + "%)".
void ShowReadingPercentage(Program& program, std::string_view name, std::int64_t bytesRead,
                           std::int64_t fileSize);

} // namespace fixtally
