#include "app/OutputRange.h"
#include "app/Program.h"
#include "platform/HeadlessPlatform.h"
#include "stats/FixFilter.h"
#include "stats/TimeText.h"

#include <gtest/gtest.h>

#include <string>

using namespace fixtally;

namespace {

constexpr double Mar4 = 44259.0; // 2021-03-04
constexpr double Ms = 1.0 / 86400000.0;

constexpr double Clock(int h, int n, double s) {
    return (h * 3600 + n * 60 + s) / 86400.0;
}

// A program that has just loaded a log from 05:00:00 to 08:00:00 on 2021-03-04.
struct LoadedProgram {
    explicit LoadedProgram(const char* dateFormat = "yyyy/mm/dd",
                           TimeRange span = {Mar4 + Clock(5, 0, 0), Mar4 + Clock(8, 0, 0)}) {
        program.Settings.DateFormat = dateFormat;
        program.CountRange = span;
        dialog.PublishLogRange(program);
    }
    HeadlessPlatform ui;
    Program program{ui};
    OutputRange& dialog = program.RangeDialog;
};

} // namespace

TEST(OutputRange, PublishLogRangeFillsTheDialogAndTheFullRange) {
    LoadedProgram p;
    EXPECT_EQ(p.dialog.EditStime, "2021/03/04 05:00:00");
    EXPECT_EQ(p.dialog.EditEtime, "2021/03/04 08:00:00");
    EXPECT_EQ(p.dialog.LabelTitl, "Full range (UTC)");
    EXPECT_EQ(p.dialog.LabelRange, "2021/03/04 05:00:00 to 2021/03/04 08:00:00");
    EXPECT_EQ(p.program.FullRange.Start, p.program.CountRange.Start);
    EXPECT_EQ(p.program.FullRange.End, p.program.CountRange.End);

    // The date format in use: the setting, or the locale's default when it is empty.
    LoadedProgram german("");
    german.program.Conventions.DefaultDateFormat = "dd.mm.yyyy";
    german.dialog.PublishLogRange(german.program);
    EXPECT_EQ(german.dialog.EditStime, "04.03.2021 05:00:00");
}

TEST(OutputRange, SetNarrowsTheCountRangeAndCloses) {
    LoadedProgram p;
    p.dialog.FormActivate();
    p.dialog.EditStime = "2021/03/04 06:00:00";
    p.dialog.EditEtime = " 2021/03/04 07:30:00.5 ";
    p.dialog.ButtonOKClick(p.program);
    EXPECT_TRUE(p.dialog.CloseRequested);
    EXPECT_NEAR(p.program.CountRange.Start, Mar4 + Clock(6, 0, 0), 1e-3 * Ms);
    EXPECT_NEAR(p.program.CountRange.End, Mar4 + Clock(7, 30, 0.5), 1e-3 * Ms);
    EXPECT_EQ(p.program.FullRange.Start, Mar4 + Clock(5, 0, 0)); // unchanged
}

TEST(OutputRange, SetReplacesBadTextsByTheFullRangeBounds) {
    LoadedProgram p;
    p.dialog.EditStime = "not a time";
    p.dialog.EditEtime = "2021/03/04 09:00:00";
    p.dialog.ButtonOKClick(p.program);
    EXPECT_EQ(p.dialog.EditStime, "2021/03/04 05:00:00");
    EXPECT_EQ(p.dialog.EditEtime, "2021/03/04 08:00:00");
    EXPECT_EQ(p.program.CountRange.Start, p.program.FullRange.Start);
    EXPECT_EQ(p.program.CountRange.End, p.program.FullRange.End);
}

TEST(OutputRange, SetAndResetRecount) {
    LoadedProgram p;
    p.program.Store.Replace();
    for (int minute = 0; minute <= 180; minute += 30) {
        FixRecord fix;
        fix.Time = Mar4 + Clock(5, minute, 0);
        fix.Latitude = 35.0 + minute * 1e-6;
        fix.Longitude = 139.0;
        fix.FixQuality = u'1';
        p.program.Store.Append(fix);
    }
    // A start later than the end is kept: the count finds nothing.
    p.dialog.EditStime = "2021/03/04 07:00:00";
    p.dialog.EditEtime = "2021/03/04 06:00:00";
    p.dialog.ButtonOKClick(p.program);
    EXPECT_GT(p.program.CountRange.Start, p.program.CountRange.End);
    EXPECT_EQ(p.program.Main.LabelStatus, "***** no effective data *****");

    p.dialog.ButtonCancelClick(p.program);
    EXPECT_EQ(p.program.Main.LabelStatus.substr(0, 42),
              "2021/03/04 05:00:00 to 2021/03/04 08:00:00");
}

TEST(OutputRange, SetWithUntouchedTextsKeepsSubMillisecondBoundsExactly) {
    // Bounds 0.3 ms and 0.7 ms past the whole millisecond: the texts round them down and up.
    for (double fraction : {0.3, 0.7}) {
        LoadedProgram p("yyyy/mm/dd", {Mar4 + Clock(5, 0, 0) + fraction * Ms,
                                       Mar4 + Clock(8, 0, 0) + fraction * Ms});
        p.dialog.ButtonOKClick(p.program);
        EXPECT_EQ(p.program.CountRange.Start, p.program.FullRange.Start) << fraction;
        EXPECT_EQ(p.program.CountRange.End, p.program.FullRange.End) << fraction;
        // The fixes at both edges stay in the count.
        EXPECT_TRUE(InTimeRange(p.program.FullRange.Start, p.program.CountRange));
        EXPECT_TRUE(InTimeRange(p.program.FullRange.End, p.program.CountRange));
    }
}

