#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace fixtally {

// Mean and standard deviation over n of values added one by one. The sums run around the
// first value, so that an offset far from zero (a true point metres away) keeps the
// deviation's precision.
struct RunningMoments {
    double Shift = 0, Sum = 0, Squares = 0;
    long long Count = 0;

    void Add(double v) {
        if (Count == 0) Shift = v;
        const double d = v - Shift;
        Sum += d;
        Squares += d * d;
        ++Count;
    }
    double Mean() const {
        return Count ? Shift + Sum / static_cast<double>(Count)
                     : std::numeric_limits<double>::quiet_NaN();
    }
    double Sd() const {
        if (!Count) return std::numeric_limits<double>::quiet_NaN();
        const double mean = Sum / static_cast<double>(Count);
        return std::sqrt(std::max(0.0, Squares / static_cast<double>(Count) - mean * mean));
    }
};

// The error of every accepted fix of one count, in store order, kept by the main pass only
// when Keep is set, so that a count without the percentile figures or the time plot stores
// nothing. The vectors are reserved for the whole store before the pass: no allocation
// per fix. What is only asked for its mean and deviation (the signed offsets) or its RMS
// is summed in store order as the fixes come (the RMS's sum is the count's), not stored: the
// percentile figures may then rank the stored errors in any order, and a long log keeps 16 bytes
// less per fix.
struct FixErrorSamples {
    bool Keep = false;      // keep Horizontal and Up and the sums
    bool KeepTimes = false; // with Keep: also Time and Quality (the error-over-time plot)
    bool Complete = false;  // the pass that filled the vectors ran to its end

    std::vector<double> Horizontal; // metres from the reference
    std::vector<double> Up;         // altitude minus reference altitude; NaN without altitude
    std::vector<double> Time;       // day number of the fix
    std::vector<char16_t> Quality;  // fix-quality character of the fix
    RunningMoments East;            // metres, negative west of the reference
    RunningMoments North;           // metres, negative south of the reference
    RunningMoments UpOffsets;       // Up of the fixes with an altitude
    double HorizontalSquares = 0;   // sum of Horizontal squared: the count's own SumH2

    std::size_t Count() const { return Horizontal.size(); }

    // The errors of the next accepted fix (up NaN without altitude).
    void Add(double horizontal, double east, double north, double up) {
        Horizontal.push_back(horizontal);
        Up.push_back(up);
        East.Add(east);
        North.Add(north);
        if (!std::isnan(up)) UpOffsets.Add(up);
    }

    void Clear() {
        Complete = false;
        Horizontal.clear();
        Up.clear();
        Time.clear();
        Quality.clear();
        East = North = UpOffsets = {};
        HorizontalSquares = 0;
    }
};

} // namespace fixtally
