#include "app/ProgramSettings.h"
#include "settings/SettingsIni.h"
#include "settings/Version.h"

#include "SettingsTestSupport.h"
#include "app/Program.h"
#include "graph/RangeTable.h"
#include "input/LogKind.h"
#include "input/csv/CsvProfiles.h"
#include "platform/HeadlessPlatform.h"
#include "settings/IniFile.h"
#include "settings/SettingKeys.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

using namespace fixtally;
namespace fs = std::filesystem;
using namespace fixtally::test;

namespace {

// The keys of section Option in the order they are written.
const std::vector<std::string> OptionKeys = {
    "Version",    "DataPath",   "NMEAext",    "CSVext",     "RTKLIBext",    "OpenFiltIdx",
    "RangeIndex", "GPixels",    "Monotone",   "HDOPlim",    "VDOPlim",      "PDOPlim",
    "UseAverage", "TrueLat",    "TrueLon",    "TrueAlt",    "AutoRange",    "CSV_SepTime",
    "MiniColor",  "MaxColor",   "PosDecimal", "AltDecimal", "ErrorDecimal", "DopDecimal",
    "DDMMSS",     "LeapSecond", "NMEA_QS",    "NMEA_QU",    "RTK_QS",       "RTK_QU",
    "CSVspan",    "CSVstep",    "CSVherr",    "2drms",      "MainTop",      "MainLeft",
    "DateFormat"};

std::string Fixture(const char* name) {
    return std::string(FIXTALLY_TEST_DATA) + "/ini/" + name;
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t i = text.find(part); i != std::string::npos; i = text.find(part, i + 1)) ++n;
    return n;
}

// Every setting as text, key by key, for comparing two programs.
std::vector<std::string> Snapshot(Settings& s) {
    std::vector<std::string> out;
    for (const SettingKey& key : SettingKeyTable()) {
        const SettingRef ref = SettingOf(key, s);
        std::string entry = std::string(key.Section) + "/" + std::string(key.Key) + "=";
        if (ref.Text) entry += *ref.Text;
        if (ref.Int) entry += std::to_string(*ref.Int);
        if (ref.Flag) entry += *ref.Flag ? "1" : "0";
        out.push_back(entry);
    }
    for (const auto& [name, value] : s.CSV_Info) out.push_back("Info " + name + "=" + value);
    for (const auto& [name, value] : s.CSV_Option) out.push_back("Option " + name + "=" + value);
    return out;
}

class SettingsIoTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "settings_io_XXXXXX").string();
        dir_ = ::mkdtemp(pattern.data());
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    HeadlessPlatform ui_;
    fs::path dir_;
    ScopedEnv lang_{"LANG", "en_US.UTF-8"};
    ScopedEnv lcAll_{"LC_ALL", nullptr};
    ScopedEnv lcMessages_{"LC_MESSAGES", nullptr};
};

} // namespace

