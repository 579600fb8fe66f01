// CountFixes over a generated 1,000,000-fix store (all fixes accepted, average reference),
// next to a plain loop of three GeodesicDistance calls per fix over the same store; with
// and without the empirical accuracy figures. The *Log benchmarks count a log file instead,
// named by FIXTALLY_BENCH_LOG (build/loggen --epochs 1000000 -o million.nmea).
// Run: build-*/bench_CountFixes --benchmark_counters_tabular=true
// "ns_per_fix" is wall-clock time per fix.
#include "app/LogLoading.h"
#include "app/Program.h"
#include "app/ProgramSettings.h"
#include "app/Recount.h"
#include "geodesy/Geodesic.h"
#include "input/csv/CsvProfiles.h"
#include "platform/HeadlessPlatform.h"
#include "stats/Accuracy.h"
#include "stats/CountTally.h"
#include "stats/Statistics.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <vector>

namespace fixtally {
namespace {

constexpr std::size_t StoreFixes = 1000000;

// A static receiver near a fixed point: metre-level scatter, 1 Hz, all fixes valid.
struct GeneratedLog {
    HeadlessPlatform Ui;
    Program P{Ui};

    GeneratedLog() {
        std::mt19937_64 gen(20261209);
        std::normal_distribution<double> metres(0, 2.5);
        std::uniform_int_distribution<int> sats(6, 14);
        P.Store.Replace();
        P.Store.Reserve(StoreFixes);
        const double start = 46365.0; // 2026-12-09
        for (std::size_t i = 0; i < StoreFixes; ++i) {
            FixRecord fix;
            fix.Time = start + static_cast<double>(i) / 86400;
            fix.Latitude = 35.681236 + metres(gen) / 110950;
            fix.Longitude = 139.767125 + metres(gen) / 90390;
            fix.Altitude = 40 + 2 * metres(gen);
            fix.Hdop = 0.8 + 0.01 * sats(gen);
            fix.Vdop = 1.2;
            fix.Pdop = 1.5;
            fix.SatsUsed = static_cast<std::uint8_t>(sats(gen));
            fix.FixQuality = u'1';
            P.Store.Append(fix);
        }
        P.CountRange = P.FullRange = {start, start + static_cast<double>(StoreFixes - 1) / 86400};
        P.Log.LastFixTime = P.FullRange.End;
        P.Settings.DateFormat = "yyyy/mm/dd";
    }
};

GeneratedLog& Log() {
    static GeneratedLog log;
    return log;
}

void PerFix(benchmark::State& state) {
    state.counters["ns_per_fix"] = benchmark::Counter(
        static_cast<double>(StoreFixes),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Baseline: three distances per fix, straight from the store, against a fixed point.
void BM_ThreeVincentyLoop(benchmark::State& state) {
    Program& p = Log().P;
    const double lat0 = 35.681236, lon0 = 139.767125;
    for (auto _ : state) {
        double sum = 0;
        for (std::size_t i = 0; i < StoreFixes; ++i) {
            const FixRecord fix = p.Store.At(i);
            sum += GeodesicDistance(lat0, lon0, fix.Latitude, fix.Longitude, 0, 0);
            sum += GeodesicDistance(lat0, lon0, fix.Latitude, lon0, 0, 0);
            sum += GeodesicDistance(lat0, lon0, lat0, fix.Longitude, 0, 0);
        }
        benchmark::DoNotOptimize(sum);
    }
    PerFix(state);
}
BENCHMARK(BM_ThreeVincentyLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

// The statistics of CountFixes: average pass, main pass, every result text, auto range.
void BM_CountStatistics(benchmark::State& state) {
    Program& p = Log().P;
    for (auto _ : state) {
        if (CountStatistics(p)) p.Ui.SetBusyCursor(false);
    }
    PerFix(state);
}
BENCHMARK(BM_CountStatistics)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole command, the scatter graph's pass included.
void BM_CountFixes(benchmark::State& state) {
    Program& p = Log().P;
    for (auto _ : state) CountFixes(p);
    PerFix(state);
}
BENCHMARK(BM_CountFixes)->Unit(benchmark::kMillisecond)->UseRealTime();

// CountFixes keeping every fix's errors, then the percentile figures from them: what
// fixtally-cli --accuracy and --json add to the count.
// Each count starts without kept errors, as the one count of a fixtally-cli run does, so
// that reserving and first touching their memory is part of the cost.
void StartWithoutKeptErrors(benchmark::State& state, Program& p) {
    state.PauseTiming();
    p.FixErrors = FixErrorSamples{};
    p.FixErrors.Keep = true;
    state.ResumeTiming();
}

// "figures_ms": the wall time of ComputeAccuracy alone, per count.
void CountWithFigures(benchmark::State& state, Program& p) {
    double figuresSeconds = 0;
    for (auto _ : state) {
        StartWithoutKeptErrors(state, p);
        CountFixes(p);
        const auto start = std::chrono::steady_clock::now();
        AccuracyFigures figures;
        benchmark::DoNotOptimize(ComputeAccuracy(p.FixErrors, figures));
        benchmark::DoNotOptimize(figures.Cep95);
        figuresSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["figures_ms"] =
        benchmark::Counter(figuresSeconds * 1000, benchmark::Counter::kAvgIterations);
    p.FixErrors = FixErrorSamples{};
}

void BM_CountFixesWithFigures(benchmark::State& state) {
    CountWithFigures(state, Log().P);
    PerFix(state);
}
BENCHMARK(BM_CountFixesWithFigures)->Unit(benchmark::kMillisecond)->UseRealTime();

// The figures alone, from the errors one count kept.
void BM_ComputeAccuracy(benchmark::State& state) {
    Program& p = Log().P;
    p.FixErrors.Keep = true;
    CountFixes(p);
    for (auto _ : state) {
        AccuracyFigures figures;
        benchmark::DoNotOptimize(ComputeAccuracy(p.FixErrors, figures));
        benchmark::DoNotOptimize(figures.Cep95);
    }
    p.FixErrors = FixErrorSamples{};
    PerFix(state);
}
BENCHMARK(BM_ComputeAccuracy)->Unit(benchmark::kMillisecond)->UseRealTime();

// A log file loaded once, as fixtally-cli loads it.
struct FileLog {
    HeadlessPlatform Ui;
    Program P{Ui};
    bool Loaded = false;

    FileLog() {
        const char* path = std::getenv("FIXTALLY_BENCH_LOG");
        if (!path) return;
        AddDefaultProfiles(P.Settings);
        ApplySettings(P);
        P.Log.LogFileName = path;
        Loaded = LoadLogFile(P) > 0;
    }
};

FileLog& LogFile() {
    static FileLog log;
    return log;
}

void BM_CountFixesLog(benchmark::State& state) {
    if (!LogFile().Loaded) {
        state.SkipWithError("set FIXTALLY_BENCH_LOG to a log");
        return;
    }
    for (auto _ : state) CountFixes(LogFile().P);
}
BENCHMARK(BM_CountFixesLog)->Unit(benchmark::kMillisecond)->UseRealTime();

// The count keeping every fix's errors, without the figures: the share of keeping them.
void BM_CountFixesLogKeepingErrors(benchmark::State& state) {
    if (!LogFile().Loaded) {
        state.SkipWithError("set FIXTALLY_BENCH_LOG to a log");
        return;
    }
    Program& p = LogFile().P;
    for (auto _ : state) {
        StartWithoutKeptErrors(state, p);
        CountFixes(p);
    }
    p.FixErrors = FixErrorSamples{};
}
BENCHMARK(BM_CountFixesLogKeepingErrors)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CountFixesLogWithFigures(benchmark::State& state) {
    if (!LogFile().Loaded) {
        state.SkipWithError("set FIXTALLY_BENCH_LOG to a log");
        return;
    }
    CountWithFigures(state, LogFile().P);
}
BENCHMARK(BM_CountFixesLogWithFigures)->Unit(benchmark::kMillisecond)->UseRealTime();

// The average pass, and reserving and bringing in the kept errors' memory, which a second
// thread does meanwhile.
void BM_AveragePosition(benchmark::State& state) {
    Program& p = Log().P;
    p.Limits = ReadFilterLimits(p.Settings);
    for (auto _ : state) benchmark::DoNotOptimize(AveragePosition(p.Store, CurrentFilter(p)));
    PerFix(state);
}
BENCHMARK(BM_AveragePosition)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PrepareSamples(benchmark::State& state) {
    for (auto _ : state) {
        FixErrorSamples samples;
        samples.Keep = true;
        PrepareSamples(samples, StoreFixes);
        benchmark::DoNotOptimize(samples.Horizontal.data());
    }
    PerFix(state);
}
BENCHMARK(BM_PrepareSamples)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the figures add, measured in pairs: a plain count and a count from fresh memory
// keeping the errors plus the figures, one right after the other, so that the load of a
// shared machine weighs on both alike. "ratio" is the median of the pairs' ratios.
void BM_FiguresCostPaired(benchmark::State& state) {
    if (!LogFile().Loaded) {
        state.SkipWithError("set FIXTALLY_BENCH_LOG to a log");
        return;
    }
    Program& p = LogFile().P;
    using Clock = std::chrono::steady_clock;
    std::vector<double> plain, withFigures, ratios;
    auto countPlain = [&p] {
        p.FixErrors = FixErrorSamples{};
        const auto start = Clock::now();
        CountFixes(p);
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    auto countWithFigures = [&p] {
        p.FixErrors = FixErrorSamples{};
        p.FixErrors.Keep = true;
        const auto start = Clock::now();
        CountFixes(p);
        AccuracyFigures figures;
        benchmark::DoNotOptimize(ComputeAccuracy(p.FixErrors, figures));
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    bool plainFirst = true;
    for (auto _ : state) {
        // Which goes first changes from pair to pair.
        double a, b;
        if (plainFirst) {
            a = countPlain();
            b = countWithFigures();
        } else {
            b = countWithFigures();
            a = countPlain();
        }
        plainFirst = !plainFirst;
        plain.push_back(a);
        withFigures.push_back(b);
        ratios.push_back(b / a);
    }
    p.FixErrors = FixErrorSamples{};
    auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    state.counters["plain_ms"] = median(plain);
    state.counters["figures_ms"] = median(withFigures);
    state.counters["ratio"] = median(ratios);
}
BENCHMARK(BM_FiguresCostPaired)->Iterations(31)->Unit(benchmark::kMillisecond)->UseRealTime();

// The main pass alone in each mode; Sequential is the straightforward count.
void BM_MainPass(benchmark::State& state) {
    Program& p = Log().P;
    const auto mode = static_cast<TallyMode>(state.range(0));
    p.Limits = ReadFilterLimits(p.Settings);
    const GeoPoint reference{35.681236, 139.767125, 40};
    for (auto _ : state) {
        CountTally tally;
        const CountProgress progress = [&p] {
            p.Ui.ProcessMessages();
            return !p.Log.AbortRequested;
        };
        benchmark::DoNotOptimize(
            TallyFixes(p.Store, CurrentFilter(p), reference, progress, tally, mode));
        benchmark::DoNotOptimize(tally.SumH2);
    }
    PerFix(state);
}
BENCHMARK(BM_MainPass)
    ->ArgName("mode")
    ->Arg(static_cast<int>(TallyMode::Sequential))
    ->Arg(static_cast<int>(TallyMode::Blocked))
    ->Arg(static_cast<int>(TallyMode::Parallel))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The parallel main pass keeping every fix's errors, beside BM_MainPass/mode:2.
void BM_MainPassKeepingErrors(benchmark::State& state) {
    Program& p = Log().P;
    p.Limits = ReadFilterLimits(p.Settings);
    const GeoPoint reference{35.681236, 139.767125, 40};
    FixErrorSamples samples;
    samples.Keep = true;
    for (auto _ : state) {
        CountTally tally;
        const CountProgress progress = [&p] {
            p.Ui.ProcessMessages();
            return !p.Log.AbortRequested;
        };
        benchmark::DoNotOptimize(TallyFixes(p.Store, CurrentFilter(p), reference, progress, tally,
                                            TallyMode::Parallel, &samples));
        benchmark::DoNotOptimize(samples.Horizontal.data());
    }
    PerFix(state);
}
BENCHMARK(BM_MainPassKeepingErrors)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace fixtally

BENCHMARK_MAIN();
