#include "input/LogLineReader.h"

#include "LineReaderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fixtally {
namespace {

using test::MtkFrame;
using test::RtcmFrame;
using test::SirfFrame;
using test::TempFile;
using test::UbxFrame;
using test::UnicoreFrame;

// Every line of a file, the last one (returned with EndOfLog) only when non-empty.
std::vector<std::string> ReadAllLines(LogLineReader& reader) {
    std::vector<std::string> lines;
    while (!reader.EndOfLog()) {
        const std::string_view line = reader.ReadLogLine();
        if (!reader.EndOfLog() || !line.empty()) lines.emplace_back(line);
    }
    return lines;
}

std::vector<std::string> LinesOf(const std::string& bytes) {
    TempFile file(bytes);
    LogLineReader reader;
    EXPECT_TRUE(reader.OpenLog(file.Path()));
    return ReadAllLines(reader);
}

struct LineCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

// Test names show the case's name, not its bytes.
void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.name;
}

class LineReaderCases : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineReaderCases, GivesTheLines) {
    const LineCase& c = GetParam();
    EXPECT_EQ(LinesOf(c.bytes), c.lines);
}

const std::string A = "$GPGGA,1*00";
const std::string B = "$GPRMC,2*00";

INSTANTIATE_TEST_SUITE_P(
    LineEnds, LineReaderCases,
    ::testing::Values(LineCase{"CrLf", A + "\r\n" + B + "\r\n", {A, B}},
                      LineCase{"Lf", A + "\n" + B + "\n", {A, B}},
                      LineCase{"Cr", A + "\r" + B + "\r", {A, B}},
                      LineCase{"LfCr", A + "\n\r" + B + "\n\r", {A, B}},
                      LineCase{"BlankLinesSkipped", "\r\n\n\r\r" + A + "\r\n\r\n\n\n" + B, {A, B}},
                      LineCase{"LastLineWithoutEnd", A + "\r\n" + B, {A, B}},
                      LineCase{"EmptyFile", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Bytes, LineReaderCases,
    ::testing::Values(
        LineCase{"NulAndTabBecomeOneSpace", std::string("$GP\0\0GGA\t,1\n", 12), {"$GP GGA ,1"}},
        LineCase{"HighBytesCollapse",
                 "A\x80\x81\xFF"
                 "B\x7F\n",
                 {"A B "}},
        LineCase{"CentAndMicroKept", "x\xA2y\xB5z\n", {"x\u00A2y\u00B5z"}},
        LineCase{"LoneSpaceLine", std::string("\x01\x02\n", 3), {" "}},
        LineCase{"MediaTekLengthTooLongIsText",
                 // the LF is taken as the length's high byte: no line end there
                 "\x04$\x05\nrest\n",
                 {" rest"}},
        LineCase{"DollarAfterOtherByteIsText", "\x05$GP\n", {" $GP"}},
        LineCase{"OnlyBinary",
                 UbxFrame(40) + RtcmFrame(19) + SirfFrame(30) + MtkFrame(50) + UnicoreFrame(12),
                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Every frame kind between two lines and inside a line.
struct FrameKind {
    const char* name;
    std::string frame;
};

void PrintTo(const FrameKind& k, std::ostream* out) {
    *out << k.name;
}

class FrameCases : public ::testing::TestWithParam<FrameKind> {};

TEST_P(FrameCases, BetweenLinesLeavesBothIntact) {
    const std::string& f = GetParam().frame;
    EXPECT_EQ(LinesOf(A + "\r\n" + f + B + "\r\n"), (std::vector<std::string>{A, B}));
    EXPECT_EQ(LinesOf(A + "\r\n" + f + f + f + B + "\r\n"), (std::vector<std::string>{A, B}));
}

TEST_P(FrameCases, InsideLineDiscardsTextBeforeIt) {
    const std::string& f = GetParam().frame;
    EXPECT_EQ(LinesOf(A + f + ",tail\r\n" + B + "\n"), (std::vector<std::string>{",tail", B}));
}

TEST_P(FrameCases, TruncatedAtEndOfFile) {
    // Only what the sync bytes left before the frame began ("µ", " D", " ")
    // may come out after the first line; nothing of the frame's body.
    const std::string& f = GetParam().frame;
    for (std::size_t cut = 1; cut < f.size(); cut += 7) {
        SCOPED_TRACE(cut);
        std::vector<std::string> lines = LinesOf(A + "\n" + f.substr(0, cut));
        ASSERT_GE(lines.size(), 1u);
        ASSERT_LE(lines.size(), 2u);
        EXPECT_EQ(lines[0], A);
        if (lines.size() == 2) {
            EXPECT_LE(lines[1].size(), 2u) << lines[1];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FrameCases,
    ::testing::Values(FrameKind{"Sirf", SirfFrame(60)}, FrameKind{"Ubx", UbxFrame(100)},
                      FrameKind{"MediaTek", MtkFrame(64)}, FrameKind{"Rtcm3", RtcmFrame(19)},
                      FrameKind{"Unicore", UnicoreFrame(44)}, FrameKind{"UbxLong", UbxFrame(3000)},
                      FrameKind{"Rtcm3Long", RtcmFrame(1023)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LogLineReader, RtcmFrameOfNineteenBytesOccupiesTwentyFive) {
    const std::string frame = RtcmFrame(19);
    ASSERT_EQ(frame.size(), 25u);
    // One byte fewer and the line after it loses its first character.
    EXPECT_EQ(LinesOf(frame + "XY\n"), (std::vector<std::string>{"XY"}));
    EXPECT_EQ(LinesOf(frame.substr(0, 24) + "XY\n"), (std::vector<std::string>{"Y"}));
}

TEST(LogLineReader, D3InsideLineEatsFollowingBytes) {
    // D3 00 02: a frame of 8 bytes, so five more bytes after the length byte.
    const std::string bytes("$GPGGA\xD3\x00\x02"
                            "ABCDEF,rest\n",
                            21);
    EXPECT_EQ(LinesOf(bytes), (std::vector<std::string>{"F,rest"}));
}

TEST(LogLineReader, StrayD3IsASpaceAndTheNextByteIsText) {
    // Binary data of an unknown protocol before the sentences: its D3h bytes are
    // followed by bytes with high bits set, so they start no RTCM 3 frame.
    const std::string gga = "$GNGGA,135806.000,4723.00484,N,00045.88150,E,1,13*00";
    const std::string rmc = "$GNRMC,135806.000,A*00";
    EXPECT_EQ(LinesOf("\xBA\xCE\xD3\x24\x01\xD3\xD3" + gga + "\r\n" + rmc + "\r\n"),
              (std::vector<std::string>{" $ " + gga, rmc}));
    EXPECT_EQ(LinesOf("\xD3\r\n" + gga + "\n"), (std::vector<std::string>{" ", gga}));
    EXPECT_EQ(LinesOf("AB\xD3\x7F\xFF" + gga + "\n"), (std::vector<std::string>{"AB " + gga}));
    // Zero high bits: a frame as before, whatever its text.
    EXPECT_EQ(LinesOf(std::string("\xD3\x00\x01X\x01\x02\x03", 7) + gga + "\n"),
              (std::vector<std::string>{gga}));
}

TEST(LogLineReader, AbsurdLengthsStopAt4096Bytes) {
    // Frames whose length field says more than 4096 end after 4096 bytes (an RTCM 3
    // length has ten bits and never says that much).
    std::string ubx = "\xB5\x62\x01\x02\xFF\xFF" + test::FrameFiller(4090);
    std::string sirf = "\xA0\xA2" + test::FrameFiller(4094);
    for (const std::string& f : {ubx, sirf}) {
        ASSERT_EQ(f.size(), 4096u);
        EXPECT_EQ(LinesOf(A + "\n" + f + "AFTER\n"), (std::vector<std::string>{A, "AFTER"}));
    }
}

// The UTF-16 form (with its byte-order mark) of a UTF-8 text.
std::string Utf16Of(const std::string& utf8, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    auto unit = [&](unsigned u) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        unsigned code = n == 1 ? c : c & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) code = code << 6 | (utf8[i + k] & 0x3F);
        i += n;
        if (code >= 0x10000) {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            unit(code);
        }
    }
    return out;
}

TEST(LogLineReader, Utf16FilesGiveTheLinesOfTheirUtf8Text) {
    // Sentences, a CSV line with a degree sign, "µ", a character outside the BMP; long
    // enough that the UTF-16 bytes are read in several pieces, with a surrogate pair and
    // a line end falling on the piece boundaries somewhere.
    std::string text = "# capture\r\n";
    for (int i = 0; text.size() < 400000; ++i) {
        text += "$GPGGA,line" + std::to_string(i) + "*00\r\n";
        text += "35\u00B040'52.4\"N,139\u00B046'01.6\"E,\u00B5,\U0001F4CD" +
                std::string(i % 7, 'x') + "\n";
    }
    const std::vector<std::string> expected = LinesOf(text);
    ASSERT_GT(expected.size(), 10000u);
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian);
        const std::string bytes = Utf16Of(text, bigEndian);
        TempFile file(bytes);
        LogLineReader reader;
        ASSERT_TRUE(reader.OpenLog(file.Path()));
        for (int pass = 0; pass < 2; ++pass) {
            std::int64_t consumed = reader.LogBytesConsumed();
            EXPECT_EQ(consumed, 2); // after the mark
            std::vector<std::string> lines;
            while (!reader.EndOfLog()) {
                const std::string_view line = reader.ReadLogLine();
                if (!reader.EndOfLog() || !line.empty()) lines.emplace_back(line);
                // Progress runs over the file's own bytes, never backwards.
                EXPECT_GE(reader.LogBytesConsumed(), consumed);
                consumed = reader.LogBytesConsumed();
            }
            EXPECT_EQ(lines, expected);
            EXPECT_EQ(reader.LogBytesRead(), static_cast<std::int64_t>(bytes.size()));
            EXPECT_FALSE(reader.ReadFailed());
            reader.RewindLog();
        }
    }
    // An odd last byte and a lone surrogate do not stop the reading.
    EXPECT_EQ(LinesOf(Utf16Of("AB\nCD", false) + "\x01"), (std::vector<std::string>{"AB", "CD"}));
    EXPECT_EQ(LinesOf(std::string("\xFF\xFE\x00\xD8"
                                  "A\0\n\0",
                                  8)),
              (std::vector<std::string>{" A"}));
    // Only a mark at the very start makes a file UTF-16.
    EXPECT_EQ(LinesOf(" \xFF\xFE"
                      "A\n"),
              (std::vector<std::string>{" A"}));
}

TEST(LogLineReader, LongLinesAreCappedAndReadingGoesOn) {
    const std::size_t cap = LogLineReader::MaxLogLineLength;
    const std::string huge(3 * cap, 'x');
    std::vector<std::string> lines = LinesOf(huge + "\n" + B + "\n" + huge);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(cap, 'x'));
    EXPECT_EQ(lines[1], B);
    EXPECT_EQ(lines[2], std::string(cap, 'x'));
}

TEST(LogLineReader, OpenFailures) {
    LogLineReader reader;
    EXPECT_FALSE(reader.OpenLog("/nonexistent/folder/log.nmea"));
    EXPECT_TRUE(reader.EndOfLog());
    EXPECT_FALSE(reader.OpenLog(std::filesystem::temp_directory_path().string()));
    EXPECT_TRUE(reader.EndOfLog());
    EXPECT_EQ(reader.ReadLogLine(), "");
    EXPECT_TRUE(reader.EndOfLog());
    reader.RewindLog();
    EXPECT_TRUE(reader.EndOfLog());
}

TEST(LogLineReader, NamedPipeIsRefusedWithoutWaitingForAWriter) {
    const std::filesystem::path fifo =
        std::filesystem::path(FIXTALLY_BINARY_DIR) / "test_logs" / "reader_fifo";
    std::filesystem::create_directories(fifo.parent_path());
    std::filesystem::remove(fifo);
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    LogLineReader reader;
    EXPECT_FALSE(reader.OpenLog(fifo.string()));
    EXPECT_TRUE(reader.EndOfLog());
    std::filesystem::remove(fifo);
}

TEST(LogLineReader, CountersAndRewind) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "$GPGGA,line" + std::to_string(i) + "*00\r\n";
    TempFile file(text);
    LogLineReader reader;
    ASSERT_TRUE(reader.OpenLog(file.Path()));
    EXPECT_EQ(reader.LogFileSize(), static_cast<std::int64_t>(text.size()));
    EXPECT_EQ(reader.LogBytesRead(), 0);
    EXPECT_EQ(reader.ReadLogLine(), "$GPGGA,line0*00");
    EXPECT_EQ(reader.LogBytesRead(), 4096);
    std::vector<std::string> first = ReadAllLines(reader);
    EXPECT_EQ(reader.LogBytesRead(), static_cast<std::int64_t>(text.size()));

    reader.RewindLog();
    EXPECT_FALSE(reader.EndOfLog());
    EXPECT_EQ(reader.LogBytesRead(), 0);
    EXPECT_EQ(reader.ReadLogLine(), "$GPGGA,line0*00");
    EXPECT_EQ(ReadAllLines(reader), first);
    EXPECT_EQ(first.size(), 299u);
    EXPECT_FALSE(reader.ReadFailed());
}

TEST(LogLineReader, FileOverTwoGibibytes) {
    // A sparse file: 2.25 GiB of zero bytes, then one sentence.
    const std::int64_t zeros = (std::int64_t{9} << 28);
    const std::string tail = "\n$GPGGA,tail*00\n";
    TempFile file("");
    {
        const int fd = ::open(file.Path().c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        const bool made =
            ::ftruncate(fd, zeros) == 0 &&
            ::pwrite(fd, tail.data(), tail.size(), zeros) == static_cast<ssize_t>(tail.size());
        ::close(fd);
        if (!made) GTEST_SKIP() << "no room for a sparse file of 2.25 GiB here";
    }
    LogLineReader reader;
    ASSERT_TRUE(reader.OpenLog(file.Path()));
    const std::int64_t size = zeros + static_cast<std::int64_t>(tail.size());
    EXPECT_EQ(reader.LogFileSize(), size);
    EXPECT_EQ(reader.ReadLogLine(), " ");
    EXPECT_EQ(reader.LogBytesRead(), zeros + 4096 > size ? size : zeros + 4096);
    EXPECT_GT(reader.LogBytesRead(), std::int64_t{1} << 31);
    EXPECT_EQ(reader.ReadLogLine(), "$GPGGA,tail*00");
    EXPECT_EQ(reader.ReadLogLine(), "");
    EXPECT_TRUE(reader.EndOfLog());
    EXPECT_EQ(reader.LogBytesRead(), size);
}

} // namespace
} // namespace fixtally
