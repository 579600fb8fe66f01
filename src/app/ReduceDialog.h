#pragma once

#include "export/TrackThinning.h"

#include <string>

namespace fixtally {

struct Program;

// The "Reduce" dialog shown before every track export: write every fix ("Full") or a
// thinned track ("Reduce"), with the thresholds of its two edits. The edit texts are the
// settings they persist to (Reduce/MovingDist and Reduce/ElapsesTimes); the desktop dialog
// binds EditMd and EditEt to them and closes itself when CloseRequested is set.
class ReduceDialog {
public:
    static constexpr const char* Caption = "Reduce";
    static constexpr const char* Label1 = "Condition to output";

    bool ReduceEnabled = false;
    double ReduceDistance = 30.0;                        // metres, at least 1
    double ReduceInterval = 10.0 / 86400 - 0.01 / 86400; // days
    bool CloseRequested = false;

    ReduceRule Rule() const { return {ReduceEnabled, ReduceDistance, ReduceInterval}; }

    // The "Moving distance" and "Elapsed time" edits.
    static std::string& EditMd(Program& program);
    static std::string& EditEt(Program& program);

    // Derives the thresholds from the edits; a distance below 1 m becomes "1.0", an
    // elapsed time below 0.1 s becomes "0.1". The interval is kept 0.01 s short of the
    // accepted value so that fixes logged at exactly that spacing pass.
    void ApplyReduceEdits(Program& program);

    void FormActivate(Program& program) {
        CloseRequested = false;
        ApplyReduceEdits(program);
    }
    // Enter and line feed are swallowed by both edits.
    static bool SwallowsKey(char32_t key) { return key == U'\r' || key == U'\n'; }

    // "Reduce": thresholds from the edits, thinning on, close.
    void ButtonOKClick(Program& program) {
        ApplyReduceEdits(program);
        ReduceEnabled = true;
        CloseRequested = true;
    }
    // "Full": every fix of the count range, edits not re-read; close.
    void ButtonFullClick() {
        ReduceEnabled = false;
        CloseRequested = true;
    }
    // "Cancel": the export stops.
    void Button1Click(Program& program);
};

} // namespace fixtally
