#pragma once

#include <string>
#include <string_view>

namespace fixtally {

// A day number (days since 1899-12-30 00:00, fraction = time of day) split into its
// calendar parts. Years run from 1 to 9999.
struct CalendarTime {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

// Day number of midnight of a date; NaN when the date does not exist.
double DayNumberFromDate(int year, int month, int day);

// Day number of a date and time; NaN when any part is out of range
// (hour 0..23, minute and second 0..59, millisecond 0..999).
double DayNumberFromCalendar(const CalendarTime& time);

// Splits a day number, rounded to the millisecond; false (out untouched) for NaN,
// infinities and values outside the years 1..9999.
bool CalendarFromDayNumber(double dayNumber, CalendarTime& out);

// Writes a day number with a date-time pattern. Pattern letters, in either case:
//   yyyy (also y runs of 3 or more) four-digit year, yy or y two-digit year,
//   mm month 01..12, m month 1..12, mmm "Jan", mmmm "January",
//   dd day 01..31, d day 1..31, ddd "Sun", dddd "Sunday",
//   hh hour 00..23, h 0..23, nn minute 00..59, n 0..59, ss second 00..59, s 0..59,
//   zzz (or zz) millisecond 000..999, z 0..999.
// Text inside '...' or "..." is copied without the quotes; every other character is copied
// as it is ("/" and ":" stay "/" and ":"). "m" always means the month: minutes are "n".
// Empty when the day number cannot be split (see CalendarFromDayNumber).
std::string FormatDatePattern(double dayNumber, std::string_view pattern);

// The same, appended to out (no allocation once out has room). False, with out unchanged,
// when the day number cannot be split.
bool AppendDatePattern(std::string& out, double dayNumber, std::string_view pattern);

} // namespace fixtally
