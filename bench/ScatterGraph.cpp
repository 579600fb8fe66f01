// Drawing the scatter graph of a 1,000,000-fix store: one pass with two
// distances per accepted fix plus the grid sweep, threaded against one thread,
// next to the statistics run over the same store.
// Run: build-*/bench_ScatterGraph --benchmark_repetitions=5
//          --benchmark_report_aggregates_only=true
#include "app/GraphCommands.h"
#include "app/Program.h"
#include "app/Recount.h"
#include "graph/DensityGrid.h"
#include "platform/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

#include <random>

namespace fixtally {
namespace {

constexpr std::size_t StoreFixes = 1000000;
constexpr double Lat0 = 35.681236, Lon0 = 139.767125;
constexpr double Day = 46000.0;

// A receiver standing still: a few metres of scatter, a fix a second, DOPs
// that the default limits accept, one fix in fifty without quality.
struct BenchProgram {
    HeadlessPlatform Ui;
    Program State{Ui};

    BenchProgram() {
        State.Store.Replace();
        State.Store.Reserve(StoreFixes);
        std::mt19937_64 random(2026);
        std::normal_distribution<double> north(0, 1.5e-5), east(0, 1.8e-5), height(0, 3);
        std::uniform_real_distribution<double> dop(0.6, 3.0);
        for (std::size_t i = 0; i < StoreFixes; ++i) {
            FixRecord fix;
            fix.Time = Day + static_cast<double>(i) / 86400;
            fix.Latitude = Lat0 + north(random);
            fix.Longitude = Lon0 + east(random);
            fix.Altitude = 40 + height(random);
            fix.Hdop = dop(random);
            fix.Vdop = dop(random);
            fix.Pdop = dop(random);
            fix.SatsUsed = 12;
            fix.FixQuality = i % 50 == 0 ? u'0' : u'1';
            State.Store.Append(fix);
        }
        State.CountRange = {Day, Day + 12};
        State.FullRange = State.CountRange;
        State.Graph.GraphRange = 5.0;
    }
};

// Wall-clock time per fix of the store (shown as seconds, "n" = ns), next to the fix rate.
void PerFix(benchmark::State& state) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * StoreFixes));
    state.counters["ns_per_fix"] = benchmark::Counter(
        static_cast<double>(StoreFixes),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BenchProgram& Shared() {
    static BenchProgram program;
    return program;
}

// The whole redraw as the program runs it (all cores).
void BM_DrawScatterGraph(benchmark::State& state) {
    Program& program = Shared().State;
    for (auto _ : state) {
        DrawScatterGraph(program, Lon0, Lat0, 0);
        benchmark::DoNotOptimize(program.Graph.Cells.data());
    }
    PerFix(state);
}
BENCHMARK(BM_DrawScatterGraph)->Unit(benchmark::kMillisecond)->UseRealTime();

// The grid pass with a given number of threads, computing every fix or looking
// fixes up in the axis tables; one thread computing is the baseline. Every run
// is checked against the baseline's grid.
void BM_FillDensityGrid(benchmark::State& state) {
    Program& program = Shared().State;
    program.Limits = ReadFilterLimits(program.Settings);
    static const ScatterGraph sequential = [&] {
        ScatterGraph graph;
        graph.GraphRange = program.Graph.GraphRange;
        FillDensityGrid(graph, program.Store, program.Limits, false, program.CountRange, Lat0, Lon0,
                        {1, GridMethod::Exact});
        return graph;
    }();
    ScatterGraph graph;
    graph.GraphRange = program.Graph.GraphRange;
    const GridPass pass{static_cast<unsigned>(state.range(0)),
                        state.range(1) ? GridMethod::Table : GridMethod::Exact};
    for (auto _ : state) {
        FillDensityGrid(graph, program.Store, program.Limits, false, program.CountRange, Lat0, Lon0,
                        pass);
        benchmark::DoNotOptimize(graph.Cells.data());
    }
    if (graph.Cells != sequential.Cells || graph.CountMax != sequential.CountMax ||
        graph.CountMin != sequential.CountMin)
        state.SkipWithError("grid differs from the sequential pass");
    PerFix(state);
}
BENCHMARK(BM_FillDensityGrid)
    ->ArgNames({"threads", "table"})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The statistics run over the same store (it ends with a redraw of the graph).
void BM_CountFixes(benchmark::State& state) {
    Program& program = Shared().State;
    for (auto _ : state) CountFixes(program);
    PerFix(state);
}
BENCHMARK(BM_CountFixes)->Unit(benchmark::kMillisecond)->UseRealTime();

// The fixed cost of the axis tables: the same reference over a one-fix store.
void BM_AxisTables(benchmark::State& state) {
    FixStore store;
    store.Replace();
    FixRecord fix;
    fix.Time = Day;
    fix.Latitude = Lat0;
    fix.Longitude = Lon0;
    store.Append(fix);
    const FilterLimits limits;
    const TimeRange range{Day, Day + 1};
    ScatterGraph graph;
    graph.GraphRange = 5.0;
    for (auto _ : state) {
        if (FillDensityGrid(graph, store, limits, false, range, Lat0, Lon0,
                            {1, GridMethod::Table}) != GridMethod::Table)
            state.SkipWithError("no table for this reference");
    }
}
BENCHMARK(BM_AxisTables)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace fixtally

BENCHMARK_MAIN();