TEST_F(SettingsIoTest, WrittenSettingsReadBackIntoAFreshProgram) {
    Program a(ui_);
    a.IniPath = Path("round.ini");
    Settings& s = a.Settings;
    s.DataPath = "/data/logs";
    s.NMEAext = ".nmea.gps";
    s.CSVext = ".csv.txt";
    s.RTKLIBext = ".pos.sol";
    s.OpenFiltIdx = 3;
    s.RangeIndex = 12;
    s.GPixels = "16";
    s.Monotone = true;
    s.HDOPlim = "2.5";
    s.VDOPlim = "3.5";
    s.PDOPlim = "4.5";
    s.UseAverage = false;
    s.TrueLat = " 35 10 20.5"; // as aligned against the longitude
    s.TrueLon = "139 45 10.25";
    s.TrueAlt = "41.5m";
    s.AutoRange = false;
    s.CSV_SepTime = false;
    s.MiniColor = "180";
    s.MaxColor = "30";
    s.PosDecimal = "5";
    s.AltDecimal = "2";
    s.ErrorDecimal = "4";
    s.DopDecimal = "2";
    s.DDMMSS = false;
    s.LeapSecond = 18;
    s.NMEA_QS = "=";
    s.NMEA_QU = "4 RTK";
    s.RTK_QS = "<>";
    s.RTK_QU = "2 float";
    s.CSVspan = "12";
    s.CSVstep = "0.5";
    s.CSVherr = "5.0";
    s.TwoDrms = false;
    s.MainTop = 120;
    s.MainLeft = -40;
    s.DateFormat = "yyyy/mm/dd";
    s.Font = {128, "Noto Sans", 11, 0, "IPAGothic", 12};
    s.Reduce = {"5.0", "12.5"};
    s.CSVdecimals = {"8", "4", "2", "1", "6"};
    s.CSVitem = DefaultCsvItems();
    s.CSVitem.Date += ",Datum";
    s.CSVitem.Geoid = "";
    s.CSV_Info = {{"My logger", "Date,Lat,Lon"}, {"V-900, VGPS-900", "TAG,VOX"}};
    s.CSV_Option = {{"My logger", "0,1,0,2"}};
    AddDefaultProfiles(s);
    ASSERT_TRUE(WriteSettings(a));

    Program b(ui_);
    b.IniPath = a.IniPath;
    ReadSettings(b);
    s.Version = VersionText();
    EXPECT_EQ(Snapshot(b.Settings), Snapshot(s));

    // Every key in its section, sections and keys in the fixed order, UTF-16 LE with a mark.
    const std::string bytes = ReadWholeFile(a.IniPath);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    IniFile ini;
    ini.Parse(bytes);
    std::vector<std::string> sections, optionKeys;
    std::string current;
    for (const std::string& line : ini.Lines()) {
        if (line.front() == '[') {
            current = line;
            sections.push_back(line);
        } else if (current == "[Option]") {
            optionKeys.push_back(line.substr(0, line.find('=')));
        }
    }
    EXPECT_EQ(sections, (std::vector<std::string>{"[Option]", "[Font]", "[Reduce]", "[CSVdecimals]",
                                                  "[CSVitem]", "[CSV_Info]", "[CSV_Option]"}));
    EXPECT_EQ(optionKeys, OptionKeys);
    EXPECT_EQ(ini.ReadString("Option", "Version", ""), VersionText());
    EXPECT_EQ(ini.ReadString("Font", "JpFontName", ""), "IPAGothic");

    // Writing again changes nothing.
    ASSERT_TRUE(WriteSettings(b));
    EXPECT_EQ(ReadWholeFile(a.IniPath), bytes);
}

TEST_F(SettingsIoTest, MissingFileIsCreatedAndDefaultsApply) {
    Program p(ui_);
    p.IniPath = Path("fresh.ini");
    ReadSettings(p);
    EXPECT_EQ(ReadWholeFile(p.IniPath), "\xFF\xFE");
    Program defaults(ui_);
    defaults.Settings.Version = VersionText();
    defaults.Settings.DataPath = p.Settings.DataPath;
    defaults.Settings.CSVitem = DefaultCsvItems();
    AddDefaultProfiles(defaults.Settings);
    defaults.Settings.DateFormat = p.Conventions.DefaultDateFormat;
    EXPECT_EQ(Snapshot(p.Settings), Snapshot(defaults.Settings));
    EXPECT_FALSE(p.Settings.DataPath.empty());
    EXPECT_EQ(p.Main.OpenDialogFilter,
              "Data file|*.nmea;*.nme;*.nma;*.txt;*.log;*.ubx;*.csv;*.pos|NMEA file|*.nmea;*.nme;"
              "*.nma;*.txt;*.log;*.ubx|CSV file|*.csv|RTKLIB file|*.pos|All file|*.*");
}

