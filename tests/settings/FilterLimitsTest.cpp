#include "settings/FilterLimits.h"

#include "settings/Settings.h"

#include <gtest/gtest.h>

namespace fixtally {
namespace {

TEST(FilterLimitsTest, DefaultsReadAsTheyStand) {
    Settings settings;
    const FilterLimits limits = ReadFilterLimits(settings);
    EXPECT_EQ(limits.NmeaOperator, QualityAtLeast);
    EXPECT_EQ(limits.NmeaQuality, 1);
    EXPECT_EQ(limits.RtkOperator, QualityAtLeast);
    EXPECT_EQ(limits.RtkQuality, 1);
    EXPECT_EQ(limits.HdopLimit, 100.0);
    EXPECT_EQ(settings.NMEA_QU, "1 SPS");
    EXPECT_EQ(settings.RTK_QU, "1 fix");
    EXPECT_EQ(settings.HDOPlim, "100.0");
}

TEST(FilterLimitsTest, OperatorTexts) {
    const struct {
        const char* text;
        int code;
        const char* after;
    } cases[] = {
        {"<=", QualityAtMost, "<="},       {"=", QualityEqual, "="},
        {">=", QualityAtLeast, ">="},      {"<>", QualityNotEqual, "<>"},
        {" <> ", QualityNotEqual, " <> "}, // trimmed for reading, left as typed
        {"=>", QualityAtLeast, ">="},      {"", QualityAtLeast, ">="},
        {"<", QualityAtLeast, ">="},
    };
    for (const auto& c : cases) {
        Settings settings;
        settings.NMEA_QS = c.text;
        settings.RTK_QS = c.text;
        const FilterLimits limits = ReadFilterLimits(settings);
        EXPECT_EQ(limits.NmeaOperator, c.code) << c.text;
        EXPECT_EQ(limits.RtkOperator, c.code) << c.text;
        EXPECT_EQ(settings.NMEA_QS, c.after) << c.text;
        EXPECT_EQ(settings.RTK_QS, c.after) << c.text;
    }
}

TEST(FilterLimitsTest, QualityValuesAreClampedAndWrittenBack) {
    const struct {
        const char* nmea;
        int nmeaValue;
        const char* nmeaAfter;
        const char* rtk;
        int rtkValue;
        const char* rtkAfter;
    } cases[] = {
        {"9 foo", 8, "8", "0", 1, "1"},           {"", 1, "1", "", 1, "1"},
        {"  4 RTK  ", 4, "4 RTK", "7", 6, "6"},   {"x", 0, "x", "x", 1, "1"}, // a letter reads as 0
        {"-3", 0, "-3", "2 float", 2, "2 float"},
    };
    for (const auto& c : cases) {
        Settings settings;
        settings.NMEA_QU = c.nmea;
        settings.RTK_QU = c.rtk;
        const FilterLimits limits = ReadFilterLimits(settings);
        EXPECT_EQ(limits.NmeaQuality, c.nmeaValue) << c.nmea;
        EXPECT_EQ(settings.NMEA_QU, c.nmeaAfter) << c.nmea;
        EXPECT_EQ(limits.RtkQuality, c.rtkValue) << c.rtk;
        EXPECT_EQ(settings.RTK_QU, c.rtkAfter) << c.rtk;
    }
}

TEST(FilterLimitsTest, UnreadableDopLimitsBecome255) {
    Settings settings;
    settings.HDOPlim = "";
    settings.VDOPlim = "abc";
    settings.PDOPlim = " 2.5 ";
    const FilterLimits limits = ReadFilterLimits(settings);
    EXPECT_EQ(limits.HdopLimit, 255);
    EXPECT_EQ(limits.VdopLimit, 255);
    EXPECT_EQ(limits.PdopLimit, 2.5);
    EXPECT_EQ(settings.HDOPlim, "255.0");
    EXPECT_EQ(settings.VDOPlim, "255.0");
    EXPECT_EQ(settings.PDOPlim, " 2.5 ");
}

TEST(FilterLimitsTest, ClampInt) {
    EXPECT_EQ(ClampInt(-5, 0, 255), 0);
    EXPECT_EQ(ClampInt(300, 0, 255), 255);
    EXPECT_EQ(ClampInt(7, 0, 255), 7);
    EXPECT_EQ(ClampInt(0, 0, 255), 0);
    EXPECT_EQ(ClampInt(255, 0, 255), 255);
}

} // namespace
} // namespace fixtally
