#include "display/FixedText.h"

#include <charconv>
#include <cmath>

namespace fixtally {

std::string FixedText(double value, int decimals) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (decimals < 0) decimals = 0;
    if (decimals > 18) decimals = 18;
    char buffer[64];
    std::to_chars_result result;
    if (std::fabs(value) >= 1e15) {
        result =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
        for (char* p = buffer; p != result.ptr; ++p)
            if (*p == 'e') *p = 'E';
        return std::string(buffer, result.ptr);
    }
    result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    // A value that rounds to zero shows no sign.
    if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string FixedText(double value, int decimals, int width) {
    std::string text = FixedText(value, decimals);
    if (width > 0) PadLeft(text, static_cast<std::size_t>(width));
    return text;
}

void PadLeft(std::string& text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
}

} // namespace fixtally
