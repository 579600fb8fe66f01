#include "input/csv/RtklibForms.h"

#include "convert/Conversions.h"
#include "convert/DatePattern.h"

#include <GeographicLib/Geocentric.hpp>
#include <GeographicLib/LocalCartesian.hpp>

#include <array>
#include <charconv>
#include <cmath>

namespace fixtally {

namespace {

// Data lines hold at most this many fields that matter here; the rest is kept whole.
constexpr std::size_t MaxTokens = 32;

struct Tokens {
    std::array<std::string_view, MaxTokens> Token{};
    std::size_t Count = 0;
    std::string_view Rest; // the text after the last token taken
};

constexpr bool IsSeparator(char c) {
    return c == ' ' || c == ',' || c == '\t';
}

// Splits text at runs of blanks and commas, the separators RTKLIB writes (its "-s"
// option), taking at most limit tokens.
void Tokenise(std::string_view text, std::size_t limit, Tokens& tokens) {
    tokens.Count = 0;
    std::size_t i = 0;
    while (tokens.Count < limit) {
        while (i < text.size() && IsSeparator(text[i])) ++i;
        if (i == text.size()) break;
        const std::size_t start = i;
        while (i < text.size() && !IsSeparator(text[i])) ++i;
        tokens.Token[tokens.Count++] = text.substr(start, i - start);
    }
    while (i < text.size() && IsSeparator(text[i])) ++i;
    tokens.Rest = text.substr(i);
}

bool IsDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

struct PositionTitles {
    std::string_view First, Second, Third;
    RtklibPositions Positions;
};

constexpr std::array<PositionTitles, 4> KnownPositions{{
    {"latitude(deg)", "longitude(deg)", "height(m)", RtklibPositions::Degrees},
    {"latitude(d'\")", "longitude(d'\")", "height(m)", RtklibPositions::Dms},
    {"x-ecef(m)", "y-ecef(m)", "z-ecef(m)", RtklibPositions::Ecef},
    {"e-baseline(m)", "n-baseline(m)", "u-baseline(m)", RtklibPositions::Enu},
}};

// Degrees of "-35 09 39.12345" as three tokens; the sign is written on the degrees, also
// for "-0".
bool DmsDegrees(std::string_view d, std::string_view m, std::string_view s, double& degrees) {
    const bool negative = !d.empty() && d.front() == '-';
    if (negative || (!d.empty() && d.front() == '+')) d.remove_prefix(1);
    double dv = 0, mv = 0, sv = 0;
    if (!ParseDecimal(d, dv) || !ParseDecimal(m, mv) || !ParseDecimal(s, sv)) return false;
    degrees = dv + mv / 60 + sv / 3600;
    if (negative) degrees = -degrees;
    return true;
}

// "% ref pos   : 35.132063648  139.624300357    75.4015" (degrees) or
// "% ref pos   : 35 07 55.42913  139 37 27.48129    75.4015" (degrees, minutes, seconds).
// ECEF reference positions (of x/y/z files) are not needed and not kept.
void ReadReference(std::string_view values, RtklibLayout& layout) {
    Tokens t;
    Tokenise(values, 8, t);
    double lat = 0, lon = 0, height = 0;
    bool read = false;
    if (t.Count == 3) {
        read = ParseDecimal(t.Token[0], lat) && ParseDecimal(t.Token[1], lon) &&
               ParseDecimal(t.Token[2], height);
    } else if (t.Count == 7) {
        read = DmsDegrees(t.Token[0], t.Token[1], t.Token[2], lat) &&
               DmsDegrees(t.Token[3], t.Token[4], t.Token[5], lon) &&
               ParseDecimal(t.Token[6], height);
    }
    // An ECEF position has coordinates of millions of metres: no latitude.
    if (!read || !(std::fabs(lat) <= 90) || !(std::fabs(lon) <= 360) || !std::isfinite(height))
        return;
    layout.HasReference = true;
    layout.RefLatitude = lat;
    layout.RefLongitude = lon;
    layout.RefHeight = height;
}

void AppendNumber(std::string& out, long long value, int width) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    for (int pad = width - static_cast<int>(result.ptr - buffer); pad > 0; --pad) out += '0';
    out.append(buffer, result.ptr);
}

void AppendFixed(std::string& out, double value, int decimals) {
    char buffer[48];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    out.append(buffer, result.ptr);
}

// Appends "yyyy/mm/dd hh:mm:ss[.fraction]" of a GPS week and seconds of week, keeping the
// fraction's digits as written. False when the two texts are no week and seconds.
bool AppendWeekTime(std::string& out, std::string_view week, std::string_view seconds) {
    const std::size_t point = seconds.find('.');
    const std::string_view whole = seconds.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : seconds.substr(point + 1);
    if (!IsDigits(week) || week.size() > 6 || !IsDigits(whole) || whole.size() > 9 ||
        (point != std::string_view::npos && !fraction.empty() && !IsDigits(fraction)))
        return false;
    long long weekNumber = 0, secondOfWeek = 0;
    std::from_chars(week.data(), week.data() + week.size(), weekNumber);
    std::from_chars(whole.data(), whole.data() + whole.size(), secondOfWeek);
    // GPS weeks count from 1980-01-06 00:00 (a Sunday); RTKLIB writes the same week and
    // seconds for UTC times.
    const long long day = weekNumber * 7 + secondOfWeek / 86400;
    const long long second = secondOfWeek % 86400;
    CalendarTime date;
    if (!CalendarFromDayNumber(DayNumberFromDate(1980, 1, 6) + static_cast<double>(day), date))
        return false;
    AppendNumber(out, date.Year, 4);
    out += '/';
    AppendNumber(out, date.Month, 2);
    out += '/';
    AppendNumber(out, date.Day, 2);
    out += ' ';
    AppendNumber(out, second / 3600, 2);
    out += ':';
    AppendNumber(out, second / 60 % 60, 2);
    out += ':';
    AppendNumber(out, second % 60, 2);
    if (point != std::string_view::npos) out.append(seconds.substr(point));
    return true;
}

bool AppendTime(std::string& out, std::string_view first, std::string_view second) {
    if (first.find('/') != std::string_view::npos) {
        out.append(first).append(1, ' ').append(second);
        return true;
    }
    return AppendWeekTime(out, first, second);
}

// Latitude, longitude and height of an ECEF or east/north/up position on WGS84.
bool GeodeticOf(const Tokens& t, const RtklibLayout& layout, double& lat, double& lon,
                double& height) {
    double a = 0, b = 0, c = 0;
    if (!ParseDecimal(t.Token[2], a) || !ParseDecimal(t.Token[3], b) ||
        !ParseDecimal(t.Token[4], c))
        return false;
    if (layout.Positions == RtklibPositions::Ecef) {
        GeographicLib::Geocentric::WGS84().Reverse(a, b, c, lat, lon, height);
    } else {
        const GeographicLib::LocalCartesian local(layout.RefLatitude, layout.RefLongitude,
                                                  layout.RefHeight,
                                                  GeographicLib::Geocentric::WGS84());
        local.Reverse(a, b, c, lat, lon, height);
    }
    return std::isfinite(lat) && std::isfinite(lon) && std::isfinite(height);
}

} // namespace

