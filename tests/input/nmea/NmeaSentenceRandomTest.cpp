#include "input/nmea/NmeaSentence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace fixtally;

namespace {

std::string WithChecksum(std::string line) {
    std::size_t star = line.find('*');
    if (star == std::string::npos || line.empty() || line[0] != '$') return line;
    unsigned sum = 0;
    for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(line[i]);
    static const char* hex = "0123456789ABCDEF";
    return line.substr(0, star + 1) + hex[(sum >> 4) & 15] + hex[sum & 15];
}

const std::vector<std::string> kSeeds = {
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A",
    "$GNRMC,235960.00,A,3539.485,N,13944.970,E,0.01,,311299,,,D,V*00",
    "$GNGNS,123519.00,4807.038,N,01131.000,E,AAN,12,0.9,545.4,46.9,,*00",
    "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39",
    "$GNGSA,A,3,65,66,67,,,,,,,,,,,,,,1.9,1.1,1.5,2*00",
    "$QZQSA,A,A,3,193,194,,,,,,,,,,,2.5,1.3,2.1*00",
    "$GPGGAH,123519,4807.038,N,01131.000,E,5,08,0.9,545.4,M,46.9,M,,*00",
    "$BDGSA,A,2,,,,,,,,,,,,,,,*00",
};

// Characters that steer a mutation into the interesting parts of the decoders.
const std::string kSpice = ",*$.-+0123456789NSEWAVDPHMR \t\r";

} // namespace

// Random and mutated sentences must never crash the decoders or leave values that a
// record cannot hold.
TEST(NmeaSentenceRandom, SurvivesRandomAndMutatedLines) {
    std::mt19937 random(20261209);
    auto below = [&](std::size_t n) -> std::size_t {
        return n == 0 ? 0 : random() % static_cast<std::uint32_t>(n);
    };
    NmeaDecoder decoder;
    LoadedLog log;
    std::string line;
    for (int iteration = 0; iteration < 60000; ++iteration) {
        if (below(4) == 0) {
            line.assign(below(120), '\0');
            for (char& c : line) c = static_cast<char>(random());
            if (!line.empty() && below(2) == 0) line[below(line.size())] = '$';
        } else {
            line = kSeeds[below(kSeeds.size())];
            for (std::size_t edits = 1 + below(4); edits > 0; --edits) {
                std::size_t at = below(line.size() + 1);
                char c = below(3) == 0 ? static_cast<char>(random()) : kSpice[below(kSpice.size())];
                switch (below(5)) {
                case 0:
                    if (at < line.size()) line[at] = c;
                    break;
                case 1:
                    line.insert(at, 1, c);
                    break;
                case 2:
                    if (at < line.size()) line.erase(at, 1 + below(3));
                    break;
                case 3:
                    line.insert(at, line.substr(below(line.size()), below(12)));
                    break;
                default:
                    line.resize(at);
                    break;
                }
            }
            // Most mutants get a matching checksum so that the decoders see them.
            if (below(4) != 0) line = WithChecksum(line);
        }
        if (below(50) == 0) {
            decoder.ReadPass = below(2) == 0;
            decoder.GnsMode = below(2) == 0;
            log.ExpandMode = below(8) == 0;
            log.LastFixTime = below(2) == 0 ? 0 : decoder.Epoch.RmcTime;
        }
        if (below(8) == 0) decoder.Epoch.Reset();

        SCOPED_TRACE(line);
        int type = ParseNmeaLine(line, decoder, log);
        ASSERT_GE(type, 0);
        ASSERT_LE(type, 3);
        int peeked = PeekSentenceType(line, decoder);
        ASSERT_GE(peeked, 0);
        ASSERT_LE(peeked, 3);
        ASSERT_GE(decoder.PrevIndex1, 0);
        ASSERT_LE(decoder.PrevIndex1, 35);
        const EpochValues& e = decoder.Epoch;
        for (int count : {e.GgaSats, e.GnsSats, e.SecondarySats, e.QzssSats}) {
            ASSERT_GE(count, 0);
            ASSERT_LE(count, 255);
        }
        ASSERT_LE(decoder.CurrentDate.Size, 8);
        ASSERT_GE(log.LogPosDecimals, 1);
        ASSERT_GE(log.LogAltDecimals, 1);
    }
}

