#pragma once

#include <string>

namespace fixtally {

struct Program;

// Spreads are multiplied by this in CEP(50%) mode before they are shown.
inline constexpr double CepFactor = 0.416273762;

inline constexpr const char* NoEffectiveData = "***** no effective data *****";

// Derives the four display decimals (program.Main.PosDecimals ...) from PosDecimal,
// AltDecimal, ErrorDecimal and DopDecimal, in that order. "0" (or an unreadable text) in
// the position or altitude decimals means "as the log has"; only a number the user typed
// is corrected in its field when it is clamped (3..9, 1..6). A distance "0" takes the
// altitude decimals and the altitude text; a DOP "0" becomes "3".
void ReadDisplayDecimals(Program& program);

// The four spread fields from ErrorSpread and the probability unit, paired to equal width.
void ShowSpreadFields(Program& program);

// The average latitude and longitude fields from AveragePoint (dd mm ss.sss or degrees).
void ShowAveragePosition(Program& program);

// LabelDgps: the quality operator and value texts of the group in force.
void ShowFilterLabel(Program& program);

// LabelStatus: time span of the accepted fixes, elapsed time and the two record counts.
void ShowStatusLine(Program& program, double firstTime, double lastTime, long long accepted,
                    long long withAltitude);

// Caption of the spread group for the probability unit, then ShowSpreadFields.
void SetProbabilityCaption(Program& program);

// Empties every result field and LabelStatus, then draws the empty graph.
void ClearResults(Program& program);

// Empties both status-bar panels and takes back the taskbar progress.
void ClearStatusBar(Program& program);

// "  " + the time of a peak + "(UTC)", with the date when the log's times carry dates.
std::string PeakTimeText(const Program& program, double time);

// The elapsed time of the status line: whole days and a space when there are any, then
// hh:nn:ss, from the difference rounded to whole milliseconds.
std::string ElapsedText(double days);

} // namespace fixtally
