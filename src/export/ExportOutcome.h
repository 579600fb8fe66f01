#pragma once

namespace fixtally {

// How an export command ended.
enum class ExportOutcome {
    Done,         // the file was written
    NoData,       // no log loaded or an empty store ("\nNo reading data.")
    Cancelled,    // "Cancel" (or "Reset") in the dialog
    Declined,     // the file exists and the answer to "Overwrite?" was No
    CreateFailed, // "\nFile could not be created"
    WriteFailed,  // a write failed (" Error: could not be CSV output.")
    Aborted,      // Esc while writing; the rows written so far become the file
    Busy,         // a log is loading: the command does nothing
    Refused,      // the dialog did not accept its texts (warning shown, dialog still open)
    OverLog,      // the output file is the log being read: refused with a message
};

} // namespace fixtally
