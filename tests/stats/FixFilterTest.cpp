#include "stats/FixFilter.h"

#include "app/Program.h"
#include "app/TrueCoordinates.h"
#include "platform/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cmath>

namespace fixtally {
namespace {

constexpr double Ms = 1.0 / 86400000;

FixRecord GoodFix() {
    FixRecord fix;
    fix.Time = 46365.5;
    fix.Latitude = 35;
    fix.Longitude = 139;
    fix.FixQuality = u'1';
    return fix;
}

const TimeRange Range{46365.5, 46365.6};

TEST(QualityPassesTest, OperatorsAndCharacters) {
    const struct {
        char16_t quality;
        int op;
        int value;
        bool passes;
    } cases[] = {
        {u' ', QualityEqual, 4, true},
        {u' ', QualityNotEqual, 1, true},
        {u' ', 7, 1, true},
        {u'1', QualityAtLeast, 1, true},
        {u'0', QualityAtLeast, 1, false},
        {u'A', QualityAtMost, 1, true},
        {u'A', QualityAtLeast, 1, false},
        {u'4', QualityEqual, 4, true},
        {u'5', QualityEqual, 4, false},
        {u'5', QualityNotEqual, 4, true},
        {u'4', QualityNotEqual, 4, false},
        {u'9', QualityAtMost, 8, false},
        {u'2', 4, 1, false}, // an unknown operator never passes
    };
    for (const auto& c : cases) {
        FilterLimits limits;
        limits.NmeaOperator = c.op;
        limits.NmeaQuality = c.value;
        EXPECT_EQ(QualityPasses(c.quality, limits, false), c.passes)
            << static_cast<char>(c.quality) << " op " << c.op << " value " << c.value;
    }
}

TEST(QualityPassesTest, RtklibLogsUseTheirOwnPair) {
    FilterLimits limits;
    limits.NmeaOperator = QualityAtLeast;
    limits.NmeaQuality = 4;
    limits.RtkOperator = QualityAtMost;
    limits.RtkQuality = 1;
    EXPECT_TRUE(QualityPasses(u'1', limits, true));
    EXPECT_FALSE(QualityPasses(u'2', limits, true));
    EXPECT_FALSE(QualityPasses(u'1', limits, false));
}

TEST(AcceptFixTest, EachCheck) {
    FilterLimits limits;
    limits.HdopLimit = 2;
    limits.VdopLimit = 3;
    limits.PdopLimit = 4;
    EXPECT_TRUE(AcceptFix(GoodFix(), limits, false, Range));

    const struct {
        const char* what;
        void (*change)(FixRecord&);
        bool accepted;
    } cases[] = {
        {"no latitude", [](FixRecord& f) { f.Latitude = NaN; }, false},
        {"no longitude", [](FixRecord& f) { f.Longitude = NaN; }, false},
        {"HDOP at the limit", [](FixRecord& f) { f.Hdop = 2; }, true},
        {"HDOP above", [](FixRecord& f) { f.Hdop = 2.0001; }, false},
        {"VDOP above", [](FixRecord& f) { f.Vdop = 3.5; }, false},
        {"PDOP above", [](FixRecord& f) { f.Pdop = 4.5; }, false},
        {"NaN DOPs", [](FixRecord& f) { f.Hdop = f.Vdop = f.Pdop = NaN; }, true},
        {"at the start", [](FixRecord& f) { f.Time = Range.Start; }, true},
        {"at the end", [](FixRecord& f) { f.Time = Range.End; }, true},
        {"1 ms early", [](FixRecord& f) { f.Time = Range.Start - Ms; }, false},
        {"1 ms late", [](FixRecord& f) { f.Time = Range.End + Ms; }, false},
        {"NaN time", [](FixRecord& f) { f.Time = NaN; }, false},
        {"quality 0", [](FixRecord& f) { f.FixQuality = u'0'; }, false},
    };
    for (const auto& c : cases) {
        FixRecord fix = GoodFix();
        c.change(fix);
        EXPECT_EQ(AcceptFix(fix, limits, false, Range), c.accepted) << c.what;
    }
}

TEST(AcceptFixTest, TimeZeroIsRejectedEvenInsideTheRange) {
    FixRecord fix = GoodFix();
    fix.Time = 0;
    EXPECT_FALSE(AcceptFix(fix, FilterLimits{}, false, TimeRange{0, 1}));
    EXPECT_FALSE(AcceptFix(GoodFix(), FilterLimits{}, false, TimeRange{NaN, 50000}));
}

TEST(ReadTrueCoordinatesTest, ReadsAllThreeOrWarns) {
    HeadlessPlatform ui;
    Program p(ui);
    p.Settings.TrueLat = "N35 39 29.1572";
    p.Settings.TrueLon = "139.5W";
    p.Settings.TrueAlt = "40.5m";
    EXPECT_FALSE(ReadTrueCoordinates(p));
    EXPECT_NEAR(p.Results.TruePoint.Latitude, 35.658099, 1e-6);
    EXPECT_EQ(p.Results.TruePoint.Longitude, -139.5);
    EXPECT_EQ(p.Results.TruePoint.Altitude, 40.5);
    EXPECT_TRUE(ui.Messages.empty());

    for (const char* bad : {"", "N", "abc"}) {
        p.Settings.TrueLat = bad;
        EXPECT_TRUE(ReadTrueCoordinates(p)) << bad;
        EXPECT_TRUE(std::isnan(p.Results.TruePoint.Latitude));
    }
    ASSERT_EQ(ui.Messages.size(), 3u);
    EXPECT_EQ(ui.Messages[0].Text, "Please set \"True coordinates\" correctly. ");
    EXPECT_EQ(ui.Messages[0].Kind, MessageKind::Warning);
    EXPECT_EQ(ui.Messages[0].Buttons, ButtonOk);
}

} // namespace
} // namespace fixtally