TEST_F(SettingsIoTest, HandMadeUtf16File) {
    const std::string path = Path("hand.ini");
    fs::copy_file(Fixture("handmade-utf16.ini"), path);
    const std::string before = ReadWholeFile(path);
    Program p(ui_);
    p.IniPath = path;
    ReadSettings(p);
    const Settings& s = p.Settings;
    EXPECT_EQ(s.HDOPlim, "2.5");
    EXPECT_EQ(s.NMEA_QU, "4 RTK");
    EXPECT_TRUE(s.UseAverage); // only in a comment line
    EXPECT_EQ(s.TrueLat, " 35.5");
    EXPECT_EQ(s.TrueLon, "139.25");
    EXPECT_FALSE(s.TwoDrms);
    EXPECT_EQ(p.Main.GroupBox2drms, " CEP(50%) ");
    EXPECT_EQ(s.RangeIndex, 12);
    EXPECT_EQ(s.DateFormat, "YYYY/MM/DD");
    EXPECT_EQ(s.CSVdecimals.LatLon, "7");
    ASSERT_GE(s.CSV_Info.size(), 2u);
    EXPECT_EQ(s.CSV_Info[0],
              (std::pair<std::string, std::string>{"My logger", "Date,Latitude,Longitude,Fix"}));
    EXPECT_EQ(s.CSV_Option[0], (std::pair<std::string, std::string>{"My logger", "0,1,0,2"}));
    EXPECT_EQ(ReadWholeFile(path), before); // reading alone does not rewrite the file
}

TEST_F(SettingsIoTest, MissingKeysKeepTheirValueExceptTheFallBackKeys) {
    Program p(ui_);
    Settings& s = p.Settings;
    s.HDOPlim = "2.0";
    s.Font.EngFontName = "Kept";
    s.Reduce.MovingDist = "99";
    s.UseAverage = false;
    s.NMEAext = ".foo";
    s.RangeIndex = 20;
    s.LeapSecond = 18;
    s.MainTop = 5;
    s.MainLeft = 6;
    s.DataPath = "/somewhere";
    s.CSVitem.Date = "custom";
    s.CSV_Info = {{"Mine", "A,B"}};
    p.IniPath = Path("sparse.ini");
    WriteBytes(p.IniPath, "[Option]\r\nCSVext=\r\nRangeIndex=99\r\n");
    ReadSettings(p);
    EXPECT_EQ(s.HDOPlim, "2.0");
    EXPECT_EQ(s.Font.EngFontName, "Kept");
    EXPECT_EQ(p.Main.InterfaceFontName, "Kept");
    EXPECT_EQ(s.Reduce.MovingDist, "99");
    EXPECT_FALSE(s.UseAverage);
    EXPECT_EQ(s.NMEAext, ".nmea.nme.nma.txt.log.ubx");
    EXPECT_EQ(s.CSVext, ".csv"); // present but empty
    EXPECT_EQ(s.RangeIndex, 32); // brought into 1..32
    EXPECT_EQ(s.LeapSecond, 16);
    EXPECT_EQ(s.MainTop, 2147483647);
    EXPECT_EQ(s.MainLeft, 2147483647);
    EXPECT_NE(s.DataPath, "/somewhere");
    EXPECT_EQ(s.CSVitem.Date, DefaultCsvItems().Date);
    ASSERT_FALSE(s.CSV_Info.empty());
    EXPECT_NE(s.CSV_Info[0].first, "Mine");

    WriteBytes(p.IniPath, "[Option]\r\nRangeIndex=-3\r\nLeapSecond=0x12\r\nMainTop=12px\r\n");
    ReadSettings(p);
    EXPECT_EQ(s.RangeIndex, 1);
    EXPECT_EQ(s.LeapSecond, 18);
    EXPECT_EQ(s.MainTop, 2147483647);
}

