#include "app/LogKind.h"

#include "Version.h"

namespace fixtally {

std::string_view FileNameOnly(std::string_view path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string LowerExtension(std::string_view path) {
    std::string_view name = FileNameOnly(path);
    std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return {};
    std::string ext(name.substr(dot));
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return ext;
}

LogKind LogFileKind(const Settings& settings, std::string_view path) {
    const std::string probe = LowerExtension(path) + ".";
    auto listed = [&](const std::string& list) {
        return (list + ".").find(probe) != std::string::npos;
    };
    if (listed(settings.NMEAext)) return NmeaLog;
    if (listed(settings.CSVext) || listed(settings.RTKLIBext)) return CsvLog;
    return NotDataFile;
}

namespace {
std::string FilterPatterns(std::string_view extensions) {
    std::string out;
    for (char c : extensions) {
        if (c == '.')
            out += ";*.";
        else
            out += c;
    }
    if (!out.empty()) out.erase(0, 1);
    return out;
}
} // namespace

std::string BuildOpenFilter(std::string_view nmea, std::string_view csv, std::string_view rtklib) {
    const std::string n = FilterPatterns(nmea), c = FilterPatterns(csv), r = FilterPatterns(rtklib);
    return "Data file|" + n + ";" + c + ";" + r + "|NMEA file|" + n + "|CSV file|" + c +
           "|RTKLIB file|" + r + "|All file|*.*";
}

std::string VersionText() {
    std::string minor = std::to_string(FIXTALLY_VERSION_MINOR);
    if (minor.size() < 2) minor.insert(0, "0");
    return "Ver" + std::to_string(FIXTALLY_VERSION_MAJOR) + "." + minor;
}

} // namespace fixtally
