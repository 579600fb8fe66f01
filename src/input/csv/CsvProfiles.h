#pragma once

#include "input/csv/CsvLayout.h"
#include "settings/LoggerProfiles.h"
#include "settings/Settings.h"

#include <array>
#include <string>
#include <string_view>

namespace fixtally {

// The alias list of one role.
const std::string& AliasList(const Settings::CsvItemSection& items, CsvRole role);

// The value of the first entry of that name (compared without regard to case);
// empty when there is none.
std::string_view ProfileValue(const std::vector<std::pair<std::string, std::string>>& list,
                              std::string_view name);

// Splits a CSV_Option value into at most seven trimmed items (a leading double quote
// protects text up to the next one) and returns their count.
int SplitParamList(std::string_view text, std::array<std::string, 7>& items);

// Percentage of the identifying words of a profile that occur among the header
// fields (integer division). A list without words scores 0.
int ScoreProfile(const std::array<std::string, MaxCsvFields>& fields, int count,
                 std::string_view words);

// The name of the first CSV_Info entry that scores 80 or more against the header
// fields, or "Default"; loads that profile's parameters.
std::string ChooseProfile(const Settings& settings,
                          const std::array<std::string, MaxCsvFields>& fields, int count,
                          ProfileParams& params);

// Decodes the CSV_Option value of a profile; all 0 when the profile has none.
ProfileParams LoadProfileParams(const Settings& settings, std::string_view name);

} // namespace fixtally
