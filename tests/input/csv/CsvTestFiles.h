#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

// Writes a log file for a test into the build tree and returns its path.
inline std::string WriteTestLog(std::string_view name, std::string_view bytes) {
    const std::filesystem::path folder =
        std::filesystem::path(FIXTALLY_BINARY_DIR) / "test_logs" / "csv";
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / std::string(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

inline std::string CsvTestData(std::string_view relative) {
    return std::string(FIXTALLY_TEST_DATA) + "/" + std::string(relative);
}
