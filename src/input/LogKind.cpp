#include "input/LogKind.h"

#include "convert/PathText.h"

namespace fixtally {

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

} // namespace fixtally