TEST_F(SettingsIoTest, CoordinateAlignment) {
    struct Case {
        const char* text;
        const char* other;
        const char* expected;
    } cases[] = {
        {"35.5", "139.5", " 35.5"},
        {"139.5", "35.5", "139.5"},
        {"N35 10", "E139 45", " N35 10"},
        {"-35.1", "139.1", "-35.1"},
        {"1", "12345", "    1"},
        {"", "139", ""},
        {"35", "", "35"},
        {"35", "139", " 35"},
        {"35", "13", "35"},
        {"s35.1", "W139.1", " s35.1"},
        {"x35", "139.1", "   x35"},
        {"35.5", " 139.5", "35.5"},
        {"12345678", "123", "12345678"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AlignCoordinateText(c.text, c.other), c.expected) << c.text << " / " << c.other;
}

TEST_F(SettingsIoTest, MigrationOfOldFiles) {
    const std::string running = VersionText();
    auto read = [&](const std::string& version, const std::string& extra) {
        auto p = std::make_unique<Program>(ui_);
        p->IniPath = Path("old.ini");
        WriteBytes(p->IniPath,
                   Utf16Le("[Option]\r\nVersion=" + version +
                           "\r\nRangeIndex=20\r\nDopLimit=5\r\nThickDot=1\r\n"
                           "Ext=.nmea.log\r\n" +
                           extra + "[CSVitem]\r\nDate=DATE\r\nNsat=NSAT,Satellites\r\n"));
        ReadSettings(*p);
        return p;
    };
    const Settings::CsvItemSection defaults = DefaultCsvItems();

    auto v205 = read("Ver2.05", "");
    const Settings& s205 = v205->Settings;
    EXPECT_EQ(s205.CSVitem.Date, defaults.Date + ",yyyy/mm/dd");
    EXPECT_EQ(Count(s205.CSVitem.Date, "yyyy/mm/dd"), 2);
    EXPECT_EQ(Count(s205.CSVitem.Time, "HH:MM:SS"), 2);
    EXPECT_EQ(Count(s205.CSVitem.Latitude, "Lat.(deg.)"), 2);
    EXPECT_EQ(Count(s205.CSVitem.Longitude, "Lon.(deg.)"), 2);
    EXPECT_EQ(Count(s205.CSVitem.Nsat, "satellites"), 1);
    EXPECT_EQ(Count(s205.CSVitem.Geoid, "geoidheight"), 1);
    EXPECT_EQ(s205.RangeIndex, 20);
    EXPECT_EQ(s205.NMEAext, ".nmea.nme.nma.txt.log.ubx");
    IniFile after;
    after.Load(v205->IniPath);
    EXPECT_TRUE(after.HasKey("Option", "DopLimit"));
    EXPECT_TRUE(after.HasKey("Option", "ThickDot"));
    EXPECT_EQ(after.ReadString("Option", "Version", ""), "Ver2.05"); // until the next write

    auto v120 = read("Ver1.20", "NMEAext=.ignored\r\n");
    EXPECT_EQ(v120->Settings.RangeIndex, 7);
    EXPECT_EQ(v120->Settings.NMEAext, ".nmea.log");
    after.Load(v120->IniPath);
    EXPECT_TRUE(after.HasKey("Option", "DopLimit"));
    EXPECT_FALSE(after.HasKey("Option", "ThickDot"));
    EXPECT_FALSE(after.HasKey("Option", "Ext"));
    EXPECT_EQ(after.ReadString("Option", "HDOPlim", "x"), "x");
    EXPECT_EQ(after.ReadString("Option", "NMEAext", ""), ".ignored"); // file keeps the old value

    auto v111 = read("Ver1.11", "");
    EXPECT_EQ(v111->Settings.RangeIndex, 7);
    // Geoid was never in this file: its default already holds "geoidheight".
    EXPECT_EQ(v111->Settings.CSVitem.Geoid, defaults.Geoid);
    after.Load(v111->IniPath);
    EXPECT_FALSE(after.HasKey("Option", "DopLimit"));
    EXPECT_FALSE(after.HasKey("Option", "ThickDot"));
    EXPECT_EQ(after.ReadString("CSVitem", "Date", ""), "DATE"); // lists reach the file on writing

    // A stored version that is not older, or none at all, means no migration.
    for (const std::string& version : {running, std::string("Ver9.99")}) {
        auto same = read(version, "");
        EXPECT_EQ(same->Settings.CSVitem.Date, "DATE") << version;
        EXPECT_EQ(same->Settings.RangeIndex, 20) << version;
        after.Load(same->IniPath);
        EXPECT_TRUE(after.HasKey("Option", "DopLimit")) << version;
    }
    Program none(ui_);
    none.IniPath = Path("none.ini");
    WriteBytes(none.IniPath, "[Option]\nThickDot=1\n[CSVitem]\nDate=DATE\n");
    ReadSettings(none);
    EXPECT_EQ(none.Settings.CSVitem.Date, "DATE");
    EXPECT_EQ(none.Settings.Version, running);
    after.Load(none.IniPath);
    EXPECT_TRUE(after.HasKey("Option", "ThickDot"));

    // A newer file is rewritten with the running version.
    auto newer = read("Ver9.99", "");
    ASSERT_TRUE(WriteSettings(*newer));
    after.Load(newer->IniPath);
    EXPECT_EQ(after.ReadString("Option", "Version", ""), running);
}

TEST_F(SettingsIoTest, MigrationStepsFollowTheVersionOrder) {
    // "Ver2.5" sorts after "Ver2.17" as text: only two-digit minors compare as numbers.
    struct Case {
        const char* stored;
        bool reset, appended, rangeReset;
    } cases[] = {
        {"Ver2.16", true, false, false},  {"Ver2.09", true, true, false},
        {"Ver2.17", false, false, false}, {"Ver2.5", false, false, false},
        {"Ver1.20", true, true, true},    {"Ver1.21", true, true, false},
        {"", true, true, true},
    };
    for (const Case& c : cases) {
        Settings s;
        s.CSVitem.Date = "OWN";
        s.RangeIndex = 20;
        IniFile ini;
        MigrateSettings(s, ini, c.stored, "Ver2.24");
        const std::string date = c.reset ? DefaultCsvItems().Date : "OWN";
        EXPECT_EQ(s.CSVitem.Date, c.appended ? date + ",yyyy/mm/dd" : date) << c.stored;
        EXPECT_EQ(s.RangeIndex, c.rangeReset ? 7 : 20) << c.stored;
    }
}

TEST_F(SettingsIoTest, WritingKeepsForeignKeysAndUpdatesInPlace) {
    Program p(ui_);
    p.IniPath = Path("foreign.ini");
    WriteBytes(p.IniPath, Utf16Le("; comment\r\n[Option]\r\nhdoplim=1.0\r\nForeign=keep\r\n"
                                  "[Elsewhere]\r\nx=1\r\n"));
    ReadSettings(p);
    p.Settings.HDOPlim = "7.5";
    ASSERT_TRUE(WriteSettings(p));
    IniFile ini;
    ASSERT_TRUE(ini.Load(p.IniPath));
    const std::vector<std::string>& lines = ini.Lines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "; comment");
    EXPECT_EQ(lines[2], "hdoplim=7.5");
    EXPECT_EQ(lines[3], "Foreign=keep");
    EXPECT_EQ(ini.ReadInt("Elsewhere", "x", 0), 1);
}

