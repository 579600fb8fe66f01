#pragma once

#include "input/csv/CsvLayout.h"

#include <string>
#include <string_view>

namespace fixtally {

// A coordinate read from a CSV field and the decimals its text justifies.
struct CoordinateValue {
    double Degrees; // NaN when unreadable
    int Decimals;
};

// Decimal degrees with an optional sign or hemisphere letter in front or behind, or
// degrees, minutes and seconds separated by blanks, degree signs, apostrophes or quotes.
// Not CoordinateFromText, which reads the typed true coordinates: this one runs on every
// field of a log without allocating, gives the decimals the text justifies, drops quotes
// and ignores a sign after the degrees (digits join across it), where CoordinateFromText
// takes such a sign as a separator. Both rules are kept so that logs and settings read
// as before.
CoordinateValue ParseCoordinate(std::string_view text);

// The fix-quality character of a quality field: the first word of the RTKLIB list
// (NO FIX, FIX, FLOAT, SBAS, DGPS, SINGLE, PPP) or of the logger list (NO FIX, SPS, DGPS,
// PPS, RTK, FRTK, ESTIMATED ..., MANUAL INPUT MODE, SIMULATOR, ESTIMATED MODE) that
// begins with the upper-cased text gives its digit; otherwise the text's first character.
// An empty text gives '0'.
char16_t QualityWordToDigit(std::string_view text, bool isRtklibLog);

// The leading run of "+-0123456789" of the trimmed text as an integer; 0 when it is not
// one ("8/12" gives 8).
int ParseLeadingInt(std::string_view text);
// True when those leading characters are a whole number outside the 32-bit range.
bool LeadingIntOutOfRange(std::string_view text);

// A year-first date without separators to month/day/year: "20140517" gives
// "05/17/2014", "140517" gives "05/17/14". An empty text stays empty.
void CompactDateToSlashed(std::string_view text, std::string& out);
std::string CompactDateToSlashed(std::string_view text);

// A time without separators to hh:mm:ss: "123456" gives "12:34:56", "1234" gives
// "00:12:34", "12345.6" gives "01:23:45.6", "1234567" gives "12:34:56.7". An empty text
// stays empty.
void CompactTimeToColons(std::string_view text, std::string& out);
std::string CompactTimeToColons(std::string_view text);

// "2014/05/17 10:00:00" to "05/17/2014 10:00:00"; a text whose first "/" is not its fifth
// character is returned unchanged.
void YearFirstToMonthFirst(std::string_view text, std::string& out);
std::string YearFirstToMonthFirst(std::string_view text);

// An ISO 8601 date-time ("2014-05-17T19:30:00+09:00", "20140517T103000Z") as
// "date time" text; with a zone offset the time is converted to UTC and written as
// "yyyy/mm/dd hh:nn:ss.zzz". False when the date, time or zone does not convert.
bool IsoToDateTimeText(std::string_view text, std::string& out);

// A speed in the profile's unit (1 mph, 2 knots, otherwise km/h) in knots, multiplied by
// the profile's speed factor when that is not 0. NaN stays NaN.
double SpeedToKnots(double speed, const ProfileParams& params);

} // namespace fixtally
