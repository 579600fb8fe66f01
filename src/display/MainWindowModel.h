#pragma once

#include <string>

namespace fixtally {

// The main window as texts and states: what the desktop program shows and
// what the report and fixtally-cli read. Field names are the control names.
struct MainWindowModel {
    std::string StatusPanel0; // progress and result texts of loading and exporting
    std::string StatusPanel1; // NMEA mode text and record count
    std::string LabelStatus;

    std::string Caption;            // "Fixtally. " + version text, plus the expand-mode mark
    bool MenuCountRangeEnabled = false; // "Count range" and "Recount" menu entries
    bool MenuRecountEnabled = false;
    bool BusyCursor = false;
};

} // namespace fixtally