TEST_F(SettingsIoTest, FailedWriteLeavesTheOldFile) {
    Program p(ui_);
    p.IniPath = Path("no/such/folder/x.ini");
    EXPECT_FALSE(WriteSettings(p));
    EXPECT_FALSE(fs::exists(p.IniPath));

    // A file that exists but cannot be read is not overwritten with partial contents.
    p.IniPath = Path("folder.ini");
    fs::create_directory(p.IniPath);
    EXPECT_FALSE(WriteSettings(p));
    EXPECT_TRUE(fs::is_directory(p.IniPath));
}

TEST_F(SettingsIoTest, SwitchWritesTheOldFileAndReadsTheNewOne) {
    Program p(ui_);
    p.IniPath = Path("first.ini");
    ReadSettings(p);
    p.Settings.HDOPlim = "3.3";
    WriteBytes(Path("second.ini"), "[Option]\nHDOPlim=9.9\nUseAverage=0\n");
    ASSERT_TRUE(SwitchIniFile(p, Path("second.ini")));
    EXPECT_EQ(p.IniPath, Path("second.ini"));
    EXPECT_EQ(p.Settings.HDOPlim, "9.9");
    EXPECT_FALSE(p.Settings.UseAverage);
    IniFile first;
    ASSERT_TRUE(first.Load(Path("first.ini")));
    EXPECT_EQ(first.ReadString("Option", "HDOPlim", ""), "3.3");

    // A file whose folder cannot be written and whose copy cannot be placed: the
    // message is shown and the settings stay with the current file.
    WriteBytes(Path("blocker"), "a file, not a folder");
    ScopedEnv xdg("XDG_CONFIG_HOME", (dir_ / "blocker" / "conf").c_str());
    EXPECT_FALSE(SwitchIniFile(p, Path("missing-folder/third.ini")));
    EXPECT_EQ(p.IniPath, Path("second.ini"));
    ASSERT_EQ(ui_.Messages.size(), 1u);
    EXPECT_EQ(ui_.Messages[0].Text.rfind("Cannot create : " + (dir_ / "blocker/conf").string(), 0),
              0u);
    EXPECT_EQ(ui_.Messages[0].Kind, MessageKind::Error);
}

