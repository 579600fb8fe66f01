#pragma once

#include <string>
#include <string_view>

namespace fixtally {

struct Settings;
class IniFile;

// Reads every setting from ini in the order of the key table: a missing key keeps the
// value in force or falls back as its table entry says (DataPath to executableFolder).
// The true coordinates are aligned, the built-in logger profiles added, and the version
// migration applied. True when the migration deleted obsolete keys from ini.
bool ReadSettingsFromIni(Settings& settings, IniFile& ini, std::string_view executableFolder);

// Writes every setting into ini in the fixed order of sections and keys, the running
// version as "Version"; keys of the file that are not settings are kept.
void WriteSettingsToIni(const Settings& settings, IniFile& ini);

// Applies the version migration for a file written by version `stored` read
// by version `running` (texts like "Ver2.24", compared as strings). Obsolete
// keys are deleted from ini; true when any was deleted.
bool MigrateSettings(Settings& settings, IniFile& ini, std::string_view stored,
                     std::string_view running);

// Prefixes text with blanks so that its leading run of signs, hemisphere
// letters and digits (counted in at most the first four characters, never the
// last) is as long as that of other; the degree parts of a latitude and a
// longitude then line up in equal centred fields.
std::string AlignCoordinateText(std::string_view text, std::string_view other);

} // namespace fixtally
