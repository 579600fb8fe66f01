#include "graph/FormatGrouped.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace fixtally {

std::string FormatGrouped(double value, int decimals) {
    if (!std::isfinite(value)) return "NAN";
    decimals = std::clamp(decimals, 0, 18);
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return "NAN";
    std::string text(buffer, end);

    // 1-based position of the decimal point (one past the end without decimals).
    const int point = decimals == 0 ? static_cast<int>(text.size()) + 1
                                    : static_cast<int>(text.size()) - decimals;
    const int lead = value < 0 ? 3 : 2; // the sign takes a place before the digits
    const int groups = (point - lead) / 3;
    for (int i = 1; i <= groups; ++i)
        text.insert(static_cast<std::size_t>(point - 3 * i - 1), 1, ',');

    if (text.size() < 15) text.insert(0, 15 - text.size(), ' ');
    return text;
}

} // namespace fixtally
