#pragma once

#include "export/ExportOutcome.h"

#include <optional>
#include <string>

namespace fixtally {

struct Program;

// The two texts typed into the Reduce dialog before pressing "Reduce".
struct ReducePress {
    std::string MovingDistance; // metres ("Moving distance")
    std::string ElapsedTime;    // seconds ("Elapsed time")
};

// "Save to CSV" (withError false) or "Save to CSV with error", pressing "Reduce" with the
// given texts or, without them, "Full". The answer to "exists. Overwrite?" comes from
// program.Ui (a HeadlessPlatform answers Yes when ButtonYes is queued or is its default).
ExportOutcome RunTrackExport(Program& program, bool withError,
                             const std::optional<ReducePress>& reduce);

// What is typed into the "Average condition" dialog before "OK".
struct AverageRequest {
    std::string Span;                 // hours
    std::string Step;                 // hours
    std::optional<std::string> Limit; // ticks "Excessive error is ignored" with this text
    std::optional<std::string> Start; // replaces the start time text
    std::optional<std::string> Final; // replaces the final time text
};

// "Save average to CSV" with the request typed in, then "OK". When OK refuses the texts
// (its warning is in program.Ui's messages) the dialog is cancelled and the result is
// ExportOutcome::Refused.
ExportOutcome RunAverageExport(Program& program, const AverageRequest& request);

// Whether the command ended as asked (Done); every other outcome is exit code 3 of
// fixtally-cli, except Busy, which a loaded CLI program never meets.
inline bool ExportDone(ExportOutcome outcome) {
    return outcome == ExportOutcome::Done;
}

} // namespace fixtally
