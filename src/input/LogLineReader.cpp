#include "input/LogLineReader.h"

#include "input/Utf16Text.h"

#include <cerrno>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fixtally {

namespace {

// Physical read size; a multiple of BlockSize so that the 4096-byte blocks of
// the byte counter line up with the reads.
constexpr std::size_t ReadSize = 64 * LogLineReader::BlockSize;

// UTF-16 bytes read at a time: their UTF-8 form (at most one and a half times as many
// bytes) fits the block buffer.
constexpr std::size_t Utf16ReadSize = ReadSize / 2;

// A frame ends at the latest after this many bytes, whatever its length says.
constexpr std::int64_t MaxFrameLength = 4096;

constexpr bool IsPlain(unsigned char byte) {
    return byte >= 0x20 && byte <= 0x7E;
}

// True when one of the eight bytes is below 0x20 or above 0x7E.
inline bool HasNonPlain(std::uint64_t x) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    const std::uint64_t below = (x - ones * 0x20) & ~x & highs;
    const std::uint64_t above = ((x + ones) | x) & highs;
    return (below | above) != 0;
}

// The end of the run of plain text bytes starting at p.
const unsigned char* ScanPlain(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
    // Sixteen at a time: bytes below 0x20 (0x80 and up count as negative) or 0x7F.
    const __m128i space = _mm_set1_epi8(0x20);
    const __m128i del = _mm_set1_epi8(0x7F);
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int stops =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmplt_epi8(v, space), _mm_cmpeq_epi8(v, del)));
        if (stops != 0) return p + __builtin_ctz(static_cast<unsigned>(stops));
        p += 16;
    }
#endif
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if (HasNonPlain(word)) break;
        p += 8;
    }
    while (p < end && IsPlain(*p)) ++p;
    return p;
}

// Bytes that only ever stand for a space in a line: not text, not a line
// end, not the start or last byte of a sync sequence.
constexpr bool IsOther(unsigned char byte) {
    return !IsPlain(byte) && byte != 10 && byte != 13 && byte != 0xA2 && byte != 0xB5 &&
           byte != 0xD3;
}

// The end of the run of other bytes starting at p; runs of zero bytes (sparse
// or padded files) go eight at a time.
const unsigned char* ScanOther(const unsigned char* p, const unsigned char* end) {
    for (;;) {
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if (word != 0) break;
            p += 8;
        }
        if (p == end || !IsOther(*p)) return p;
        ++p;
    }
}

} // namespace

LogLineReader::LogLineReader() : buffer_(new unsigned char[ReadSize]) {
    line_.reserve(256);
}

LogLineReader::~LogLineReader() {
    CloseLog();
}

bool LogLineReader::OpenLog(const std::string& path) {
    CloseLog();
    blockLength_ = blockIndex_ = 0;
    bufferStart_ = fileBytes_ = 0;
    previous_ = beforePrevious_ = 0;
    frameKind_ = 0;
    frameCount_ = frameLength_ = 0;
    readFailed_ = false;
    fileSize_ = 0;
    endOfLog_ = true;

    // Opened non-blocking, so that a named pipe is refused below instead of waiting for a
    // writer; a regular file is then read blocking as usual.
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    fd_ = fd;
    fileSize_ = static_cast<std::int64_t>(info.st_size);

    unsigned char mark[2] = {0, 0};
    ssize_t got;
    do {
        got = ::pread(fd, mark, sizeof mark, 0);
    } while (got < 0 && errno == EINTR);
    const LogEncoding encoding =
        EncodingFromMark(mark, got > 0 ? static_cast<std::size_t>(got) : 0);
    utf16Kept_ = utf16Source_ = 0;
    if (encoding == LogEncoding::Bytes) {
        utf16_.reset();
    } else {
        utf16BigEndian_ = encoding == LogEncoding::Utf16Be;
        if (!utf16_) utf16_.reset(new unsigned char[Utf16ReadSize]);
    }
    RewindLog();
    return !endOfLog_;
}

void LogLineReader::RewindLog() {
    // A UTF-16 file's text starts after its byte-order mark.
    const std::int64_t textStart = utf16_ ? 2 : 0;
    blockLength_ = blockIndex_ = 0;
    bufferStart_ = fileBytes_ = textStart;
    utf16Kept_ = utf16Source_ = 0;
    frameKind_ = 0;
    frameCount_ = frameLength_ = 0;
    if (fd_ < 0 || ::lseek(fd_, textStart, SEEK_SET) != textStart) {
        if (fd_ >= 0) readFailed_ = true;
        endOfLog_ = true;
        return;
    }
    endOfLog_ = false;
}

