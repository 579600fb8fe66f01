#include "app/InterfaceFonts.h"

#include "app/Program.h"
#include "platform/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

using namespace fixtally;

TEST(InterfaceFonts, StoredAndAppliedSizesRoundTheScreenResolution) {
    struct Case {
        int points, dpi, stored, applied;
    } cases[] = {
        {9, 96, 9, 9},     // equal at 96 dpi
        {9, 144, 14, 9},   // 13.5 rounds up to 14; 14 x 96 / 144 = 9.33 rounds to 9
        {8, 144, 12, 8},   //
        {11, 120, 14, 11}, // 13.75 -> 14; 11.2 -> 11
        {10, 72, 8, 11},   // 7.5 -> 8; 10.67 -> 11
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.points) + " pt at " + std::to_string(c.dpi) + " dpi");
        EXPECT_EQ(StoredFontSize(c.points, c.dpi), c.stored);
        EXPECT_EQ(AppliedFontSize(c.stored, c.dpi), c.applied);
    }
}

TEST(InterfaceFonts, ChosenFontGoesToTheKeysOfTheLanguageInUse) {
    HeadlessPlatform ui;
    Program program{ui};
    program.Main.UiEnglish = true;
    StoreChosenFont(program, "DejaVu Sans", 9, 144);
    EXPECT_EQ(program.Settings.Font.EngFontName, "DejaVu Sans");
    EXPECT_EQ(program.Settings.Font.EngFontSize, 14);
    EXPECT_EQ(program.Settings.Font.JpFontSize, 9);
    EXPECT_EQ(program.Main.InterfaceFontName, "DejaVu Sans");
    EXPECT_EQ(program.Main.InterfaceFontSize, 14);

    program.Main.UiEnglish = false;
    StoreChosenFont(program, "Noto Sans CJK JP", 10, 96);
    EXPECT_EQ(program.Settings.Font.JpFontName, "Noto Sans CJK JP");
    EXPECT_EQ(program.Settings.Font.JpFontSize, 10);
    EXPECT_EQ(program.Settings.Font.EngFontName, "DejaVu Sans");
    EXPECT_EQ(program.Main.InterfaceFontName, "Noto Sans CJK JP");
    EXPECT_EQ(program.Main.InterfaceFontCharset, 128);
}

TEST(InterfaceFonts, BothLanguagesSetHintsOnTheSameControls) {
    std::set<std::pair<std::string_view, std::string_view>> english, japanese;
    for (const ControlHint& hint : InterfaceHints(true))
        english.insert({hint.Window, hint.Control});
    for (const ControlHint& hint : InterfaceHints(false))
        japanese.insert({hint.Window, hint.Control});
    EXPECT_EQ(english, japanese);
    for (const ControlHint& hint : InterfaceHints(false)) EXPECT_FALSE(hint.Text.empty());
}
