#include "settings/IniFile.h"
#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

using namespace fixtally;
namespace fs = std::filesystem;
using namespace fixtally::test;

namespace {

std::string Utf16Be(std::string_view ascii) {
    std::string out = "\xFE\xFF";
    for (char c : ascii) {
        out += '\0';
        out += c;
    }
    return out;
}

} // namespace

TEST(IniFile, ReadsHandMadeUtf16File) {
    IniFile ini;
    ini.Parse(Utf16Le("; written by hand\r\n"
                      "\r\n"
                      "[option]\r\n"
                      "  hdoplim = 2.5 \r\n"
                      "VERSION=Ver2.05\r\n"
                      "; UseAverage=0\r\n"
                      "\r\n"
                      "[CSV_Info]\r\n"
                      "My logger=Date,Lat,Lon\r\n"
                      "V-900, VGPS-900=TAG,VOX\r\n"
                      "noequals\r\n"
                      "[csv_option]\r\n"
                      "My logger=0,1,0\r\n"));
    EXPECT_EQ(ini.ReadString("Option", "HDOPlim", "x"), "2.5");
    EXPECT_EQ(ini.ReadString("OPTION", "Version", "x"), "Ver2.05");
    bool found = true;
    EXPECT_EQ(ini.ReadString("Option", "UseAverage", "dflt", &found), "dflt");
    EXPECT_FALSE(found);
    EXPECT_TRUE(ini.ReadBool("Option", "UseAverage", true)); // the comment is not a key

    auto info = ini.ReadSection("csv_info");
    ASSERT_EQ(info.size(), 2u);
    EXPECT_EQ(info[0], (std::pair<std::string, std::string>{"My logger", "Date,Lat,Lon"}));
    EXPECT_EQ(info[1], (std::pair<std::string, std::string>{"V-900, VGPS-900", "TAG,VOX"}));
    EXPECT_EQ(ini.ReadSection("CSV_Option").size(), 1u);
    EXPECT_TRUE(ini.ReadSection("Missing").empty());
}

TEST(IniFile, ReadsOtherEncodings) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"ascii, LF", "[Option]\nTrueLat=35 10 20\n", "35 10 20"},
        {"utf-8 with mark, CR", "\xEF\xBB\xBF[Option]\rTrueLat=N35\xC2\xB0\r", "N35\xC2\xB0"},
        {"latin-1", "[Option]\r\nTrueLat=35\xB0\r\n", "35\xC2\xB0"},
        {"utf-16 without mark", Utf16Le("[Option]\r\nTrueLat=abc\r\n", false), "abc"},
        {"utf-16 big-endian", Utf16Be("[Option]\nTrueLat=z"), "z"},
        {"no final line end", "[Option]\r\nTrueLat=last", "last"},
    };
    for (const Case& c : cases) {
        IniFile ini;
        ini.Parse(c.bytes);
        EXPECT_EQ(ini.ReadString("Option", "TrueLat", "?"), c.expected) << c.name;
    }
}

TEST(IniFile, IntegersAreDecimalOrHexElseTheDefault) {
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"12", 12},
        {" 7 ", 7},
        {"-5", -5},
        {"+3", 3},
        {"0x1F", 31},
        {"0X10", 16},
        {"-0x10", -16},
        {"2147483647", 2147483647},
        {"12abc", -99},
        {"", -99},
        {"0x", -99},
        {"abc", -99},
        {"2147483648", -99},
        {"1.5", -99},
        {"--3", -99},
        {"0xFFFFFFFF", -99},
        {"1 2", -99},
        {"0x+1", -99},
        {"-2147483648", -2147483647 - 1},
    };
    for (const Case& c : cases) {
        IniFile ini;
        ini.Parse(std::string("[Option]\nRangeIndex=") + c.text + "\n");
        EXPECT_EQ(ini.ReadInt("Option", "RangeIndex", -99), c.expected) << '"' << c.text << '"';
    }
    IniFile ini;
    EXPECT_EQ(ini.ReadInt("Option", "RangeIndex", 7), 7);
    ini.WriteBool("Option", "Monotone", true);
    ini.WriteInt("Option", "MainTop", -2147483647 - 1);
    EXPECT_TRUE(ini.ReadBool("Option", "Monotone", false));
    EXPECT_EQ(ini.ReadInt("Option", "MainTop", 0), -2147483647 - 1);
}

