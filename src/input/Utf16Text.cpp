#include "input/Utf16Text.h"

namespace fixtally {

namespace {

constexpr char32_t Replacement = 0xFFFD;

unsigned char* AppendUtf8(unsigned char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<unsigned char>(0xC0 | (c >> 6));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<unsigned char>(0xE0 | (c >> 12));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<unsigned char>(0xF0 | (c >> 18));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
    return out;
}

constexpr bool IsHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

LogEncoding EncodingFromMark(const unsigned char* start, std::size_t size) {
    if (size < 2) return LogEncoding::Bytes;
    if (start[0] == 0xFF && start[1] == 0xFE) return LogEncoding::Utf16Le;
    if (start[0] == 0xFE && start[1] == 0xFF) return LogEncoding::Utf16Be;
    return LogEncoding::Bytes;
}

std::size_t Utf16ToUtf8(const unsigned char* in, std::size_t size, bool bigEndian, bool last,
                        unsigned char* out, std::size_t& written) {
    const std::size_t units = size / 2;
    auto unit = [&](std::size_t i) -> char32_t {
        const unsigned char a = in[2 * i], b = in[2 * i + 1];
        return bigEndian ? char32_t(a << 8 | b) : char32_t(b << 8 | a);
    };
    unsigned char* const start = out;
    std::size_t i = 0;
    for (; i < units; ++i) {
        const char32_t u = unit(i);
        if (u < 0x80) { // the text of a log: plain ASCII
            *out++ = static_cast<unsigned char>(u);
        } else if (IsHighSurrogate(u)) {
            if (i + 1 == units && !last) break; // its partner may be in the next piece
            const char32_t v = i + 1 < units ? unit(i + 1) : 0;
            if (IsLowSurrogate(v)) {
                out = AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
                ++i;
            } else {
                out = AppendUtf8(out, Replacement);
            }
        } else if (IsLowSurrogate(u)) {
            out = AppendUtf8(out, Replacement);
        } else {
            out = AppendUtf8(out, u);
        }
    }
    written = static_cast<std::size_t>(out - start);
    // An odd last byte waits for the next piece, and is dropped at the end of the file.
    return last ? size : 2 * i;
}

} // namespace fixtally
