#pragma once

#include <string>

namespace fixtally {

struct Program;

// The result fields of the main window driven from the program state.

// ReadDisplayDecimals with the program's settings and the loaded log's decimals.
void ReadDisplayDecimals(Program& program);

// The four spread fields from the last count's ErrorSpread and the probability unit.
void ShowSpreadFields(Program& program);

// The average latitude and longitude fields from AveragePoint.
void ShowAveragePosition(Program& program);

// LabelDgps: the quality operator and value texts of the group in force.
void ShowFilterLabel(Program& program);

// Caption of the spread group for the probability unit, then ShowSpreadFields.
void SetProbabilityCaption(Program& program);

// Empties every result field and LabelStatus, then draws the empty graph.
void ClearResults(Program& program);

// Empties both status-bar panels and takes back the taskbar progress.
void ClearStatusBar(Program& program);

// PeakTimeText with the program's date format and loaded log.
std::string PeakTimeText(const Program& program, double time);

} // namespace fixtally
