#include "input/csv/CsvFieldForms.h"

#include "convert/Conversions.h"
#include "convert/DatePattern.h"
#include "fixdata/FixRecord.h"
#include "input/csv/CsvNumber.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace fixtally {

namespace {

bool IsNegativeMarker(char c) {
    return c == '-' || c == 'S' || c == 'W';
}
bool IsPositiveMarker(char c) {
    return c == '+' || c == 'E' || c == 'N';
}
bool IsNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'E';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr CoordinateValue Unreadable{NaN, 0};

// Coordinate texts longer than this are not coordinates.
constexpr std::size_t MaxCoordinateText = 128;

struct QualityWord {
    std::string_view Word;
    char16_t Digit;
};

constexpr std::array<QualityWord, 7> RtklibQualityWords{{
    {"NO FIX", u'0'},
    {"FIX", u'1'},
    {"FLOAT", u'5'},
    {"SBAS", u'2'},
    {"DGPS", u'2'},
    {"SINGLE", u'1'},
    {"PPP", u'3'},
}};

constexpr std::array<QualityWord, 10> LoggerQualityWords{{
    {"NO FIX", u'0'},
    {"SPS", u'1'},
    {"DGPS", u'2'},
    {"PPS", u'3'},
    {"RTK", u'4'},
    {"FRTK", u'5'},
    {"ESTIMATED (DEAD RECKONING)", u'6'},
    {"MANUAL INPUT MODE", u'7'},
    {"SIMULATOR", u'8'},
    {"ESTIMATED MODE", u'6'},
}};

template <std::size_t N>
const QualityWord* FindQualityWord(const std::array<QualityWord, N>& words,
                                   std::string_view upper) {
    for (const QualityWord& word : words) {
        if (word.Word.substr(0, upper.size()) == upper) return &word;
    }
    return nullptr;
}

// Reads a zone offset "hh:mm", "hhmm" or "hh" as a fraction of a day.
bool ParseZone(std::string_view zone, double& days) {
    int hours = 0, minutes = 0, digits = 0;
    std::size_t i = 0;
    while (i < zone.size() && IsDigit(zone[i]) && digits < 2) {
        hours = hours * 10 + (zone[i] - '0');
        ++i;
        ++digits;
    }
    if (digits == 0) return false;
    if (i < zone.size() && zone[i] == ':') ++i;
    digits = 0;
    while (i < zone.size() && IsDigit(zone[i]) && digits < 2) {
        minutes = minutes * 10 + (zone[i] - '0');
        ++i;
        ++digits;
    }
    if (i != zone.size() || hours > 23 || minutes > 59) return false;
    days = (hours * 60 + minutes) / 1440.0;
    return true;
}

void InsertAt(std::string& text, std::size_t position, char c) {
    text.insert(text.begin() + static_cast<std::ptrdiff_t>(std::min(position, text.size())), c);
}

} // namespace

CoordinateValue ParseCoordinate(std::string_view text) {
    // Plain decimal degrees, the common form, read the same as by the steps below.
    double plainValue = 0;
    int plainDecimals = 0;
    if (PlainDecimal(text, plainValue, plainDecimals)) return {plainValue, plainDecimals - 2};

    const std::size_t point = text.find('.');
    const int d = point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);

    std::array<char, MaxCoordinateText> buffer;
    std::size_t length = 0;
    for (char c : text) {
        if (c == '"') continue;
        if (length == buffer.size()) return Unreadable;
        buffer[length++] = Upper(c);
    }
    std::string_view s = TrimText(std::string_view(buffer.data(), length));
    if (s.empty()) return Unreadable;

    bool negative = false;
    if (IsNegativeMarker(s.front())) {
        negative = true;
        s.remove_prefix(1);
        if (!s.empty() && IsPositiveMarker(s.front())) s.remove_prefix(1);
    } else if (IsPositiveMarker(s.front())) {
        s.remove_prefix(1);
    }
    if (s.empty()) return Unreadable;
    if (IsNegativeMarker(s.back())) {
        negative = true;
        s.remove_suffix(1);
    } else if (IsPositiveMarker(s.back())) {
        s.remove_suffix(1);
    }
    if (s.empty()) return Unreadable;

    s = TrimText(s);
    bool plain = !s.empty();
    for (char c : s) plain = plain && IsNumberChar(c);
    double value = 0;
    int places = 0;
    if (plain && (PlainDecimal(s, value, places) || ParseDecimal(s, value))) {
        return {negative ? -value : value, d - 2};
    }

    // Degrees, minutes and seconds: numbers separated by any other character.
    std::array<double, 3> parts{0, 0, 0};
    int k = 0;
    std::array<char, MaxCoordinateText> number;
    std::size_t numberLength = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        const char c = i < s.size() ? s[i] : ' ';
        if (c == '+') {
            if (k == 0) negative = false;
        } else if (c == '-') {
            if (k == 0) negative = true;
        } else if (c == '.' || IsDigit(c)) {
            // Digits separated only by signs or letters join into one number.
            number[numberLength++] = c;
        } else if (c == 'E' || c == 'N') {
            negative = false;
        } else if (c == 'S' || c == 'W') {
            negative = true;
        } else if (numberLength > 0) {
            double read = 0;
            const std::string_view digits(number.data(), numberLength);
            if (!PlainDecimal(digits, read, places) && !ParseDecimal(digits, read)) {
                return Unreadable;
            }
            parts[k] += read;
            numberLength = 0;
            if (k < 2) ++k;
        }
    }
    if (k == 0) return Unreadable;
    value = parts[0] + (parts[1] + parts[2] / 60) / 60;
    const int decimals = d == 0 ? 0 : (k == 1 ? d - 2 : d + 1);
    return {negative ? -value : value, decimals};
}

