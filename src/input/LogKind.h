#pragma once

#include "convert/PathText.h"
#include "settings/Settings.h"

#include <string>
#include <string_view>

namespace fixtally {

enum LogKind { NotDataFile = 0, NmeaLog = 1, CsvLog = 2 };

// Classifies a log by its extension against the NMEAext, CSVext and RTKLIBext
// settings. A path without extension matches any list and counts as NMEA.
LogKind LogFileKind(const Settings& settings, std::string_view path);

// The open dialog's filter text, "Data file|*.nmea;...|All file|*.*".
std::string BuildOpenFilter(std::string_view nmea, std::string_view csv, std::string_view rtklib);

} // namespace fixtally