TEST(OutputRange, SetReadsTextsOfADateFormatWithoutSlashes) {
    LoadedProgram p("dd.mm.yyyy");
    EXPECT_EQ(p.dialog.EditStime, "04.03.2021 05:00:00");
    p.dialog.EditStime = "04.03.2021 06:15:00";
    p.dialog.ButtonOKClick(p.program);
    EXPECT_EQ(p.dialog.EditStime, "04.03.2021 06:15:00");
    EXPECT_NEAR(p.program.CountRange.Start, Mar4 + Clock(6, 15, 0), 1e-3 * Ms);
    EXPECT_EQ(p.program.CountRange.End, p.program.FullRange.End);
}

TEST(OutputRange, ResetRestoresTheFullRange) {
    LoadedProgram p;
    p.dialog.EditStime = "2021/03/04 06:00:00";
    p.dialog.ButtonOKClick(p.program);
    p.dialog.FormActivate();
    EXPECT_FALSE(p.dialog.CloseRequested);
    p.dialog.EditEtime = "anything";
    p.dialog.ButtonCancelClick(p.program);
    EXPECT_TRUE(p.dialog.CloseRequested);
    EXPECT_EQ(p.program.CountRange.Start, p.program.FullRange.Start);
    EXPECT_EQ(p.program.CountRange.End, p.program.FullRange.End);
    EXPECT_EQ(p.dialog.EditStime, "2021/03/04 05:00:00");
    EXPECT_EQ(p.dialog.EditEtime, "2021/03/04 08:00:00");
}

TEST(OutputRange, CancelChangesNothing) {
    LoadedProgram p;
    p.dialog.EditStime = "2021/03/04 06:00:00";
    TimeRange before = p.program.CountRange;
    p.dialog.ButtonExitClick();
    EXPECT_TRUE(p.dialog.CloseRequested);
    EXPECT_EQ(p.program.CountRange.Start, before.Start);
    EXPECT_EQ(p.program.CountRange.End, before.End);
    EXPECT_EQ(p.dialog.EditStime, "2021/03/04 06:00:00"); // the edits keep their texts
}

TEST(OutputRange, HourButtonsStepAndClamp) {
    struct Case {
        const char* name;
        void (OutputRange::*click)(const Program&);
        const char* start;
        const char* final;
        const char* expectedStart;
        const char* expectedFinal;
    } cases[] = {
        {"+1h start", &OutputRange::ButtonSP1Click, "2021/03/04 05:00:00", "2021/03/04 08:00:00",
         "2021/03/04 06:00:00", "2021/03/04 08:00:00"},
        {"-1h start near the bound", &OutputRange::ButtonSM1Click, "2021/03/04 05:30:00",
         "2021/03/04 08:00:00", "2021/03/04 05:00:00", "2021/03/04 08:00:00"},
        {"-1h start", &OutputRange::ButtonSM1Click, "2021/03/04 07:15:00.25", "2021/03/04 08:00:00",
         "2021/03/04 06:15:00.25", "2021/03/04 08:00:00"},
        {"+1h final beyond the end", &OutputRange::ButtonFP1Click, "2021/03/04 05:00:00",
         "2021/03/04 07:30:00", "2021/03/04 05:00:00", "2021/03/04 08:00:00"},
        {"-1h final", &OutputRange::ButtonFM1Click, "2021/03/04 05:00:00", "2021/03/04 08:00:00",
         "2021/03/04 05:00:00", "2021/03/04 07:00:00"},
        {"+1h on an unreadable start", &OutputRange::ButtonSP1Click, "??", "2021/03/04 08:00:00",
         "2021/03/04 05:00:00", "2021/03/04 08:00:00"},
        {"a button also clamps the other edit", &OutputRange::ButtonSP1Click, "2021/03/04 05:00:00",
         "", "2021/03/04 06:00:00", "2021/03/04 08:00:00"},
    };
    for (const auto& c : cases) {
        LoadedProgram p;
        p.dialog.EditStime = c.start;
        p.dialog.EditEtime = c.final;
        (p.dialog.*c.click)(p.program);
        EXPECT_EQ(p.dialog.EditStime, c.expectedStart) << c.name;
        EXPECT_EQ(p.dialog.EditEtime, c.expectedFinal) << c.name;
        EXPECT_FALSE(p.dialog.CloseRequested) << c.name;
        EXPECT_EQ(p.program.CountRange.Start, p.program.FullRange.Start) << c.name;
    }
}

TEST(OutputRange, HourButtonsInADateFormatWithoutSlashes) {
    LoadedProgram p("dd.mm.yyyy");
    p.dialog.ButtonSP1Click(p.program);
    p.dialog.ButtonFM1Click(p.program);
    EXPECT_EQ(p.dialog.EditStime, "04.03.2021 06:00:00");
    EXPECT_EQ(p.dialog.EditEtime, "04.03.2021 07:00:00");
}

TEST(OutputRange, EnterAndLineFeedAreSwallowed) {
    EXPECT_TRUE(OutputRange::SwallowsKey(U'\r'));
    EXPECT_TRUE(OutputRange::SwallowsKey(U'\n'));
    EXPECT_FALSE(OutputRange::SwallowsKey(U'1'));
}
