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

    // Before Locate: adds the counts of a finder that read other values.
    void Merge(const RankFinder& other) {
        for (std::size_t b = 0; b < histogram_.size(); ++b) histogram_[b] += other.histogram_[b];
        n_ += other.n_;
    }

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

    // Instead of Locate, for a finder that gathers a share of the values for located:
    // the same wanted buckets.
    void Follow(const RankFinder& located) {
        histogram_ = located.histogram_;
        for (const Gathered& g : located.buckets_) buckets_.push_back({g.Bucket, {}});
    }

    // After both gathered: takes the values a following finder gathered.
    void Absorb(const RankFinder& share) {
        for (std::size_t g = 0; g < buckets_.size(); ++g) {
            const std::vector<double>& values = share.buckets_[g].Values;
            buckets_[g].Values.insert(buckets_[g].Values.end(), values.begin(), values.end());
        }
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

// The three sets ranked: horizontal errors, |up| and the squared 3D errors of the fixes
// with an altitude (the root of the k-th smallest square is the k-th smallest root, since
// the root is monotonic and correctly rounded).
struct Finders {
    RankFinder Horizontal, Vertical, Error3d;

    void Count(const FixErrorSamples& s, std::size_t begin, std::size_t end) {
        const double* h = s.Horizontal.data();
        const double* up = s.Up.data();
        for (std::size_t i = begin; i < end; ++i) {
            Horizontal.Count(h[i]);
            if (std::isnan(up[i])) continue;
            Vertical.Count(std::fabs(up[i]));
            Error3d.Count(h[i] * h[i] + up[i] * up[i]);
        }
    }
    void Merge(const Finders& other) {
        Horizontal.Merge(other.Horizontal);
        Vertical.Merge(other.Vertical);
        Error3d.Merge(other.Error3d);
    }
    void Locate() {
        Horizontal.Locate(HorizontalPercents, 3);
        Vertical.Locate(VerticalPercents, 2);
        Error3d.Locate(VerticalPercents, 2);
    }
    void Follow(const Finders& located) {
        Horizontal.Follow(located.Horizontal);
        Vertical.Follow(located.Vertical);
        Error3d.Follow(located.Error3d);
    }
    void Gather(const FixErrorSamples& s, std::size_t begin, std::size_t end) {
        const double* h = s.Horizontal.data();
        const double* up = s.Up.data();
        for (std::size_t i = begin; i < end; ++i) {
            Horizontal.Gather(h[i]);
            if (std::isnan(up[i])) continue;
            Vertical.Gather(std::fabs(up[i]));
            Error3d.Gather(h[i] * h[i] + up[i] * up[i]);
        }
    }
    void Absorb(const Finders& share) {
        Horizontal.Absorb(share.Horizontal);
        Vertical.Absorb(share.Vertical);
        Error3d.Absorb(share.Error3d);
    }
};

// Below this many fixes a second thread costs more than it saves.
constexpr std::size_t SecondThreadFrom = 65536;

// Runs job on a second thread while the caller does its own share; false when no thread
// could be started (the caller then does job itself). A bad_alloc of job is thrown here.
class SecondThread {
public:
    template <class Job> bool Start(Job job) {
        try {
            thread_ = std::thread([this, job] {
                try {
                    job();
                } catch (const std::bad_alloc&) {
                    outOfMemory_ = true;
                }
            });
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    }
    void Finish() {
        thread_.join();
        if (outOfMemory_) throw std::bad_alloc();
    }
    ~SecondThread() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
    bool outOfMemory_ = false;
};

// Both reads split between two cores when there are many fixes: the second half of the
// fixes is counted, then gathered, by a second finder of each set, whose counts join the
// first before the wanted buckets are located. Throws bad_alloc.
void RankAll(const FixErrorSamples& samples, Finders& finders) {
    const std::size_t n = samples.Count();
    if (n >= SecondThreadFrom && std::thread::hardware_concurrency() > 1) {
        const std::size_t half = n / 2;
        Finders share;
        SecondThread counting;
        if (counting.Start([&] { share.Count(samples, half, n); })) {
            finders.Count(samples, 0, half);
            counting.Finish();
            finders.Merge(share);
            finders.Locate();
            Finders gathered;
            gathered.Follow(finders);
            SecondThread gathering;
            if (gathering.Start([&] { gathered.Gather(samples, half, n); })) {
                finders.Gather(samples, 0, half);
                gathering.Finish();
            } else {
                finders.Gather(samples, 0, half);
                gathered.Gather(samples, half, n);
            }
            finders.Absorb(gathered);
            return;
        }
    }
    finders.Count(samples, 0, n);
    finders.Locate();
    finders.Gather(samples, 0, n);
}

void Compute(const FixErrorSamples& samples, AccuracyFigures& out) {
    const std::size_t n = samples.Count();
    out.Fixes = static_cast<long long>(n);
    if (n > 0) out.HorizontalRms = std::sqrt(samples.HorizontalSquares / static_cast<double>(n));
    out.EastMean = samples.East.Mean();
    out.EastSd = samples.East.Sd();
    out.NorthMean = samples.North.Mean();
    out.NorthSd = samples.North.Sd();
    out.UpMean = samples.UpOffsets.Mean();
    out.UpSd = samples.UpOffsets.Sd();

    Finders finders;
    RankAll(samples, finders);
    double figures[3];
    finders.Horizontal.Results(figures, 3);
    out.Cep50 = figures[0];
    out.Cep95 = figures[1];
    out.Cep99 = figures[2];
    out.FixesWithAltitude = static_cast<long long>(finders.Vertical.Size());
    finders.Vertical.Results(figures, 2);
    out.Vertical50 = figures[0];
    out.Vertical95 = figures[1];
    finders.Error3d.Results(figures, 2);
    out.Error3d50 = std::sqrt(figures[0]);
    out.Error3d95 = std::sqrt(figures[1]);
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
