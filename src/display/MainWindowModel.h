#pragma once

#include <span>
#include <string>

namespace fixtally {

// The main window as texts and states: what the desktop program shows and
// what the report and fixtally-cli read. Field names are the control names.
struct MainWindowModel {
    std::string StatusPanel0; // progress and result texts of loading and exporting
    std::string StatusPanel1; // NMEA mode text and record count
    std::string LabelStatus;

    std::string Caption;                // "Fixtally. " + version text, plus the expand-mode mark
    bool MenuCountRangeEnabled = false; // "Count range" and "Recount" menu entries
    bool MenuRecountEnabled = false;
    bool BusyCursor = false;

    // Result fields, read-only texts; empty when the value is missing.
    std::string tCenterEditH2drms; // spreads: " 2drms " or " CEP(50%) " group
    std::string tCenterEditAlt2drms;
    std::string tCenterEditEW2drms;
    std::string tCenterEditNS2drms;
    std::string tCenterEditLatAve; // " Average " group
    std::string tCenterEditLonAve;
    std::string tCenterEditAltAve;
    std::string tCenterEditDgpsP; // share of the in-range fixes that passed the filter
    std::string tCenterEditHP;    // " Peak of error ": value and time
    std::string tCenterEditAP;
    std::string tCenterEditHdopAve; // " Statistics ": DOP and used satellites
    std::string tCenterEditHdopMin;
    std::string tCenterEditHdopMax;
    std::string tCenterEditVdopAve;
    std::string tCenterEditVdopMin;
    std::string tCenterEditVdopMax;
    std::string tCenterEditPdopAve;
    std::string tCenterEditPdopMin;
    std::string tCenterEditPdopMax;
    std::string tCenterEditSuAve;
    std::string tCenterEditSuMin;
    std::string tCenterEditSuMax;
    std::string tCenterEditHorDiff; // " Difference between average and true "
    std::string tCenterEditAltDiff;
    std::string tCenterEditEwDiff;
    std::string tCenterEditNsDiff;

    std::string LabelDgps = "DGPS";        // the fix-quality condition beside tCenterEditDgpsP
    std::string GroupBox2drms = " 2drms "; // caption of the spread group
    bool ButtonCopyAveVisible = false;     // "Paste Ave.", shown after the first count

    // Display decimals in use, from ReadDisplayDecimals.
    int PosDecimals = 3;   // latitude/longitude (of the seconds in dd mm ss.sss form)
    int AltDecimals = 1;   // altitudes
    int ErrorDecimals = 5; // distances and spreads
    int DopDecimals = 3;   // DOP values

    // Set by every settings reading; the desktop program applies them to its windows.
    bool UiEnglish = true;                    // English hints; false under a Japanese locale
    std::string InterfaceFontName = "Tahoma"; // the Font section's font of that language
    int InterfaceFontCharset = 0;
    int InterfaceFontSize = 9;    // as stored: points x screen dots per inch / 96
    std::string OpenDialogFilter; // "Data file|*.nmea;...|All file|*.*" from the extensions
};

// The result fields by control name, in the order ClearResults empties them, for front
// ends that list them (the --json output) or bind them to widgets.
struct ResultField {
    const char* Name;
    std::string MainWindowModel::*Text;
};
std::span<const ResultField> ResultFields();

} // namespace fixtally
