// Averaged CSV export over 7 days of 1 Hz fixes, span 24 h, step 1 h: the time-indexed
// window scan against one full store pass per window, in the same run.
//
//   cmake -S . -B build-bench -DFIXTALLY_BENCH=ON && cmake --build build-bench --target
//   bench_AveragedCsv
//   ./build-bench/bench_AveragedCsv

#include "app/AveragedCsvExport.h"
#include "app/Program.h"
#include "convert/DatePattern.h"
#include "platform/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

using namespace fixtally;

namespace {

struct WeekLog {
    HeadlessPlatform Ui;
    Program P{Ui};
    std::filesystem::path Folder;

    WeekLog() {
        Folder = std::filesystem::temp_directory_path() / "fixtally-bench-averaged";
        std::filesystem::create_directories(Folder);
        Ui.DefaultAnswer = ButtonYes;
        P.Log.LogFileName = (Folder / "week.nmea").string();
        P.Settings.DateFormat = "yyyy/mm/dd";
        P.Store.Replace();
        const double start = DayNumberFromDate(2014, 5, 17);
        const int fixes = 7 * 86400;
        P.Store.Reserve(fixes);
        std::mt19937 random(1);
        std::normal_distribution<double> noise(0, 2e-5);
        for (int i = 0; i < fixes; ++i) {
            FixRecord r;
            r.Time = start + i / 86400.0;
            r.Latitude = 35.0 + noise(random);
            r.Longitude = 139.0 + noise(random);
            r.Altitude = 50 + 1e4 * noise(random);
            r.Hdop = 0.9;
            r.SatsUsed = 9;
            r.FixQuality = u'1';
            P.Store.Append(r);
        }
        P.CountRange = {start, start + (fixes - 1) / 86400.0};
        P.FullRange = P.CountRange;
        P.Average.PublishLogRange(P);
        P.Settings.CSVspan = "24";
        P.Settings.CSVstep = "1";
    }
    ~WeekLog() {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
};

WeekLog& Log() {
    static auto log = std::make_unique<WeekLog>();
    return *log;
}

void Run(benchmark::State& state, WindowScan scan) {
    WeekLog& log = Log();
    for (auto _ : state) {
        if (ExportAveragedCsv(log.P, scan) != ExportOutcome::Done)
            state.SkipWithError("export failed");
    }
    state.SetLabel(log.P.Main.StatusPanel0);
}

void BM_AveragedCsv_PlainPass(benchmark::State& state) {
    Run(state, WindowScan::PlainPass);
}
void BM_AveragedCsv_Indexed(benchmark::State& state) {
    Run(state, WindowScan::Indexed);
}

BENCHMARK(BM_AveragedCsv_PlainPass)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AveragedCsv_Indexed)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
