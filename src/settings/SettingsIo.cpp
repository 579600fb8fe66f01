#include "settings/SettingsIo.h"

#include "app/LogKind.h"
#include "app/Program.h"
#include "convert/Conversions.h"
#include "display/ResultsDisplay.h"
#include "graph/GraphSub.h"
#include "input/csv/CsvProfiles.h"
#include "settings/Conventions.h"
#include "settings/IniFile.h"
#include "settings/IniPath.h"
#include "stats/CountFixes.h"

#include <cstdlib>
#include <filesystem>
#include <new>
#include <system_error>

namespace fixtally {

namespace {

constexpr std::string_view DefaultNmeaExt = ".nmea.nme.nma.txt.log.ubx";
constexpr std::string_view DefaultCsvExt = ".csv";
constexpr std::string_view DefaultRtklibExt = ".pos";
constexpr int NoWindowPosition = 2147483647;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

// The interface language follows the user's message locale: Japanese or not.
bool UserLocaleIsEnglish() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && value[0])
            return !EqualsIgnoringCase(std::string_view(value).substr(0, 2), "ja");
    }
    return true;
}

// The font of the language in use, as the windows get it.
void SelectInterfaceFont(Program& p) {
    const Settings::FontSection& f = p.Settings.Font;
    MainWindowModel& m = p.Main;
    m.InterfaceFontName = m.UiEnglish ? f.EngFontName : f.JpFontName;
    m.InterfaceFontCharset = m.UiEnglish ? f.EngCharset : f.JpCharset;
    m.InterfaceFontSize = m.UiEnglish ? f.EngFontSize : f.JpFontSize;
}

// The fifteen CSVitem keys and their fields, in the order they are written.
struct CsvItemKey {
    const char* Key;
    std::string Settings::CsvItemSection::*Field;
};
constexpr CsvItemKey CsvItemKeys[] = {
    {"RCR", &Settings::CsvItemSection::RCR},
    {"Date", &Settings::CsvItemSection::Date},
    {"Time", &Settings::CsvItemSection::Time},
    {"Valid", &Settings::CsvItemSection::Valid},
    {"Latitude", &Settings::CsvItemSection::Latitude},
    {"NS", &Settings::CsvItemSection::NS},
    {"Longitude", &Settings::CsvItemSection::Longitude},
    {"EW", &Settings::CsvItemSection::EW},
    {"Height", &Settings::CsvItemSection::Height},
    {"Speed", &Settings::CsvItemSection::Speed},
    {"HDOP", &Settings::CsvItemSection::HDOP},
    {"VDOP", &Settings::CsvItemSection::VDOP},
    {"PDOP", &Settings::CsvItemSection::PDOP},
    {"Nsat", &Settings::CsvItemSection::Nsat},
    {"Geoid", &Settings::CsvItemSection::Geoid},
};