bool ExamineRtklibHeaderLine(std::string_view line, RtklibLayout& layout) {
    line = TrimText(line);
    if (line.empty() || line.front() != '%') return false;
    line.remove_prefix(1);
    const std::string_view text = TrimText(line);
    if (text.substr(0, 7) == "ref pos") {
        const std::size_t colon = text.find(':');
        if (colon != std::string_view::npos) ReadReference(text.substr(colon + 1), layout);
        return false;
    }
    Tokens t;
    Tokenise(text, 6, t);
    if (t.Count < 6) return false;
    const std::string_view time = t.Token[0];
    if (time != "GPST" && time != "UTC" && time != "JST") return false;
    if (!EqualsIgnoringCase(t.Token[4], "Q") || !EqualsIgnoringCase(t.Token[5], "ns")) return false;
    layout.TimeTitle.assign(time);
    layout.Positions = RtklibPositions::Unknown;
    for (const PositionTitles& titles : KnownPositions) {
        if (EqualsIgnoringCase(t.Token[1], titles.First) &&
            EqualsIgnoringCase(t.Token[2], titles.Second) &&
            EqualsIgnoringCase(t.Token[3], titles.Third)) {
            layout.Positions = titles.Positions;
        }
    }
    return true;
}

bool RtklibLayoutReadable(const RtklibLayout& layout) {
    switch (layout.Positions) {
    case RtklibPositions::Degrees:
    case RtklibPositions::Dms:
    case RtklibPositions::Ecef:
        return true;
    case RtklibPositions::Enu:
        return layout.HasReference;
    case RtklibPositions::None:
    case RtklibPositions::Unknown:
        break;
    }
    return false;
}

