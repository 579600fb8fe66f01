#pragma once

#include "input/csv/CsvLayout.h"

#include <string>
#include <string_view>

namespace fixtally {

// RTKLIB writes its solutions in several forms, chosen by its output options: time as
// "yyyy/mm/dd hh:mm:ss.sss" or as GPS week and seconds of week, in GPS time or UTC, and
// the position as latitude/longitude in degrees or in degrees, minutes and seconds, as
// ECEF x/y/z or as an east/north/up baseline from the "% ref pos" position. The plain
// form (calendar time, degrees) is read like any CSV log; every other form is brought
// into that form line by line, so that it reads as the same solution.

// Notes what one header line of an RTKLIB file says: the "% ref pos" comment and the
// column title line ("%  GPST  latitude(deg) longitude(deg) height(m)  Q  ns ..."). True
// when the line is an RTKLIB column title line, of whatever position form; layout then
// holds its form. Other lines leave the form as it is.
bool ExamineRtklibHeaderLine(std::string_view line, RtklibLayout& layout);

// True when the data lines of the layout can be read: a known position form, and the
// reference position for east/north/up baselines.
bool RtklibLayoutReadable(const RtklibLayout& layout);

// Why an RTKLIB solution file cannot be read, as the status text that goes before the
// file name; empty when it can be read or is no RTKLIB file.
std::string_view RtklibRefusalText(const RtklibLayout& layout);

// The column map of an RTKLIB file read through the plain form: date and time in field 1,
// latitude, longitude, height, Q and ns in fields 2 to 6.
void SetPlainRtklibColumns(ColumnMap& map);

enum class RtklibLine {
    AsItIs,    // the line is read as it stands (the plain form, or no RTKLIB data line)
    Rewritten, // out holds the line in the plain form, fields separated by commas
    Skip,      // a line of a converted form that does not hold what its form needs
};

// Brings one data line of an RTKLIB solution into the plain form: the GPS week and
// seconds of week become the date and time they stand for (in the same time system),
// degrees, minutes and seconds one field, ECEF and east/north/up positions latitude and
// longitude in degrees (9 decimals, as RTKLIB writes them) and ellipsoidal height
// (4 decimals) on WGS84. out is a buffer kept by the caller.
[[nodiscard]] RtklibLine RewriteRtklibLine(std::string_view line, const RtklibLayout& layout,
                                           std::string& out);

} // namespace fixtally