std::string ExecutableFolder() {
    std::string folder = FolderOf(ExecutablePath());
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// Reads every setting from ini in the fixed order and applies it. A key that
// is missing keeps the value in force, except the keys that fall back to
// their defaults. True when the migration deleted obsolete keys from ini.
bool ReadAll(Program& p, IniFile& ini) {
    Settings& s = p.Settings;
    const char* O = "Option";
    auto text = [&](const char* section, const char* key, std::string& field) {
        field = ini.ReadString(section, key, field);
    };
    auto integer = [&](const char* section, const char* key, int& field) {
        field = ini.ReadInt(section, key, field);
    };
    auto flag = [&](const char* section, const char* key, bool& field) {
        field = ini.ReadBool(section, key, field);
    };
    auto extension = [&](const char* key, std::string& field, std::string_view fallback) {
        field = ini.ReadString(O, key, fallback);
        if (field.empty()) field = fallback;
    };

    const std::string running = VersionText();
    const std::string stored = ini.ReadString(O, "Version", running);
    s.Version = stored;

    text("Font", "EngFontName", s.Font.EngFontName);
    integer("Font", "EngCharset", s.Font.EngCharset);
    integer("Font", "EngFontSize", s.Font.EngFontSize);
    integer("Font", "JpCharset", s.Font.JpCharset);
    text("Font", "JpFontName", s.Font.JpFontName);
    integer("Font", "JpFontSize", s.Font.JpFontSize);
    SelectInterfaceFont(p);

    s.RangeIndex = ini.ReadInt(O, "RangeIndex", 7);
    s.DataPath = ini.ReadString(O, "DataPath", ExecutableFolder());
    integer(O, "OpenFiltIdx", s.OpenFiltIdx);
    text(O, "GPixels", s.GPixels);
    flag(O, "Monotone", s.Monotone);
    extension("NMEAext", s.NMEAext, DefaultNmeaExt);
    extension("CSVext", s.CSVext, DefaultCsvExt);
    extension("RTKLIBext", s.RTKLIBext, DefaultRtklibExt);
    text(O, "HDOPlim", s.HDOPlim);
    text(O, "VDOPlim", s.VDOPlim);
    text(O, "PDOPlim", s.PDOPlim);

    text(O, "TrueLat", s.TrueLat);
    text(O, "TrueLon", s.TrueLon);
    s.TrueLat = AlignCoordinateText(s.TrueLat, s.TrueLon);
    s.TrueLon = AlignCoordinateText(s.TrueLon, s.TrueLat);
    text(O, "TrueAlt", s.TrueAlt);

    flag(O, "AutoRange", s.AutoRange);
    flag(O, "CSV_SepTime", s.CSV_SepTime);
    text(O, "PosDecimal", s.PosDecimal);
    text(O, "AltDecimal", s.AltDecimal);
    text(O, "ErrorDecimal", s.ErrorDecimal);
    text(O, "DopDecimal", s.DopDecimal);
    flag(O, "DDMMSS", s.DDMMSS);
    text(O, "NMEA_QS", s.NMEA_QS);
    text(O, "NMEA_QU", s.NMEA_QU);
    text(O, "RTK_QS", s.RTK_QS);
    text(O, "RTK_QU", s.RTK_QU);
    s.LeapSecond = ini.ReadInt(O, "LeapSecond", 16);
    text(O, "CSVspan", s.CSVspan);
    text(O, "CSVstep", s.CSVstep);
    text(O, "CSVherr", s.CSVherr);

    flag(O, "2drms", s.TwoDrms);

    const bool wasAverage = s.UseAverage;
    flag(O, "UseAverage", s.UseAverage);
    if (s.UseAverage != wasAverage && p.Store.Exists()) CountFixes(p);

    text(O, "MiniColor", s.MiniColor);
    text(O, "MaxColor", s.MaxColor);
    s.MainTop = ini.ReadInt(O, "MainTop", NoWindowPosition);
    s.MainLeft = ini.ReadInt(O, "MainLeft", NoWindowPosition);

    text("CSVdecimals", "LatLon", s.CSVdecimals.LatLon);
    text("CSVdecimals", "Alt", s.CSVdecimals.Alt);
    text("CSVdecimals", "Speed", s.CSVdecimals.Speed);
    text("CSVdecimals", "DOP", s.CSVdecimals.DOP);
    text("CSVdecimals", "Error", s.CSVdecimals.Error);

    const Settings::CsvItemSection defaults = DefaultCsvItems();
    for (const CsvItemKey& k : CsvItemKeys)
        s.CSVitem.*k.Field = ini.ReadString("CSVitem", k.Key, defaults.*k.Field);

    s.CSV_Info = ini.ReadSection("CSV_Info");
    s.CSV_Option = ini.ReadSection("CSV_Option");
    AddDefaultProfiles(s);

    text("Reduce", "ElapsesTimes", s.Reduce.ElapsesTimes);
    text("Reduce", "MovingDist", s.Reduce.MovingDist);
    text(O, "DateFormat", s.DateFormat);

    const bool deleted = MigrateSettings(s, ini, stored, running);

    ApplySettings(p);
    return deleted;
}

} // namespace

void ApplySettings(Program& p) {
    Settings& s = p.Settings;
    SetProbabilityCaption(p);
    p.Main.OpenDialogFilter = BuildOpenFilter(s.NMEAext, s.CSVext, s.RTKLIBext);
    const DotSize dot = ReadDotSize(s.GPixels);
    p.Graph.DotSide = dot.Side;
    p.Graph.DotLo = dot.Lo;
    p.Graph.DotHi = dot.Hi;
    p.Graph.Monotone = s.Monotone;
    if (TrimText(s.DateFormat).empty()) s.DateFormat = p.Conventions.DefaultDateFormat;
    if (s.RangeIndex < 1) s.RangeIndex = 1;
    if (s.RangeIndex > 32) s.RangeIndex = 32;
    const ShadingLevels levels = ReadShadingLevels(s.MiniColor, s.MaxColor);
    p.Graph.Brightest = levels.Brightest;
    p.Graph.Darkest = levels.Darkest;
    ++p.Graph.Revision;
    SetGraphRange(p, s.RangeIndex, false);
}

namespace {

void StartReading(Program& p) {
    p.Main.UiEnglish = UserLocaleIsEnglish();
    SetupConventions(p.Conventions);
}

} // namespace

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
        s.NMEAext = ini.ReadString("Option", "Ext", DefaultNmeaExt);
        if (s.NMEAext.empty()) s.NMEAext = DefaultNmeaExt;
        deleted |= ini.DeleteKey("Option", "Ext");
    }
    return deleted;
}

void ReadSettings(Program& program) {
    try {
        StartReading(program);
        CreateIniFileIfMissing(program.IniPath);
        IniFile ini;
        ini.Load(program.IniPath);
        // Deletions of obsolete keys reach the file at once.
        if (ReadAll(program, ini)) ini.Save(program.IniPath);
    } catch (const std::exception&) {
        // Reading ends silently; what was read stays.
    }
    MeasureLocalOffset(program.Conventions);
}

bool ReadSettingsFile(Program& program, const std::string& path) {
    IniFile ini;
    try {
        if (!ini.Load(path)) return false;
        StartReading(program);
        ReadAll(program, ini); // deletions stay in memory
    } catch (const std::exception&) {}
    MeasureLocalOffset(program.Conventions);
    return true;
}

