#pragma once

#include "settings/Settings.h"

namespace fixtally {

// The built-in alias lists of the CSVitem section (what a Settings starts with).
Settings::CsvItemSection DefaultCsvItems();

// Appends each built-in logger profile to CSV_Info and CSV_Option, in the built-in
// order, when the list has no non-empty value of that name yet. Entries already
// there keep their values and places in front. Called after the settings are read.
void AddDefaultProfiles(Settings& settings);

} // namespace fixtally
