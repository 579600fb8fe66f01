#include "ExportTestSupport.h"

#include "app/AverageDialog.h"
#include "stats/TimeText.h"

using namespace fixtally;
using namespace fixtally::testing;

namespace {

class AverageDialogTest : public ::testing::Test {
protected:
    LoadedProgram L{"/logs/track.nmea"};
    Program& P = L.P;
    AverageDialog& D = P.Average;

    // A log from 2014/05/17 10:30:00.0004 to 2014/05/19 05:15:30.7 (sub-millisecond bounds,
    // as a reader may find them).
    void SetUp() override {
        L.Add(Fix(Day(2014, 5, 17) + 10.5 / 24 + Seconds(0.0004), 35, 139));
        L.Add(Fix(Day(2014, 5, 19) + 5.25 / 24 + Seconds(30.7), 35, 139));
        L.SetRangeToStore();
        D.FormActivate(P);
    }
    std::vector<std::string> Warnings() const {
        std::vector<std::string> texts;
        for (const auto& m : L.Ui.Messages) {
            EXPECT_EQ(m.Kind, MessageKind::Warning);
            texts.push_back(m.Text);
        }
        return texts;
    }
};

TEST_F(AverageDialogTest, PublishedRangeIsAcceptedUntouched) {
    EXPECT_EQ(D.LabelTitl, "Full range (UTC)");
    EXPECT_EQ(D.tCenterEditCSVstime, "2014/05/17 10:30:00");
    EXPECT_EQ(D.tCenterEditCSVftime, "2014/05/19 05:15:30.7");
    EXPECT_EQ(D.LabelRange, "2014/05/17 10:30:00 to 2014/05/19 05:15:30.7");
    // Both texts lie within half a millisecond of the bounds and stand for them.
    EXPECT_EQ(D.StartTime(P), P.FullRange.Start);
    EXPECT_EQ(D.FinalTime(P), P.FullRange.End);
    EXPECT_TRUE(D.ButtonCSVokClick(P));
    EXPECT_TRUE(Warnings().empty());
    EXPECT_TRUE(D.CloseRequested);
    EXPECT_FALSE(P.Log.AbortRequested);
}

TEST_F(AverageDialogTest, DayAndHourButtonsRoundTheTimes) {
    D.ButtonHourClick(P);
    EXPECT_EQ(D.tCenterEditCSVstime, "2014/05/17 11:00:00");
    D.ButtonHourClick(P); // already on a full hour
    EXPECT_EQ(D.tCenterEditCSVstime, "2014/05/17 11:00:00");
    D.ButtonDayClick(P);
    EXPECT_EQ(D.tCenterEditCSVstime, "2014/05/18 00:00:00");
    D.ButtonDayClick(P);
    EXPECT_EQ(D.tCenterEditCSVstime, "2014/05/18 00:00:00");

    D.ButtonFhourClick(P);
    EXPECT_EQ(D.tCenterEditCSVftime, "2014/05/19 05:00:00");
    D.ButtonFdayClick(P);
    EXPECT_EQ(D.tCenterEditCSVftime, "2014/05/19 00:00:00");
    EXPECT_TRUE(Warnings().empty());

    // Beyond the log's range: a warning, the text stays.
    D.tCenterEditCSVstime = "2014/05/19 05:10:00";
    D.ButtonDayClick(P);
    EXPECT_EQ(D.tCenterEditCSVstime, "2014/05/19 05:10:00");
    D.ButtonHourClick(P);
    D.tCenterEditCSVftime = "2014/05/17 10:45:00";
    D.ButtonFdayClick(P);
    D.ButtonFhourClick(P);
    EXPECT_EQ(D.tCenterEditCSVftime, "2014/05/17 10:45:00");
    EXPECT_EQ(Warnings(), (std::vector<std::string>{
                              "Round-up is impossible. ", "Round-up is impossible. ",
                              "Truncation is impossible. ", "Truncation is impossible. "}));

    // An unreadable text is left as it is, silently.
    D.tCenterEditCSVstime = "soon";
    D.ButtonHourClick(P);
    EXPECT_EQ(D.tCenterEditCSVstime, "soon");
    EXPECT_EQ(Warnings().size(), 4u);
}

TEST_F(AverageDialogTest, OkRefusesBadTimesAndLimit) {
    struct Case {
        const char* Start;
        const char* Final;
        bool Ticked;
        const char* Limit;
        const char* Warning;
    } cases[] = {
        {"nonsense", "2014/05/19 05:00", false, "10", "Start time is out of range. "},
        {"2014/05/17 10:29:59", "2014/05/19 05:00", false, "10", "Start time is out of range. "},
        {"10:30:00", "2014/05/19 05:00", false, "10", "Start time is out of range. "},
        {"2014/05/17 11:00", "2014/05/19 05:15:31", false, "10", "Final time is out of range. "},
        {"2014/05/17 11:00", "", false, "10", "Final time is out of range. "},
        {"2014/05/17 11:00", "2014/05/19 05:00", true, "0",
         "Effective horizontal error range is out of range. "},
        {"2014/05/17 11:00", "2014/05/19 05:00", true, "-1",
         "Effective horizontal error range is out of range. "},
        {"2014/05/17 11:00", "2014/05/19 05:00", true, "ten",
         "Effective horizontal error range is out of range. "},
        {"2014/05/17 11:00", "2014/05/19 05:00", false, "ten", nullptr},
        {" 2014/05/17 11:00 ", "2014/05/19 05:00", true, " 0.5 ", nullptr},
    };
    for (const Case& c : cases) {
        L.Ui.Messages.clear();
        D.FormActivate(P);
        D.tCenterEditCSVstime = c.Start;
        D.tCenterEditCSVftime = c.Final;
        D.CheckBoxEffectHoriClick(c.Ticked);
        AverageDialog::tCenterEditHerror(P) = c.Limit;
        bool closed = D.ButtonCSVokClick(P);
        EXPECT_EQ(closed, c.Warning == nullptr) << c.Start << " / " << c.Final;
        EXPECT_EQ(D.CloseRequested, closed);
        if (c.Warning)
            EXPECT_EQ(Warnings(), std::vector<std::string>{c.Warning}) << c.Start;
        else
            EXPECT_TRUE(Warnings().empty());
    }
    // OK shows the trimmed texts.
    EXPECT_EQ(D.tCenterEditCSVstime, "2014/05/17 11:00");
    EXPECT_EQ(P.Settings.CSVherr, "0.5");
}

TEST_F(AverageDialogTest, OkCorrectsSpanAndStepping) {
    struct Case {
        const char* Span;
        const char* Step;
        const char* SpanAfter;
        const char* StepAfter;
    } cases[] = {
        {"24", "1.0", "24", "1.0"}, {" 6 ", " 0.5", "6", "0.5"},
        {"abc", "", "24.0", "1.0"}, {"0", "0", "1.0", "1.0"},
        {"-2", "x", "1.0", "1.0"},  {"0.00002", "0.00001", "0.00002", "1.0"},
    };
    for (const Case& c : cases) {
        D.FormActivate(P);
        AverageDialog::tCenterEditCSVspan(P) = c.Span;
        AverageDialog::tCenterEditCSVstep(P) = c.Step;
        ASSERT_TRUE(D.ButtonCSVokClick(P));
        EXPECT_EQ(P.Settings.CSVspan, c.SpanAfter) << c.Span;
        EXPECT_EQ(P.Settings.CSVstep, c.StepAfter) << c.Step;
    }
}

TEST_F(AverageDialogTest, ResetAndCancelRequestNoExport) {
    P.Settings.CSVspan = "12";
    D.FormActivate(P); // keeps 12, 1.0, 10.0 and the unticked box
    P.Settings.CSVspan = "5";
    P.Settings.CSVherr = "3";
    D.CheckBoxEffectHoriClick(true);
    EXPECT_TRUE(D.LimitEnabled());
    D.tCenterEditCSVstime = "x";
    P.RangeDialog.EditStime = "2014/05/18 00:00:00";
    D.LabelTitl.clear();
    D.ButtonResetClick(P);
    EXPECT_TRUE(P.Log.AbortRequested);
    EXPECT_TRUE(D.CloseRequested);
    EXPECT_EQ(P.Settings.CSVspan, "12");
    EXPECT_EQ(P.Settings.CSVherr, "10.0");
    EXPECT_FALSE(D.CheckBoxEffectHori);
    EXPECT_EQ(D.tCenterEditCSVstime, "2014/05/18 00:00:00");
    EXPECT_EQ(D.LabelTitl, "Full range (UTC)");

    P.Log.AbortRequested = false;
    D.FormActivate(P);
    D.ButtonCSVcancelClick(P);
    EXPECT_TRUE(P.Log.AbortRequested);
    EXPECT_TRUE(AverageDialog::SwallowsKey(U'\n'));
}

} // namespace
