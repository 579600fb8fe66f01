#pragma once

#include <cstdint>
#include <string_view>

namespace fixtally {

struct Program;

// What the log readers show of a read: its progress, and the log's time range after it.

// The taskbar value for a read pass at bytesRead of fileSize: from 11 up to the
// platform's maximum; nothing is shown when the maximum is 0.
void ShowReadProgress(Program& program, std::int64_t bytesRead, std::int64_t fileSize);

// " " + name + "  Reading (" + percentage with one decimal + "%)".
void ShowReadingPercentage(Program& program, std::string_view name, std::int64_t bytesRead,
                           std::int64_t fileSize);

// After a read: fills the count-range dialog (start, final, title, range text) and the
// averaged-CSV dialog's time fields from CountRange, and sets FullRange to CountRange.
void PublishLogRange(Program& program);

} // namespace fixtally
