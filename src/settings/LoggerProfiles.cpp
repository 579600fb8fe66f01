#include "settings/LoggerProfiles.h"

#include "convert/Conversions.h"

#include <array>
#include <string_view>

namespace fixtally {

namespace {

struct BuiltInProfile {
    std::string_view Name;
    std::string_view Info;   // identifying header words; empty: no CSV_Info entry
    std::string_view Option; // parameter list; empty: no CSV_Option entry
};

// The built-in logger profiles in the order they are added behind the user's own.
constexpr std::array<BuiltInProfile, 9> BuiltInProfiles{{
    {"Default", "", "0,0,0"},
    {"Wintec", "Order,Date Created,Bearing,Elevation,Distance from Start,Distance from Last",
     "1,1,0"},
    {"V-900, VGPS-900", "TAG,LATITUDE N/S,LONGITUDE E/W,VOX", "0,1,1"},
    {"M-241", "M-241", "0,1,0"},
    {"M-241 Ver1.12", "M-241 Ver1.12", "0,1,0"},
    {"M-241 Ver1.13", "M-241 Ver1.13", "0,1,0"},
    {"GT-730FL-S", "Date / Time,Altitude,Ground Speed", "0,1,0,2,0,1"},
    {"i-gotU", "Course,Type,Distance,Essential", "0,1,0,0,0,1,0.001"},
    {"RTKLIB", "height(m),Q,ns,sdn(m),sde(m),sdu(m),sdne(m),sdeu(m),sdun(m),age(s),ratio", ""},
}};

void AddMissing(std::vector<std::pair<std::string, std::string>>& list, std::string_view name,
                std::string_view value) {
    if (value.empty()) return;
    // Any entry of the name with a value counts, so that an emptied entry in front does
    // not make every settings reading append the built-in one again.
    for (const auto& [entryName, entryValue] : list) {
        if (!entryValue.empty() && EqualsIgnoringCase(entryName, name)) return;
    }
    list.emplace_back(std::string(name), std::string(value));
}

} // namespace

Settings::CsvItemSection DefaultCsvItems() {
    return Settings::CsvItemSection{};
}

void AddDefaultProfiles(Settings& settings) {
    for (const BuiltInProfile& profile : BuiltInProfiles) {
        AddMissing(settings.CSV_Info, profile.Name, profile.Info);
    }
    for (const BuiltInProfile& profile : BuiltInProfiles) {
        AddMissing(settings.CSV_Option, profile.Name, profile.Option);
    }
}

} // namespace fixtally
