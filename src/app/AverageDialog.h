#pragma once

#include <string>

namespace fixtally {

struct Program;

// The "Average condition" dialog of the averaged CSV export as texts and handlers. The
// span, stepping and limit edits are the settings they persist to (Option/CSVspan,
// CSVstep, CSVherr); the desktop dialog binds its widgets to these members (same names)
// and closes itself when CloseRequested is set.
class AverageDialog {
public:
    static constexpr const char* Caption = "Average condition";
    static constexpr const char* FullRangeTitle = "Full range (UTC)";

    std::string LabelTitl;           // "Full range (UTC)" once a log is loaded
    std::string LabelRange;          // start text + " to " + end text
    std::string tCenterEditCSVstime; // "Start time"
    std::string tCenterEditCSVftime; // "Final time"
    bool CheckBoxEffectHori = false; // "Excessive error is ignored"; not saved
    bool CloseRequested = false;

    // "Averaging span" and "Time stepping" in hours, the limit in metres.
    static std::string& tCenterEditCSVspan(Program& program);
    static std::string& tCenterEditCSVstep(Program& program);
    static std::string& tCenterEditHerror(Program& program);
    // The limit edit and its "meter or more" label (Labelm) follow the check box.
    bool LimitEnabled() const { return CheckBoxEffectHori; }

    // Fills the time fields from the log's range at the end of a read: start and final
    // texts from program.CountRange (which the reader has set to the log's span), the title
    // and the range label.
    void PublishLogRange(const Program& program);

    // Activation: clears the close request and keeps the span, stepping and limit texts
    // and the check box for "Reset".
    void FormActivate(Program& program);
    // Enter and line feed are swallowed by every edit.
    static bool SwallowsKey(char32_t key) { return key == U'\r' || key == U'\n'; }
    void CheckBoxEffectHoriClick(bool ticked) { CheckBoxEffectHori = ticked; }

    // "Day" / "Hour" beside the start time: up to the next full day or hour, when that is
    // still before the end of the full range ("Round-up is impossible. " otherwise).
    void ButtonDayClick(Program& program);
    void ButtonHourClick(Program& program);
    // "Day" / "Hour" beside the final time: down to the previous full day or hour, when that
    // is still after the start of the full range ("Truncation is impossible. " otherwise).
    void ButtonFdayClick(Program& program);
    void ButtonFhourClick(Program& program);

    // "OK": trims the texts, checks start, final and limit (a warning keeps the dialog
    // open and returns false), corrects unusable span and stepping texts, clears
    // AbortRequested and closes.
    bool ButtonCSVokClick(Program& program);
    // "Cancel": no export.
    void ButtonCSVcancelClick(Program& program);
    // "Reset": no export; the texts go back to the count range and the saved values.
    void ButtonResetClick(Program& program);

    // The start and final texts as times; a text within half a millisecond of a full-range
    // bound stands for that bound. 0 when unreadable.
    double StartTime(const Program& program) const;
    double FinalTime(const Program& program) const;

private:
    void RoundStartUp(Program& program, long long unitMs);
    void TruncateFinal(Program& program, long long unitMs);

    std::string savedSpan_, savedStep_, savedHerror_;
    bool savedEffectHori_ = false;
};

} // namespace fixtally
