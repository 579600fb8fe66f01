#include "stats/Accuracy.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <new>
#include <system_error>
#include <thread>

namespace fixtally {

namespace {

// 1-based rank of the percentile among n values, between 1 and n (n > 0).
std::size_t Rank(std::size_t n, int percent) {
    const std::size_t k = (n * static_cast<std::size_t>(percent) + 99) / 100;
    return std::clamp<std::size_t>(k, 1, n);
}

// Orders doubles as unsigned integers: the sign bit flipped for positive values, every bit
// for negative ones, -0 taken as +0. NaN never comes here.
std::uint64_t OrderedKey(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value + 0.0);
    return bits >> 63 ? ~bits : bits | (std::uint64_t{1} << 63);
}

// Nearest-rank percentiles of many values in two reads of them: the first counts the values
// by the top bits of their ordered keys, which tells in which bucket each rank lies; the
// second gathers the values of those few buckets, and std::nth_element finds each rank
// among them. So several percentiles cost about what one copy of the values would.
class RankFinder {
public:
    static constexpr int BucketBits = 16;

    RankFinder() : histogram_(std::size_t{1} << BucketBits, 0) {}

    // First read: every value that is not NaN.
    void Count(double v) {
        ++histogram_[Bucket(v)];
        ++n_;
    }
    std::size_t Size() const { return n_; }

    // Between the reads: the percents asked for, ascending. The histogram is not needed
    // after this: it becomes the map from a bucket to the values gathered for it.
    void Locate(const int* percents, int count) {
        std::size_t below = 0, bucket = 0;
        for (int j = 0; j < count && n_ > 0; ++j) {
            const std::size_t rank = Rank(n_, percents[j]) - 1;
            while (below + histogram_[bucket] <= rank) below += histogram_[bucket++];
            if (buckets_.empty() || buckets_.back().Bucket != bucket) {
                buckets_.push_back({bucket, {}});
                buckets_.back().Values.reserve(histogram_[bucket]);
            }
            targets_.push_back({buckets_.size() - 1, rank - below});
        }
        std::fill(histogram_.begin(), histogram_.end(), 0u);
        for (std::size_t g = 0; g < buckets_.size(); ++g)
            histogram_[buckets_[g].Bucket] = static_cast<std::uint32_t>(g + 1);
    }

    // Second read: the same values in any order. One look-up per value; most values lie
    // in no wanted bucket.
    void Gather(double v) {
        if (const std::uint32_t g = histogram_[Bucket(v)]) buckets_[g - 1].Values.push_back(v);
    }

    // The percentiles in the order asked; NaN when no value counted.
    void Results(double* out, int count) {
        for (int j = 0; j < count; ++j) out[j] = NaN;
        for (std::size_t j = 0; j < targets_.size(); ++j) {
            std::vector<double>& values = buckets_[targets_[j].Gathered].Values;
            const auto at = values.begin() + static_cast<std::ptrdiff_t>(targets_[j].Offset);
            std::nth_element(values.begin(), at, values.end());
            out[j] = *at;
        }
    }

private:
    static std::size_t Bucket(double v) {
        return static_cast<std::size_t>(OrderedKey(v) >> (64 - BucketBits));
    }

    struct Gathered {
        std::size_t Bucket;
        std::vector<double> Values;
    };
    struct Target {
        std::size_t Gathered; // index into buckets_
        std::size_t Offset;   // 0-based rank inside that bucket
    };
    // Values per bucket; after Locate, 1 + the index into buckets_ of a wanted bucket, else
    // 0. A bucket never holds 2^32 fixes.
    std::vector<std::uint32_t> histogram_;
    std::size_t n_ = 0;
    std::vector<Gathered> buckets_;
    std::vector<Target> targets_;
};

constexpr int HorizontalPercents[] = {50, 95, 99};
constexpr int VerticalPercents[] = {50, 95};

// Each of the two halves reads the errors twice: once for the sums and the counts of its
// percentile sets, once to gather. They write different members of out. The up offsets'
// mean and deviation go with the horizontal half, which ranks one set against two.
void HorizontalFigures(const FixErrorSamples& samples, AccuracyFigures& out) {
    const std::vector<double>& h = samples.Horizontal;
    const std::vector<double>& up = samples.Up;
    const std::size_t n = h.size();
    RankFinder horizontal;
    RunningMoments u;
    double sumH2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sumH2 += h[i] * h[i];
        horizontal.Count(h[i]);
        if (!std::isnan(up[i])) u.Add(up[i]);
    }
    horizontal.Locate(HorizontalPercents, 3);
    for (std::size_t i = 0; i < n; ++i) horizontal.Gather(h[i]);

