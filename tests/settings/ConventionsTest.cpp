#include "settings/Conventions.h"
#include "SettingsTestSupport.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <locale.h>
#include <optional>
#include <string>

using namespace fixtally;
using fixtally::test::ScopedEnv;

namespace {

// 2026-01-15 12:00 and 2026-07-15 12:00 as day numbers.
constexpr double Winter2026 = 46037.5;
constexpr double Summer2026 = 46218.5;

} // namespace

TEST(DateFormatFromStrftime, ConvertsLocaleDateFormats) {
    struct Case {
        const char* format;
        const char* expected;
    } cases[] = {
        {"%d.%m.%Y", "dd.mm.yyyy"},         // German
        {"%m/%d/%Y", "mm/dd/yyyy"},         // US English
        {"%d/%m/%y", "dd/mm/yy"},           // British English
        {"%Y-%m-%d", "yyyy-mm-dd"},         // Swedish, ISO
        {"%F", "yyyy-mm-dd"},               // ISO shorthand
        {"%D", "mm/dd/yy"},                 // C locale shorthand
        {"%-d.%-m.%Y", "d.m.yyyy"},         // unpadded day and month
        {"%e.%m.%Y", "d.mm.yyyy"},          // space-padded day
        {"%Y年%m月%d日", "yyyy年mm月dd日"}, // Japanese: literal separators kept
        {"%Ey/%m/%d", "yy/mm/dd"},          // era-modified year directive
        {"%d %b %Y", ""},                   // month names cannot be expressed
        {"%A %d.%m.%Y", ""},                // day names neither
        {"%d.%m.", ""},                     // no year
        {"den %d.%m.%Y", ""},               // words would read as pattern letters
        {"%d.%m.%", ""},                    // truncated directive
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateFormatFromStrftime(c.format), c.expected) << "format " << c.format;
}

TEST(DateFormatOfLocale, PlainAndMissingLocalesFallBackToMonthDayYear) {
    for (const char* name : {"", "C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"})
        EXPECT_EQ(DateFormatOfLocale(name), "m/d/yyyy") << "locale " << name;
}

TEST(SetupConventions, TakesTheLocaleFromTheEnvironmentInPrecedenceOrder) {
    ScopedEnv all("LC_ALL", nullptr);
    ScopedEnv time("LC_TIME", nullptr);
    ScopedEnv lang("LANG", "C");
    Conventions conventions;
    conventions.DefaultDateFormat = "something else";
    SetupConventions(conventions);
    EXPECT_EQ(conventions.DefaultDateFormat, "m/d/yyyy");

    // A locale this machine does not have gives no format: the fallback.
    ScopedEnv missing("LC_TIME", "xx_NOWHERE.UTF-8");
    SetupConventions(conventions);
    EXPECT_EQ(conventions.DefaultDateFormat, "m/d/yyyy");
}

TEST(DateFormatOfLocale, InstalledLocalesGiveTheirShortDateFormat) {
    struct Case {
        const char* locale;
        const char* expected;
    } cases[] = {
        {"de_DE.UTF-8", "dd.mm.yyyy"},
        {"en_US.UTF-8", "mm/dd/yyyy"},
        {"ja_JP.UTF-8", "yyyy年mm月dd日"},
    };
    int installed = 0;
    for (const auto& c : cases) {
        locale_t probe = newlocale(LC_TIME_MASK, c.locale, static_cast<locale_t>(nullptr));
        if (!probe) continue;
        freelocale(probe);
        ++installed;
        EXPECT_EQ(DateFormatOfLocale(c.locale), c.expected) << c.locale;
    }
    if (installed == 0) GTEST_SKIP() << "none of these locales is installed";
}

TEST(SetupConventions, LeavesTheProcessLocaleAlone) {
    // Numbers are read and written with "." whatever the user's locale: reading the
    // locale's date format must not switch the process to it.
    std::string before = setlocale(LC_ALL, nullptr);
    ScopedEnv all("LC_ALL", "de_DE.UTF-8");
    Conventions conventions;
    SetupConventions(conventions);
    EXPECT_EQ(std::string(setlocale(LC_ALL, nullptr)), before);
}

TEST(MeasureLocalOffset, FollowsTheTzVariable) {
    struct Case {
        const char* tz;
        double expected;
    } cases[] = {
        {"UTC0", 0.0},
        {"JST-9", 0.375},       // nine hours ahead of UTC
        {"EST5", -5.0 / 24},    // five hours behind
        {"IST-5:30", 5.5 / 24}, // half hours
        {"NPT-5:45", (5 * 60 + 45) / 1440.0},
    };
    for (const auto& c : cases) {
        ScopedEnv tz("TZ", c.tz);
        Conventions conventions;
        MeasureLocalOffset(conventions);
        EXPECT_DOUBLE_EQ(conventions.LocalOffset, c.expected) << "TZ " << c.tz;
    }
}

TEST(LocalOffsetAt, UsesTheOffsetInForceAtThatDay) {
    // Central European time: +1 h in January, +2 h in July.
    ScopedEnv tz("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_DOUBLE_EQ(LocalOffsetAtUtc(Winter2026), 1.0 / 24);
    EXPECT_DOUBLE_EQ(LocalOffsetAtUtc(Summer2026), 2.0 / 24);
    EXPECT_DOUBLE_EQ(LocalOffsetAtLocal(Winter2026), 1.0 / 24);
    EXPECT_DOUBLE_EQ(LocalOffsetAtLocal(Summer2026), 2.0 / 24);

    // Around the autumn change (2026-10-25 03:00 CEST = 01:00 UTC).
    constexpr double Oct25 = 46320.0;
    EXPECT_DOUBLE_EQ(LocalOffsetAtUtc(Oct25 + 0.5 / 24), 2.0 / 24);
    EXPECT_DOUBLE_EQ(LocalOffsetAtUtc(Oct25 + 1.5 / 24), 1.0 / 24);
    EXPECT_DOUBLE_EQ(LocalOffsetAtLocal(Oct25 + 5.0 / 24), 1.0 / 24);

    // A local time converted with its offset reads back as the UTC instant.
    double utc = Summer2026 + 0.123;
    double local = utc + LocalOffsetAtUtc(utc);
    EXPECT_NEAR(local - LocalOffsetAtLocal(local), utc, 1e-9);
}

TEST(LocalOffsetAt, TimeOfDayWithoutDateGivesTheCurrentOffset) {
    ScopedEnv tz("TZ", "JST-9");
    EXPECT_DOUBLE_EQ(LocalOffsetAtUtc(0.5), 0.375);
    EXPECT_DOUBLE_EQ(LocalOffsetAtLocal(0), 0.375);
    EXPECT_DOUBLE_EQ(LocalOffsetAtUtc(std::nan("")), 0.375);
}

TEST(DateFormatInUse, TrimsLowersAndFallsBackToTheDefault) {
    Settings settings;
    Conventions conventions;
    conventions.DefaultDateFormat = "dd.mm.yyyy";
    struct Case {
        const char* setting;
        const char* expected;
    } cases[] = {
        {"", "dd.mm.yyyy"},
        {"   ", "dd.mm.yyyy"},
        {" YYYY/MM/DD ", "yyyy/mm/dd"},
        {"d/m/yy", "d/m/yy"},
    };
    for (const auto& c : cases) {
        settings.DateFormat = c.setting;
        EXPECT_EQ(DateFormatInUse(settings, conventions), c.expected) << "'" << c.setting << "'";
    }
}
