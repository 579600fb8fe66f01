// RTKLIB solution files in the output forms of rnx2rtkp: each reads as the same solution
// as the plain form (calendar time, degrees) of the same run, tests/data/pos/README.md.

#include "../../support/TempFolder.h"
#include "CsvTestFiles.h"

#include "app/LogLoading.h"
#include "app/Program.h"
#include "app/Recount.h"
#include "convert/DatePattern.h"
#include "input/csv/CsvLayout.h"
#include "input/csv/CsvProfiles.h"
#include "input/csv/CsvReader.h"
#include "input/csv/RtklibForms.h"
#include "platform/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

using namespace fixtally;

namespace {

struct Loaded {
    HeadlessPlatform Ui;
    Program P{Ui};
    int Result = 0;

    Loaded(const std::string& path, int leapSecond) {
        AddDefaultProfiles(P.Settings);
        P.Settings.LeapSecond = leapSecond;
        P.Log.LogFileName = path;
        Result = LoadLog(P, path);
    }
};

std::unique_ptr<Loaded> Load(const std::string& file, int leapSecond = 16) {
    return std::make_unique<Loaded>(CsvTestData("pos/" + file), leapSecond);
}

std::string FileText(const std::string& file) {
    return fixtally::testing::ReadWholeFile(CsvTestData("pos/" + file));
}

struct FormCase {
    const char* File;
    int LeapSecond;  // the plain file is read with the same value
    double Degrees;  // how far a position may lie from the plain one
    double Metres;   // how far a height, spread or peak may lie from the plain one
    bool SameTexts;  // the result texts are the plain form's to the last character
    int PosDecimals; // the position decimals the form's texts justify
};

void PrintTo(const FormCase& c, std::ostream* out) {
    *out << c.File;
}

class RtklibForms : public ::testing::TestWithParam<FormCase> {};

// The UTC file is compared with the GPST plain file read with the 13 leap seconds of 2005.
// Degrees, minutes and seconds (5 decimals of seconds) and ECEF or east/north/up metres
// (4 decimals) are rounded otherwise than 9 decimals of degrees: a fraction of a
// millimetre apart.
INSTANTIATE_TEST_SUITE_P(
    Forms, RtklibForms,
    ::testing::Values(FormCase{"kinematic_mixed_weektow.pos", 16, 0, 0, true, 7},
                      FormCase{"kinematic_mixed_utc_weektow.pos", 13, 0, 0, true, 7},
                      FormCase{"kinematic_mixed_dms.pos", 16, 3e-9, 0, false, 6},
                      FormCase{"kinematic_mixed_ecef.pos", 16, 3e-9, 2e-4, false, 7},
                      FormCase{"kinematic_mixed_enu.pos", 16, 3e-9, 2e-4, false, 7}),
    [](const auto& info) {
        std::string name = info.param.File;
        name = name.substr(16, name.size() - 20); // between "kinematic_mixed_" and ".pos"
        return name;
    });

TEST_P(RtklibForms, ReadAsThePlainFormReads) {
    const FormCase& c = GetParam();
    const auto plain = Load("kinematic_mixed_plain.pos", c.LeapSecond);
    const auto form = Load(c.File, c.LeapSecond);
    ASSERT_EQ(plain->Result, 115);
    ASSERT_EQ(form->Result, 115) << form->P.Main.StatusPanel0;
    EXPECT_EQ(form->P.Main.StatusPanel0, " Completed: " + std::string(c.File));
    EXPECT_EQ(form->P.Log.CsvProfile, "RTKLIB");
    EXPECT_TRUE(form->P.Log.IsRtklibLog);
    EXPECT_EQ(form->P.Log.LogPosDecimals, c.PosDecimals);
    EXPECT_EQ(form->P.Log.LogAltDecimals, 4);

    for (std::size_t i = 0; i < 115; ++i) {
        SCOPED_TRACE(i);
        const FixRecord a = plain->P.Store.At(i), b = form->P.Store.At(i);
        EXPECT_NEAR(b.Time, a.Time, 1e-9); // UTC against GPST - 13 s: a rounding apart
        EXPECT_NEAR(b.Latitude, a.Latitude, c.Degrees);
        EXPECT_NEAR(b.Longitude, a.Longitude, c.Degrees);
        EXPECT_NEAR(b.Altitude, a.Altitude, c.Metres);
        EXPECT_EQ(b.FixQuality, a.FixQuality);
        EXPECT_EQ(b.SatsUsed, a.SatsUsed);
        EXPECT_TRUE(std::isnan(b.Hdop));
    }

    const StatisticsResults& ra = plain->P.Results;
    const StatisticsResults& rb = form->P.Results;
    EXPECT_NEAR(rb.AveragePoint.Latitude, ra.AveragePoint.Latitude, c.Degrees);
    EXPECT_NEAR(rb.AveragePoint.Longitude, ra.AveragePoint.Longitude, c.Degrees);
    EXPECT_NEAR(rb.AveragePoint.Altitude, ra.AveragePoint.Altitude, c.Metres);
    EXPECT_NEAR(rb.ErrorSpread.Horizontal, ra.ErrorSpread.Horizontal, 1e-4);
    EXPECT_NEAR(rb.ErrorSpread.Altitude, ra.ErrorSpread.Altitude, 1e-4);
    const MainWindowModel& ma = plain->P.Main;
    const MainWindowModel& mb = form->P.Main;
    EXPECT_EQ(mb.LabelStatus, ma.LabelStatus);
    EXPECT_EQ(mb.tCenterEditDgpsP, ma.tCenterEditDgpsP);
    EXPECT_EQ(mb.tCenterEditSuAve, ma.tCenterEditSuAve);
    EXPECT_EQ(mb.tCenterEditAltAve, ma.tCenterEditAltAve);
    if (c.SameTexts) {
        for (const auto& [x, y] : {std::pair{&ma.tCenterEditLatAve, &mb.tCenterEditLatAve},
                                   {&ma.tCenterEditLonAve, &mb.tCenterEditLonAve},
                                   {&ma.tCenterEditH2drms, &mb.tCenterEditH2drms},
                                   {&ma.tCenterEditAlt2drms, &mb.tCenterEditAlt2drms},
                                   {&ma.tCenterEditEW2drms, &mb.tCenterEditEW2drms},
                                   {&ma.tCenterEditNS2drms, &mb.tCenterEditNS2drms},
                                   {&ma.tCenterEditHP, &mb.tCenterEditHP},
                                   {&ma.tCenterEditAP, &mb.tCenterEditAP}})
            EXPECT_EQ(*y, *x);
    }
}

TEST_P(RtklibForms, TheQualityFilterKeepsTheFixedSolutions) {
    const FormCase& c = GetParam();
    const auto form = Load(c.File, c.LeapSecond);
    ASSERT_EQ(form->Result, 115);
    EXPECT_EQ(form->P.Main.LabelDgps, ">=1 fix");
    EXPECT_EQ(form->P.Main.tCenterEditDgpsP, "100.0%");
    form->P.Settings.RTK_QS = "<=";
    CountFixes(form->P);
    EXPECT_EQ(form->P.Main.LabelDgps, "<=1 fix");
    EXPECT_EQ(form->P.Main.tCenterEditDgpsP, "27.0%"); // 31 fixed of 115
}

// Files that name themselves RTKLIB solutions but cannot be read say what they lack,
// and never load as a log without data.
TEST(RtklibFormsRefused, StatusSaysWhatIsMissing) {
    std::string noReference = FileText("kinematic_mixed_enu.pos");
    const std::size_t ref = noReference.find("% ref pos");
    ASSERT_NE(ref, std::string::npos);
    noReference.erase(ref, noReference.find('\n', ref) + 1 - ref);

    std::string otherColumns = FileText("kinematic_mixed_ecef.pos");
    const std::size_t x = otherColumns.find("x-ecef(m)      y-ecef(m)      z-ecef(m)");
    ASSERT_NE(x, std::string::npos);
    otherColumns.replace(x, 9, "r-sphe(m)");

    struct Case {
        const char* Name;
        std::string Bytes;
        std::string Status;
    } cases[] = {
        {"enu_no_reference.pos", noReference,
         " <<Error!!>>   RTKLIB e/n/u-baseline solution without its reference position "
         "(\"% ref pos\" line) : enu_no_reference.pos"},
        {"other_columns.pos", otherColumns,
         " <<Error!!>>   RTKLIB solution without latitude/longitude, x/y/z-ecef or "
         "e/n/u-baseline columns : other_columns.pos"},
    };
    for (const Case& c : cases) {
        HeadlessPlatform ui;
        Program p(ui);
        AddDefaultProfiles(p.Settings);
        const std::string path = WriteTestLog(c.Name, c.Bytes);
        p.Log.LogFileName = path;
        EXPECT_EQ(LoadLog(p, path), -2) << c.Name;
        EXPECT_EQ(p.Main.StatusPanel0, c.Status);
        EXPECT_EQ(p.Store.Count(), 0u);
    }
}

TEST(RtklibLines, EachFormInThePlainForm) {
    RtklibLayout degrees, dms, ecef, enu;
    ASSERT_TRUE(ExamineRtklibHeaderLine(
        "%  GPST          latitude(deg) longitude(deg)  height(m)   Q  ns   sdn(m)", degrees));
    ASSERT_TRUE(ExamineRtklibHeaderLine(
        "%  UTC            latitude(d'\")   longitude(d'\")  height(m)   Q  ns   sdn(m)", dms));
    ASSERT_TRUE(ExamineRtklibHeaderLine(
        "%  GPST,x-ecef(m),y-ecef(m),z-ecef(m),Q,ns,sdx(m),sdy(m),sdz(m)", ecef));
    EXPECT_FALSE(
        ExamineRtklibHeaderLine("% ref pos   : 35 07 55.42913  139 37 27.48129   75.4015", enu));
    ASSERT_TRUE(ExamineRtklibHeaderLine(
        "%  GPST  e-baseline(m)  n-baseline(m)  u-baseline(m)   Q  ns   sde(m)", enu));
    EXPECT_EQ(dms.Positions, RtklibPositions::Dms);
    EXPECT_EQ(dms.TimeTitle, "UTC");
    EXPECT_EQ(ecef.Positions, RtklibPositions::Ecef);
    ASSERT_TRUE(enu.HasReference);
    EXPECT_NEAR(enu.RefLatitude, 35 + 7 / 60.0 + 55.42913 / 3600, 1e-12);
    EXPECT_DOUBLE_EQ(enu.RefHeight, 75.4015);

    struct Case {
        const RtklibLayout* Layout;
        const char* Line;
        RtklibLine Outcome;
        const char* Plain; // the rewritten line
    } cases[] = {
        // The plain form stays as it is.
        {&degrees, "2005/04/02 00:00:00.000   35.160872264  139.613830795    70.4895   2   7",
         RtklibLine::AsItIs, ""},
        {&degrees, "1316 518400.000   35.160872264  139.613830795    70.4895   2   7   0.8061",
         RtklibLine::Rewritten,
         "2005/04/02 00:00:00.000,35.160872264,139.613830795,70.4895,2,7,0.8061"},
        {&degrees, "1316,521999.5,35.1,139.6,70.4,1,7", RtklibLine::Rewritten,
         "2005/04/02 00:59:59.5,35.1,139.6,70.4,1,7"},
        // Week 1316 begins 2005-03-27; seconds of week past the last day run on.
        {&degrees, "1316 604800 35.1 139.6 70.4 1 7", RtklibLine::Rewritten,
         "2005/04/03 00:00:00,35.1,139.6,70.4,1,7"},
        {&degrees, "week 518400.000 35.1 139.6 70.4 1 7", RtklibLine::AsItIs, ""},
        {&dms, "1316 518387.000   35 09 39.14015  139 36 49.79086    70.4895   2   7",
         RtklibLine::Rewritten,
         "2005/04/01 23:59:47.000,35 09 39.14015,139 36 49.79086,70.4895,2,7"},
        {&dms, "1316,518387.000,  -0,30,00.00000,  -12,00,01.50000,  10.0,  2,  7",
         RtklibLine::Rewritten, "2005/04/01 23:59:47.000,-0 30 00.00000,-12 00 01.50000,10.0,2,7"},
        {&dms, "1316 518387.000   35 09 39.14015  139 36", RtklibLine::Skip, ""},
        // The plain file of the same run has 35.160872264 139.613830795 70.4895.
        {&ecef, "2005/04/02 00:00:00.000,-3976219.4712,3382373.3081,3652512.9267,2,7",
         RtklibLine::Rewritten, "2005/04/02 00:00:00.000,35.160872264,139.613830795,70.4894,2,7"},
        {&ecef, "1316 518400.000  -3976219.4712   x   3652512.9267   2   7", RtklibLine::Skip, ""},
        {&enu, "1316 518400.000      0.0000      0.0000        0.0000   2   7",
         RtklibLine::Rewritten, "2005/04/02 00:00:00.000,35.132063647,139.624300358,75.4015,2,7"},
    };
    std::string out;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Line);
        out = "untouched";
        EXPECT_EQ(RewriteRtklibLine(c.Line, *c.Layout, out), c.Outcome);
        if (c.Outcome == RtklibLine::Rewritten) {
            EXPECT_EQ(out, c.Plain);
        }
    }
}

} // namespace
