// ReadCsvLog over a 1,000,000-line logger CSV, next to the read pass alone (header,
// line decoding and records, without the statistics run that ReadCsvLog ends with) and,
// when FIXTALLY_BENCH_NMEA names an NMEA log, ReadNmeaLog over that log.
// The CSV is FIXTALLY_BENCH_CSV when set (loggen --kind csv --epochs 1000000 writes the same
// layout), otherwise a log written once into the temporary folder.
// Run: build-*/bench_CsvReader --benchmark_counters_tabular=true
// "bytes_per_second" is the log's size over wall-clock time.
#include "input/csv/CsvReader.h"
#include "app/LogLoading.h"
#include "app/Program.h"
#include "fixdata/LoadedLog.h"
#include "input/LogLineReader.h"
#include "input/csv/CsvFix.h"
#include "input/csv/CsvHeader.h"
#include "input/csv/CsvProfiles.h"
#include "input/nmea/NmeaReader.h"
#include "platform/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace fixtally {
namespace {

constexpr int LogLines = 1000000;

void AppendFixed(std::string& out, double value, int decimals) {
    char buffer[32];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    out.append(buffer, r.ptr);
}

void AppendInt(std::string& out, long long value, int width = 0) {
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    for (long long pad = width - (r.ptr - buffer); pad > 0; --pad) out.push_back('0');
    out.append(buffer, r.ptr);
}

// A logger CSV of a static receiver: 1 Hz, metre-level scatter.
std::string WriteCsvLog() {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "fixtally_bench_logger_1m.csv";
    if (std::filesystem::exists(path)) return path.string();
    std::ofstream out(path, std::ios::binary);
    out << "INDEX,RCR,DATE,TIME,VALID,LATITUDE,N/S,LONGITUDE,E/W,HEIGHT,SPEED,HDOP,"
           "NSAT (USED/VIEW)\r\n";
    std::mt19937_64 gen(20261209);
    std::normal_distribution<double> metres(0, 2.5);
    std::uniform_int_distribution<int> sats(6, 14);
    std::string line;
    for (int i = 0; i < LogLines; ++i) {
        const int day = 14 + i / 86400, s = i % 86400;
        const int used = sats(gen);
        line.clear();
        AppendInt(line, i + 1);
        line += ",T,2026/03/";
        AppendInt(line, day, 2);
        line += ',';
        AppendInt(line, s / 3600, 2);
        line += ':';
        AppendInt(line, s / 60 % 60, 2);
        line += ':';
        AppendInt(line, s % 60, 2);
        line += ",SPS,";
        AppendFixed(line, 35.681236 + metres(gen) / 110950, 6);
        line += ",N,";
        AppendFixed(line, 139.767125 + metres(gen) / 90390, 6);
        line += ",E,";
        AppendFixed(line, 40 + 2 * metres(gen), 3);
        line += " M,";
        AppendFixed(line, std::abs(metres(gen)) / 10, 1);
        line += " km/h,";
        AppendFixed(line, 0.6 + 0.1 * (14 - used), 1);
        line += ',';
        AppendInt(line, used);
        line += '(';
        AppendInt(line, used + 3);
        line += ")\r\n";
        out << line;
    }
    return path.string();
}

const std::string& CsvPath() {
    static const std::string path = [] {
        const char* given = std::getenv("FIXTALLY_BENCH_CSV");
        return given ? std::string(given) : WriteCsvLog();
    }();
    return path;
}

void Throughput(benchmark::State& state, const std::string& path) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void BM_ReadCsvLog(benchmark::State& state) {
    const std::string& path = CsvPath();
    for (auto _ : state) {
        HeadlessPlatform ui;
        Program p(ui);
        AddDefaultProfiles(p.Settings);
        benchmark::DoNotOptimize(ReadCsvLog(p, path));
    }
    Throughput(state, path);
}
BENCHMARK(BM_ReadCsvLog)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CsvReadPass(benchmark::State& state) {
    const std::string& path = CsvPath();
    Settings settings;
    AddDefaultProfiles(settings);
    for (auto _ : state) {
        LogLineReader reader;
        reader.OpenLog(path);
        LoadedLog log;
        ColumnMap map;
        ProfileParams params;
        AnalyseCsvHeader(reader, settings, log, map, params);
        CsvLineDecoder decoder(map, params, settings.LeapSecond, log);
        FixStore store;
        store.Replace();
        CsvFixValues values;
        double previous = 0;
        long long count = 0;
        while (ReadCsvFix(reader, decoder, previous, values)) {
            store.Append(FixRecordFromCsv(values, map, params));
            previous = values.Time;
            // As ReadCsvLog: the store is sized once after the first 1024 fixes.
            if (++count == 1024) {
                store.Reserve(static_cast<std::size_t>(1.0625 * 1024 *
                                                       static_cast<double>(reader.LogFileSize()) /
                                                       static_cast<double>(reader.LogBytesRead())) +
                              1024);
            }
        }
        benchmark::DoNotOptimize(store.Count());
    }
    Throughput(state, path);
}
BENCHMARK(BM_CsvReadPass)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadNmeaLog(benchmark::State& state) {
    const char* path = std::getenv("FIXTALLY_BENCH_NMEA");
    if (!path) {
        state.SkipWithError("FIXTALLY_BENCH_NMEA is not set");
        return;
    }
    for (auto _ : state) {
        HeadlessPlatform ui;
        Program p(ui);
        p.Log.LogFileName = path;
        benchmark::DoNotOptimize(ReadNmeaLog(p));
    }
    Throughput(state, path);
}
BENCHMARK(BM_ReadNmeaLog)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace fixtally

BENCHMARK_MAIN();
