#pragma once

#include "export/ExportOutcome.h"

#include <functional>

namespace fixtally {

struct Program;

// How the averaged export finds the fixes of a window: through an index ordered by time
// (the cost grows with the fixes inside the windows), or by a full pass over the store per
// window. Both write the same bytes.
enum class WindowScan { Indexed, PlainPass };

// Writes the averages of sliding windows of the dialog's span, from its start time in
// steps, beside the log: "Time,latitude,Longitude,Altitude,Span=..h" and one line per
// window with a known average position. Status texts go to panel 0.
ExportOutcome ExportAveragedCsv(Program& program, WindowScan scan = WindowScan::Indexed);

// Shows the "Average condition" dialog (program.Average) modally: its activation calls
// FormActivate and it returns once a button has set CloseRequested.
using AverageDialogRunner = std::function<void(Program&)>;

// The menu command "Save average to CSV(&A)": nothing while a log loads; "\nNo reading
// data." without fixes; otherwise the dialog and, unless it was cancelled, the export.
// AbortRequested is cleared at the end.
ExportOutcome SaveAverageToCsvClick(Program& program, const AverageDialogRunner& showDialog);

} // namespace fixtally
