#include "settings/Conventions.h"

#include "convert/Conversions.h"
#include "settings/Settings.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <langinfo.h>
#include <locale.h>

namespace fixtally {

namespace {

// Day number of 1970-01-01 00:00 UTC.
constexpr double UnixEpochDay = 25569.0;
constexpr double SecondsPerDay = 86400.0;

const char* LocaleFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return "";
}

bool IsPlainCLocale(std::string_view name) {
    return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

double OffsetOf(long seconds) {
    return static_cast<double>(seconds) / SecondsPerDay;
}

double CurrentOffset() {
    tzset();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return 0;
    return OffsetOf(local.tm_gmtoff);
}

} // namespace

std::string DateFormatFromStrftime(std::string_view format) {
    std::string out;
    bool day = false, month = false, year = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%') {
            // Letters would read as pattern letters; such a format has words in it.
            if (IsAsciiLetter(c)) return {};
            out += c;
            continue;
        }
        bool unpadded = false;
        ++i;
        while (i < format.size() && (format[i] == '-' || format[i] == '_' || format[i] == '0' ||
                                     format[i] == '^' || format[i] == '#')) {
            if (format[i] == '-') unpadded = true;
            ++i;
        }
        while (i < format.size() && format[i] >= '1' && format[i] <= '9') ++i;
        if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) ++i;
        if (i >= format.size()) return {};
        switch (format[i]) {
        case 'd':
            out += unpadded ? "d" : "dd", day = true;
            break;
        case 'e':
            out += "d", day = true;
            break;
        case 'm':
            out += unpadded ? "m" : "mm", month = true;
            break;
        case 'Y':
        case 'G':
            out += "yyyy", year = true;
            break;
        case 'y':
        case 'g':
            out += "yy", year = true;
            break;
        case 'F':
            out += "yyyy-mm-dd", day = month = year = true;
            break;
        case 'D':
            out += "mm/dd/yy", day = month = year = true;
            break;
        case '%':
            out += '%';
            break;
        default:
            return {}; // names of days or months, eras: not expressible
        }
    }
    if (!day || !month || !year) return {};
    for (char& c : out) c = LowerAscii(c);
    return out;
}

std::string DateFormatOfLocale(std::string_view localeName) {
    std::string fallback(FallbackDateFormat);
    if (IsPlainCLocale(localeName)) return fallback;
    std::string name(localeName);
    locale_t locale = newlocale(LC_TIME_MASK, name.c_str(), static_cast<locale_t>(nullptr));
    if (!locale) return fallback;
    std::string format = DateFormatFromStrftime(nl_langinfo_l(D_FMT, locale));
    freelocale(locale);
    return format.empty() ? fallback : format;
}

void SetupConventions(Conventions& conventions) {
    conventions.DefaultDateFormat = DateFormatOfLocale(LocaleFromEnvironment());
}

void MeasureLocalOffset(Conventions& conventions) {
    conventions.LocalOffset = CurrentOffset();
}

double LocalOffsetAtUtc(double utcDayNumber) {
    if (!(utcDayNumber > 1) || !std::isfinite(utcDayNumber)) return CurrentOffset();
    tzset();
    std::time_t t =
        static_cast<std::time_t>(std::llround((utcDayNumber - UnixEpochDay) * SecondsPerDay));
    std::tm local{};
    if (!localtime_r(&t, &local)) return CurrentOffset();
    return OffsetOf(local.tm_gmtoff);
}

double LocalOffsetAtLocal(double localDayNumber) {
    if (!(localDayNumber > 1) || !std::isfinite(localDayNumber)) return CurrentOffset();
    tzset();
    long long localSeconds = std::llround((localDayNumber - UnixEpochDay) * SecondsPerDay);
    std::time_t asUtc = static_cast<std::time_t>(localSeconds);
    std::tm fields{};
    if (!gmtime_r(&asUtc, &fields)) return CurrentOffset();
    fields.tm_isdst = -1;
    std::time_t t = std::mktime(&fields);
    if (t == static_cast<std::time_t>(-1)) return CurrentOffset();
    return OffsetOf(static_cast<long>(localSeconds - static_cast<long long>(t)));
}

std::string DateFormatInUse(const Settings& settings, const Conventions& conventions) {
    std::string_view text = TrimText(settings.DateFormat);
    if (text.empty()) return conventions.DefaultDateFormat;
    std::string format(text);
    for (char& c : format) c = LowerAscii(c);
    return format;
}

} // namespace fixtally
