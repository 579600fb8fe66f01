#pragma once

#include <vector>

namespace fixtally {

// The error of every accepted fix of one count, in store order, kept by the main pass only
// when Keep is set, so that a count without the percentile figures or the time plot stores
// nothing. The vectors are reserved for the whole store before the pass: no allocation
// per fix.
struct FixErrorSamples {
    bool Keep = false;      // keep Horizontal, East, North and Up
    bool KeepTimes = false; // with Keep: also Time and Quality (the error-over-time plot)
    bool Complete = false;  // the pass that filled the vectors ran to its end

    std::vector<double> Horizontal; // metres from the reference
    std::vector<double> East;       // metres, negative west of the reference
    std::vector<double> North;      // metres, negative south of the reference
    std::vector<double> Up;         // altitude minus reference altitude; NaN without altitude
    std::vector<double> Time;       // day number of the fix
    std::vector<char16_t> Quality;  // fix-quality character of the fix

    std::size_t Count() const { return Horizontal.size(); }
    void Clear() {
        Complete = false;
        Horizontal.clear();
        East.clear();
        North.clear();
        Up.clear();
        Time.clear();
        Quality.clear();
    }
};

} // namespace fixtally