// The quick reading of the usual NMEA times must equal the general date-time conversion.
TEST(NmeaSentenceRandom, UsualTimesReadAsTheGeneralConversionReadsThem) {
    std::mt19937 random(123519);
    auto digits = [&](int value, int width) {
        std::string text = std::to_string(value);
        return std::string(
                   static_cast<std::size_t>(std::max(0, width - static_cast<int>(text.size()))),
                   '0') +
               text;
    };
    for (int iteration = 0; iteration < 50000; ++iteration) {
        int h = static_cast<int>(random() % 26), m = static_cast<int>(random() % 62),
            s = static_cast<int>(random() % 62);
        if (random() % 8 == 0) h = 23, m = 59, s = 60;
        std::string fraction = digits(static_cast<int>(random() % 1000), 3).substr(0, random() % 4);
        bool dot = !fraction.empty() || random() % 2 == 0;
        std::string field =
            digits(h, 2) + digits(m, 2) + digits(s, 2) + (dot ? "." : "") + fraction;
        std::string time =
            digits(h, 2) + ":" + digits(m, 2) + ":" + digits(s, 2) + (dot ? "." : "") + fraction;
        std::string date;
        if (random() % 3 != 0)
            date = digits(static_cast<int>(random() % 14), 2) + "/" +
                   digits(static_cast<int>(random() % 33), 2) + "/" +
                   digits(static_cast<int>(random() % 100), 2);
        ASSERT_EQ(DateTimeFromText(date, time, 2026), NmeaTimeValue(field, date, 2026))
            << field << " " << date;
    }
}

// The block-wise field split must cut exactly where the plain comma-by-comma rule cuts.
TEST(NmeaSentenceRandom, FieldSplitMatchesThePlainRule) {
    std::mt19937 random(2402);
    const std::string alphabet = ",,,,*  \tA1.$";
    NmeaFields fields;
    for (int iteration = 0; iteration < 20000; ++iteration) {
        std::string line(random() % 90, ' ');
        for (char& c : line) c = alphabet[random() % alphabet.size()];
        SplitFields(line, fields);

        std::string_view rest = line;
        int k = 0;
        std::vector<std::string_view> expected;
        while (k < 24 && rest.find(',') != std::string_view::npos) {
            expected.push_back(TrimText(rest.substr(0, rest.find(','))));
            rest.remove_prefix(rest.find(',') + 1);
            ++k;
        }
        expected.push_back(rest.substr(0, rest.find('*')));
        ASSERT_EQ(static_cast<int>(expected.size()), fields.Count) << line;
        for (int i = 0; i < MaxNmeaFields; ++i) {
            std::string_view want = i < fields.Count ? expected[static_cast<std::size_t>(i)] : "";
            ASSERT_EQ(want, fields[i]) << line << " field " << i;
        }
    }
}

// The checksum test agrees with the plain rule on lines with stars anywhere.
TEST(NmeaSentenceRandom, ChecksumMatchesThePlainRule) {
    std::mt19937 random(4747);
    const std::string alphabet = "GPA,*0123456789ABCDEFabcdefx";
    int valid = 0;
    for (int iteration = 0; iteration < 50000; ++iteration) {
        std::string line = "$" + std::string(random() % 40, ' ');
        for (std::size_t i = 1; i < line.size(); ++i)
            line[i] = alphabet[random() % alphabet.size()];
        if (random() % 2 == 0) line = WithChecksum(line + "*");

        std::size_t star = line.find('*');
        bool expected = false;
        if (star != std::string::npos && star >= 6 && line.size() == star + 3) {
            unsigned sum = 0;
            for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(line[i]);
            unsigned digits = 0;
            auto [ptr, ec] =
                std::from_chars(line.data() + star + 1, line.data() + line.size(), digits, 16);
            expected = ec == std::errc() && ptr == line.data() + line.size() && digits == sum &&
                       line[star + 1] != '-' && line[star + 1] != '+';
        }
        ASSERT_EQ(expected, NmeaChecksumValid(line)) << line;
        valid += expected;
    }
    EXPECT_GT(valid, 1000);
}

// Coordinates read on the quick path equal the formula over the full decimal conversion.
TEST(NmeaSentenceRandom, CoordinatesMatchTheFormula) {
    std::mt19937 random(11131);
    const std::string alphabet = "0123456789012345678901234567890123456789.-e";
    for (int iteration = 0; iteration < 50000; ++iteration) {
        std::string value(random() % 22, ' ');
        for (char& c : value) c = alphabet[random() % alphabet.size()];
        double parsed = 0, expected = NAN;
        if (ParseDecimal(TrimText(value), parsed)) {
            double v = parsed / 100, d = std::trunc(v);
            expected = std::fabs(d + (v - d) / 0.6);
        }
        std::size_t dot = value.find('.');
        int expectedDecimals =
            std::max(1, static_cast<int>(value.size() - (dot == std::string::npos ? 0 : dot + 1)));
        int decimals = 1;
        double actual = NmeaCoordinate(value, "N", decimals);
        if (std::isnan(expected)) {
            ASSERT_TRUE(std::isnan(actual)) << value;
        } else {
            ASSERT_EQ(expected, actual) << value;
        }
        if (!value.empty()) {
            ASSERT_EQ(expectedDecimals, decimals) << value;
        }
    }
}
