#include "graph/DensityGrid.h"

#include "geodesy/Geodesic.h"
#include "stats/FixFilter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

namespace fixtally {
namespace {

// Below this many records a second thread costs more than it saves.
constexpr std::size_t ParallelThreshold = 16384;
// Below this many records the axis tables cost more than they save.
constexpr std::size_t TableThreshold = 50000;

constexpr int Outside = 1000; // cell results beyond the picture
constexpr int NeedsExact = 2000;

// North offset in pixels; depends on the latitude only.
double NorthPixels(double lat0, double lon0, double lat, double graphRange) {
    double metres = GeodesicDistance(lat0, lon0, lat, lon0, 0, 0);
    if (lat0 > lat) metres = -metres;
    return metres * GraphCentre / graphRange;
}

// East offset in pixels; depends on the longitude only.
double EastPixels(double lat0, double lon0, double lon, double graphRange) {
    double metres = GeodesicDistance(lat0, lon0, lat0, lon, 0, 0);
    double difference = lon - lon0;
    if (difference > 180) difference -= 360;
    if (difference < -180) difference += 360;
    if (difference < 0) metres = -metres;
    return metres * GraphCentre / graphRange;
}

// Cell offset -154..154 of a pixel offset, halves to even, or Outside.
int RoundedCell(double pixels) {
    const double cell = std::nearbyint(pixels);
    return std::fabs(cell) < GraphCentre ? static_cast<int>(cell) : Outside;
}

// The arguments (latitudes or longitudes) where one axis's rounded pixel
// changes. Between boundary bands the cell is known; inside a band, the pixel
// offset lies within Margin of a half pixel and the fix is computed exactly.
// This rests on the distance growing with the argument away from the
// reference; its rounding jitter (about 1e-9 m) is far below Margin.
class AxisTable {
public:
    static constexpr int Boundaries = 2 * GraphCentre; // at -154.5 .. 154.5 pixels

    template <typename Pixels>
    bool Build(Pixels pixels, double arg0, double domainLo, double domainHi, double step,
               double margin) {
        domainLo_ = domainLo;
        domainHi_ = domainHi;
        // Bracket the picture: offsets beyond 156 pixels on both sides.
        double high = 0, low = 0;
        if (!Reach(pixels, arg0, step, domainHi, 156.0, high)) return false;
        if (!Reach(pixels, arg0, -step, domainLo, -156.0, low)) return false;
        const double perPixel = (high - low) / (pixels(high) - pixels(low));
        const double tolerance = perPixel * margin / 4;
        double below = low; // an argument left of the next boundary band
        for (int i = 0; i < Boundaries; ++i) {
            const double boundary = -154.5 + i;
            // Right end of the bracket: about two pixels on, or the far end.
            double above = below + 2 * perPixel;
            if (!(above < high && pixels(above) > boundary + margin)) above = high;
            lo_[i] = LastBelow(pixels, below, above, boundary - margin, tolerance);
            hi_[i] = FirstAbove(pixels, below, above, boundary + margin, tolerance);
            if (!(lo_[i] < hi_[i]) || (i > 0 && !(hi_[i - 1] < lo_[i]))) return false;
            below = hi_[i];
        }
        perBand_ = (Boundaries - 1) / (lo_[Boundaries - 1] - lo_[0]);
        return std::isfinite(perBand_) && perBand_ > 0;
    }

    // Cell offset -154..154, Outside, or NeedsExact.
    int Classify(double arg) const {
        if (!(arg >= domainLo_ && arg <= domainHi_)) return NeedsExact;
        if (arg < lo_[0] || arg > hi_[Boundaries - 1]) return Outside;
        // The offset is nearly linear in the argument: guess the band, then step
        // to the last one whose low end is not above the argument.
        const double guess = (arg - lo_[0]) * perBand_;
        int j = guess < Boundaries - 1 ? static_cast<int>(guess) : Boundaries - 1;
        while (j + 1 < Boundaries && lo_[j + 1] <= arg) ++j;
        while (lo_[j] > arg) --j;
        if (arg <= hi_[j]) return NeedsExact;
        return j == Boundaries - 1 ? Outside : j - (GraphCentre - 1);
    }

private:
    // Steps from arg0 by doubling steps until the offset passes target.
    template <typename Pixels>
    static bool Reach(Pixels pixels, double arg0, double step, double limit, double target,
                      double& arg) {
        for (int i = 0; i < 80; ++i, step *= 2) {
            arg = arg0 + step;
            if (step > 0 ? arg > limit : arg < limit) return false;
            const double value = pixels(arg);
            if (step > 0 ? value > target : value < target) return true;
        }
        return false;
    }

    // An argument whose offset is below value, within tolerance of the crossing.
    template <typename Pixels>
    static double LastBelow(Pixels pixels, double low, double high, double value,
                            double tolerance) {
        while (high - low > tolerance) {
            const double mid = low + (high - low) / 2;
            if (mid <= low || mid >= high) break;
            (pixels(mid) < value ? low : high) = mid;
        }
        return low;
    }

    // An argument whose offset is above value, within tolerance of the crossing.
    template <typename Pixels>
    static double FirstAbove(Pixels pixels, double low, double high, double value,
                             double tolerance) {
        while (high - low > tolerance) {
            const double mid = low + (high - low) / 2;
            if (mid <= low || mid >= high) break;
            (pixels(mid) > value ? high : low) = mid;
        }
        return high;
    }

