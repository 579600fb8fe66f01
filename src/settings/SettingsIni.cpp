#include "settings/SettingsIni.h"

#include "settings/IniFile.h"
#include "settings/LoggerProfiles.h"
#include "settings/SettingKeys.h"
#include "settings/Version.h"

#include <algorithm>

namespace fixtally {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

void ReadKey(const SettingKey& key, Settings& s, Settings& d, const IniFile& ini,
             std::string_view executableFolder) {
    switch (key.Kind) {
    case SettingKind::Text: {
        std::string& field = key.Text(s);
        switch (key.Missing) {
        case WhenMissing::KeepValue:
            field = ini.ReadString(key.Section, key.Key, field);
            break;
        case WhenMissing::Default:
            field = ini.ReadString(key.Section, key.Key, key.Text(d));
            break;
        case WhenMissing::DefaultWhenEmpty:
            field = ini.ReadString(key.Section, key.Key, key.Text(d));
            if (field.empty()) field = key.Text(d);
            break;
        case WhenMissing::ExecutableFolder:
            field = ini.ReadString(key.Section, key.Key, executableFolder);
            break;
        case WhenMissing::RunningVersion:
            field = ini.ReadString(key.Section, key.Key, VersionText());
            break;
        }
        return;
    }
    case SettingKind::Int: {
        int& field = key.Int(s);
        field = ini.ReadInt(key.Section, key.Key,
                            key.Missing == WhenMissing::KeepValue ? field : key.Int(d));
        return;
    }
    case SettingKind::Flag:
        key.Flag(s) = ini.ReadBool(key.Section, key.Key, key.Flag(s));
        return;
    }
}

} // namespace

bool ReadSettingsFromIni(Settings& s, IniFile& ini, std::string_view executableFolder) {
    Settings defaults;
    for (const SettingKey& key : SettingKeyTable())
        ReadKey(key, s, defaults, ini, executableFolder);

    s.TrueLat = AlignCoordinateText(s.TrueLat, s.TrueLon);
    s.TrueLon = AlignCoordinateText(s.TrueLon, s.TrueLat);
    s.CSV_Info = ini.ReadSection("CSV_Info");
    s.CSV_Option = ini.ReadSection("CSV_Option");
    AddDefaultProfiles(s);
    return MigrateSettings(s, ini, s.Version, VersionText());
}

void WriteSettingsToIni(const Settings& settings, IniFile& ini) {
    Settings s = settings; // the table's accessors give references to a Settings of our own
    for (const SettingKey& key : SettingKeyTable()) {
        switch (key.Kind) {
        case SettingKind::Text:
            ini.WriteString(key.Section, key.Key,
                            key.Missing == WhenMissing::RunningVersion ? VersionText()
                                                                       : key.Text(s));
            break;
        case SettingKind::Int:
            ini.WriteInt(key.Section, key.Key, key.Int(s));
            break;
        case SettingKind::Flag:
            ini.WriteBool(key.Section, key.Key, key.Flag(s));
            break;
        }
    }
    for (const auto& [name, value] : s.CSV_Info) ini.WriteString("CSV_Info", name, value);
    for (const auto& [name, value] : s.CSV_Option) ini.WriteString("CSV_Option", name, value);
}

std::string AlignCoordinateText(std::string_view text, std::string_view other) {
    if (text.empty() || other.empty()) return std::string(text);
    auto leading = [](std::string_view s) {
        constexpr std::string_view allowed = "+-SNEWsnew0123456789";
        std::size_t limit = std::min<std::size_t>(4, s.size() - 1), n = 0;
        while (n < limit && allowed.find(s[n]) != std::string_view::npos) ++n;
        return n;
    };
    std::size_t a = leading(text), b = leading(other);
    return a < b ? std::string(b - a, ' ') + std::string(text) : std::string(text);
}

bool MigrateSettings(Settings& s, IniFile& ini, std::string_view stored, std::string_view running) {
    if (!(stored < running)) return false;
    bool deleted = false;
    Settings::CsvItemSection& items = s.CSVitem;
    if (stored < "Ver2.17") items = DefaultCsvItems();
    if (stored < "Ver2.10") {
        items.Date += ",yyyy/mm/dd";
        items.Time += ",HH:MM:SS";
        items.Latitude += ",Lat.(deg.)";
        items.Longitude += ",Lon.(deg.)";
    }
    if (stored < "Ver2.08") {
        if (Lower(items.Nsat).find("satellites") == std::string::npos) items.Nsat += ",satellites";
        if (Lower(items.Geoid).find("geoidheight") == std::string::npos)
            items.Geoid += ",geoidheight";
    }
    if (stored < "Ver1.12") deleted |= ini.DeleteKey("Option", "DopLimit");
    // Files before Ver1.20 need the same as those before Ver1.21.
    if (stored < "Ver1.21") {
        s.RangeIndex = 7;
        deleted |= ini.DeleteKey("Option", "ThickDot");
        // An empty old value would leave no NMEA extension at all.
        const std::string fallback = Settings{}.NMEAext;
        s.NMEAext = ini.ReadString("Option", "Ext", fallback);
        if (s.NMEAext.empty()) s.NMEAext = fallback;
        deleted |= ini.DeleteKey("Option", "Ext");
    }
    return deleted;
}

} // namespace fixtally
