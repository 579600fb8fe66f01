// Loading a large NMEA log: both passes of the NMEA reader into the fix store, without
// the statistics run, over a 1,000,000-epoch RMC+GGA+GSA log made by tools/loggen.
// A counting operator new shows that the load allocates a constant number of times
// (buffers and the store's geometric growth), nothing per line or record.
//
// For comparison the same run times `wc -l FILE` (the floor) and
// `TZ=UTC gpsbabel -t -i nmea -f FILE -o unicsv -F /dev/null` when they are installed.
//
//   bench_NmeaLoad [--benchmark_filter=...]
// Environment: FIXTALLY_BENCH_LOG=FILE uses that log instead of generating one.

#include "app/LogLoading.h"
#include "app/Program.h"
#include "input/LogLineReader.h"
#include "input/nmea/NmeaReader.h"
#include "platform/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <unistd.h>

namespace {

std::atomic<long long> allocations{0};
std::atomic<long long> allocatedBytes{0};

} // namespace

namespace {

__attribute__((noinline)) void* CountedAlloc(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    allocatedBytes.fetch_add(static_cast<long long>(size), std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

__attribute__((noinline)) void CountedFree(void* p) noexcept {
    std::free(p);
}

} // namespace

void* operator new(std::size_t size) {
    return CountedAlloc(size);
}
void* operator new[](std::size_t size) {
    return CountedAlloc(size);
}
void operator delete(void* p) noexcept {
    CountedFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
    CountedFree(p);
}
void operator delete[](void* p) noexcept {
    CountedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    CountedFree(p);
}

namespace {

namespace fs = std::filesystem;

std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

// The generated log for `epochs` epochs, made once with loggen beside this program.
std::string LogFile(long epochs) {
    if (epochs == 1000000) {
        if (const char* given = std::getenv("FIXTALLY_BENCH_LOG")) return given;
    }
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const fs::path loggen = self.parent_path() / "loggen";
    const fs::path file =
        fs::temp_directory_path() / ("fixtally-bench-" + std::to_string(epochs) + ".nmea");
    if (!fs::exists(file)) {
        if (!fs::exists(loggen)) return {};
        const std::string tmp = file.string() + ".part";
        const std::string command = Quote(loggen.string()) + " --epochs " + std::to_string(epochs) +
                                    " --seed 1 -o " + Quote(tmp);
        if (std::system(command.c_str()) != 0) return {};
        fs::rename(tmp, file);
    }
    return file.string();
}

void BM_NmeaLoad(benchmark::State& state, bool withStatistics) {
    const std::string path = LogFile(state.range(0));
    if (path.empty()) {
        state.SkipWithError("build the loggen target first (it writes the benchmark log)");
        return;
    }
    const auto size = static_cast<std::int64_t>(fs::file_size(path));
    long long records = 0, allocs = 0, bytes = 0;
    for (auto _ : state) {
        fixtally::HeadlessPlatform ui;
        fixtally::Program program(ui);
        program.Log.LogFileName = path;
        const long long before = allocations.load(), beforeBytes = allocatedBytes.load();
        bool done = false;
        const int result = withStatistics ? fixtally::ReadNmeaLog(program)
                                          : fixtally::ReadNmeaPasses(program, done);
        allocs = allocations.load() - before;
        bytes = allocatedBytes.load() - beforeBytes;
        records = result;
        benchmark::DoNotOptimize(program.Store.Data());
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["records"] = static_cast<double>(records);
    state.counters["allocs_per_load"] = static_cast<double>(allocs);
    state.counters["alloc_MB_per_load"] = static_cast<double>(bytes) / 1e6;
    state.counters["store_MB"] = static_cast<double>(records) * 69 / 1e6;
}

// The line reader alone, for the share of the framing in a load.
void BM_LineReader(benchmark::State& state) {
    const std::string path = LogFile(state.range(0));
    if (path.empty()) {
        state.SkipWithError("build the loggen target first");
        return;
    }
    const auto size = static_cast<std::int64_t>(fs::file_size(path));
    for (auto _ : state) {
        fixtally::LogLineReader reader;
        reader.OpenLog(path);
        std::size_t lines = 0;
        while (!reader.EndOfLog()) lines += reader.ReadLogLine().size() > 0;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * size);
}

// An external command over the same log, timed as a whole.
void BM_Command(benchmark::State& state, const char* tool, std::string before, std::string after) {
    const std::string path = LogFile(1000000);
    if (path.empty() ||
        std::system(("command -v " + std::string(tool) + " >/dev/null").c_str()) != 0) {
        state.SkipWithError("tool or log missing");
        return;
    }
    const std::string command = before + Quote(path) + after;
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError(command.c_str());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
}

BENCHMARK_CAPTURE(BM_NmeaLoad, passes, false)
    ->Arg(1000000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_NmeaLoad, with_statistics, true)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LineReader)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Command, wc_l, "wc", "wc -l ", " >/dev/null")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Command, gpsbabel, "gpsbabel", "TZ=UTC gpsbabel -t -i nmea -f ",
                  " -o unicsv -F /dev/null")
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
