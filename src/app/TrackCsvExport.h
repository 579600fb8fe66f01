#pragma once

#include "export/ExportOutcome.h"

#include <functional>

namespace fixtally {

struct Program;

// Shows the Reduce dialog (program.Reduce) modally: its activation calls FormActivate and
// it returns once one of its buttons has set CloseRequested.
using ReduceDialogRunner = std::function<void(Program&)>;

// Writes the fixes of the count range beside the log as a track CSV, thinned by the
// reduce rule; withError adds each fix's error from the reference point and the running
// 2drms (or CEP) value. Messages go through program.Ui, status texts to panel 0.
ExportOutcome ExportTrackCsv(Program& program, bool withError,
                             const ReduceDialogRunner& showReduceDialog);

// The menu commands "Save to CSV(&V)" (withError false) and "Save to CSV with error(&E)":
// nothing while a log loads; otherwise the export (with AbortRequested cleared first, so
// only the Reduce dialog's Cancel or an Esc while writing stops it), then "*** Aborted by
// user ***" in panel 0 when it was cancelled or aborted; AbortRequested is cleared at the end.
ExportOutcome SaveToCsvClick(Program& program, bool withError,
                             const ReduceDialogRunner& showReduceDialog);

} // namespace fixtally
