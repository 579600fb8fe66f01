#include "app/OptionDialog.h"

#include "app/LogLoading.h"
#include "app/Program.h"
#include "platform/HeadlessPlatform.h"
#include "settings/Conventions.h"

#include <gtest/gtest.h>

#include <string>

using namespace fixtally;

namespace {

const std::string StaticLog = FIXTALLY_SOURCE_DIR "/examples/static-1hz-hour.nmea";

// A program with the example log loaded and the options dialog just activated.
class OptionDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        program.Settings.DateFormat = "yyyy/mm/dd";
        program.Conventions.DefaultDateFormat = "m/d/yyyy";
        program.Log.LogFileName = StaticLog;
        ASSERT_GT(LoadLogFile(program), 0);
        dialog.FormActivate(program);
    }

    std::string& Text(const char* control) {
        return *OptionDialog::Setting(program, *OptionDialog::FindField(control)).Text;
    }

    HeadlessPlatform ui;
    Program program{ui};
    OptionDialog& dialog = program.Options;
};

} // namespace

TEST(OptionDialogFields, EveryFieldEditsOneSettingOfTheKeyTable) {
    HeadlessPlatform ui;
    Program program{ui};
    for (const OptionField& field : OptionDialog::Fields()) {
        SettingRef ref = OptionDialog::Setting(program, field);
        EXPECT_TRUE(ref) << field.Control;
    }
    EXPECT_EQ(*OptionDialog::Setting(program, *OptionDialog::FindField("LabeledEditDark")).Text,
              "20");
    EXPECT_EQ(OptionDialog::NmeaQualityItems().size(), 9u);
    EXPECT_EQ(OptionDialog::RtklibQualityItems().back(), "6 ppp");
}

TEST_F(OptionDialogTest, OkWithoutChangesRecountsNothingButFillsAnEmptyDateFormat) {
    program.Settings.DateFormat.clear();
    dialog.FormActivate(program);
    EXPECT_EQ(dialog.EditDateFormat, "");
    const std::string status = program.Main.LabelStatus;
    dialog.ButtonOKClick(program);
    EXPECT_TRUE(dialog.CloseRequested);
    EXPECT_EQ(dialog.Recounts, 0);
    EXPECT_EQ(dialog.ShadingRedraws, 0);
    EXPECT_EQ(dialog.GraphRedraws, 0);
    EXPECT_EQ(dialog.AveragePositionShows, 0);
    EXPECT_EQ(dialog.EditDateFormat, "m/d/yyyy");
    EXPECT_EQ(program.Settings.DateFormat, "m/d/yyyy");
    EXPECT_TRUE(ui.Messages.empty());
    EXPECT_EQ(program.Main.LabelStatus, status);
}