TEST(IniFile, WritesUpdateInPlaceAndKeepEverythingElse) {
    IniFile ini;
    ini.Parse("; keep me\n[Option]\nversion=Ver2.05\nUnknown=u\n\n[Other]\nx=1\n");
    ini.WriteString("Option", "Version", "Ver2.24");  // in place, original spelling
    ini.WriteString("OPTION", "NewKey", "n");         // after the section's last line
    ini.WriteString("Font", "EngFontName", "Tahoma"); // new section at the end
    ini.WriteString("Option", "Second", "s");         // keys in order of first writing
    ini.WriteString("Option", "NewKey", "n2");
    std::vector<std::string> expected = {"; keep me", "[Option]",          "version=Ver2.24",
                                         "Unknown=u", "NewKey=n2",         "Second=s",
                                         "",          "[Other]",           "x=1",
                                         "[Font]",    "EngFontName=Tahoma"};
    EXPECT_EQ(ini.Lines(), expected);

    // The written form is UTF-16 LE with a mark and CR LF, and reads back the same.
    std::string bytes = ini.Encode();
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes.substr(2, 20), Utf16Le("; keep me\r\n", false).substr(0, 20));
    IniFile back;
    back.Parse(bytes);
    EXPECT_EQ(back.Lines(), expected);
}

TEST(IniFile, NonAsciiSurvivesUtf16RoundTrip) {
    IniFile ini;
    const std::string japanese = "\xE7\xA7\xBB\xE5\x8B\x95"; // two CJK characters
    const std::string emoji = "\xF0\x9F\x9B\xB0";            // outside the BMP: a surrogate pair
    ini.WriteString("CSV_Info", japanese, emoji + japanese);
    IniFile back;
    back.Parse(ini.Encode());
    EXPECT_EQ(back.ReadString("csv_info", japanese, ""), emoji + japanese);
}

TEST(IniFile, ValuesCannotInjectLinesOrBadKeys) {
    IniFile ini;
    ini.WriteString("Option", "TrueLat", "35\r\n[Evil]\nx=1");
    ini.WriteString("Option", "", "empty key");
    ini.WriteString("Option", "a=b", "key with equals");
    IniFile back;
    back.Parse(ini.Encode());
    EXPECT_EQ(back.ReadString("Option", "TrueLat", ""), "35  [Evil] x=1");
    EXPECT_FALSE(back.HasKey("Evil", "x"));
    EXPECT_EQ(back.Lines().size(), 2u);
}

TEST(IniFile, DeleteKeyRemovesEveryCopyInTheSection) {
    IniFile ini;
    ini.Parse("[Option]\nThickDot=1\nExt=.nmea\n[Other]\nThickDot=2\n[option]\nthickdot=3\n");
    EXPECT_TRUE(ini.DeleteKey("Option", "ThickDot"));
    EXPECT_FALSE(ini.DeleteKey("Option", "ThickDot"));
    EXPECT_FALSE(ini.HasKey("Option", "ThickDot"));
    EXPECT_EQ(ini.ReadInt("Other", "ThickDot", 0), 2);
    EXPECT_EQ(ini.ReadString("Option", "Ext", ""), ".nmea");
}

