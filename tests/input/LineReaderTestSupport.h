#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace fixtally::test {

// A file under the temporary folder that is removed when the object goes.
class TempFile {
public:
    explicit TempFile(std::string_view bytes, std::string_view suffix = ".log") {
        static int serial = 0;
        path_ = (std::filesystem::temp_directory_path() /
                 ("fixtally-h2-" + std::to_string(::getpid()) + "-" + std::to_string(++serial) +
                  std::string(suffix)))
                    .string();
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Filler for frame bodies: line ends, "$" and sentence text that must never
// reach a line.
inline std::string FrameFiller(std::size_t length) {
    static const std::string pattern = "\r\n$GPGGA,999999,junk*00\r\n\n\r";
    std::string out;
    while (out.size() < length) out += pattern;
    out.resize(length);
    return out;
}

// u-blox UBX: B5 62, class, id, payload length (LE), payload, 2 checksum bytes.
inline std::string UbxFrame(std::size_t payload) {
    std::string f = "\xB5\x62\x01\x07";
    f += static_cast<char>(payload & 0xFF);
    f += static_cast<char>(payload >> 8);
    f += FrameFiller(payload);
    f += "\x11\x22";
    return f;
}

// RTCM 3: D3, 6 reserved bits and a 10-bit length, payload, 3 CRC bytes.
inline std::string RtcmFrame(std::size_t payload) {
    std::string f = "\xD3";
    f += static_cast<char>((payload >> 8) & 0x03);
    f += static_cast<char>(payload & 0xFF);
    f += FrameFiller(payload);
    f += "\x0A\x0D\x24";
    return f;
}

// SiRF binary: A0 A2, length, payload, checksum, B0 B3.
inline std::string SirfFrame(std::size_t payload) {
    std::string f = "\xA0\xA2";
    f += static_cast<char>(payload >> 8);
    f += static_cast<char>(payload & 0xFF);
    f += FrameFiller(payload);
    f += "\x01\x02\xB0\xB3";
    return f;
}

// MediaTek binary: 04 24, total length (LE, high byte below 10), body.
inline std::string MtkFrame(std::size_t total) {
    std::string f = "\x04\x24";
    f += static_cast<char>(total & 0xFF);
    f += static_cast<char>(total >> 8);
    f += FrameFiller(total - 4);
    return f;
}

// Unicore binary: AA 44 B5, CPU idle, message id (2), length (2 at bytes 7-8),
// rest of the 24-byte header, payload, 4 CRC bytes.
inline std::string UnicoreFrame(std::size_t payload) {
    std::string f("\xAA\x44\xB5\x10\x2A\x00", 6);
    f += static_cast<char>(payload & 0xFF);
    f += static_cast<char>(payload >> 8);
    f += FrameFiller(16);
    f += FrameFiller(payload);
    f += "\x0A\x0D\x0A\x0D";
    return f;
}

} // namespace fixtally::test
