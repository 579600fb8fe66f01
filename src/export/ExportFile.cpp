#include "export/ExportFile.h"

#include "convert/Conversions.h"

#include <filesystem>
#include <system_error>

namespace fixtally {

namespace {

// The position of the extension's ".", or npos when the file name has none.
std::size_t ExtensionStart(std::string_view path) {
    std::size_t dot = path.find_last_of('.');
    std::size_t slash = path.find_last_of('/');
    if (dot == std::string_view::npos) return dot;
    if (slash != std::string_view::npos && dot < slash) return std::string_view::npos;
    return dot;
}

} // namespace

std::string TrackCsvPath(std::string_view logFileName) {
    std::size_t dot = ExtensionStart(logFileName);
    std::string_view base = logFileName.substr(0, dot);
    std::string path(base);
    if (dot != std::string_view::npos && EqualsIgnoringCase(logFileName.substr(dot), ".csv"))
        path += "_s";
    path += ".csv";
    return path;
}

std::string AveragedCsvPath(std::string_view logFileName, std::string_view span,
                            std::string_view step, const std::string* limit) {
    std::string path(logFileName.substr(0, ExtensionStart(logFileName)));
    path += '-';
    path += span;
    path += 'h';
    path += step;
    path += 'h';
    if (limit) {
        path += *limit;
        path += 'm';
    }
    path += ".csv";
    return path;
}

bool ExportFile::Create(const std::string& path) {
    Close();
    failed_ = false;
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
}

bool ExportFile::Write(std::string_view bytes) {
    if (!file_ || failed_) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        failed_ = true;
    return !failed_;
}

bool ExportFile::Close() {
    if (!file_) return !failed_;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

} // namespace fixtally
