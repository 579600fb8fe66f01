// Decoding NMEA lines held in memory: PeekSentenceType and ParseNmeaLine in the read pass,
// as the NMEA reader calls them for every line, over RMC+GGA+GSA epochs of a receiver
// standing near a fixed point. The baseline counts the commas of the same bytes, the least
// any decoder must do to look at each byte once.
//
//   bench_NmeaSentence [--benchmark_filter=...]

#include "input/nmea/NmeaSentence.h"
#include "convert/Conversions.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace fixtally;

std::string WithChecksum(const std::string& body) {
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    static const char* hex = "0123456789ABCDEF";
    return "$" + body + "*" + hex[(sum >> 4) & 15] + hex[sum & 15];
}

std::string Fixed(double value, int decimals) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

std::string Two(int value) {
    return std::string(1, char('0' + value / 10)) + char('0' + value % 10);
}

// The text of `epochs` epochs, one sentence per line.
std::string MakeLog(int epochs) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<double> noise(-0.0005, 0.0005);
    std::string text;
    for (int i = 0; i < epochs; ++i) {
        int t = 36000 + i;
        std::string time = Two(t / 3600 % 24) + Two(t / 60 % 60) + Two(t % 60) + ".00";
        std::string lat = "35" + Fixed(39.4850 + noise(random), 5);
        std::string lon = "139" + Fixed(44.9700 + noise(random), 5);
        text += WithChecksum("GPRMC," + time + ",A," + lat + ",N," + lon + ",E,0.02,,091226,,,A") +
                "\n";
        text += WithChecksum("GPGGA," + time + "," + lat + ",N," + lon + ",E,1,12,0.8," +
                             Fixed(40 + noise(random) * 1000, 1) + ",M,39.4,M,,") +
                "\n";
        text += WithChecksum("GPGSA,A,3,01,02,03,04,05,06,07,08,09,10,11,12,1.5,0.8,1.2") + "\n";
    }
    return text;
}

std::vector<std::string_view> Lines(const std::string& text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.emplace_back(text.data() + start, nl - start);
    return lines;
}

void BM_DecodeLines(benchmark::State& state) {
    const std::string text = MakeLog(static_cast<int>(state.range(0)));
    const std::vector<std::string_view> lines = Lines(text);
    NmeaDecoder decoder;
    decoder.ReadPass = true;
    LoadedLog log;
    for (auto _ : state) {
        int content = 0;
        for (std::string_view line : lines) {
            content += PeekSentenceType(line, decoder);
            content += ParseNmeaLine(line, decoder, log);
            log.LastFixTime = decoder.Epoch.RmcTime;
        }
        benchmark::DoNotOptimize(content);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["ns_per_line"] =
        benchmark::Counter(static_cast<double>(state.iterations() * lines.size()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DecodeLines)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CountCommas(benchmark::State& state) {
    const std::string text = MakeLog(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto commas = std::count(text.begin(), text.end(), ',');
        benchmark::DoNotOptimize(commas);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CountCommas)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_DateTimeFromText(benchmark::State& state) {
    for (auto _ : state) {
        double day = DateTimeFromText("12/09/26", "12:34:56.250", 2026);
        benchmark::DoNotOptimize(day);
    }
}
BENCHMARK(BM_DateTimeFromText);

void BM_TextToFloat(benchmark::State& state) {
    for (auto _ : state) {
        double value = TextToFloat("3539.48512");
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_TextToFloat);

} // namespace

BENCHMARK_MAIN();
