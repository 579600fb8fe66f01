#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace fixtally {

// Reads a log file as text lines for every log reader. Binary receiver frames
// interleaved with the text (SiRF, u-blox UBX, MediaTek, RTCM 3, Unicore) are
// recognised by their sync bytes and skipped whole; a line that a frame
// interrupts loses its text before the frame. A D3h starts an RTCM 3 frame only
// when the six high bits of the next byte are zero; otherwise it is a stray byte
// (a space) and the next byte is text.
//
// A line holds only the characters 32..126, "¢" (U+00A2) and "µ" (U+00B5)
// (UTF-8 encoded) and single spaces for runs of other bytes; it never holds a
// CR or LF, and blank lines are never returned. Lines longer than
// MaxLogLineLength keep their first MaxLogLineLength bytes.
//
// A file that starts with a UTF-16 byte-order mark (FF FE or FE FF) is read as
// its text: its lines are those of the same text saved as UTF-8.
//
// The file is read in large blocks; LogBytesRead counts in blocks of 4096
// bytes as the reader consumes them, so progress advances in 4 KiB steps.
class LogLineReader {
public:
    static constexpr std::size_t BlockSize = 4096;
    static constexpr std::size_t MaxLogLineLength = 1 << 20;

    LogLineReader();
    ~LogLineReader();
    LogLineReader(const LogLineReader&) = delete;
    LogLineReader& operator=(const LogLineReader&) = delete;

    // Opens a regular file for reading. False (and EndOfLog set) when it
    // cannot be opened or is not a regular file (a directory, a device).
    bool OpenLog(const std::string& path);
    // Starts the file over for another pass; keeps the byte history.
    void RewindLog();
    // The next text line. The view stays valid until the next call on this
    // reader. At the end of the file EndOfLog is set and the text collected
    // since the last line end is returned (possibly empty).
    std::string_view ReadLogLine();
    void CloseLog();

    bool EndOfLog() const { return endOfLog_; }
    // True once a read from the file failed; EndOfLog is set as well.
    bool ReadFailed() const { return readFailed_; }
    std::int64_t LogFileSize() const { return fileSize_; }
    // Bytes of the file read so far in this pass, in whole 4096-byte blocks
    // (the last block of the file counts its real length).
    std::int64_t LogBytesRead() const;
    // Bytes of the file consumed so far in this pass (exactly, unless the file is
    // UTF-16: then in proportion within the block being read).
    std::int64_t LogBytesConsumed() const;

private:
    bool Refill();
    bool RefillUtf16();
    void AppendText(const char* text, std::size_t length);
    void AppendSpace();
    void AppendLatin1(unsigned char byte);
    // Consumes one byte inside a binary frame; true when the frame ends.
    bool FrameByte(unsigned char byte);

    int fd_ = -1;
    std::unique_ptr<unsigned char[]> buffer_;
    std::size_t blockLength_ = 0;  // valid bytes in buffer_
    std::size_t blockIndex_ = 0;   // next byte to consume in buffer_
    std::int64_t bufferStart_ = 0; // file offset of buffer_[0] (of its UTF-16 source)
    std::int64_t fileBytes_ = 0;   // bytes read from the file in this pass
    std::int64_t fileSize_ = 0;
    bool endOfLog_ = true;
    bool readFailed_ = false;

    unsigned char previous_ = 0;       // last byte consumed (0 after a frame end)
    unsigned char beforePrevious_ = 0; // the byte before that
    int frameKind_ = 0;                // 0 text, 1..5 inside a binary frame
    std::int64_t frameCount_ = 0;
    std::int64_t frameLength_ = 0;

    std::string line_;

    // A UTF-16 file: its bytes after the mark are read into utf16_ and buffer_ holds
    // their UTF-8 form.
    bool utf16BigEndian_ = false;
    std::unique_ptr<unsigned char[]> utf16_; // null for a file read as bytes
    std::size_t utf16Kept_ = 0;              // bytes at the start of utf16_ still to convert
    std::size_t utf16Source_ = 0;            // bytes of the file that buffer_ came from
};

} // namespace fixtally
