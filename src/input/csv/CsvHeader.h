#pragma once

#include "input/csv/CsvLayout.h"
#include "settings/Settings.h"

#include <array>
#include <string>
#include <string_view>

namespace fixtally {

class LogLineReader;
struct LoadedLog;

// The alias lists of the fifteen roles in upper case, prepared once per file.
using UpperAliasLists = std::array<std::string, CsvRoleCount>;
UpperAliasLists PrepareAliasLists(const Settings::CsvItemSection& items);

// Examines one non-blank line as a header: sets the header form, the header fields,
// their count and the role positions (all positions start at 0) and the GPST and JST
// flags. True when the line has both a Latitude and a Longitude column.
bool AnalyseHeaderLine(std::string_view line, const UpperAliasLists& aliases, ColumnMap& map);

// Reads lines until a header with latitude and longitude columns is found, at most
// 35 non-blank lines. Chooses the profile from the last line examined, loads its
// parameters and sets IsRtklibLog; in an RTKLIB file the "ns" column is the
// satellite count. An RTKLIB solution in another form than latitude/longitude in
// degrees is recognised by its column title line and read through the plain form
// (map.Rtklib). The reader is left after the header line.
bool AnalyseCsvHeader(LogLineReader& reader, const Settings& settings, LoadedLog& log,
                      ColumnMap& map, ProfileParams& params);

// The status text for a file whose header AnalyseCsvHeader did not recognise: what an
// RTKLIB solution of a form that cannot be read lacks, otherwise "  Unknown CSV log
// file : ", followed by the file name.
std::string UnknownHeaderText(const ColumnMap& map, std::string_view name);

} // namespace fixtally
