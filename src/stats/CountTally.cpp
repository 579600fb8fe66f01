#include "stats/CountTally.h"

#include "geodesy/Geodesic.h"
#include "stats/FixFilter.h"

#include <atomic>
#include <cmath>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace fixtally {

namespace {

constexpr std::size_t MessageInterval = 1024;
constexpr std::size_t BlockRecords = 8192; // a multiple of MessageInterval

using Distances = ReferenceGeodesics::Distances;

using Filter = FixFilter;

// The store of one pass and what to ask after every 1024th record.
struct Pass {
    const FixStore& Store;
    const CountProgress& Progress;
    const std::byte* Data;
    std::size_t Size;
    FixErrorSamples* Samples; // null unless the errors are to be kept
};

void AddSatellites(SatelliteTally& tally, std::uint8_t value) {
    if (value >= 255) return;
    if (value < tally.Min) tally.Min = value;
    if (value > tally.Max) tally.Max = value;
    tally.Sum += value;
    ++tally.Count;
}

void AddDop(DopTally& tally, double value) {
    if (std::isnan(value)) return;
    if (value < tally.Min) tally.Min = value;
    if (value > tally.Max) tally.Max = value;
    tally.Sum += value;
    ++tally.Count;
}

// The signed errors of one accepted fix: east and north take the sign of the longitude
// (across the antimeridian the shorter way) and latitude differences.
void KeepErrors(FixErrorSamples& s, const FixRecord& fix, const Distances& d, const GeoPoint& r) {
    double dLon = fix.Longitude - r.Longitude;
    if (dLon > 180)
        dLon -= 360;
    else if (dLon < -180)
        dLon += 360;
    // copysign, not a branch: the signs of a receiver's scatter are a coin toss.
    s.Add(d.Horizontal, std::copysign(d.EastWest, dLon),
          std::copysign(d.NorthSouth, fix.Latitude - r.Latitude), fix.Altitude - r.Altitude);
    if (s.KeepTimes) {
        s.Time.push_back(fix.Time);
        s.Quality.push_back(fix.FixQuality);
    }
}

// One accepted fix, in the order of the working-value table.
void AddFix(CountTally& t, const FixRecord& fix, const Distances& d, double referenceAltitude) {
    ++t.Accepted;
    if (t.Accepted == 1) {
        t.FirstTime = fix.Time;
        t.LastTime = fix.Time;
    } else {
        // A time of day without date never replaces a dated first time.
        if (fix.Time < t.FirstTime && !(fix.Time < 1 && t.FirstTime >= 1)) t.FirstTime = fix.Time;
        if (fix.Time > t.LastTime) t.LastTime = fix.Time;
    }
    t.SumH2 += d.Horizontal * d.Horizontal;
    t.SumNs2 += d.NorthSouth * d.NorthSouth;
    t.SumEw2 += d.EastWest * d.EastWest;
    if (d.NorthSouth > t.LargestAxisOffset) t.LargestAxisOffset = d.NorthSouth;
    if (d.EastWest > t.LargestAxisOffset) t.LargestAxisOffset = d.EastWest;
    if (d.Horizontal > t.PeakHorizontal) {
        t.PeakHorizontal = d.Horizontal;
        t.PeakHorizontalTime = fix.Time;
    }
    if (!std::isnan(fix.Altitude)) {
        ++t.AltitudeCount;
        t.AltitudeSum += fix.Altitude;
        const double dA = fix.Altitude - referenceAltitude;
        t.SumDa2 += dA * dA;
        if (std::fabs(dA) > std::fabs(t.PeakAltitude)) {
            t.PeakAltitude = dA;
            t.PeakAltitudeTime = fix.Time;
        }
    }
    AddSatellites(t.SatsUsed, fix.SatsUsed);
    AddSatellites(t.SatsExtra, fix.SatsExtra);
    AddDop(t.Hdop, fix.Hdop);
    AddDop(t.Vdop, fix.Vdop);
    AddDop(t.Pdop, fix.Pdop);
}

// After every 1024th record: let the window work, then see whether to go on. A store
// replaced meanwhile ends the pass like a read error.
bool KeepGoing(const Pass& pass, std::size_t recordNumber) {
    if (recordNumber % MessageInterval != 0) return true;
    if (pass.Progress && !pass.Progress()) return false;
    return pass.Store.Data() == pass.Data && pass.Store.Size() == pass.Size;
}

bool TallySequential(const Pass& pass, const Filter& filter, const GeoPoint& r, CountTally& tally) {
    const std::byte* data = pass.Data;
    const std::size_t count = pass.Store.Count();
    for (std::size_t i = 0; i < count; ++i) {
        const FixRecord fix = DecodeFixRecord(data + i * FixRecordSize);
        if (filter.InRange(fix)) {
            ++tally.InRange;
            if (filter.Accepts(fix)) {
                const Distances d{
                    GeodesicDistance(r.Latitude, r.Longitude, fix.Latitude, fix.Longitude, 0, 0),
                    GeodesicDistance(r.Latitude, r.Longitude, fix.Latitude, r.Longitude, 0, 0),
                    GeodesicDistance(r.Latitude, r.Longitude, r.Latitude, fix.Longitude, 0, 0)};
                AddFix(tally, fix, d, r.Altitude);
                if (pass.Samples) KeepErrors(*pass.Samples, fix, d, r);
            }
        }
        if (!KeepGoing(pass, i + 1)) return false;
    }
    return true;
}

// Measures the accepted records [begin, end) into out[0 ..]; other entries stay unset.
void MeasureRange(const Filter& filter, const ReferenceGeodesics& geodesics, const std::byte* data,
                  std::size_t begin, std::size_t end, Distances* out) {
    for (std::size_t i = begin; i < end; ++i, ++out) {
        const FixRecord fix = DecodeFixRecord(data + i * FixRecordSize);
        if (filter.Accepts(fix)) *out = geodesics.Measure(fix.Latitude, fix.Longitude);
    }
}

// A second thread that measures a block together with the window thread: both take
// chunks of the block in turn, so that neither waits long for the other when one of them
// gets less of the processor. It only runs inside MeasureBlock, never while the window
// thread adds up or processes messages (when handlers may replace the store).
class MeasureHelper {
public:
    MeasureHelper(const Filter& filter, const ReferenceGeodesics& geodesics, const std::byte* data)
        : filter_(filter), geodesics_(geodesics), data_(data), thread_([this] { Run(); }) {}