bool WriteSettings(Program& program) {
    try {
        const std::string& path = program.IniPath;
        IniFile ini;
        std::error_code ec;
        if (!ini.Load(path) && std::filesystem::exists(path, ec)) return false;

        const Settings& s = program.Settings;
        const char* O = "Option";
        ini.WriteString(O, "Version", VersionText());
        ini.WriteString(O, "DataPath", s.DataPath);
        ini.WriteString(O, "NMEAext", s.NMEAext);
        ini.WriteString(O, "CSVext", s.CSVext);
        ini.WriteString(O, "RTKLIBext", s.RTKLIBext);
        ini.WriteInt(O, "OpenFiltIdx", s.OpenFiltIdx);
        ini.WriteInt(O, "RangeIndex", s.RangeIndex);
        ini.WriteString(O, "GPixels", s.GPixels);
        ini.WriteBool(O, "Monotone", s.Monotone);
        ini.WriteString(O, "HDOPlim", s.HDOPlim);
        ini.WriteString(O, "VDOPlim", s.VDOPlim);
        ini.WriteString(O, "PDOPlim", s.PDOPlim);
        ini.WriteBool(O, "UseAverage", s.UseAverage);
        ini.WriteString(O, "TrueLat", s.TrueLat);
        ini.WriteString(O, "TrueLon", s.TrueLon);
        ini.WriteString(O, "TrueAlt", s.TrueAlt);
        ini.WriteBool(O, "AutoRange", s.AutoRange);
        ini.WriteBool(O, "CSV_SepTime", s.CSV_SepTime);
        ini.WriteString(O, "MiniColor", s.MiniColor);
        ini.WriteString(O, "MaxColor", s.MaxColor);
        ini.WriteString(O, "PosDecimal", s.PosDecimal);
        ini.WriteString(O, "AltDecimal", s.AltDecimal);
        ini.WriteString(O, "ErrorDecimal", s.ErrorDecimal);
        ini.WriteString(O, "DopDecimal", s.DopDecimal);
        ini.WriteBool(O, "DDMMSS", s.DDMMSS);
        ini.WriteInt(O, "LeapSecond", s.LeapSecond);
        ini.WriteString(O, "NMEA_QS", s.NMEA_QS);
        ini.WriteString(O, "NMEA_QU", s.NMEA_QU);
        ini.WriteString(O, "RTK_QS", s.RTK_QS);
        ini.WriteString(O, "RTK_QU", s.RTK_QU);
        ini.WriteString(O, "CSVspan", s.CSVspan);
        ini.WriteString(O, "CSVstep", s.CSVstep);
        ini.WriteString(O, "CSVherr", s.CSVherr);
        ini.WriteBool(O, "2drms", s.TwoDrms);
        ini.WriteInt(O, "MainTop", s.MainTop);
        ini.WriteInt(O, "MainLeft", s.MainLeft);
        ini.WriteString(O, "DateFormat", s.DateFormat);

        ini.WriteInt("Font", "EngCharset", s.Font.EngCharset);
        ini.WriteString("Font", "EngFontName", s.Font.EngFontName);
        ini.WriteInt("Font", "EngFontSize", s.Font.EngFontSize);
        ini.WriteInt("Font", "JpCharset", s.Font.JpCharset);
        ini.WriteString("Font", "JpFontName", s.Font.JpFontName);
        ini.WriteInt("Font", "JpFontSize", s.Font.JpFontSize);

        ini.WriteString("Reduce", "ElapsesTimes", s.Reduce.ElapsesTimes);
        ini.WriteString("Reduce", "MovingDist", s.Reduce.MovingDist);

        ini.WriteString("CSVdecimals", "LatLon", s.CSVdecimals.LatLon);
        ini.WriteString("CSVdecimals", "Alt", s.CSVdecimals.Alt);
        ini.WriteString("CSVdecimals", "Speed", s.CSVdecimals.Speed);
        ini.WriteString("CSVdecimals", "DOP", s.CSVdecimals.DOP);
        ini.WriteString("CSVdecimals", "Error", s.CSVdecimals.Error);

        for (const CsvItemKey& k : CsvItemKeys)
            ini.WriteString("CSVitem", k.Key, s.CSVitem.*k.Field);

        for (const auto& [name, value] : s.CSV_Info) ini.WriteString("CSV_Info", name, value);
        for (const auto& [name, value] : s.CSV_Option) ini.WriteString("CSV_Option", name, value);

        return ini.Save(path);
    } catch (const std::exception&) {
        return false;
    }
}

bool SelectIniFile(Program& program, std::string_view path) {
    IniPathResult usable = UsableIniPath(path);
    if (!usable.Ok()) {
        program.Ui.ShowMessage(usable.Error, MessageKind::Error, ButtonOk);
        return false;
    }
    program.IniPath = usable.Path;
    return true;
}

bool SwitchIniFile(Program& program, std::string_view path) {
    WriteSettings(program);
    if (!SelectIniFile(program, path)) return false;
    ReadSettings(program);
    return true;
}

} // namespace fixtally
