#pragma once

#include "convert/PathText.h"

#include <string>
#include <string_view>

namespace fixtally {

// Appends value in fixed-point form with "." and the given decimals (clamped to 0..18),
// locale-free; nothing for NaN (an absent value is an empty field). A value that rounds
// to zero is written without a minus sign.
void AppendFixed(std::string& out, double value, int decimals);

// Appends an integer in decimal.
void AppendInteger(std::string& out, long long value);

// Ends a CSV line with CR LF.
inline void EndCsvLine(std::string& out) {
    out += "\r\n";
}

// The progress text of an export: " " + file name + "  Writing " + up to ten dots.
std::string WritingStatus(std::string_view fileName, long long dots);

// The status text of a finished export: " Completed: " + file name + " " + lines + "rec.".
std::string CompletedStatus(std::string_view fileName, long long lines);

} // namespace fixtally
