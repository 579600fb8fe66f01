#include "convert/DatePattern.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace fixtally {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int64_t kMsPerDay = 86400000;
// 1899-12-30 counted from 1970-01-01.
constexpr std::int64_t kEpochShift = -25569;
constexpr std::int64_t kFirstDay = -693593; // 0001-01-01
constexpr std::int64_t kLastDay = 2958465;  // 9999-12-31

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yoe = y - era * 400;
    std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

constexpr const char* kMonthNames[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
constexpr const char* kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

void AppendNumber(std::string& out, long long value, int width) {
    char digits[24];
    int n = 0;
    unsigned long long v = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                     : static_cast<unsigned long long>(value);
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (value < 0) out.push_back('-');
    for (int i = n; i < width; ++i) out.push_back('0');
    while (n > 0) out.push_back(digits[--n]);
}

} // namespace

double DayNumberFromDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        return kNaN;
    return static_cast<double>(DaysFromCivil(year, month, day) - kEpochShift);
}

double DayNumberFromCalendar(const CalendarTime& t) {
    double date = DayNumberFromDate(t.Year, t.Month, t.Day);
    if (std::isnan(date) || t.Hour < 0 || t.Hour > 23 || t.Minute < 0 || t.Minute > 59 ||
        t.Second < 0 || t.Second > 59 || t.Millisecond < 0 || t.Millisecond > 999)
        return kNaN;
    std::int64_t ms = ((static_cast<std::int64_t>(t.Hour) * 60 + t.Minute) * 60 + t.Second) * 1000 +
                      t.Millisecond;
    double fraction = static_cast<double>(ms) / static_cast<double>(kMsPerDay);
    // Before 1899-12-30 the fraction still counts forward within the day.
    return date >= 0 ? date + fraction : date - fraction;
}

bool CalendarFromDayNumber(double dayNumber, CalendarTime& out) {
    if (!std::isfinite(dayNumber) || dayNumber < static_cast<double>(kFirstDay) - 1 ||
        dayNumber > static_cast<double>(kLastDay) + 1)
        return false;
    std::int64_t days = 0, ms = 0;
    if (dayNumber >= 0) {
        std::int64_t total = std::llround(dayNumber * static_cast<double>(kMsPerDay));
        days = total / kMsPerDay;
        ms = total % kMsPerDay;
    } else {
        days = static_cast<std::int64_t>(std::trunc(dayNumber));
        ms = std::llround(std::fabs(dayNumber - static_cast<double>(days)) *
                          static_cast<double>(kMsPerDay));
        // Rounded up to midnight: the next day, which is one day number up here too.
        if (ms >= kMsPerDay) {
            ms -= kMsPerDay;
            ++days;
        }
    }
    if (days < kFirstDay || days > kLastDay) return false;
    CivilFromDays(days + kEpochShift, out.Year, out.Month, out.Day);
    out.Millisecond = static_cast<int>(ms % 1000);
    out.Second = static_cast<int>(ms / 1000 % 60);
    out.Minute = static_cast<int>(ms / 60000 % 60);
    out.Hour = static_cast<int>(ms / 3600000);
    return true;
}

std::string FormatDatePattern(double dayNumber, std::string_view pattern) {
    std::string out;
    AppendDatePattern(out, dayNumber, pattern);
    return out;
}

bool AppendDatePattern(std::string& out, double dayNumber, std::string_view pattern) {
    CalendarTime t;
    if (!CalendarFromDayNumber(dayNumber, t)) return false;
    std::size_t i = 0;
    while (i < pattern.size()) {
        char c = pattern[i];
        if (c == '"' || c == '\'') {
            std::size_t close = pattern.find(c, i + 1);
            if (close == std::string_view::npos) close = pattern.size();
            out.append(pattern.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        char u = Upper(c);
        std::size_t run = 1;
        if (u == 'Y' || u == 'M' || u == 'D' || u == 'H' || u == 'N' || u == 'S' || u == 'Z')
            while (i + run < pattern.size() && Upper(pattern[i + run]) == u) ++run;
        switch (u) {
        case 'Y':
            if (run <= 2)
                AppendNumber(out, t.Year % 100, 2);
            else
                AppendNumber(out, t.Year, 4);
            break;
        case 'M':
            if (run <= 2)
                AppendNumber(out, t.Month, static_cast<int>(run));
            else if (run == 3)
                out.append(kMonthNames[t.Month - 1], 3);
            else
                out.append(kMonthNames[t.Month - 1]);
            break;
        case 'D':
            if (run <= 2) {
                AppendNumber(out, t.Day, static_cast<int>(run));
            } else {
                double date = DayNumberFromDate(t.Year, t.Month, t.Day);
                // 1899-12-30 was a Saturday.
                auto weekday = static_cast<int>(((static_cast<long long>(date) + 6) % 7 + 7) % 7);
                if (run == 3)
                    out.append(kDayNames[weekday], 3);
                else
                    out.append(kDayNames[weekday]);
            }
            break;
        case 'H':
            AppendNumber(out, t.Hour, run >= 2 ? 2 : 1);
            break;
        case 'N':
            AppendNumber(out, t.Minute, run >= 2 ? 2 : 1);
            break;
        case 'S':
            AppendNumber(out, t.Second, run >= 2 ? 2 : 1);
            break;
        case 'Z':
            AppendNumber(out, t.Millisecond, run >= 2 ? 3 : 1);
            break;
        default:
            out.push_back(c);
            break;
        }
        i += run;
    }
    return true;
}

} // namespace fixtally
