#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace fixtally {

// The file names of the exports, beside the log.
// Track: "track.nmea" -> "track.csv"; a log whose extension is ".csv" in any case keeps
// its name and gets "_s": "track.csv" -> "track_s.csv".
std::string TrackCsvPath(std::string_view logFileName);
// Averaged: the extension replaced by "-" + span + "h" + step + "h" [+ limit + "m"] + ".csv".
std::string AveragedCsvPath(std::string_view logFileName, std::string_view span,
                            std::string_view step, const std::string* limit);

// One export file, created (or truncated) by one command and closed on every way out.
class ExportFile {
public:
    ExportFile() = default;
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;
    ~ExportFile() { Close(); }

    bool Create(const std::string& path);
    // False once any write has failed.
    bool Write(std::string_view bytes);
    // Closes the file; false when a write or the close failed.
    bool Close();

private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

} // namespace fixtally