    out.Fixes = static_cast<long long>(n);
    if (n > 0) out.HorizontalRms = std::sqrt(sumH2 / static_cast<double>(n));
    out.EastMean = samples.East.Mean();
    out.EastSd = samples.East.Sd();
    out.NorthMean = samples.North.Mean();
    out.NorthSd = samples.North.Sd();
    out.UpMean = u.Mean();
    out.UpSd = u.Sd();
    double figures[3];
    horizontal.Results(figures, 3);
    out.Cep50 = figures[0];
    out.Cep95 = figures[1];
    out.Cep99 = figures[2];
}

void VerticalFigures(const FixErrorSamples& samples, AccuracyFigures& out) {
    const std::vector<double>& h = samples.Horizontal;
    const std::vector<double>& up = samples.Up;
    const std::size_t n = h.size();
    RankFinder vertical, error3d;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isnan(up[i])) continue;
        vertical.Count(std::fabs(up[i]));
        error3d.Count(h[i] * h[i] + up[i] * up[i]);
    }
    vertical.Locate(VerticalPercents, 2);
    error3d.Locate(VerticalPercents, 2);
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isnan(up[i])) continue;
        vertical.Gather(std::fabs(up[i]));
        error3d.Gather(h[i] * h[i] + up[i] * up[i]);
    }

    out.FixesWithAltitude = static_cast<long long>(vertical.Size());
    double figures[2];
    vertical.Results(figures, 2);
    out.Vertical50 = figures[0];
    out.Vertical95 = figures[1];
    // Ranked by the squares: the root of the k-th smallest square is the k-th smallest
    // root, since the root is monotonic and correctly rounded.
    error3d.Results(figures, 2);
    out.Error3d50 = std::sqrt(figures[0]);
    out.Error3d95 = std::sqrt(figures[1]);
}

// Below this many fixes a second thread costs more than it saves.
constexpr std::size_t SecondThreadFrom = 65536;

// The two halves side by side on two cores when there are many fixes. Throws bad_alloc.
void Compute(const FixErrorSamples& samples, AccuracyFigures& out) {
    std::thread vertical;
    bool outOfMemory = false;
    if (samples.Count() >= SecondThreadFrom && std::thread::hardware_concurrency() > 1) {
        try {
            vertical = std::thread([&] {
                try {
                    VerticalFigures(samples, out);
                } catch (const std::bad_alloc&) {
                    outOfMemory = true;
                }
            });
        } catch (const std::system_error&) {
            // no second thread: both halves here
        }
    }
    try {
        HorizontalFigures(samples, out);
    } catch (...) {
        if (vertical.joinable()) vertical.join();
        throw;
    }
    if (vertical.joinable()) {
        vertical.join();
        if (outOfMemory) throw std::bad_alloc();
    } else {
        VerticalFigures(samples, out);
    }
}

} // namespace

double NearestRankPercentile(const std::vector<double>& values, int percent) {
    RankFinder finder;
    for (double v : values)
        if (!std::isnan(v)) finder.Count(v);
    finder.Locate(&percent, 1);
    for (double v : values)
        if (!std::isnan(v)) finder.Gather(v);
    double result;
    finder.Results(&result, 1);
    return result;
}

AccuracyOutcome ComputeAccuracy(const FixErrorSamples& samples, AccuracyFigures& out) {
    out = AccuracyFigures{};
    if (!samples.Keep || !samples.Complete) return AccuracyOutcome::NotKept;
    try {
        Compute(samples, out);
    } catch (const std::bad_alloc&) {
        out = AccuracyFigures{};
        return AccuracyOutcome::OutOfMemory;
    }
    return AccuracyOutcome::Computed;
}

} // namespace fixtally