    std::array<double, Boundaries> lo_{}, hi_{};
    double domainLo_ = 0, domainHi_ = 0;
    double perBand_ = 0; // bands per unit of the argument
};

struct GridJob {
    const FixStore* Store;
    const FilterLimits* Limits;
    bool IsRtklibLog;
    const TimeRange* CountRange;
    double Lat0, Lon0, GraphRange;
    const AxisTable* North = nullptr; // both set, or neither
    const AxisTable* East = nullptr;
};

void CountRecords(const GridJob& job, std::size_t first, std::size_t last, GraphCounter* cells) {
    const std::byte* data = job.Store->Data();
    for (std::size_t i = first; i < last; ++i) {
        const FixRecord fix = DecodeFixRecord(data + i * FixRecordSize);
        if (!AcceptFix(fix, *job.Limits, job.IsRtklibLog, *job.CountRange)) continue;
        int north = NeedsExact, east = NeedsExact;
        if (job.North) {
            north = job.North->Classify(fix.Latitude);
            if (north == Outside) continue;
            east = job.East->Classify(fix.Longitude);
            if (east == Outside) continue;
        }
        if (north == NeedsExact)
            north = RoundedCell(NorthPixels(job.Lat0, job.Lon0, fix.Latitude, job.GraphRange));
        if (north == Outside) continue;
        if (east == NeedsExact)
            east = RoundedCell(EastPixels(job.Lat0, job.Lon0, fix.Longitude, job.GraphRange));
        if (east == Outside) continue;
        GraphCounter& counter = cells[(GraphCentre - north) * GraphSize + GraphCentre + east];
        if (counter != UINT32_MAX) ++counter;
    }
}

// Largest distance uncertainty of one GeodesicDistance evaluation, with a wide
// safety factor, in metres.
constexpr double DistanceJitter = 1e-7;

// Builds both tables, the east one on a second thread when `parallel`.
bool BuildTables(AxisTable& north, AxisTable& east, double lat0, double lon0, double range,
                 bool parallel) {
    // Beyond about 100 km the picture reaches towards the antipode, where the
    // distance iteration may not converge; there every fix is computed.
    if (!(range > 0 && range <= 100000) || !(std::fabs(lat0) < 89) || !(std::fabs(lon0) <= 180))
        return false;
    const double margin = std::max(1e-4, DistanceJitter * GraphCentre / range);
    const double degrees = range / 111000; // about 155 pixels along a meridian
    const double parallelDegrees = degrees / std::cos(lat0 * GeoPi / 180);
    bool eastBuilt = false;
    auto buildEast = [&] {
        eastBuilt = east.Build([&](double lon) { return EastPixels(lat0, lon0, lon, range); }, lon0,
                               std::max(-180.0, lon0 - 90), std::min(180.0, lon0 + 90),
                               parallelDegrees / 64, margin);
    };
    std::thread worker;
    if (parallel) {
        try {
            worker = std::thread(buildEast);
        } catch (const std::system_error&) {
            parallel = false;
        }
    }
    const bool northBuilt =
        north.Build([&](double lat) { return NorthPixels(lat0, lon0, lat, range); }, lat0,
                    std::max(-90.0, lat0 - 90), std::min(90.0, lat0 + 90), degrees / 64, margin);
    if (parallel)
        worker.join();
    else
        buildEast();
    return northBuilt && eastBuilt;
}

} // namespace

PixelOffset GraphPixelOffset(double lat0, double lon0, double lat, double lon, double graphRange) {
    return {NorthPixels(lat0, lon0, lat, graphRange), EastPixels(lat0, lon0, lon, graphRange)};
}

GridMethod FillDensityGrid(ScatterGraph& graph, const FixStore& store, const FilterLimits& limits,
                           bool isRtklibLog, const TimeRange& countRange, double lat0, double lon0,
                           GridPass pass) {
    ClearGrid(graph);
    GridJob job{&store, &limits, isRtklibLog, &countRange, lat0, lon0, graph.GraphRange};
    const std::size_t records = store.Count();

    unsigned threads = pass.Threads;
    if (threads == 0) threads = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
    if (records < ParallelThreshold && pass.Threads == 0) threads = 1;

    AxisTable northTable, eastTable;
    const bool wantTable = pass.Method == GridMethod::Table ||
                           (pass.Method == GridMethod::Auto && records >= TableThreshold);
    if (wantTable &&
        BuildTables(northTable, eastTable, lat0, lon0, graph.GraphRange, threads > 1)) {
        job.North = &northTable;
        job.East = &eastTable;
    }
    const GridMethod used = job.North ? GridMethod::Table : GridMethod::Exact;
    threads =
        static_cast<unsigned>(std::min<std::size_t>(threads, std::max<std::size_t>(records, 1)));

    if (threads == 1) {
        CountRecords(job, 0, records, graph.Cells.data());
        FinishGrid(graph);
        return used;
    }
    // The calling thread takes the first slice into the graph's own grid.
    std::vector<std::vector<GraphCounter>> partial(threads - 1);
    std::vector<std::thread> workers;
    workers.reserve(threads - 1);
    const std::size_t slice = (records + threads - 1) / threads;
    for (unsigned t = 1; t < threads; ++t) {
        partial[t - 1].assign(graph.Cells.size(), 0);
        const std::size_t first = std::min(records, t * slice);
        const std::size_t last = std::min(records, first + slice);
        try {
            workers.emplace_back(CountRecords, std::cref(job), first, last, partial[t - 1].data());
        } catch (const std::system_error&) {
            // No thread to be had: count this slice here.
            CountRecords(job, first, last, partial[t - 1].data());
        }
    }
    CountRecords(job, 0, std::min(records, slice), graph.Cells.data());
    for (std::thread& worker : workers) worker.join();
    for (const std::vector<GraphCounter>& cells : partial) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::uint64_t sum = std::uint64_t{graph.Cells[i]} + cells[i];
            graph.Cells[i] = static_cast<GraphCounter>(std::min<std::uint64_t>(sum, UINT32_MAX));
        }
    }
    FinishGrid(graph);
    return used;
}

} // namespace fixtally
