// Any bytes: the line reader ends, hands out only text characters, and keeps its
// counters within the file.

#include "FuzzFile.h"

#include "input/LogLineReader.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzFile file;
    const std::string& path = file.Write(data, size);
    fixtally::LogLineReader reader;
    if (!reader.OpenLog(path)) __builtin_trap();
    for (int pass = 0; pass < 2; ++pass) {
        std::int64_t lastRead = 0;
        std::size_t lines = 0;
        while (!reader.EndOfLog()) {
            const std::string_view line = reader.ReadLogLine();
            if (line.empty() && !reader.EndOfLog()) __builtin_trap();
            if (line.size() > fixtally::LogLineReader::MaxLogLineLength) __builtin_trap();
            for (std::size_t i = 0; i < line.size(); ++i) {
                const auto c = static_cast<unsigned char>(line[i]);
                if (c == 0xC2) {
                    if (i + 1 >= line.size()) __builtin_trap();
                    const auto next = static_cast<unsigned char>(line[++i]);
                    if (next != 0xA2 && next != 0xB5) __builtin_trap();
                } else if (c < 32 || c > 126) {
                    __builtin_trap();
                }
            }
            const std::int64_t read = reader.LogBytesRead();
            if (read < lastRead || read > reader.LogFileSize()) __builtin_trap();
            lastRead = read;
            if (++lines > size + 1) __builtin_trap();
        }
        if (reader.LogBytesRead() != static_cast<std::int64_t>(size)) __builtin_trap();
        reader.RewindLog();
    }
    return 0;
}
