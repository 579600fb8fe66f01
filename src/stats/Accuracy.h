#pragma once

#include "fixdata/FixRecord.h"
#include "stats/FixErrorSamples.h"

#include <vector>

namespace fixtally {

// Empirical accuracy figures of one count, taken from the errors of its accepted fixes
// against its reference (the same fixes and reference as the report's spreads). Metres;
// NaN where no fix counts.
struct AccuracyFigures {
    long long Fixes = 0;             // accepted fixes: horizontal and east/north figures
    long long FixesWithAltitude = 0; // of those, fixes with an altitude: vertical and 3D
    double Cep50 = NaN;              // horizontal radius holding 50 % of the fixes
    double Cep95 = NaN;
    double Cep99 = NaN;
    double Vertical50 = NaN; // |altitude error| holding 50 % of the fixes with altitude
    double Vertical95 = NaN;
    double Error3d50 = NaN; // 3D error over the fixes with altitude
    double Error3d95 = NaN;
    double EastMean = NaN; // signed offsets: mean and standard deviation over n
    double EastSd = NaN;
    double NorthMean = NaN;
    double NorthSd = NaN;
    double UpMean = NaN;
    double UpSd = NaN;
    double HorizontalRms = NaN; // root mean square of the horizontal errors
};

enum class AccuracyOutcome {
    Computed,    // the figures are complete (NaN where no fix counts)
    NotKept,     // the samples are not those of a complete count
    OutOfMemory, // no room for the working copy
};

// The nearest-rank percentile: the k-th smallest value, k = ceil(percent x n / 100), of the
// n values that are not NaN; NaN when there is none. A histogram of the values' top bits finds the
// few values around the rank and std::nth_element picks it among them.
double NearestRankPercentile(const std::vector<double>& values, int percent);

// The figures from the kept errors of a count. The samples stay as they are.
[[nodiscard]] AccuracyOutcome ComputeAccuracy(const FixErrorSamples& samples, AccuracyFigures& out);

} // namespace fixtally