    ~MeasureHelper() {
        quit_ = true;
        go_.fetch_add(1);
        go_.notify_one();
        thread_.join();
    }

    // Measures the accepted records [begin, end) into out[0 ..] and returns when done.
    void MeasureBlock(std::size_t begin, std::size_t end, Distances* out) {
        begin_ = begin;
        end_ = end;
        out_ = out;
        nextChunk_.store(0);
        const unsigned target = go_.fetch_add(1) + 1;
        go_.notify_one();
        TakeChunks();
        unsigned seen = done_.load();
        while (seen != target) {
            done_.wait(seen);
            seen = done_.load();
        }
    }

private:
    static constexpr std::size_t ChunkRecords = 512;

    void TakeChunks() {
        for (;;) {
            const std::size_t first = begin_ + nextChunk_.fetch_add(1) * ChunkRecords;
            if (first >= end_) return;
            const std::size_t last = std::min(end_, first + ChunkRecords);
            MeasureRange(filter_, geodesics_, data_, first, last, out_ + (first - begin_));
        }
    }

    void Run() {
        unsigned seen = 0;
        for (;;) {
            go_.wait(seen);
            seen = go_.load();
            if (quit_) return;
            TakeChunks();
            done_.store(seen);
            done_.notify_one();
        }
    }