TEST(IniFile, DamagedInputKeepsWhatCanBeRead) {
    // Truncated in the middle of a line, with an odd byte count.
    std::string truncated = Utf16Le("[Option]\r\nHDOPlim=2.5\r\nVDOPlim=3.25\r\n");
    truncated.resize(truncated.size() - 5);
    IniFile ini;
    ini.Parse(truncated);
    EXPECT_EQ(ini.ReadString("Option", "HDOPlim", ""), "2.5");
    EXPECT_EQ(ini.ReadString("Option", "VDOPlim", ""), "3.2");

    // Unpaired surrogates become U+FFFD; the rest of the line stays.
    std::string surrogates = Utf16Le("[Option]\r\nTrueLat=");
    surrogates += std::string("\x00\xD8", 2) + "A" + std::string("\0", 1); // high, then 'A'
    surrogates += std::string("\x00\xDC", 2);                              // lone low
    surrogates += Utf16Le("x\r\n", false);
    ini.Parse(surrogates);
    EXPECT_EQ(ini.ReadString("Option", "TrueLat", ""), "\xEF\xBF\xBD"
                                                       "A\xEF\xBF\xBDx");

    // Keys without "=", NUL characters, duplicate sections and a huge line.
    std::string big = "[Option]\nno equals here\n" + std::string(10 * 1024 * 1024, 'q') + "\nHDOP" +
                      std::string(1, '\0') + "lim=4\n[Font]\nEngFontSize=9\n" +
                      "[Option]\nVDOPlim=5\nHDOPlim=6\n";
    ini.Parse(big);
    EXPECT_EQ(ini.ReadString("Option", "HDOPlim", ""), "4"); // the first copy wins
    EXPECT_EQ(ini.ReadString("Option", "VDOPlim", ""), "5"); // found in the second [Option]
    EXPECT_EQ(ini.ReadInt("Font", "EngFontSize", 0), 9);
    ini.WriteString("Option", "PDOPlim", "7"); // goes into the first [Option]
    EXPECT_EQ(ini.Lines()[4], "PDOPlim=7");
    EXPECT_EQ(ini.ReadSection("Option").size(), 4u);

    for (std::string junk : {std::string("\xFF\xFE\x00", 3), std::string("\xFF"), std::string(),
                             std::string("[[[]]]==\n=\n[\n]"), std::string("\xFE\xFF\xD8")}) {
        ini.Parse(junk);
        EXPECT_EQ(ini.ReadString("Option", "HDOPlim", "d"), "d");
    }
}

TEST(IniFile, SaveReplacesTheFileWholeOrNotAtAll) {
    fixtally::testing::TempFolder dir{"ini_test"};
    const fs::path file = dir / "fixtally.ini";
    IniFile ini;
    ini.WriteString("Option", "Version", "Ver2.24");
    ASSERT_TRUE(ini.Save(file.string()));
    EXPECT_EQ(ReadWholeFile(file), ini.Encode());
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::owner_write);

    // Permissions of an existing file survive the rewrite.
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    ini.WriteString("Option", "RangeIndex", "5");
    ASSERT_TRUE(ini.Save(file.string()));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // A failing rename leaves the target alone and no temporary file behind.
    const fs::path blocked = dir / "blocked.ini";
    fs::create_directory(blocked);
    fs::create_directory(blocked / "inside");
    EXPECT_FALSE(ini.Save(blocked.string()));
    EXPECT_TRUE(fs::is_directory(blocked / "inside"));
    EXPECT_FALSE(ini.Save((dir.Path() / "no" / "folder.ini").string()));
    int entries = 0;
    for (auto& e : fs::directory_iterator(dir.Path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 2); // fixtally.ini and blocked.ini only

    // Through a symbolic link the file it names is rewritten.
    const fs::path link = dir / "link.ini";
    fs::create_symlink(file, link);
    ini.WriteString("Option", "RangeIndex", "6");
    ASSERT_TRUE(ini.Save(link.string()));
    EXPECT_TRUE(fs::is_symlink(link));
    IniFile back;
    ASSERT_TRUE(back.Load(file.string()));
    EXPECT_EQ(back.ReadInt("Option", "RangeIndex", 0), 6);
}

TEST(IniFile, MissingFileIsCreatedAsByteOrderMarkOnly) {
    fixtally::testing::TempFolder dir{"ini_test"};
    const fs::path file = dir / "new.ini";
    IniFile ini;
    EXPECT_FALSE(ini.Load(file.string()));
    ASSERT_TRUE(CreateIniFileIfMissing(file.string()));
    EXPECT_EQ(ReadWholeFile(file), "\xFF\xFE");
    ASSERT_TRUE(ini.Load(file.string()));
    EXPECT_TRUE(ini.Lines().empty());

    WriteBytes(file, "[Option]\nx=1\n");
    ASSERT_TRUE(CreateIniFileIfMissing(file.string())); // an existing file is left alone
    EXPECT_EQ(ReadWholeFile(file), "[Option]\nx=1\n");
    EXPECT_FALSE(CreateIniFileIfMissing((dir.Path() / "no" / "x.ini").string()));
}