TEST_F(SettingsIoTest, WindowValuesFollowTheSettings) {
    Program p(ui_);
    p.IniPath = Path("window.ini");
    WriteBytes(p.IniPath, "[Option]\nGPixels=16\nMiniColor=10\nMaxColor=12\nRangeIndex=9\n"
                          "CSVext=.csv.dat\nDateFormat=  \n[Font]\nJpFontName=IPAGothic\n"
                          "JpCharset=128\nJpFontSize=14\nEngFontName=DejaVu Sans\n");
    {
        ScopedEnv lang("LANG", "ja_JP.UTF-8");
        ReadSettings(p);
    }
    EXPECT_FALSE(p.Main.UiEnglish);
    EXPECT_EQ(p.Main.InterfaceFontName, "IPAGothic");
    EXPECT_EQ(p.Main.InterfaceFontCharset, 128);
    EXPECT_EQ(p.Main.InterfaceFontSize, 14);
    EXPECT_EQ(p.Graph.DotSide, 4);
    EXPECT_EQ(p.Settings.MiniColor, "22"); // shading levels spread and written back
    EXPECT_EQ(p.Settings.MaxColor, "10");
    EXPECT_EQ(p.Graph.Brightest, 22);
    EXPECT_EQ(p.Graph.Darkest, 10);
    EXPECT_EQ(p.Main.GroupBox2drms, " 2drms ");
    EXPECT_NE(p.Main.OpenDialogFilter.find("|CSV file|*.csv;*.dat|"), std::string::npos);
    EXPECT_EQ(p.Settings.DateFormat, p.Conventions.DefaultDateFormat);
    EXPECT_EQ(p.Graph.GraphRange, RangeOfIndex(9));
    EXPECT_FALSE(p.Graph.LabelFS.empty());

    {
        ScopedEnv lcAll("LC_ALL", "C.UTF-8"); // the first set variable decides
        ScopedEnv lang("LANG", "ja_JP.UTF-8");
        ScopedEnv tz("TZ", "JST-9");
        ::tzset();
        ReadSettings(p);
        EXPECT_DOUBLE_EQ(p.Conventions.LocalOffset, 0.375);
    }
    ::tzset();
    EXPECT_TRUE(p.Main.UiEnglish);
    EXPECT_EQ(p.Main.InterfaceFontName, "DejaVu Sans");
}