    const Filter& filter_;
    const ReferenceGeodesics& geodesics_;
    const std::byte* data_;
    std::size_t begin_ = 0, end_ = 0;
    Distances* out_ = nullptr;
    bool quit_ = false;
    std::atomic<std::size_t> nextChunk_{0};
    std::atomic<unsigned> go_{0};
    std::atomic<unsigned> done_{0};
    std::thread thread_;
};

bool TallyBlocked(const Pass& pass, const Filter& filter, const GeoPoint& r, CountTally& tally,
                  bool parallel) {
    const std::byte* data = pass.Data;
    const std::size_t count = pass.Store.Count();
    const ReferenceGeodesics geodesics(r.Latitude, r.Longitude);

    std::unique_ptr<Distances[]> buffer(new (std::nothrow) Distances[BlockRecords]);
    if (!buffer) return TallySequential(pass, filter, r, tally);
    std::unique_ptr<MeasureHelper> helper;
    if (parallel && count >= 2 * BlockRecords && std::thread::hardware_concurrency() > 1) {
        try {
            helper = std::make_unique<MeasureHelper>(filter, geodesics, data);
        } catch (const std::exception&) {
            helper.reset(); // no second thread: measure everything here
        }
    }

    for (std::size_t start = 0; start < count; start += BlockRecords) {
        const std::size_t end = std::min(count, start + BlockRecords);
        if (helper) {
            helper->MeasureBlock(start, end, buffer.get());
        } else {
            MeasureRange(filter, geodesics, data, start, end, buffer.get());
        }
        for (std::size_t i = start; i < end; ++i) {
            const FixRecord fix = DecodeFixRecord(data + i * FixRecordSize);
            if (filter.InRange(fix)) {
                ++tally.InRange;
                if (filter.Accepts(fix)) {
                    AddFix(tally, fix, buffer[i - start], r.Altitude);
                    if (pass.Samples) KeepErrors(*pass.Samples, fix, buffer[i - start], r);
                }
            }
            if (!KeepGoing(pass, i + 1)) return false;
        }
    }
    return true;
}

// Room for every record of the store, so that the pass never allocates.
bool ReserveSamples(FixErrorSamples& s, std::size_t records) {
    try {
        s.Horizontal.reserve(records);
        s.Up.reserve(records);
        if (s.KeepTimes) {
            s.Time.reserve(records);
            s.Quality.reserve(records);
        }
        return true;
    } catch (const std::bad_alloc&) {
        FixErrorSamples empty; // gives back what was reserved
        empty.Keep = s.Keep;
        empty.KeepTimes = s.KeepTimes;
        s = std::move(empty);
        return false;
    }
}

template <class T> void Touch(std::vector<T>& v, std::size_t records) {
    v.resize(records);
    v.clear();
}

} // namespace

void PrepareSamples(FixErrorSamples& s, std::size_t records) {
    s.Clear();
    if (!s.Keep || !ReserveSamples(s, records)) return;
    // Filled with zeros and emptied: the capacity stays, its pages now in memory.
    Touch(s.Horizontal, records);
    Touch(s.Up, records);
    if (s.KeepTimes) {
        Touch(s.Time, records);
        Touch(s.Quality, records);
    }
}

bool TallyFixes(const FixStore& store, const FixFilter& filter, const GeoPoint& reference,
                const CountProgress& progress, CountTally& tally, TallyMode mode,
                FixErrorSamples* samples) {
    tally = CountTally{};
    FixErrorSamples* const asked = samples;
    if (samples) {
        samples->Clear();
        // Without memory for the errors the count itself still goes on.
        if (!samples->Keep || !ReserveSamples(*samples, store.Count())) samples = nullptr;
    }
    const Pass pass{store, progress, store.Data(), store.Size(), samples};
    bool done = false;
    switch (mode) {
    case TallyMode::Sequential:
        done = TallySequential(pass, filter, reference, tally);
        break;
    case TallyMode::Blocked:
        done = TallyBlocked(pass, filter, reference, tally, false);
        break;
    case TallyMode::Parallel:
        done = TallyBlocked(pass, filter, reference, tally, true);
        break;
    }
    if (asked) {
        asked->Complete = done && samples != nullptr;
        // The same fixes in the same order: the tally's sum is theirs.
        if (samples) asked->HorizontalSquares = tally.SumH2;
    }
    return done;
}

} // namespace fixtally
