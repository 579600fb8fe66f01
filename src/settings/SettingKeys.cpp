#include "settings/SettingKeys.h"

#include "convert/Conversions.h"
#include "settings/IniFile.h"

#include <array>

namespace fixtally {

namespace {

#define FIXTALLY_TEXT(section, key, field, ...)                                                    \
    SettingKey {                                                                                   \
        section, key, SettingKind::Text, [](Settings& s) -> std::string& { return s.field; },      \
            nullptr, nullptr, __VA_ARGS__                                                          \
    }
#define FIXTALLY_INT(section, key, field, ...)                                                     \
    SettingKey {                                                                                   \
        section, key, SettingKind::Int, nullptr, [](Settings& s) -> int& { return s.field; },      \
            nullptr, __VA_ARGS__                                                                   \
    }
#define FIXTALLY_FLAG(section, key, field)                                                         \
    SettingKey {                                                                                   \
        section, key, SettingKind::Flag, nullptr, nullptr,                                         \
            [](Settings& s) -> bool& { return s.field; }                                           \
    }

constexpr std::string_view O = "Option";
constexpr std::string_view F = "Font";
constexpr std::string_view R = "Reduce";
constexpr std::string_view D = "CSVdecimals";
constexpr std::string_view I = "CSVitem";
constexpr WhenMissing Keep = WhenMissing::KeepValue;
constexpr WhenMissing Default = WhenMissing::Default;

const std::array Table{
    FIXTALLY_TEXT(O, "Version", Version, WhenMissing::RunningVersion),
    FIXTALLY_TEXT(O, "DataPath", DataPath, WhenMissing::ExecutableFolder),
    FIXTALLY_TEXT(O, "NMEAext", NMEAext, WhenMissing::DefaultWhenEmpty),
    FIXTALLY_TEXT(O, "CSVext", CSVext, WhenMissing::DefaultWhenEmpty),
    FIXTALLY_TEXT(O, "RTKLIBext", RTKLIBext, WhenMissing::DefaultWhenEmpty),
    FIXTALLY_INT(O, "OpenFiltIdx", OpenFiltIdx, Keep),
    FIXTALLY_INT(O, "RangeIndex", RangeIndex, Default),
    FIXTALLY_TEXT(O, "GPixels", GPixels, Keep),
    FIXTALLY_FLAG(O, "Monotone", Monotone),
    FIXTALLY_TEXT(O, "HDOPlim", HDOPlim, Keep),
    FIXTALLY_TEXT(O, "VDOPlim", VDOPlim, Keep),
    FIXTALLY_TEXT(O, "PDOPlim", PDOPlim, Keep),
    FIXTALLY_FLAG(O, "UseAverage", UseAverage),
    FIXTALLY_TEXT(O, "TrueLat", TrueLat, Keep),
    FIXTALLY_TEXT(O, "TrueLon", TrueLon, Keep),
    FIXTALLY_TEXT(O, "TrueAlt", TrueAlt, Keep),
    FIXTALLY_FLAG(O, "AutoRange", AutoRange),
    FIXTALLY_FLAG(O, "CSV_SepTime", CSV_SepTime),
    FIXTALLY_TEXT(O, "MiniColor", MiniColor, Keep),
    FIXTALLY_TEXT(O, "MaxColor", MaxColor, Keep),
    FIXTALLY_TEXT(O, "PosDecimal", PosDecimal, Keep),
    FIXTALLY_TEXT(O, "AltDecimal", AltDecimal, Keep),
    FIXTALLY_TEXT(O, "ErrorDecimal", ErrorDecimal, Keep),
    FIXTALLY_TEXT(O, "DopDecimal", DopDecimal, Keep),
    FIXTALLY_FLAG(O, "DDMMSS", DDMMSS),
    FIXTALLY_INT(O, "LeapSecond", LeapSecond, Default),
    FIXTALLY_TEXT(O, "NMEA_QS", NMEA_QS, Keep),
    FIXTALLY_TEXT(O, "NMEA_QU", NMEA_QU, Keep),
    FIXTALLY_TEXT(O, "RTK_QS", RTK_QS, Keep),
    FIXTALLY_TEXT(O, "RTK_QU", RTK_QU, Keep),
    FIXTALLY_TEXT(O, "CSVspan", CSVspan, Keep),
    FIXTALLY_TEXT(O, "CSVstep", CSVstep, Keep),
    FIXTALLY_TEXT(O, "CSVherr", CSVherr, Keep),
    FIXTALLY_FLAG(O, "2drms", TwoDrms),
    FIXTALLY_INT(O, "MainTop", MainTop, Default),
    FIXTALLY_INT(O, "MainLeft", MainLeft, Default),
    FIXTALLY_TEXT(O, "DateFormat", DateFormat, Keep),

    FIXTALLY_INT(F, "EngCharset", Font.EngCharset, Keep),
    FIXTALLY_TEXT(F, "EngFontName", Font.EngFontName, Keep),
    FIXTALLY_INT(F, "EngFontSize", Font.EngFontSize, Keep),
    FIXTALLY_INT(F, "JpCharset", Font.JpCharset, Keep),
    FIXTALLY_TEXT(F, "JpFontName", Font.JpFontName, Keep),
    FIXTALLY_INT(F, "JpFontSize", Font.JpFontSize, Keep),

    FIXTALLY_TEXT(R, "ElapsesTimes", Reduce.ElapsesTimes, Keep),
    FIXTALLY_TEXT(R, "MovingDist", Reduce.MovingDist, Keep),

    FIXTALLY_TEXT(D, "LatLon", CSVdecimals.LatLon, Keep),
    FIXTALLY_TEXT(D, "Alt", CSVdecimals.Alt, Keep),
    FIXTALLY_TEXT(D, "Speed", CSVdecimals.Speed, Keep),
    FIXTALLY_TEXT(D, "DOP", CSVdecimals.DOP, Keep),
    FIXTALLY_TEXT(D, "Error", CSVdecimals.Error, Keep),

    FIXTALLY_TEXT(I, "RCR", CSVitem.RCR, Default),
    FIXTALLY_TEXT(I, "Date", CSVitem.Date, Default),
    FIXTALLY_TEXT(I, "Time", CSVitem.Time, Default),
    FIXTALLY_TEXT(I, "Valid", CSVitem.Valid, Default),
    FIXTALLY_TEXT(I, "Latitude", CSVitem.Latitude, Default),
    FIXTALLY_TEXT(I, "NS", CSVitem.NS, Default),
    FIXTALLY_TEXT(I, "Longitude", CSVitem.Longitude, Default),
    FIXTALLY_TEXT(I, "EW", CSVitem.EW, Default),
    FIXTALLY_TEXT(I, "Height", CSVitem.Height, Default),
    FIXTALLY_TEXT(I, "Speed", CSVitem.Speed, Default),
    FIXTALLY_TEXT(I, "HDOP", CSVitem.HDOP, Default),
    FIXTALLY_TEXT(I, "VDOP", CSVitem.VDOP, Default),
    FIXTALLY_TEXT(I, "PDOP", CSVitem.PDOP, Default),
    FIXTALLY_TEXT(I, "Nsat", CSVitem.Nsat, Default),
    FIXTALLY_TEXT(I, "Geoid", CSVitem.Geoid, Default),
};

#undef FIXTALLY_TEXT
#undef FIXTALLY_INT
#undef FIXTALLY_FLAG

// The sections whose keys --set and the options dialog reach.
bool Settable(std::string_view section) {
    return section == O || section == R || section == D;
}

} // namespace

std::span<const SettingKey> SettingKeyTable() {
    return Table;
}

SettingRef SettingOf(const SettingKey& key, Settings& settings) {
    switch (key.Kind) {
    case SettingKind::Text:
        return {&key.Text(settings), nullptr, nullptr};
    case SettingKind::Int:
        return {nullptr, &key.Int(settings), nullptr};
    case SettingKind::Flag:
        break;
    }
    return {nullptr, nullptr, &key.Flag(settings)};
}

SettingRef LookupSetting(Settings& settings, std::string_view key) {
    for (const SettingKey& entry : Table)
        if (Settable(entry.Section) && EqualsIgnoringCase(entry.Key, key))
            return SettingOf(entry, settings);
    return {};
}

bool AssignSetting(SettingRef ref, std::string_view value) {
    if (ref.Text) {
        ref.Text->assign(value);
        return true;
    }
    int number = 0;
    if (!ParseIniInteger(value, number)) return false;
    if (ref.Int) *ref.Int = number;
    if (ref.Flag) *ref.Flag = number != 0;
    return ref.Int || ref.Flag;
}

} // namespace fixtally