TEST_F(SettingsIoTest, ChangedReferenceChoiceRecountsALoadedLog) {
    Program p(ui_);
    p.Store.Replace();
    for (int i = 0; i < 3; ++i) {
        FixRecord fix;
        fix.Time = 45000.5 + i / 86400.0;
        fix.Latitude = 35.0 + i * 1e-6;
        fix.Longitude = 139.0;
        fix.Altitude = 40.0;
        fix.Hdop = fix.Vdop = fix.Pdop = 1.0;
        fix.SatsUsed = 8;
        fix.FixQuality = u'1';
        p.Store.Append(fix);
    }
    p.CountRange = p.FullRange = {45000.0, 45001.0};
    p.IniPath = Path("reference.ini");

    WriteBytes(p.IniPath, "[Option]\nUseAverage=1\n"); // no change: no count
    ReadSettings(p);
    EXPECT_TRUE(p.Main.tCenterEditLatAve.empty());

    WriteBytes(p.IniPath, "[Option]\nUseAverage=0\nTrueLat=35.0\nTrueLon=139.0\nTrueAlt=40\n");
    ReadSettings(p);
    EXPECT_FALSE(p.Settings.UseAverage);
    EXPECT_TRUE(ui_.Messages.empty());
    EXPECT_FALSE(p.Main.tCenterEditLatAve.empty());
}

TEST_F(SettingsIoTest, ReadOnlyReadingNeverTouchesTheFile) {
    const std::string path = Path("cli.ini");
    fs::copy_file(Fixture("ver1.11-utf8.ini"), path);
    const std::string before = ReadWholeFile(path);
    Program p(ui_);
    ASSERT_TRUE(ReadSettingsFile(p, path));
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(p.Settings.HDOPlim, "3.0");
    EXPECT_EQ(p.Settings.NMEAext, ".nmea.log");
    EXPECT_EQ(p.Settings.RangeIndex, 7);
    EXPECT_EQ(Count(p.Settings.CSVitem.Date, "yyyy/mm/dd"), 2);
    EXPECT_TRUE(p.IniPath.empty());

    Program q(ui_);
    q.Settings.HDOPlim = "1.5";
    EXPECT_FALSE(ReadSettingsFile(q, Path("absent.ini")));
    EXPECT_FALSE(fs::exists(Path("absent.ini")));
    EXPECT_EQ(q.Settings.HDOPlim, "1.5");

    ASSERT_TRUE(ReadSettingsFile(q, Fixture("handmade-utf16.ini")));
    EXPECT_EQ(q.Settings.HDOPlim, "2.5");
}

TEST_F(SettingsIoTest, DamagedFilesKeepWhatWasRead) {
    std::string truncated = Utf16Le("[Option]\r\nHDOPlim=2.5\r\nVDOPlim=3.5\r\nPDOPlim=4.5\r\n");
    truncated.resize(truncated.size() - 13); // odd length, ends inside "PDOPlim"
    const std::vector<std::string> damaged = {
        truncated,
        Utf16Le("[Option]\r\nHDOPlim=2.5\r\n") + std::string("\x00\xD8\x00\xD8", 4) +
            Utf16Le("\r\nVDOPlim=3.5\r\n").substr(2),
        "[Option]\nHDOPlim=2.5\n" + std::string(10 * 1024 * 1024, 'x') + "\nVDOPlim=3.5\n",
        "[Option]\nHDOPlim=2.5\nVDOPlim 3.5\n[Option]\nVDOPlim=3.5\n[Option\n",
    };
    for (const std::string& bytes : damaged) {
        Program p(ui_);
        p.IniPath = Path("damaged.ini");
        WriteBytes(p.IniPath, bytes);
        ReadSettings(p);
        EXPECT_EQ(p.Settings.HDOPlim, "2.5");
        EXPECT_EQ(p.Settings.VDOPlim, "3.5");
        EXPECT_EQ(p.Settings.PDOPlim, "100.0");
    }
}
