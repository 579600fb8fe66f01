#pragma once

#include "display/MainWindowModel.h"
#include "geodesy/GeoPoint.h"
#include "settings/Settings.h"
#include "stats/Statistics.h"

#include <string>
#include <string_view>

namespace fixtally {

// Spreads are multiplied by this in CEP(50%) mode before they are shown.
inline constexpr double CepFactor = 0.416273762;

inline constexpr const char* NoEffectiveData = "***** no effective data *****";

// Derives the four display decimals (main.PosDecimals ...) from PosDecimal, AltDecimal,
// ErrorDecimal and DopDecimal, in that order. "0" (or an unreadable text) in the position
// or altitude decimals means "as the log has" (logPosDecimals, logAltDecimals); only a
// number the user typed is corrected in its field when it is clamped (3..9, 1..6). A
// distance "0" takes the altitude decimals and the altitude text; a DOP "0" becomes "3".
void ReadDisplayDecimals(MainWindowModel& main, Settings& settings, int logPosDecimals,
                         int logAltDecimals);

// The four spread fields from the 2 x RMS spreads and the probability unit (twoDrms false:
// CEP(50%)), paired to equal width.
void ShowSpreadFields(MainWindowModel& main, const SpreadValues& spread, bool twoDrms);

// The average latitude and longitude fields (dd mm ss.sss or degrees); empty without one.
void ShowAveragePosition(MainWindowModel& main, const GeoPoint& average, bool ddmmss);

// The text of LabelDgps: the quality operator and value texts of the group in force.
std::string FilterLabelText(const Settings& settings, bool isRtklibLog);

// Caption of the spread group for the probability unit.
std::string ProbabilityCaption(bool twoDrms);

// LabelStatus: time span of the accepted fixes, elapsed time and the two record counts.
std::string StatusLineText(double firstTime, double lastTime, long long accepted,
                           long long withAltitude, std::string_view dateFormat);

// "  " + the time of a peak + "(UTC)", with the date when the log's times carry dates
// (lastFixTime above 1).
std::string PeakTimeText(double time, double lastFixTime, std::string_view dateFormat);

// What the result texts of a count depend on besides the numbers.
struct StatisticsView {
    bool TwoDrms = true;
    bool DDMMSS = true;
    bool UseTrueReference = false;
    GeoPoint TruePoint;
    std::string_view DateFormat;
    double LastFixTime = 0;
};

// Every result field and LabelStatus from the numbers of a count, in the display decimals
// of main.
void ShowStatistics(MainWindowModel& main, const FixStatistics& statistics,
                    const StatisticsView& view);

// Empties every result field and LabelStatus.
void ClearResultFields(MainWindowModel& main);

// The elapsed time of the status line: whole days and a space when there are any, then
// hh:nn:ss, from the difference rounded to whole milliseconds.
std::string ElapsedText(double days);

} // namespace fixtally
