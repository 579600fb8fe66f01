#include "app/ReadProgress.h"

#include "app/Program.h"

#include <algorithm>
#include <charconv>

namespace fixtally {

void ShowReadProgress(Program& program, std::int64_t bytesRead, std::int64_t fileSize) {
    const int maximum = program.Ui.TaskbarMaximum();
    if (maximum <= 0) return;
    std::int64_t value = maximum;
    if (fileSize > 0) value = (maximum - 11) * bytesRead / fileSize + 11;
    // A log that grows while it is read must not push the bar past its end.
    value = std::clamp<std::int64_t>(value, 0, maximum);
    program.Ui.SetTaskbarProgress(static_cast<int>(value));
}

void ShowReadingPercentage(Program& program, std::string_view name, std::int64_t bytesRead,
                           std::int64_t fileSize) {
    const double percent =
        fileSize > 0 ? static_cast<double>(bytesRead) / static_cast<double>(fileSize) * 100 : 0;
    char digits[32];
    const auto r =
        std::to_chars(digits, digits + sizeof digits, percent, std::chars_format::fixed, 1);
    std::string& panel = program.Main.StatusPanel0;
    panel.assign(" ");
    panel.append(name);
    panel.append("  Reading (");
    panel.append(digits, r.ptr);
    panel.append("%)");
}

void PublishLogRange(Program& program) {
    // The count-range dialog also makes CountRange the full range.
    program.RangeDialog.PublishLogRange(program);
    program.Average.PublishLogRange(program);
}

} // namespace fixtally
