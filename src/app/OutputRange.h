#pragma once

#include <string>

namespace fixtally {

struct Program;

// The count-range dialog as texts and handlers. The desktop dialog binds its widgets to
// these members (same names) and closes itself when CloseRequested is set.
class OutputRange {
public:
    static constexpr const char* Caption = "Count range";
    static constexpr const char* FullRangeTitle = "Full range (UTC)";
    // One hour in days, as the ±1h buttons step.
    static constexpr double OneHour = 0.041666666666666664;

    std::string LabelTitl;  // "Full range (UTC)" once a log is loaded
    std::string LabelRange; // full range as start text + " to " + end text
    std::string EditStime;  // "Start time"
    std::string EditEtime;  // "Final time"
    bool CloseRequested = false;

    // Fills the dialog from the program's CountRange at the end of a log read (or after a
    // change of the date format): both edits, the title and the range label; then
    // FullRange becomes CountRange.
    void PublishLogRange(Program& program);

    // Each activation clears the close request (and, on screen, the text selections).
    void FormActivate() { CloseRequested = false; }

    // Enter and line feed are swallowed by both edits.
    static bool SwallowsKey(char32_t key) { return key == U'\r' || key == U'\n'; }

    // Replaces unreadable or out-of-range edit texts by the FullRange bound texts.
    void ClampRangeEdits(const Program& program);

    // "Set": clamps the edits, narrows CountRange to them, recounts and closes.
    void ButtonOKClick(Program& program);
    // "Reset": CountRange back to FullRange, edits to its bounds, recounts and closes.
    void ButtonCancelClick(Program& program);
    // "Cancel": closes; nothing changes.
    void ButtonExitClick() { CloseRequested = true; }

    // "+1h" and "-1h" beside the start (SP1, SM1) and the final time (FP1, FM1).
    void ButtonSP1Click(const Program& program) { StepHour(program, true, +OneHour); }
    void ButtonSM1Click(const Program& program) { StepHour(program, true, -OneHour); }
    void ButtonFP1Click(const Program& program) { StepHour(program, false, +OneHour); }
    void ButtonFM1Click(const Program& program) { StepHour(program, false, -OneHour); }

private:
    void StepHour(const Program& program, bool startEdit, double step);
};

} // namespace fixtally
