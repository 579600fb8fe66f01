// Seeded random logs: real sentence shapes with mutated fields, binary frames and stray
// bytes. Every load ends, never fails, and stores only records with a position and a time
// inside the range it reports (an undated time may lie before a dated start).

#include "NmeaReaderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace fixtally {
namespace {

const char* const Templates[] = {
    "GPRMC,120000.00,A,4807.038,N,01131.000,E,0.5,54.7,140326,,,A",
    "GNRMC,235959.50,A,3540.873993,S,13946.027637,W,0.03,200.2,311299,,,D",
    "GPGGA,120000.00,4807.040,N,01131.002,E,2,08,0.9,545.4,M,46.9,M,,",
    "GNGGA,000000,4807.040,N,01131.002,E,1,12,,,M,,M,,",
    "GNGNS,120000.00,4807.050,N,01131.010,E,AAN,10,0.7,550.0,46.9,,",
    "GPGSA,A,3,04,05,09,12,24,,,,,,,,2.5,1.3,2.1",
    "GNGSA,A,2,65,67,69,,,,,,,,,,1.5,0.8,1.2",
    "GLGSA,A,3,65,67,69,71,73,75,77,79,81,83,85,87,89,91,93,95,1.5,0.8,1.2",
    "QZQSA,A,A,3,193,,,,,,,,,,,,1.5,0.8,1.2",
    "GPGSV,3,1,12,01,40,083,46",
    "GPRMC,120000.00,V,,,,,,,140326,,,N",
};

std::string Mutate(std::string s, std::mt19937& rng) {
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    const int edits = static_cast<int>(pick(4));
    for (int i = 0; i < edits && !s.empty(); ++i) {
        switch (pick(5)) {
        case 0:
            s[pick(s.size())] = "0123456789.,-NSEWAV*$ "[pick(22)];
            break;
        case 1:
            s.erase(pick(s.size()), 1 + pick(5));
            break;
        case 2:
            s.insert(pick(s.size()), 1, static_cast<char>(pick(256)));
            break;
        case 3:
            s.insert(pick(s.size()), ",,");
            break;
        default:
            s.resize(pick(s.size()));
            break;
        }
    }
    return s;
}

std::string RandomLog(std::mt19937& rng) {
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    std::string log;
    const std::size_t parts = pick(120);
    for (std::size_t i = 0; i < parts; ++i) {
        const std::string body = Templates[pick(std::size(Templates))];
        switch (pick(8)) {
        case 0:
            log += test::Sentence(Mutate(body, rng));
            break; // a good checksum
        case 1:
            log += "$" + Mutate(body, rng) + "*00\r\n";
            break; // a wrong one
        case 2:
            log += "$" + Mutate(body, rng) + "\n";
            break; // none
        case 3:
            log += test::UbxFrame(pick(300)).substr(0, 1 + pick(310));
            break;
        case 4:
            log += test::RtcmFrame(pick(200));
            break;
        case 5:
            log += std::string(pick(30), static_cast<char>(pick(256)));
            break;
        default:
            log += test::Sentence(body);
            break;
        }
    }
    return log;
}

TEST(NmeaReaderRandom, LoadsEndCleanly) {
    std::mt19937 rng(1312);
    long records = 0;
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        test::LoadedNmea n(RandomLog(rng), 128);
        const int result = n.Read();
        ASSERT_GE(result, 0);
        ASSERT_EQ(static_cast<std::size_t>(result), n.program.Store.Count());
        records += result;
        for (const FixRecord& r : n.Records()) {
            ASSERT_FALSE(std::isnan(r.Latitude));
            ASSERT_FALSE(std::isnan(r.Longitude));
            ASSERT_NE(r.Time, 0.0);
            // An undated time never moves a dated start.
            if (r.Time >= 1 || n.program.CountRange.Start < 1) {
                ASSERT_GE(r.Time, n.program.CountRange.Start);
            }
            ASSERT_LE(r.Time, n.program.CountRange.End);
        }
    }
    EXPECT_GT(records, 1000); // the logs do give fixes, not only refusals
}

} // namespace
} // namespace fixtally
