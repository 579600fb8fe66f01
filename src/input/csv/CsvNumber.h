#pragma once

#include "convert/Conversions.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace fixtally {

// Number reading of the CSV line decoder. The common plain forms ("-35.681236") take a
// short exact path; everything else goes to the program's conversions, with the same
// results.

// "[-]digits[.digits]" with at most 15 digits: the digits as an integer divided by a power
// of ten, both exact doubles, so the one division rounds correctly, as the full parser does.
// False for any other text. decimals: the digits after the point.
inline bool PlainDecimal(std::string_view text, double& value, int& decimals) {
    static constexpr std::array<double, 16> PowersOfTen{
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) i = 1;
    std::uint64_t mantissa = 0;
    int digits = 0, fraction = -1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            if (++digits > 15) return false;
            if (fraction >= 0) ++fraction;
        } else if (c == '.' && fraction < 0) {
            fraction = 0;
        } else {
            return false;
        }
    }
    if (digits == 0) return false;
    decimals = fraction < 0 ? 0 : fraction;
    const double magnitude = static_cast<double>(mantissa) / PowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}

// StrippedNumber: the characters of "+-0123456789.E" of the text read as a number; NaN
// when that fails (decimals then untouched).
inline double CsvStrippedNumber(std::string_view text, int& decimals) {
    std::array<char, 32> kept;
    std::size_t length = 0;
    for (char c : text) {
        if ((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'E') {
            if (length == kept.size()) return StrippedNumber(text, decimals);
            kept[length++] = c;
        }
    }
    double value = 0;
    int places = 0;
    if (PlainDecimal(std::string_view(kept.data(), length), value, places)) {
        decimals = places;
        return value;
    }
    return StrippedNumber(text, decimals);
}

} // namespace fixtally