char16_t QualityWordToDigit(std::string_view text, bool isRtklibLog) {
    std::array<char, 32> buffer;
    if (text.size() <= buffer.size()) {
        for (std::size_t i = 0; i < text.size(); ++i) buffer[i] = Upper(text[i]);
        const std::string_view upper(buffer.data(), text.size());
        const QualityWord* word = isRtklibLog ? FindQualityWord(RtklibQualityWords, upper)
                                              : FindQualityWord(LoggerQualityWords, upper);
        if (word) return word->Digit;
    }
    const unsigned char first = static_cast<unsigned char>(Upper(text.front()));
    // The line reader writes the two characters it keeps above 126 in UTF-8.
    if (first == 0xC2 && text.size() > 1) return static_cast<unsigned char>(text[1]);
    return first;
}

namespace {

std::string_view LeadingIntText(std::string_view text) {
    text = TrimText(text);
    std::size_t n = 0;
    while (n < text.size() && (IsDigit(text[n]) || text[n] == '+' || text[n] == '-')) ++n;
    return text.substr(0, n);
}

} // namespace

int ParseLeadingInt(std::string_view text) {
    return TextToInt(LeadingIntText(text));
}

bool LeadingIntOutOfRange(std::string_view text) {
    return IntegerTextOutOfRange(LeadingIntText(text));
}

void CompactDateToSlashed(std::string_view text, std::string& out) {
    out.clear();
    if (text.empty()) return;
    // Padded to six characters with leading zeros, the last four are month and day.
    if (text.size() < 6) out.append(6 - text.size(), '0');
    out.append(text);
    std::rotate(out.begin(), out.end() - 4, out.end());
    out.insert(4, 1, '/');
    out.insert(2, 1, '/');
}

std::string CompactDateToSlashed(std::string_view text) {
    std::string out;
    CompactDateToSlashed(text, out);
    return out;
}

void CompactTimeToColons(std::string_view text, std::string& out) {
    out.clear();
    if (text.empty()) return;
    std::size_t point = text.find('.'); // 0-based; npos when none
    const std::size_t whole = point == std::string_view::npos ? text.size() : point;
    if (whole < 6 && (point != std::string_view::npos || text.size() < 6)) {
        out.append(6 - whole, '0');
    }
    out.append(text);
    point = out.find('.');
    if (point == std::string::npos && out.size() > 6) {
        out.insert(out.begin() + 6, '.');
        point = 6;
    }
    // p is the 1-based position of the point; without one the last two characters are
    // the seconds.
    const std::size_t secondsAt = point == std::string::npos ? out.size() - 2 : point - 2;
    if (secondsAt < 4) return; // a text too short to hold hours, minutes and seconds
    out.insert(secondsAt, 1, ':');
    out.insert(secondsAt - 2, 1, ':');
}

std::string CompactTimeToColons(std::string_view text) {
    std::string out;
    CompactTimeToColons(text, out);
    return out;
}

void YearFirstToMonthFirst(std::string_view text, std::string& out) {
    out.clear();
    if (text.find('/') != 4) {
        out.append(text);
        return;
    }
    std::size_t space = text.find(' ');
    if (space == std::string_view::npos) space = text.size();
    out.append(text.substr(5, space - 5)).append(1, '/').append(text.substr(0, 4));
    out.append(text.substr(space));
}

std::string YearFirstToMonthFirst(std::string_view text) {
    std::string out;
    YearFirstToMonthFirst(text, out);
    return out;
}

bool IsoToDateTimeText(std::string_view text, std::string& out) {
    const std::size_t t = text.find('T');
    std::string date(text.substr(0, t));
    std::string rest(t == std::string_view::npos ? std::string_view() : text.substr(t + 1));
    for (char& c : date) {
        if (c == '-') c = '/';
    }

    const std::size_t z = rest.find('Z');
    const std::size_t plus = rest.find('+');
    const std::size_t minus = rest.find('-');
    const std::size_t sign = std::min(plus, minus);
    const bool hasZone = sign != std::string::npos;
    const bool zoneAhead = hasZone && sign == plus; // "+": local time is ahead of UTC
    std::string zone = hasZone ? rest.substr(sign + 1, 5) : std::string();
    const std::size_t cut = std::min(z, sign);
    if (cut != std::string::npos) rest.erase(cut);

    if (!date.empty() && date.find('/') == std::string::npos) {
        InsertAt(date, 6, '/');
        InsertAt(date, 4, '/');
    }
    if (!rest.empty() && rest.find(':') == std::string::npos) {
        InsertAt(rest, 4, ':');
        InsertAt(rest, 2, ':');
    }

    out.clear();
    if (!hasZone) {
        out.append(date).append(1, ' ').append(rest);
        return true;
    }
    double zoneDays = 0;
    if (!ParseZone(zone, zoneDays)) return false;
    const double local = DateTimeFromText(YearFirstToMonthFirst(TrimText(date)), TrimText(rest));
    if (local == 0) return false;
    const double utc = zoneAhead ? local - zoneDays : local + zoneDays;
    if (!(utc > 0)) return false;
    return AppendDatePattern(out, utc, "yyyy/mm/dd hh:nn:ss.zzz");
}

double SpeedToKnots(double speed, const ProfileParams& params) {
    if (std::isnan(speed)) return speed;
    double knots;
    if (params.SpeedUnit == 1) {
        knots = speed * 0.868976241;
    } else if (params.SpeedUnit == 2) {
        knots = speed;
    } else {
        knots = speed / 1.852;
    }
    if (params.SpeedFactor != 0) knots *= params.SpeedFactor;
    return knots;
}

} // namespace fixtally
