#pragma once

#include <cstddef>

namespace fixtally {

// The text encodings a log file may be read in: the bytes as they are, or UTF-16 (of
// either byte order) announced by a byte-order mark at the start of the file.
enum class LogEncoding { Bytes, Utf16Le, Utf16Be };

// The encoding announced by the first bytes of a file (size bytes at start, two needed):
// FF FE is UTF-16 little-endian, FE FF big-endian, anything else is read as bytes.
[[nodiscard]] LogEncoding EncodingFromMark(const unsigned char* start, std::size_t size);

// Turns UTF-16 code units into UTF-8 bytes, for a file read in pieces. Reads whole units
// from in (size bytes) and writes their UTF-8 form to out, which must have room for
// 3 * size / 2 bytes. A high surrogate at the end of the piece, or an odd last byte, is
// left unread unless last is true, so that the next piece can complete it; at the end of
// the file an odd byte is dropped. Unpaired surrogates become U+FFFD. Returns the bytes
// of in that were read; written receives the bytes written to out.
[[nodiscard]] std::size_t Utf16ToUtf8(const unsigned char* in, std::size_t size, bool bigEndian,
                                      bool last, unsigned char* out, std::size_t& written);

} // namespace fixtally
