#include "export/CsvText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace fixtally {

void AppendFixed(std::string& out, double value, int decimals) {
    if (std::isnan(value)) return;
    decimals = std::clamp(decimals, 0, 18);
    char buffer[400];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return;
    char* first = buffer;
    if (*first == '-' &&
        std::all_of(first + 1, result.ptr, [](char c) { return c == '0' || c == '.'; }))
        ++first;
    out.append(first, result.ptr);
}

void AppendInteger(std::string& out, long long value) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string WritingStatus(std::string_view fileName, long long dots) {
    static constexpr std::string_view allDots = "..........";
    std::string text = " ";
    text += fileName;
    text += "  Writing ";
    text += allDots.substr(0, static_cast<std::size_t>(std::clamp(dots, 0LL, 10LL)));
    return text;
}

std::string CompletedStatus(std::string_view fileName, long long lines) {
    std::string text = " Completed: ";
    text += fileName;
    text += ' ';
    AppendInteger(text, lines);
    text += "rec.";
    return text;
}

} // namespace fixtally
