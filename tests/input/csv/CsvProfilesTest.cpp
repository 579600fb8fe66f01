#include "input/csv/CsvProfiles.h"
#include "input/csv/CsvSplit.h"

#include <gtest/gtest.h>

using namespace fixtally;

namespace {

std::vector<std::string> Names(const std::vector<std::pair<std::string, std::string>>& list) {
    std::vector<std::string> names;
    for (const auto& entry : list) names.push_back(entry.first);
    return names;
}

std::array<std::string, MaxCsvFields> Header(std::initializer_list<const char*> words) {
    std::array<std::string, MaxCsvFields> fields;
    int i = 0;
    for (const char* word : words) fields[i++] = word;
    return fields;
}

} // namespace

TEST(CsvSplit, NormaliseSeparators) {
    struct Case {
        const char* In;
        const char* Out;
    } cases[] = {
        {"  DATE   TIME  LATITUDE ", "DATE,TIME,LATITUDE"},
        {"Order,Date Created, Bearing", "Order,Date Created, Bearing"}, // a comma keeps spaces
        {"A\tB C", "A\tB,C"},                                           // tabs are not separators
        {"", ""},
        {"   ", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(NormaliseSeparators(c.In), c.Out) << c.In;
}

TEST(CsvSplit, SplitFieldsTrimsAndStopsAtTwentyFive) {
    CsvFields fields;
    EXPECT_EQ(SplitCsvFields("", fields), 0);
    EXPECT_EQ(SplitCsvFields(" a , b ,", fields), 3);
    EXPECT_EQ(fields[0], "a");
    EXPECT_EQ(fields[1], "b");
    EXPECT_EQ(fields[2], "");

    std::string many;
    for (int i = 1; i <= 30; ++i) many += std::to_string(i) + (i < 30 ? "," : "");
    EXPECT_EQ(SplitCsvFields(many, fields), 25);
    EXPECT_EQ(fields[23], "24");
    EXPECT_EQ(fields[24], "25,26,27,28,29,30"); // the last field keeps further commas
}

TEST(CsvProfiles, DefaultProfilesInOrderBehindTheUsersOwn) {
    Settings settings;
    settings.CSV_Info = {{"MyLogger", "A,B"}, {"wintec", ""}};
    settings.CSV_Option = {{"GT-730FL-S", "0,0,0,0,0,0"}};
    AddDefaultProfiles(settings);

    EXPECT_EQ(Names(settings.CSV_Info),
              (std::vector<std::string>{"MyLogger", "wintec", "Wintec", "V-900, VGPS-900", "M-241",
                                        "M-241 Ver1.12", "M-241 Ver1.13", "GT-730FL-S", "i-gotU",
                                        "RTKLIB"}));
    EXPECT_EQ(Names(settings.CSV_Option),
              (std::vector<std::string>{"GT-730FL-S", "Default", "Wintec", "V-900, VGPS-900",
                                        "M-241", "M-241 Ver1.12", "M-241 Ver1.13", "i-gotU"}));
    // The user's value stays in force.
    EXPECT_EQ(ProfileValue(settings.CSV_Option, "gt-730fl-s"), "0,0,0,0,0,0");

    // A second call adds nothing.
    const auto info = settings.CSV_Info;
    AddDefaultProfiles(settings);
    EXPECT_EQ(settings.CSV_Info, info);
}

TEST(CsvProfiles, SplitParamList) {
    struct Case {
        const char* In;
        int Count;
        std::array<const char*, 7> Items;
    } cases[] = {
        {"0,1,0,2,0,1", 6, {"0", "1", "0", "2", "0", "1", ""}},
        {" 1 , 2 ", 2, {"1", "2"}},
        {"\"a,b\" x,2", 2, {"a,b x", "2"}},
        {"1,2,3,4,5,6,7,8,9", 7, {"1", "2", "3", "4", "5", "6", "7"}},
        {"", 0, {}},
        {"1,", 1, {"1"}},
    };
    for (const Case& c : cases) {
        std::array<std::string, 7> items;
        EXPECT_EQ(SplitParamList(c.In, items), c.Count) << c.In;
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(items[i], c.Items[i] ? c.Items[i] : "") << c.In << " item " << i;
        }
    }
}

TEST(CsvProfiles, ScoreProfile) {
    const auto rtklib =
        Header({"GPST", "LATITUDE(DEG)", "LONGITUDE(DEG)", "HEIGHT(M)", "Q", "NS", "SDN(M)",
                "SDE(M)", "SDU(M)", "SDNE(M)", "SDEU(M)", "SDUN(M)", "AGE(S)", "RATIO"});
    EXPECT_EQ(ScoreProfile(rtklib, 14,
                           "HEIGHT(M),Q,NS,SDN(M),SDE(M),SDU(M),SDNE(M),SDEU(M),SDUN(M),AGE(S),"
                           "RATIO"),
              100);
    const char* wintec =
        "ORDER,DATE CREATED,BEARING,ELEVATION,DISTANCE FROM START,DISTANCE FROM LAST";
    EXPECT_EQ(ScoreProfile(Header({"ORDER", "DATE CREATED", "BEARING", "ELEVATION",
                                   "DISTANCE FROM START", "LAT"}),
                           6, wintec),
              83);
    EXPECT_EQ(ScoreProfile(Header({"ORDER", "DATE CREATED", "BEARING", "ELEVATION"}), 4, wintec),
              66);
    // A blank beside a comma in the list keeps that word from matching.
    EXPECT_EQ(ScoreProfile(Header({"A", "B"}), 2, "A, B"), 50);
    // A profile without identifying words scores nothing.
    EXPECT_EQ(ScoreProfile(Header({"A", ""}), 2, ""), 0);
}

TEST(CsvProfiles, ChooseProfileTakesTheFirstEntryReachingEighty) {
    Settings settings;
    settings.CSV_Info = {{"Empty", ""}, {"First", "A,B"}, {"Second", "A,B,C"}};
    settings.CSV_Option = {{"second", "1"}, {"FIRST", "0,0,1,1,1,1,2.5"}};
    ProfileParams params;
    EXPECT_EQ(ChooseProfile(settings, Header({"A", "B", "C"}), 3, params), "First");
    EXPECT_TRUE(params.SkipMidnightBackstep);
    EXPECT_EQ(params.SpeedUnit, 1);
    EXPECT_TRUE(params.HeightInFeet);
    EXPECT_TRUE(params.MergeRepeats);
    EXPECT_DOUBLE_EQ(params.SpeedFactor, 2.5);

    EXPECT_EQ(ChooseProfile(settings, Header({"X", "Y"}), 2, params), "Default");
    EXPECT_FALSE(params.AddLocalOffset);
}

TEST(CsvProfiles, BuiltInParameters) {
    Settings settings;
    AddDefaultProfiles(settings);
    const ProfileParams wintec = LoadProfileParams(settings, "Wintec");
    EXPECT_TRUE(wintec.AddLocalOffset);
    EXPECT_EQ(wintec.Reserved, 1);
    const ProfileParams v900 = LoadProfileParams(settings, "V-900, VGPS-900");
    EXPECT_TRUE(v900.SkipMidnightBackstep);
    const ProfileParams gt = LoadProfileParams(settings, "GT-730FL-S");
    EXPECT_EQ(gt.SpeedUnit, 2);
    EXPECT_TRUE(gt.MergeRepeats);
    const ProfileParams igotu = LoadProfileParams(settings, "i-gotU");
    EXPECT_TRUE(igotu.MergeRepeats);
    EXPECT_DOUBLE_EQ(igotu.SpeedFactor, 0.001);
    const ProfileParams rtklib = LoadProfileParams(settings, "RTKLIB");
    EXPECT_FALSE(rtklib.AddLocalOffset || rtklib.MergeRepeats || rtklib.SkipMidnightBackstep);
    EXPECT_EQ(rtklib.SpeedFactor, 0);

    settings.CSV_Option.insert(settings.CSV_Option.begin(), {"Odd", "x,1.5,1,y"});
    const ProfileParams odd = LoadProfileParams(settings, "odd");
    EXPECT_FALSE(odd.AddLocalOffset);
    EXPECT_EQ(odd.Reserved, 0); // not an integer
    EXPECT_TRUE(odd.SkipMidnightBackstep);
    EXPECT_EQ(odd.SpeedUnit, 0);
}

// Commas at every offset of the eight-byte scan, blanks beside them, up to 30 fields.
TEST(CsvSplit, SplitAgreesWithAPlainSplitter) {
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    const char alphabet[] = "ab, ,,.9";
    for (int n = 0; n < 5000; ++n) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::string text;
        const int length = static_cast<int>(state % 90);
        for (int i = 0; i < length; ++i) text.push_back(alphabet[(state >> (i % 50)) % 8]);
        // A plain splitter.
        auto trim = [](std::string_view s) {
            std::size_t b = 0, e = s.size();
            while (b < e && s[b] == ' ') ++b;
            while (e > b && s[e - 1] == ' ') --e;
            return std::string(s.substr(b, e - b));
        };
        std::vector<std::string> expected;
        if (!text.empty()) {
            std::string rest = text;
            while (expected.size() < 24) {
                const std::size_t comma = rest.find(',');
                if (comma == std::string::npos) break;
                expected.push_back(trim(std::string_view(rest).substr(0, comma)));
                rest.erase(0, comma + 1);
            }
            expected.push_back(trim(rest));
        }
        CsvFields fields;
        ASSERT_EQ(SplitCsvFields(text, fields), static_cast<int>(expected.size())) << text;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(fields[i], expected[i]) << text << " field " << i;
        }
        for (std::size_t i = expected.size(); i < fields.size(); ++i)
            EXPECT_TRUE(fields[i].empty());
    }
}
