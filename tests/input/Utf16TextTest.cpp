#include "input/Utf16Text.h"

#include <gtest/gtest.h>

#include <string>

namespace fixtally {
namespace {

std::string Convert(const std::string& in, bool bigEndian, bool last, std::size_t& used) {
    unsigned char out[64];
    std::size_t written = 0;
    used = Utf16ToUtf8(reinterpret_cast<const unsigned char*>(in.data()), in.size(), bigEndian,
                       last, out, written);
    return std::string(reinterpret_cast<const char*>(out), written);
}

TEST(Utf16Text, MarksAtTheStartChooseTheEncoding) {
    const unsigned char le[] = {0xFF, 0xFE}, be[] = {0xFE, 0xFF}, utf8[] = {0xEF, 0xBB};
    EXPECT_EQ(EncodingFromMark(le, 2), LogEncoding::Utf16Le);
    EXPECT_EQ(EncodingFromMark(be, 2), LogEncoding::Utf16Be);
    EXPECT_EQ(EncodingFromMark(utf8, 2), LogEncoding::Bytes);
    EXPECT_EQ(EncodingFromMark(le, 1), LogEncoding::Bytes);
}

TEST(Utf16Text, PiecesCutInsideAUnitOrAPairWaitForTheNextPiece) {
    // "A°" then U+1F4CD as a surrogate pair, little-endian.
    const std::string text("A\0\xB0\0\x3D\xD8\xCD\xDC", 8);
    std::size_t used = 0;
    EXPECT_EQ(Convert(text, false, true, used), "A\u00B0\U0001F4CD");
    EXPECT_EQ(used, 8u);
    // Cut after the high surrogate: it waits.
    EXPECT_EQ(Convert(text.substr(0, 6), false, false, used), "A\u00B0");
    EXPECT_EQ(used, 4u);
    // Cut inside a unit: the odd byte waits, and at the end of the file it is dropped.
    EXPECT_EQ(Convert(text.substr(0, 3), false, false, used), "A");
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(Convert(text.substr(0, 3), false, true, used), "A");
    EXPECT_EQ(used, 3u);
    // At the end of the file a lone high surrogate is U+FFFD, as is a lone low one.
    EXPECT_EQ(Convert(text.substr(0, 6), false, true, used), "A\u00B0\uFFFD");
    EXPECT_EQ(Convert(std::string("\xDC\xCD\0B", 4), true, true, used), "\uFFFDB");
}

} // namespace
} // namespace fixtally
