#include "stats/Accuracy.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace fixtally {

namespace {

// 1-based rank of the percentile among n values, between 1 and n (n > 0).
std::size_t Rank(std::size_t n, int percent) {
    const std::size_t k = (n * static_cast<std::size_t>(percent) + 99) / 100;
    return std::clamp<std::size_t>(k, 1, n);
}

struct MeanSd {
    double Mean = NaN;
    double Sd = NaN;
};

// Mean and standard deviation over n of the values that are not NaN.
MeanSd MeanAndSd(const std::vector<double>& values) {
    double sum = 0;
    long long n = 0;
    for (double v : values) {
        if (std::isnan(v)) continue;
        sum += v;
        ++n;
    }
    if (n == 0) return {};
    const double mean = sum / static_cast<double>(n);
    double squares = 0;
    for (double v : values) {
        if (std::isnan(v)) continue;
        squares += (v - mean) * (v - mean);
    }
    return {mean, std::sqrt(squares / static_cast<double>(n))};
}

// Two or three percentiles of the same values, each nth_element working only on the part
// above the previous rank.
void Percentiles(std::vector<double>& values, const int* percents, double* out, int count) {
    const std::size_t n = values.size();
    std::size_t from = 0;
    for (int i = 0; i < count; ++i) {
        if (n == 0) {
            out[i] = NaN;
            continue;
        }
        const std::size_t k = Rank(n, percents[i]) - 1;
        if (k >= from) {
            std::nth_element(values.begin() + static_cast<std::ptrdiff_t>(from),
                             values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
            from = k;
        }
        out[i] = values[k];
    }
}

} // namespace

double NearestRankPercentile(std::vector<double>& values, int percent) {
    double value = NaN;
    Percentiles(values, &percent, &value, 1);
    return value;
}

AccuracyOutcome ComputeAccuracy(const FixErrorSamples& samples, AccuracyFigures& out) {
    out = AccuracyFigures{};
    if (!samples.Keep || !samples.Complete) return AccuracyOutcome::NotKept;
    const std::size_t n = samples.Horizontal.size();
    out.Fixes = static_cast<long long>(n);

    std::vector<double> work;
    try {
        work.reserve(n);
    } catch (const std::bad_alloc&) {
        return AccuracyOutcome::OutOfMemory;
    }

    double sumH2 = 0;
    for (double h : samples.Horizontal) sumH2 += h * h;
    if (n > 0) out.HorizontalRms = std::sqrt(sumH2 / static_cast<double>(n));
    const MeanSd east = MeanAndSd(samples.East);
    const MeanSd north = MeanAndSd(samples.North);
    const MeanSd up = MeanAndSd(samples.Up);
    out.EastMean = east.Mean;
    out.EastSd = east.Sd;
    out.NorthMean = north.Mean;
    out.NorthSd = north.Sd;
    out.UpMean = up.Mean;
    out.UpSd = up.Sd;

    const int horizontalPercents[] = {50, 95, 99};
    double horizontal[3];
    work.assign(samples.Horizontal.begin(), samples.Horizontal.end());
    Percentiles(work, horizontalPercents, horizontal, 3);
    out.Cep50 = horizontal[0];
    out.Cep95 = horizontal[1];
    out.Cep99 = horizontal[2];

    const int percents[] = {50, 95};
    double figures[2];
    work.clear();
    for (double u : samples.Up)
        if (!std::isnan(u)) work.push_back(std::fabs(u));
    out.FixesWithAltitude = static_cast<long long>(work.size());
    Percentiles(work, percents, figures, 2);
    out.Vertical50 = figures[0];
    out.Vertical95 = figures[1];

    work.clear();
    for (std::size_t i = 0; i < n; ++i) {
        const double u = samples.Up[i];
        if (!std::isnan(u)) work.push_back(std::hypot(samples.Horizontal[i], u));
    }
    Percentiles(work, percents, figures, 2);
    out.Error3d50 = figures[0];
    out.Error3d95 = figures[1];
    return AccuracyOutcome::Computed;
}

} // namespace fixtally
