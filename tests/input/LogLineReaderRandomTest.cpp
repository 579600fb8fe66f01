// Random mixtures of text, binary frames and stray bytes, read by the line
// reader and by a plain byte-at-a-time model of its rules in 4096-byte blocks.
// Both must give the same lines, end flags and byte counters.

#include "input/LogLineReader.h"

#include "LineReaderTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace fixtally {
namespace {

class ModelLineReader {
public:
    explicit ModelLineReader(const std::string& file) : file_(file) {}

    void Rewind() {
        filePos_ = 0;
        blockLength_ = blockIndex_ = 0;
        endOfLog_ = false;
        bytesRead_ = 0;
        kind_ = 0;
        count_ = length_ = 0;
    }

    std::string ReadLine() {
        std::string line;
        for (;;) {
            if (blockIndex_ >= blockLength_) {
                blockLength_ = std::min<std::size_t>(4096, file_.size() - filePos_);
                block_ = file_.substr(filePos_, blockLength_);
                filePos_ += blockLength_;
                bytesRead_ += static_cast<std::int64_t>(blockLength_);
                blockIndex_ = 0;
                if (blockLength_ == 0) {
                    endOfLog_ = true;
                    return line;
                }
            }
            const auto b = static_cast<unsigned char>(block_[blockIndex_]);
            bool lineEnded = false;
            bool frameEnded = false;
            if (count_ > 0) ++count_;
            if (kind_ == 4 && count_ == 2 && (b & 0xFC) != 0) {
                // a stray D3h: a space, and this byte is text
                kind_ = 0;
                count_ = 0;
                if (line.size() < LogLineReader::MaxLogLineLength &&
                    (line.empty() || line.back() != ' '))
                    line += ' ';
            }
            if (kind_ != 0) {
                bool ends = false;
                if (kind_ == 1) ends = prev_ == 0xB0 && b == 0xB3;
                if (kind_ == 2 && count_ == 6) length_ = prev_ + 256 * b + 8;
                if (kind_ == 3 && count_ == 4) {
                    if (b >= 10)
                        kind_ = 0; // abandoned; nothing cleared
                    else
                        length_ = prev_ + 256 * b;
                }
                if (kind_ == 4 && count_ == 3) length_ = 256 * (prev_ & 0x7F) + b + 6;
                if (kind_ == 5 && count_ == 8) length_ = prev_ + 256 * b + 28;
                if (kind_ != 0) {
                    if ((length_ > 0 && count_ >= length_) || count_ >= 4096) ends = true;
                    if (ends) {
                        kind_ = 0;
                        count_ = length_ = 0;
                        line.clear();
                        frameEnded = true;
                    }
                }
            } else if (b == 13) {
                lineEnded = prev_ != 10 && !line.empty();
            } else if (b == 10) {
                lineEnded = prev_ != 13 && !line.empty();
            } else if (b == '$' && prev_ == 0x04) {
                kind_ = 3;
                count_ = 2;
            } else if (b == 'b' && prev_ == 0xB5) {
                kind_ = 2;
                count_ = 2;
            } else if (b >= 32 && b <= 126) {
                if (line.size() < LogLineReader::MaxLogLineLength) line += static_cast<char>(b);
            } else if (b == 0xA2 && prev_ == 0xA0) {
                kind_ = 1;
                count_ = 2;
            } else if (b == 0xB5 && prev2_ == 0xAA && prev_ == 0x44) {
                kind_ = 5;
                count_ = 3;
            } else if (b == 0xA2 || b == 0xB5) {
                if (line.size() + 2 <= LogLineReader::MaxLogLineLength) {
                    line += static_cast<char>(0xC2);
                    line += static_cast<char>(b);
                }
            } else if (b == 0xD3) {
                kind_ = 4;
                count_ = 1;
            } else if (line.size() < LogLineReader::MaxLogLineLength &&
                       (line.empty() || line.back() != ' ')) {
                line += ' ';
            }
            prev2_ = prev_;
            prev_ = frameEnded ? 0 : b;
            ++blockIndex_;
            if (lineEnded) return line;
        }
    }

