#pragma once

#include <string>
#include <string_view>

namespace fixtally {

struct Settings;

// Process-wide values that follow the user's locale and clock rather than a setting.
struct Conventions {
    std::string DefaultDateFormat = "m/d/yyyy"; // the locale's short date format, lower case
    double LocalOffset = 0;                     // local time minus UTC, in days
};

// The date format used when no locale gives one (the US English short date form).
inline constexpr std::string_view FallbackDateFormat = "m/d/yyyy";

// Sets DefaultDateFormat from the process locale (LC_ALL, LC_TIME, LANG in that order).
// Numbers and dates themselves are always converted with the fixed conventions
// (".", "/", ":", month/day/year), so nothing else depends on the locale.
void SetupConventions(Conventions& conventions);

// The short date format of the named locale in the program's pattern letters, lower case;
// FallbackDateFormat for an empty, C or POSIX locale, or one the system does not have.
std::string DateFormatOfLocale(std::string_view localeName);

// Converts a C library date format (nl_langinfo D_FMT, e.g. "%d.%m.%Y") to the program's
// pattern letters ("dd.mm.yyyy"); empty when it has no day, month or year directive.
std::string DateFormatFromStrftime(std::string_view format);

// Sets LocalOffset from the current clock; honours the TZ environment variable.
void MeasureLocalOffset(Conventions& conventions);

// Local time minus UTC in days, rounded to whole seconds, in force at the given UTC day
// number. A value of 1 or below (a time of day without date) gives the current offset.
double LocalOffsetAtUtc(double utcDayNumber);

// The same for a day number that is a local time of this computer (a logger's local
// times): the offset that local time had. In a daylight-saving gap or overlap the
// C library's choice decides.
double LocalOffsetAtLocal(double localDayNumber);

// The date format in use: the DateFormat setting trimmed and in lower case, or the
// default date format when that is empty.
std::string DateFormatInUse(const Settings& settings, const Conventions& conventions);

} // namespace fixtally