std::string_view RtklibRefusalText(const RtklibLayout& layout) {
    if (layout.Positions == RtklibPositions::Unknown)
        return "  RTKLIB solution without latitude/longitude, x/y/z-ecef or e/n/u-baseline "
               "columns : ";
    if (layout.Positions == RtklibPositions::Enu && !layout.HasReference)
        return "  RTKLIB e/n/u-baseline solution without its reference position "
               "(\"% ref pos\" line) : ";
    return {};
}

void SetPlainRtklibColumns(ColumnMap& map) {
    map.Positions.fill(0);
    map[CsvRole::Date] = 1;
    map[CsvRole::Latitude] = 2;
    map[CsvRole::Longitude] = 3;
    map[CsvRole::Height] = 4;
    map[CsvRole::Valid] = 5;
    map[CsvRole::Nsat] = 6;
    map.Form = HeaderPercent;
    map.Gpst = map.Rtklib.TimeTitle == "GPST";
    map.Jst = map.Rtklib.TimeTitle == "JST";
}

RtklibLine RewriteRtklibLine(std::string_view line, const RtklibLayout& layout, std::string& out) {
    const RtklibPositions form = layout.Positions;
    const std::size_t positionTokens = form == RtklibPositions::Dms ? 7 : 3;
    Tokens t;
    Tokenise(line, 2 + positionTokens, t);
    if (form == RtklibPositions::Degrees) {
        // The plain form, and lines that are no week-and-seconds line, as they stand.
        if (t.Count < 2 || t.Token[0].find('/') != std::string_view::npos)
            return RtklibLine::AsItIs;
        out.clear();
        if (!AppendWeekTime(out, t.Token[0], t.Token[1])) return RtklibLine::AsItIs;
        for (std::size_t i = 2; i < t.Count; ++i) out.append(1, ',').append(t.Token[i]);
    } else if (RtklibLayoutReadable(layout)) {
        if (t.Count < 2 + positionTokens) return RtklibLine::Skip;
        out.clear();
        if (!AppendTime(out, t.Token[0], t.Token[1])) return RtklibLine::Skip;
        if (form == RtklibPositions::Dms) {
            for (std::size_t first : {2, 5}) {
                out.append(1, ',').append(t.Token[first]).append(1, ' ');
                out.append(t.Token[first + 1]).append(1, ' ').append(t.Token[first + 2]);
            }
            out.append(1, ',').append(t.Token[8]);
        } else {
            double lat = 0, lon = 0, height = 0;
            if (!GeodeticOf(t, layout, lat, lon, height)) return RtklibLine::Skip;
            out += ',';
            AppendFixed(out, lat, 9);
            out += ',';
            AppendFixed(out, lon, 9);
            out += ',';
            AppendFixed(out, height, 4);
        }
    } else {
        return RtklibLine::Skip;
    }
    // Q, ns and the columns after them, separated by commas like the rest.
    Tokens rest;
    Tokenise(t.Rest, MaxTokens, rest);
    for (std::size_t i = 0; i < rest.Count; ++i) out.append(1, ',').append(rest.Token[i]);
    return RtklibLine::Rewritten;
}

} // namespace fixtally
