#pragma once

#include <span>
#include <string_view>

namespace fixtally {

struct Program;

// Font sizes are stored scaled to the screen's horizontal resolution (dots per inch): the
// stored size is points x dpi / 96, the size applied to the windows stored x 96 / dpi,
// both rounded to the nearest integer (halves away from zero), so at 96 dpi they agree.
int StoredFontSize(int points, int dpi);
int AppliedFontSize(int stored, int dpi);

// The font chosen in "Font setting(&F)" becomes the font of the interface language in use
// (the Eng or Jp keys of the Font section); the character set stays, as the font choice
// here has none. The windows then take it from program.Main.
void StoreChosenFont(Program& program, std::string_view name, int points, int dpi);

// A hint (tooltip) of one control of one window; an empty text removes the hint.
struct ControlHint {
    std::string_view Window; // object name of the window: FormMain, FormReduce, FormAverage
    std::string_view Control;
    std::string_view Text;
};

// The hints that differ by interface language; both lists name the same controls.
std::span<const ControlHint> InterfaceHints(bool uiEnglish);

} // namespace fixtally
