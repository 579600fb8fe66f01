#include "convert/Conversions.h"

#include "convert/DatePattern.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <limits>

namespace fixtally {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A text built on the stack; only texts longer than the local room use the heap.
class TextBuffer {
public:
    void Append(char c) {
        if (heap_.empty() && size_ < sizeof local_) {
            local_[size_++] = c;
            return;
        }
        if (heap_.empty()) heap_.assign(local_, size_);
        heap_.push_back(c);
        ++size_;
    }
    void Append(std::string_view text) {
        if (text.empty()) return;
        if (heap_.empty() && size_ + text.size() <= sizeof local_) {
            std::memcpy(local_ + size_, text.data(), text.size());
            size_ += text.size();
            return;
        }
        for (char c : text) Append(c);
    }
    void Clear() {
        size_ = 0;
        heap_.clear();
    }
    std::string_view View() const {
        return heap_.empty() ? std::string_view(local_, size_) : std::string_view(heap_);
    }

private:
    char local_[96];
    std::size_t size_ = 0;
    std::string heap_;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
char ToUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
char ToLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
// One of "+-0123456789.E", the characters StrippedNumber keeps.
bool IsNumberChar(char c) {
    return IsDigit(c) || c == '.' || c == '+' || c == '-' || c == 'E';
}

bool Contains(std::string_view set, char c) {
    return set.find(c) != std::string_view::npos;
}

// Plain "[-]digits[.digits]" with at most 19 digits that fit a double exactly: one
// correctly rounded division gives the same value as a full conversion, much faster.
bool FastDecimal(const char* p, const char* e, double& out) {
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    bool negative = p != e && *p == '-';
    if (negative) ++p;
    std::uint64_t mantissa = 0;
    const char* q = p;
    for (; q != e && IsDigit(*q); ++q) mantissa = mantissa * 10 + static_cast<unsigned>(*q - '0');
    int digits = static_cast<int>(q - p), fraction = 0;
    if (q != e && *q == '.') {
        const char* first = ++q;
        for (; q != e && IsDigit(*q); ++q)
            mantissa = mantissa * 10 + static_cast<unsigned>(*q - '0');
        fraction = static_cast<int>(q - first);
    }
    // Exponents, stray characters and long numbers take the full conversion.
    digits += fraction;
    if (q != e || digits == 0 || digits > 19 || mantissa > (std::uint64_t{1} << 53)) return false;
    double v = static_cast<double>(mantissa) / kPow10[fraction];
    out = negative ? -v : v;
    return true;
}

} // namespace

int PlaceShortYear(int year, int currentYear) {
    int first = currentYear - 50;
    int y = first - (first % 100 + 100) % 100 + year % 100;
    if (y < first) y += 100;
    return y;
}

namespace {

// Reader over the joined date and time text.
struct Scanner {
    const char* p;
    const char* e;