    bool EndOfLog() const { return endOfLog_; }
    std::int64_t BytesRead() const { return bytesRead_; }

private:
    const std::string& file_;
    std::string block_;
    std::size_t filePos_ = 0, blockLength_ = 0, blockIndex_ = 0;
    bool endOfLog_ = false;
    std::int64_t bytesRead_ = 0;
    unsigned char prev_ = 0, prev2_ = 0;
    int kind_ = 0;
    std::int64_t count_ = 0, length_ = 0;
};

std::string RandomLog(std::mt19937& rng, std::size_t target) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    static const char* const ends[] = {"\r\n", "\n", "\r", "\n\r", "", "\r\n\r\n"};
    static const char* const syncs[] = {"\x04$",
                                        "\xB5"
                                        "b",
                                        "\xA0\xA2",
                                        "\xAA\x44\xB5",
                                        "\xD3",
                                        "\xB0\xB3",
                                        "\xA2",
                                        "\xB5",
                                        "\x04",
                                        "\xAA\x44"};
    std::string out;
    while (out.size() < target) {
        switch (pick(9)) {
        case 0:
        case 1:
        case 2: { // a sentence-like line
            std::string line = "$GPGGA,";
            const int n = pick(90);
            for (int i = 0; i < n; ++i) line += static_cast<char>(32 + pick(95));
            out += line + ends[pick(6)];
            break;
        }
        case 3: { // a whole or cut frame, sometimes with an absurd length
            std::string f;
            switch (pick(5)) {
            case 0:
                f = test::UbxFrame(pick(5000));
                break;
            case 1:
                f = test::RtcmFrame(pick(1024));
                break;
            case 2:
                f = test::SirfFrame(pick(300));
                break;
            case 3:
                f = test::MtkFrame(4 + pick(3000));
                break;
            default:
                f = test::UnicoreFrame(pick(2000));
                break;
            }
            if (pick(4) == 0) f.resize(pick(static_cast<int>(f.size())));
            out += f;
            break;
        }
        case 4: { // random bytes
            const int n = 1 + pick(60);
            for (int i = 0; i < n; ++i) out += static_cast<char>(pick(256));
            break;
        }
        case 5:
            out += syncs[pick(10)];
            break;
        case 6:
            out += std::string(static_cast<std::size_t>(pick(100)), '\0');
            break;
        case 7:
            out += std::string(static_cast<std::size_t>(pick(40)), static_cast<char>(pick(256)));
            break;
        default:
            out += ends[pick(6)];
            break;
        }
    }
    return out;
}

void ExpectSameAsModel(const std::string& bytes) {
    test::TempFile file(bytes);
    LogLineReader reader;
    ASSERT_TRUE(reader.OpenLog(file.Path()));
    ModelLineReader model(bytes);
    model.Rewind();
    for (int pass = 0; pass < 2; ++pass) {
        std::size_t lines = 0;
        while (!model.EndOfLog()) {
            const std::string expected = model.ReadLine();
            const std::string_view got = reader.ReadLogLine();
            ASSERT_EQ(got, expected) << "pass " << pass << " line " << lines;
            ASSERT_EQ(reader.EndOfLog(), model.EndOfLog()) << "line " << lines;
            ASSERT_EQ(reader.LogBytesRead(), model.BytesRead()) << "line " << lines;
            ++lines;
        }
        reader.RewindLog();
        model.Rewind();
    }
}

TEST(LogLineReaderRandom, MatchesByteModel) {
    std::mt19937 rng(20261209);
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        // Mostly small files; every tenth one crosses the reader's read size.
        const std::size_t target = round % 10 == 9 ? 300000 + rng() % 100000 : rng() % 20000;
        ExpectSameAsModel(RandomLog(rng, target));
        if (HasFatalFailure()) return;
    }
}

TEST(LogLineReaderRandom, PureRandomBytes) {
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        std::string bytes(rng() % 30000, '\0');
        for (char& c : bytes) c = static_cast<char>(rng());
        ExpectSameAsModel(bytes);
        if (HasFatalFailure()) return;
    }
}

} // namespace
} // namespace fixtally
