#include "stats/TimeText.h"

#include "convert/Conversions.h"
#include "convert/DatePattern.h"
#include "settings/Conventions.h"

#include <algorithm>

namespace fixtally {

bool AppendTimeFraction(std::string& out, double time, std::string_view pattern) {
    const std::size_t size = out.size();
    auto fail = [&] {
        out.resize(size);
        return false;
    };
    if (!pattern.empty() && pattern.back() == '.') {
        if (!AppendDatePattern(out, time, pattern) || !AppendDatePattern(out, time, "zzz"))
            return fail();
        while (out.size() > size && out.back() == '0') out.pop_back();
        if (out.size() > size && out.back() == '.') out.pop_back();
        return true;
    }
    std::size_t dot = pattern.find(".z");
    if (dot != std::string_view::npos) {
        std::size_t p = dot + 1; // characters up to and including the point
        if (!AppendDatePattern(out, time, pattern.substr(0, p)) ||
            !AppendDatePattern(out, time, "zzz"))
            return fail();
        std::size_t after = pattern.size() - p;
        out.resize(out.size() - (after >= 3 ? 0 : 3 - after));
        return true;
    }
    return AppendDatePattern(out, time, pattern) || fail();
}

std::string FormatTimeFraction(double time, std::string_view pattern) {
    std::string out;
    AppendTimeFraction(out, time, pattern);
    return out;
}

std::string FormatFixTime(double time, std::string_view dateFormat) {
    std::string clock = FormatTimeFraction(time, "hh:nn:ss.");
    if (!(time > 1) || clock.empty()) return clock;
    std::string out;
    if (!AppendDatePattern(out, time, dateFormat)) return {};
    out += ' ';
    out += clock;
    return out;
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Order of the three date parts and the separators between them, read from a date format
// such as "dd.mm.yyyy": parts are named by their letter (m, d or y; anything else names
// no part) and the separators are the characters between the letter runs. A part that
// runs straight into the next one ("yyyymmdd") is read with the width of its run.
struct DateLayout {
    char Part[3] = {0, 0, 0};
    std::size_t Width[3] = {0, 0, 0}; // 0: as many digits as there are
    std::string_view Separator[2];
    std::string_view Tail; // characters after the third part ("日")
};

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsPartLetter(char c) {
    c = Lower(c);
    return c == 'm' || c == 'd' || c == 'y';
}

DateLayout ReadDateLayout(std::string_view format) {
    DateLayout layout;
    std::size_t i = 0;
    for (int part = 0; part < 3 && i < format.size(); ++part) {
        char letter = Lower(format[i]);
        layout.Part[part] = letter;
        std::size_t begin = i;
        while (i < format.size() && Lower(format[i]) == letter) ++i;
        std::size_t run = i - begin;
        begin = i;
        while (i < format.size() && !IsPartLetter(format[i])) ++i;
        std::string_view between = format.substr(begin, i - begin);
        if (part < 2 && between.empty() && run >= 2) layout.Width[part] = run;
        if (part < 2)
            layout.Separator[part] = between;
        else
            layout.Tail = between;
    }
    return layout;
}

std::string_view DigitRun(std::string_view text, std::size_t& pos, std::size_t width = 0) {
    std::size_t begin = pos;
    while (pos < text.size() && IsDigit(text[pos]) && (width == 0 || pos - begin < width)) ++pos;
    return text.substr(begin, pos - begin);
}

// Skips the separator the date format puts here when the text has it, else one character
// (none where the format has no separator and the next part follows at once).
void SkipSeparator(std::string_view text, std::size_t& pos, std::string_view separator) {
    if (!separator.empty() && text.substr(pos).starts_with(separator))
        pos += separator.size();
    else if (pos < text.size() && !(separator.empty() && IsDigit(text[pos])))
        ++pos;
}

// Whether the text begins with a date: it contains "/", or its leading digits are followed
// by the separator of the date format (a ":" there begins a time of day instead), or, in
// a format without separators, they run on past the first part.
bool HasDatePart(std::string_view text, const DateLayout& layout) {
    if (text.find('/') != std::string_view::npos) return true;
    std::size_t pos = 0;
    std::size_t digits = DigitRun(text, pos).size();
    std::string_view separator = layout.Separator[0];
    if (separator.empty()) return layout.Width[0] > 0 && digits > layout.Width[0];
    if (separator.front() == ':' || IsDigit(separator.front()) || digits == 0) return false;
    return text.substr(pos).starts_with(separator);
}

} // namespace

double ParseFixTime(std::string_view text, std::string_view dateFormat) {
    text = TrimText(text);
    DateLayout layout = ReadDateLayout(dateFormat);
    if (!HasDatePart(text, layout)) return DateTimeFromText({}, text);

    std::string_view month, day, year;
    std::size_t pos = 0;
    for (int part = 0; part < 3; ++part) {
        std::string_view digits = DigitRun(text, pos, layout.Width[part]);
        switch (layout.Part[part]) {
        case 'm':
            month = digits;
            break;
        case 'd':
            day = digits;
            break;
        case 'y':
            year = digits;
            break;
        default:
            break;
        }
        if (part < 2)
            SkipSeparator(text, pos, layout.Separator[part]);
        else if (!layout.Tail.empty() && text.substr(pos).starts_with(layout.Tail))
            pos += layout.Tail.size();
    }
    // Up to 15 characters after the date: normally a blank and the time of day.
    std::string_view rest = text.substr(std::min(pos, text.size()), 15);
    if (!rest.empty() && static_cast<unsigned char>(rest.front()) > ' ') return 0;
    std::string_view clock = TrimText(rest);

    std::string monthFirst;
    monthFirst.reserve(month.size() + day.size() + year.size() + 2);
    monthFirst.append(month).append("/").append(day).append("/").append(year);
    return DateTimeFromText(monthFirst, clock);
}

} // namespace fixtally