    bool AtEnd() const { return p == e; }
    void SkipBlanks() {
        while (p != e && IsBlank(*p)) ++p;
    }
    bool Take(char c) {
        if (p == e || *p != c) return false;
        ++p;
        return true;
    }
    // Up to maxDigits decimal digits; false when there is none or more follow.
    bool Number(int maxDigits, int& value, int& digits) {
        value = 0;
        digits = 0;
        while (p != e && IsDigit(*p)) {
            if (digits == maxDigits) return false;
            value = value * 10 + (*p - '0');
            ++digits;
            ++p;
        }
        return digits > 0;
    }
};

int WindowedYear(int year, int digits, int currentYear) {
    return digits > 2 ? year : PlaceShortYear(year, currentYear);
}

// "month/day/year"; false (position kept) when the text does not start with one.
bool ScanDate(Scanner& s, int currentYear, int& year, int& month, int& day) {
    Scanner start = s;
    int digits = 0, yearDigits = 0;
    s.SkipBlanks();
    if (s.Number(4, month, digits) && s.Take('/') && s.Number(4, day, digits) && s.Take('/') &&
        s.Number(4, year, yearDigits)) {
        year = WindowedYear(year, yearDigits, currentYear);
        return true;
    }
    s = start;
    return false;
}

// "h[:n[:s[.zzz]]]" with an optional AM/PM, then the end of the text. Milliseconds of the
// time of day, or -1.
std::int64_t ScanTime(Scanner& s) {
    int hour = 0, minute = 0, second = 0, milli = 0, digits = 0;
    s.SkipBlanks();
    if (!s.Number(4, hour, digits)) return -1;
    if (s.Take(':')) {
        if (!s.Number(4, minute, digits)) return -1;
        if (s.Take(':')) {
            if (!s.Number(4, second, digits)) return -1;
            if (s.Take('.')) {
                // The fraction is read as milliseconds, so it must be three digits.
                if (!s.Number(3, milli, digits) || digits != 3) return -1;
            }
        }
    }
    s.SkipBlanks();
    if (s.e - s.p >= 2 && ToUpper(s.p[1]) == 'M' &&
        (ToUpper(s.p[0]) == 'A' || ToUpper(s.p[0]) == 'P')) {
        bool pm = ToUpper(s.p[0]) == 'P';
        s.p += 2;
        if (hour > 12) return -1;
        if (pm && hour < 12) hour += 12;
        if (!pm && hour == 12) hour = 0;
        s.SkipBlanks();
    }
    if (!s.AtEnd()) return -1;
    if (hour > 23 || minute > 59 || second > 59) return -1;
    return ((static_cast<std::int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + milli;
}

} // namespace

bool ParseDecimal(std::string_view text, double& value) {
    const char* b = text.data();
    const char* e = b + text.size();
    if (b == e) return false;
    if (*b == '+') {
        ++b;
        if (b == e || *b == '-') return false;
    }
    const char* m = b;
    if (m != e && *m == '-') ++m;
    // from_chars would also take "inf" and "nan"; a number starts with a digit or ".".
    if (m == e || !(IsDigit(*m) || *m == '.')) return false;
    double result = 0;
    if (FastDecimal(b, e, result)) {
        value = result;
        return true;
    }
    auto [ptr, ec] = std::from_chars(b, e, result, std::chars_format::general);
    if (ec != std::errc() || ptr != e) return false;
    value = result;
    return true;
}

namespace {

// The trimmed text read as a decimal int: the value, and whether the whole text was a
// number (errc() with ptr at the end) or a number outside the range.
std::from_chars_result ReadInt(std::string_view text, int& value) {
    text = TrimText(text);
    const char* b = text.data();
    const char* e = b + text.size();
    if (b != e && *b == '+') {
        ++b;
        if (b != e && *b == '-') return {b, std::errc::invalid_argument};
    }
    if (b == e) return {b, std::errc::invalid_argument};
    auto result = std::from_chars(b, e, value, 10);
    if (result.ptr != e) result.ec = std::errc::invalid_argument; // more than a number
    return result;
}

} // namespace

int TextToInt(std::string_view text) {
    int value = 0;
    return ReadInt(text, value).ec == std::errc() ? value : 0;
}

bool IntegerTextOutOfRange(std::string_view text) {
    int value = 0;
    return ReadInt(text, value).ec == std::errc::result_out_of_range;
}

double TextToFloat(std::string_view text) {
    double value = kNaN;
    return ParseDecimal(TrimText(text), value) ? value : kNaN;
}

double TextToZeroFloat(std::string_view text) {
    double value = 0;
    return ParseDecimal(TrimText(text), value) ? value : 0.0;
}

double StrippedNumber(std::string_view text, int& decimals) {
    text = TrimText(text);
    std::string_view number = text;
    TextBuffer kept;
    bool clean = true;
    for (char c : text) clean = clean && IsNumberChar(c);
    if (!clean) {
        for (char c : text)
            if (IsNumberChar(c)) kept.Append(c);
        number = kept.View();
    }
    double value = 0;
    if (!ParseDecimal(number, value)) return kNaN;
    decimals = 0;
    for (std::size_t i = 0; i < number.size(); ++i)
        if (number[i] == '.') {
            decimals = static_cast<int>(number.size() - i - 1);
            break;
        }
    return value;
}

int CurrentCalendarYear() {
    static const int year = [] {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        if (localtime_r(&now, &local) == nullptr) return 2000;
        return local.tm_year + 1900;
    }();
    return year;
}

double DateTimeFromText(std::string_view date, std::string_view time) {
    return DateTimeFromText(date, time, CurrentCalendarYear());
}

double DateTimeFromText(std::string_view date, std::string_view time, int currentYear) {
    date = TrimText(date);
    time = TrimText(time);
    if (time.empty()) {
        std::size_t space = date.find(' ');
        if (space != std::string_view::npos) {
            time = TrimText(date.substr(space + 1));
            date = date.substr(0, space);
        }
    }

    TextBuffer text;
    text.Append(date);
    text.Append(' ');
    // A leap second is read as the last second of the minute; no day is added.
    if (time.starts_with("23:59:60")) {
        text.Append("23:59:59");
        text.Append(time.substr(8));
    } else {
        text.Append(time);
    }
    // Short fractions become milliseconds; an empty time reads as midnight.
    std::size_t dot = time.find('.');
    if (time.empty()) {
        text.Append("000");
    } else if (dot != std::string_view::npos) {
        std::size_t after = time.size() - dot - 1;
        if (after < 3) text.Append(std::string_view("000").substr(after));
    }

    std::string_view joined = text.View();
    Scanner s{joined.data(), joined.data() + joined.size()};
    int year = 0, month = 0, day = 0;
    double dayNumber = 0;
    if (ScanDate(s, currentYear, year, month, day)) {
        dayNumber = DayNumberFromDate(year, month, day);
        if (std::isnan(dayNumber)) return 0;
        s.SkipBlanks();
    }
    std::int64_t ms = ScanTime(s);
    if (ms < 0) return 0;
    double fraction = static_cast<double>(ms) / 86400000.0;
    return dayNumber >= 0 ? dayNumber + fraction : dayNumber - fraction;
}

double CoordinateFromText(std::string_view input) {
    TextBuffer upper;
    for (char c : TrimText(input)) upper.Append(ToUpper(c));
    std::string_view text = upper.View();
    if (text.empty()) return kNaN;

    bool negative = false;
    if (Contains("-SW", text.front())) {
        negative = true;
        text.remove_prefix(1);
    }
    if (!text.empty() && Contains("+EN", text.front())) text.remove_prefix(1);
    if (!text.empty()) {
        if (Contains("-SW", text.back())) {
            negative = true;
            text.remove_suffix(1);
        } else if (Contains("+EN", text.back())) {
            text.remove_suffix(1);
        }
    }
    text = TrimText(text);

    bool plain = true;
    for (char c : text) plain = plain && IsNumberChar(c);
    double value = 0;
    if (plain && ParseDecimal(text, value)) return negative ? -value : value;

    // Degrees, minutes and seconds separated by anything that is not part of a number.
    double parts[3] = {0, 0, 0};
    int current = 0;
    bool completed = false;
    TextBuffer number;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        char c = i < text.size() ? text[i] : ' ';
        if (IsDigit(c) || c == '.') {
            number.Append(c);
        } else if (c == 'E' || c == 'N') {
            negative = false;
        } else if (c == 'S' || c == 'W') {
            negative = true;
        } else if ((c == '+' || c == '-') && !completed) {
            negative = c == '-';
        } else if (!number.View().empty()) {
            double part = 0;
            if (!ParseDecimal(number.View(), part)) return kNaN;
            number.Clear();
            parts[current] += part;
            if (current < 2) ++current;
            completed = true;
        }
    }
    if (!completed) return kNaN;
    double degrees = parts[0] + (parts[1] + parts[2] / 60) / 60;
    return negative ? -degrees : degrees;
}

double AltitudeFromText(std::string_view input) {
    TextBuffer lower;
    for (char c : TrimText(input)) lower.Append(ToLower(c));
    std::string_view text = lower.View();
    double factor = 1;
    if (text.find("ft") != std::string_view::npos)
        factor = 0.3048;
    else if (text.find("mi") != std::string_view::npos)
        factor = 1609.344;
    else if (text.find("nm") != std::string_view::npos)
        factor = 1852.0;
    TextBuffer kept;
    for (char c : text)
        if (Contains("0123456789.+-e", c)) kept.Append(c);
    double value = 0;
    if (!ParseDecimal(kept.View(), value)) return kNaN;
    return value * factor;
}

std::string FormatDms(double value, int decimals) {
    if (!std::isfinite(value)) return {};
    double v = std::fabs(value);
    // Half a unit of the last shown seconds digit, in degrees, so that truncating degrees
    // and minutes below rounds the whole text.
    static constexpr double kRoundingAid[6] = {1.388888888888889e-05,  1.388888888888889e-06,
                                               1.3888888888888888e-07, 1.388888888888889e-08,
                                               1.388888888888889e-09,  1.3888888888888888e-10};
    if (decimals >= 0 && decimals <= 5) v += kRoundingAid[decimals];
    if (!(v < 1e15)) return {};
    int d = decimals < 0 ? 0 : (decimals > 18 ? 18 : decimals);

    auto degrees = static_cast<long long>(v);
    double m = (v - static_cast<double>(degrees)) * 60;
    auto minutes = static_cast<int>(m);
    double s = (m - minutes) * 60;

    char buf[64];
    std::string out;
    auto r = std::to_chars(buf, buf + sizeof buf, degrees);
    for (auto n = r.ptr - buf; n < 3; ++n) out.push_back(' ');
    out.append(buf, r.ptr);
    out.append("\xC2\xB0");
    out.push_back(static_cast<char>('0' + minutes / 10));
    out.push_back(static_cast<char>('0' + minutes % 10));
    out.push_back('\'');

    r = std::to_chars(buf, buf + sizeof buf, s, std::chars_format::fixed, d);
    std::string_view seconds(buf, static_cast<std::size_t>(r.ptr - buf));
    // "ss.ddd" has d + 3 characters; whole seconds have two.
    std::size_t width = d > 0 ? static_cast<std::size_t>(d) + 3 : 2;
    if (seconds.size() < width) {
        out.push_back('0');
        out.append(seconds);
    } else if (d == 0 ? seconds == "60" : seconds.starts_with("60.")) {
        // Seconds never show 60.
        out.append(std::string_view("59.9999999").substr(0, width));
    } else {
        out.append(seconds);
    }
    out.push_back('"');
    return out;
}

std::string FormatDmsHemisphere(double value, int decimals, std::string_view letters) {
    std::string text = FormatDms(std::fabs(value), decimals);
    if (text.empty()) return text;
    std::size_t which = value >= 0 ? 0 : 1;
    if (which < letters.size()) text.push_back(letters[which]);
    return text;
}

} // namespace fixtally