TEST_F(OptionDialogTest, ChangesThatNeverRecount) {
    struct Case {
        const char* control;
        const char* text; // nullptr: the check box is switched
    } cases[] = {
        {"LabeledEditCsvLatLon", "7"}, {"LabeledEditCsvSpeed", "1"}, {"CheckBoxSepTime", nullptr},
        {"ComboBoxRtkQS", "="},        {"ComboBoxRtkQU", "2 float"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        dialog.FormActivate(program);
        dialog.Recounts = dialog.ShadingRedraws = dialog.GraphRedraws = 0;
        SettingRef ref = OptionDialog::Setting(program, *OptionDialog::FindField(c.control));
        if (c.text)
            *ref.Text = c.text;
        else
            *ref.Flag = !*ref.Flag;
        dialog.ButtonOKClick(program);
        EXPECT_EQ(dialog.Recounts, 0);
        EXPECT_EQ(dialog.ShadingRedraws + dialog.GraphRedraws, 0);
    }
    // The changed values stay in force for the next recount or export.
    EXPECT_EQ(program.Settings.CSVdecimals.LatLon, "7");
    EXPECT_FALSE(program.Settings.CSV_SepTime);
}

TEST_F(OptionDialogTest, FilterGroupOfTheLoadedLogKindDecidesTheRecount) {
    Text("LabeledEditHDOP") = "2.0";
    dialog.ButtonOKClick(program);
    EXPECT_EQ(dialog.Recounts, 1);

    // An RTKLIB log: the NMEA group no longer matters, its own does.
    program.Log.IsRtklibLog = true;
    dialog.FormActivate(program);
    Text("ComboBoxNmeaQU") = "4 RTK";
    Text("LabeledEditVDOP") = "1.5";
    dialog.ButtonOKClick(program);
    EXPECT_EQ(dialog.Recounts, 1);
    dialog.FormActivate(program);
    Text("ComboBoxRtkQU") = "1";
    dialog.ButtonOKClick(program);
    EXPECT_EQ(dialog.Recounts, 2);
}

TEST_F(OptionDialogTest, ComparisonIsByExactText) {
    // "3" and "3.0" are the same number but not the same text.
    Text("LabeledEditDopDec") = "3.0";
    dialog.ButtonOKClick(program);
    EXPECT_EQ(dialog.Recounts, 1);
    // A text typed and typed back is no change.
    dialog.FormActivate(program);
    const std::string shown = Text("LabeledEditDopDec");
    Text("LabeledEditDopDec") = "4";
    Text("LabeledEditDopDec") = shown;
    dialog.ButtonOKClick(program);
    EXPECT_EQ(dialog.Recounts, 1);
}

TEST_F(OptionDialogTest, DarkestAloneRedrawsShadingBarAndGraphWithoutRecount) {
    Text("LabeledEditDark") = "60";
    dialog.ButtonOKClick(program);
    EXPECT_EQ(dialog.ShadingRedraws, 1);
    EXPECT_EQ(dialog.GraphRedraws, 1);
    EXPECT_EQ(dialog.Recounts, 0);
    EXPECT_EQ(program.Graph.Darkest, 60);
}

TEST_F(OptionDialogTest, DarkestWithTheHdopLimitRedrawsShadingAndRecountsOnce) {
    Text("LabeledEditDark") = "60";
    Text("LabeledEditHDOP") = "1.0";
    dialog.ButtonOKClick(program);
    EXPECT_EQ(dialog.ShadingRedraws, 1);
    EXPECT_EQ(dialog.GraphRedraws, 0); // the recount draws the graph
    EXPECT_EQ(dialog.Recounts, 1);
    EXPECT_EQ(program.Graph.Darkest, 60);
}

TEST_F(OptionDialogTest, DdmmssAloneShowsTheAveragePositionAgain) {
    const std::string dms = program.Main.tCenterEditLatAve;
    program.Settings.DDMMSS = false;
    dialog.ButtonOKClick(program);
    EXPECT_EQ(dialog.Recounts, 0);
    EXPECT_EQ(dialog.AveragePositionShows, 1);
    EXPECT_NE(program.Main.tCenterEditLatAve, dms);
}

TEST_F(OptionDialogTest, NewDateFormatMakesTheCountRangeTheFullRangeInBothDialogs) {
    // A count range narrowed before the change.
    OutputRange& range = program.RangeDialog;
    range.FormActivate();
    const TimeRange full = program.FullRange;
    range.EditStime = "2026/03/14 12:10:00";
    range.ButtonOKClick(program);
    ASSERT_GT(program.CountRange.Start, full.Start);

    dialog.FormActivate(program);
    dialog.EditDateFormat = "  YYYY-MM-DD ";
    dialog.ButtonOKClick(program);
    EXPECT_EQ(DateFormatInUse(program.Settings, program.Conventions), "yyyy-mm-dd");
    EXPECT_EQ(dialog.EditDateFormat, "yyyy-mm-dd");
    EXPECT_EQ(range.EditStime, "2026-03-14 12:10:00");
    EXPECT_EQ(range.LabelRange.substr(0, 23), "2026-03-14 12:10:00 to ");
    EXPECT_EQ(program.FullRange.Start, program.CountRange.Start);
    EXPECT_EQ(program.FullRange.End, program.CountRange.End);
    EXPECT_EQ(program.Average.tCenterEditCSVstime, range.EditStime);
    EXPECT_EQ(program.Average.tCenterEditCSVftime, range.EditEtime);
    EXPECT_EQ(program.Average.LabelRange, range.LabelRange);
    EXPECT_EQ(dialog.Recounts, 1);

    // "Reset" of the count-range dialog now restores the narrowed range.
    range.ButtonCancelClick(program);
    EXPECT_EQ(range.EditStime, "2026-03-14 12:10:00");
}

TEST_F(OptionDialogTest, DateFormatWithALeadingOrTrailingSlashIsRefused) {
    for (const char* refused : {"/mm/dd", "yyyy/mm/dd/"}) {
        SCOPED_TRACE(refused);
        ui.Messages.clear();
        dialog.FormActivate(program);
        dialog.EditDateFormat = refused;
        dialog.ButtonOKClick(program);
        ASSERT_EQ(ui.Messages.size(), 1u);
        EXPECT_EQ(ui.Messages[0].Text, std::string("\nDate format error!!  \n\n") + refused);
        EXPECT_EQ(ui.Messages[0].Kind, MessageKind::Error);
        EXPECT_EQ(DateFormatInUse(program.Settings, program.Conventions), "yyyy/mm/dd");
        EXPECT_EQ(dialog.EditDateFormat, refused);
        EXPECT_TRUE(dialog.CloseRequested);
        EXPECT_EQ(dialog.Recounts, 0);
    }
    // The refused text is still in the field at the next showing.
    dialog.FormActivate(program);
    EXPECT_EQ(dialog.EditDateFormat, "yyyy/mm/dd/");
}

TEST_F(OptionDialogTest, CepThenCancelReturnsTo2drms) {
    const std::string twoDrms = program.Main.tCenterEditH2drms;
    dialog.RadioButtonCEPClick(program);
    EXPECT_FALSE(program.Settings.TwoDrms);
    EXPECT_EQ(program.Main.GroupBox2drms, " CEP(50%) ");
    EXPECT_NE(program.Main.tCenterEditH2drms, twoDrms);

    dialog.ButtonCancelClick(program);
    EXPECT_TRUE(program.Settings.TwoDrms);
    EXPECT_EQ(program.Main.GroupBox2drms, " 2drms ");
    EXPECT_EQ(program.Main.tCenterEditH2drms, twoDrms);
}

TEST_F(OptionDialogTest, CancelRestoresEveryFieldOfTheSnapshot) {
    Text("LabeledEditBright") = "150";
    Text("ComboBoxNmeaQS") = "=";
    program.Settings.DDMMSS = false;
    dialog.EditDateFormat = "dd.mm.yyyy";
    dialog.ButtonCancelClick(program);
    EXPECT_TRUE(dialog.CloseRequested);
    EXPECT_EQ(program.Settings.MiniColor, "200");
    EXPECT_EQ(program.Settings.NMEA_QS, ">=");
    EXPECT_TRUE(program.Settings.DDMMSS);
    EXPECT_EQ(dialog.EditDateFormat, "yyyy/mm/dd");
    EXPECT_EQ(dialog.Recounts, 0);
}

TEST(OptionDialogWithoutLog, OkChangesSettingsWithoutCounting) {
    HeadlessPlatform ui;
    Program program{ui};
    OptionDialog& dialog = program.Options;
    dialog.FormActivate(program);
    program.Settings.PosDecimal = "6";
    program.Settings.MaxColor = "40";
    dialog.EditDateFormat = "dd.mm.yyyy";
    dialog.ButtonOKClick(program);
    EXPECT_EQ(dialog.Recounts, 0);
    EXPECT_EQ(dialog.ShadingRedraws, 1);
    EXPECT_EQ(program.Settings.DateFormat, "dd.mm.yyyy");
}
