#include "graph/DensityGrid.h"

#include "stats/FixFilter.h"
#include "stats/Geodesic.h"

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

namespace fixtally {
namespace {

// Below this many records a second thread costs more than it saves.
constexpr std::size_t ParallelThreshold = 16384;

struct GridJob {
    const FixStore* Store;
    const FilterLimits* Limits;
    bool IsRtklibLog;
    const TimeRange* CountRange;
    double Lat0, Lon0, GraphRange;
};

void CountRecords(const GridJob& job, std::size_t first, std::size_t last, GraphCounter* cells) {
    const std::byte* data = job.Store->Data();
    for (std::size_t i = first; i < last; ++i) {
        const FixRecord fix = DecodeFixRecord(data + i * FixRecordSize);
        if (!AcceptFix(fix, *job.Limits, job.IsRtklibLog, *job.CountRange)) continue;
        const PixelOffset offset =
            GraphPixelOffset(job.Lat0, job.Lon0, fix.Latitude, fix.Longitude, job.GraphRange);
        const long cell = GridCellIndex(offset.North, offset.East);
        if (cell < 0) continue;
        GraphCounter& counter = cells[cell];
        if (counter != UINT32_MAX) ++counter;
    }
}

} // namespace

PixelOffset GraphPixelOffset(double lat0, double lon0, double lat, double lon, double graphRange) {
    const AxisOffset metres = AxisOffsets(lat0, lon0, lat, lon);
    return {metres.North * GraphCentre / graphRange, metres.East * GraphCentre / graphRange};
}

void FillDensityGrid(ScatterGraph& graph, const FixStore& store, const FilterLimits& limits,
                     bool isRtklibLog, const TimeRange& countRange, double lat0, double lon0,
                     unsigned threads) {
    ClearGrid(graph);
    const GridJob job{&store, &limits, isRtklibLog, &countRange, lat0, lon0, graph.GraphRange};
    const std::size_t records = store.Count();

    if (threads == 0) threads = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
    if (records < ParallelThreshold) threads = 1;
    threads =
        static_cast<unsigned>(std::min<std::size_t>(threads, std::max<std::size_t>(records, 1)));

    if (threads == 1) {
        CountRecords(job, 0, records, graph.Cells.data());
    } else {
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
                workers.emplace_back(CountRecords, std::cref(job), first, last,
                                     partial[t - 1].data());
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
                graph.Cells[i] =
                    static_cast<GraphCounter>(std::min<std::uint64_t>(sum, UINT32_MAX));
            }
        }
    }
    FinishGrid(graph);
}

} // namespace fixtally
