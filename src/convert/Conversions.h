#pragma once

#include <string>
#include <string_view>

namespace fixtally {

// Text <-> number conversions shared by the readers, the true-position input and the
// result display. They follow one fixed set of conventions whatever the process locale:
// decimal point ".", no thousands separator, dates month/day/year with "/", times with ":".
// None of them throws; failures end in 0, NaN or an empty text as stated per function.

// Removes leading and trailing blanks and control characters (every byte <= ' ').
inline std::string_view TrimText(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
    return text.substr(b, e - b);
}

// Compares two texts with ASCII letters folded to lower case (keys, section names).
inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Reads a plain decimal number: optional sign, digits with an optional ".", optional
// exponent ("E" or "e"). No blanks, no "inf"/"nan", no hex. False leaves value untouched.
bool ParseDecimal(std::string_view text, double& value);

// Decimal 32-bit integer after trimming; 0 for empty text, letters, a decimal point or a
// value outside the 32-bit range.
int TextToInt(std::string_view text);

// True when the trimmed text is a whole number, as TextToInt reads one, that lies outside
// the 32-bit range (TextToInt gives 0 for it): a count too large to be a count.
bool IntegerTextOutOfRange(std::string_view text);

// Trimmed text as a decimal number; NaN when empty or not a number.
double TextToFloat(std::string_view text);

// Trimmed text as a decimal number; 0 when empty or not a number.
double TextToZeroFloat(std::string_view text);

// Keeps only the characters of "+-0123456789.E" and reads them (an altitude such as
// "545.4M"). NaN when nothing readable remains; then decimals is left as it was, otherwise
// it is set to the number of characters after the ".".
double StrippedNumber(std::string_view text, int& decimals);

// The current calendar year of the computer's clock, taken once per process; it places
// one- and two-digit years in the window [year - 50, year + 49].
int CurrentCalendarYear();

// The year ending in the last two digits of year that lies in [currentYear - 50,
// currentYear + 49].
int PlaceShortYear(int year, int currentYear);

// Day number (days since 1899-12-30, fraction = time of day) of a date text
// "month/day/year" and a time text "hh:mm:ss" with an optional fraction of at most three
// digits. An empty date gives the time of day alone; "23:59:60" reads as "23:59:59".
// 0 when the texts do not convert.
double DateTimeFromText(std::string_view date, std::string_view time);
// The same with an explicit current year for the two-digit-year window.
double DateTimeFromText(std::string_view date, std::string_view time, int currentYear);

// A latitude or longitude typed in decimal degrees or degrees, minutes and seconds, with
// hemisphere letters or signs in front or behind. Signed degrees, or NaN.
// The true coordinates of the settings are read with this one; CSV fields have their own
// parser (ParseCoordinate) because there a sign after the degrees is ignored and digits
// join across it, and the field's decimals are needed, while here a sign after the
// degrees separates the parts. Both rules are kept so that settings and logs read as
// before.
double CoordinateFromText(std::string_view text);

// An altitude typed with an optional unit ("ft", "mi", "nm"; metres otherwise). Metres, or NaN.
double AltitudeFromText(std::string_view text);

// |value| as degrees, minutes and seconds with d decimals of seconds, for example
// " 35°39'29.156\"" (degrees padded with spaces to three characters). Empty for NaN.
std::string FormatDms(double value, int decimals);

// FormatDms of |value| followed by letters[0] when value >= 0, letters[1] otherwise
// ("NS" or "EW"). Empty for NaN.
std::string FormatDmsHemisphere(double value, int decimals, std::string_view letters);

} // namespace fixtally