void LogLineReader::CloseLog() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::int64_t LogLineReader::LogBytesConsumed() const {
    if (!utf16_) return bufferStart_ + static_cast<std::int64_t>(blockIndex_);
    if (blockLength_ == 0) return bufferStart_;
    return bufferStart_ + static_cast<std::int64_t>(utf16Source_ * blockIndex_ / blockLength_);
}

std::int64_t LogLineReader::LogBytesRead() const {
    const std::int64_t consumed = LogBytesConsumed();
    const std::int64_t blocks = (consumed + BlockSize - 1) / BlockSize;
    const std::int64_t counted = blocks * static_cast<std::int64_t>(BlockSize);
    return counted < fileBytes_ ? counted : fileBytes_;
}

bool LogLineReader::Refill() {
    if (utf16_) return RefillUtf16();
    bufferStart_ += static_cast<std::int64_t>(blockLength_);
    blockIndex_ = blockLength_ = 0;
    if (fd_ < 0) return false;
    while (blockLength_ < ReadSize) {
        const ssize_t got = ::read(fd_, buffer_.get() + blockLength_, ReadSize - blockLength_);
        if (got < 0) {
            if (errno == EINTR) continue;
            readFailed_ = true;
            break;
        }
        if (got == 0) break;
        blockLength_ += static_cast<std::size_t>(got);
    }
    fileBytes_ += static_cast<std::int64_t>(blockLength_);
    return blockLength_ > 0;
}

bool LogLineReader::RefillUtf16() {
    bufferStart_ += static_cast<std::int64_t>(utf16Source_);
    blockIndex_ = blockLength_ = 0;
    utf16Source_ = 0;
    if (fd_ < 0) return false;
    std::size_t have = utf16Kept_;
    bool last = false;
    while (have < Utf16ReadSize) {
        const ssize_t got = ::read(fd_, utf16_.get() + have, Utf16ReadSize - have);
        if (got < 0) {
            if (errno == EINTR) continue;
            readFailed_ = true;
        }
        if (got <= 0) {
            last = true;
            break;
        }
        have += static_cast<std::size_t>(got);
        fileBytes_ += got;
    }
    const std::size_t used =
        Utf16ToUtf8(utf16_.get(), have, utf16BigEndian_, last, buffer_.get(), blockLength_);
    // A unit cut at the end of this piece is completed by the next one.
    utf16Kept_ = have - used;
    std::memmove(utf16_.get(), utf16_.get() + used, utf16Kept_);
    utf16Source_ = used;
    return blockLength_ > 0;
}

void LogLineReader::AppendText(const char* text, std::size_t length) {
    const std::size_t room = MaxLogLineLength - line_.size();
    line_.append(text, length < room ? length : room);
}

void LogLineReader::AppendSpace() {
    if (line_.size() < MaxLogLineLength && (line_.empty() || line_.back() != ' ')) {
        line_.push_back(' ');
    }
}

void LogLineReader::AppendLatin1(unsigned char byte) {
    const char utf8[2] = {static_cast<char>(0xC2), static_cast<char>(byte)};
    if (line_.size() + 2 <= MaxLogLineLength) line_.append(utf8, 2);
}

bool LogLineReader::FrameByte(unsigned char byte) {
    ++frameCount_;
    bool ended = false;
    switch (frameKind_) {
    case 1: // SiRF: ends on B0h B3h
        ended = previous_ == 0xB0 && byte == 0xB3;
        break;
    case 2: // UBX: class, id, 16-bit payload length, payload, 2 checksum bytes
        if (frameCount_ == 6) frameLength_ = previous_ + 256 * byte + 8;
        break;
    case 3: // MediaTek: 16-bit length after the sync bytes
        if (frameCount_ == 4) {
            if (byte >= 10) { // not a plausible length: this was text after all
                frameKind_ = 0;
                frameCount_ = 0;
                return false;
            }
            frameLength_ = previous_ + 256 * byte;
        }
        break;
    case 4: // RTCM 3: 6 zero bits, 10-bit length, 3 header and 3 CRC bytes
        if (frameCount_ == 3) frameLength_ = 256 * (previous_ & 0x7F) + byte + 6;
        break;
    case 5: // Unicore: length at bytes 7 and 8, 28 header and CRC bytes
        if (frameCount_ == 8) frameLength_ = previous_ + 256 * byte + 28;
        break;
    }
    if (!ended) {
        ended = (frameLength_ > 0 && frameCount_ >= frameLength_) || frameCount_ >= MaxFrameLength;
    }
    if (ended) {
        frameKind_ = 0;
        frameCount_ = frameLength_ = 0;
        line_.clear();
    }
    return ended;
}

std::string_view LogLineReader::ReadLogLine() {
    line_.clear();
    for (;;) {
        if (blockIndex_ >= blockLength_ && !Refill()) {
            endOfLog_ = true;
            return line_;
        }
        const unsigned char* const data = buffer_.get();

        if (frameKind_ == 4 && frameCount_ == 1 && (data[blockIndex_] & 0xFC) != 0) {
            // Every RTCM 3 frame has six zero bits after its D3h; without them the D3h
            // was a stray byte of some other data. It stands for a space, and the byte
            // after it is read again as text.
            frameKind_ = 0;
            frameCount_ = 0;
            AppendSpace();
            continue;
        }
        if (frameKind_ != 0) {
            // Skip the body of a frame of known length in one step, up to the
            // byte before the one that ends it.
            if (frameLength_ > 0) {
                const std::int64_t last =
                    frameLength_ < MaxFrameLength ? frameLength_ : MaxFrameLength;
                const std::int64_t body = last - frameCount_ - 1;
                const std::int64_t available =
                    static_cast<std::int64_t>(blockLength_ - blockIndex_);
                const std::int64_t skip = body < available ? body : available;
                if (skip > 0) {
                    const std::size_t next = blockIndex_ + static_cast<std::size_t>(skip);
                    beforePrevious_ = skip >= 2 ? data[next - 2] : previous_;
                    previous_ = data[next - 1];
                    frameCount_ += skip;
                    blockIndex_ = next;
                    continue;
                }
            }
            const unsigned char byte = data[blockIndex_++];
            const bool ended = FrameByte(byte);
            beforePrevious_ = previous_;
            previous_ = ended ? 0 : byte;
            continue;
        }

        const unsigned char byte = data[blockIndex_];
        if (IsPlain(byte) && !(byte == '$' && previous_ == 0x04) &&
            !(byte == 'b' && previous_ == 0xB5)) {
            // A run of plain text: after its first byte no sync sequence can
            // complete inside it.
            const unsigned char* start = data + blockIndex_;
            const unsigned char* end = ScanPlain(start + 1, data + blockLength_);
            if (line_.empty() && end < data + blockLength_ && (*end == 13 || *end == 10)) {
                // A whole line in the buffer: hand it out where it lies.
                const std::size_t length = static_cast<std::size_t>(end - start);
                beforePrevious_ = end[-1];
                previous_ = *end;
                blockIndex_ = static_cast<std::size_t>(end - data) + 1;
                return {reinterpret_cast<const char*>(start),
                        length < MaxLogLineLength ? length : MaxLogLineLength};
            }
            AppendText(reinterpret_cast<const char*>(start), static_cast<std::size_t>(end - start));
            beforePrevious_ = end - start >= 2 ? end[-2] : previous_;
            previous_ = end[-1];
            blockIndex_ = static_cast<std::size_t>(end - data);
            continue;
        }

        if (IsOther(byte)) {
            // A run of other bytes becomes one space.
            AppendSpace();
            const unsigned char* start = data + blockIndex_;
            const unsigned char* end = ScanOther(start + 1, data + blockLength_);
            beforePrevious_ = end - start >= 2 ? end[-2] : previous_;
            previous_ = end[-1];
            blockIndex_ = static_cast<std::size_t>(end - data);
            continue;
        }

        ++blockIndex_;
        bool lineEnded = false;
        switch (byte) {
        case 13:
            lineEnded = previous_ != 10 && !line_.empty();
            break;
        case 10:
            lineEnded = previous_ != 13 && !line_.empty();
            break;
        case '$': // only after 04h here
            frameKind_ = 3;
            frameCount_ = 2;
            break;
        case 'b': // only after B5h here
            frameKind_ = 2;
            frameCount_ = 2;
            break;
        case 0xA2:
            if (previous_ == 0xA0) {
                frameKind_ = 1;
                frameCount_ = 2;
            } else {
                AppendLatin1(byte);
            }
            break;
        case 0xB5:
            if (beforePrevious_ == 0xAA && previous_ == 0x44) {
                frameKind_ = 5;
                frameCount_ = 3;
            } else {
                AppendLatin1(byte);
            }
            break;
        case 0xD3:
            frameKind_ = 4;
            frameCount_ = 1;
            break;
        default:
            AppendSpace();
            break;
        }
        frameLength_ = 0;
        beforePrevious_ = previous_;
        previous_ = byte;
        if (lineEnded) return line_;
    }
}

} // namespace fixtally
