#include "settings/SettingKeys.h"

#include <charconv>
#include <cstdint>

namespace fixtally {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool ParseIniInt(std::string_view text, int& out) {
    int base = 10;
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::int64_t value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || ptr != text.data() + text.size() || text.empty()) return false;
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return false;
    out = int(value);
    return true;
}

} // namespace

SettingRef LookupSetting(Settings& s, std::string_view key) {
    struct Entry {
        std::string_view Key;
        std::string* Text;
        int* Int;
        bool* Flag;
    };
    const Entry table[] = {
        {"Version", &s.Version, nullptr, nullptr},
        {"DataPath", &s.DataPath, nullptr, nullptr},
        {"NMEAext", &s.NMEAext, nullptr, nullptr},
        {"CSVext", &s.CSVext, nullptr, nullptr},
        {"RTKLIBext", &s.RTKLIBext, nullptr, nullptr},
        {"OpenFiltIdx", nullptr, &s.OpenFiltIdx, nullptr},
        {"RangeIndex", nullptr, &s.RangeIndex, nullptr},
        {"GPixels", &s.GPixels, nullptr, nullptr},
        {"Monotone", nullptr, nullptr, &s.Monotone},
        {"HDOPlim", &s.HDOPlim, nullptr, nullptr},
        {"VDOPlim", &s.VDOPlim, nullptr, nullptr},
        {"PDOPlim", &s.PDOPlim, nullptr, nullptr},
        {"UseAverage", nullptr, nullptr, &s.UseAverage},
        {"TrueLat", &s.TrueLat, nullptr, nullptr},
        {"TrueLon", &s.TrueLon, nullptr, nullptr},
        {"TrueAlt", &s.TrueAlt, nullptr, nullptr},
        {"AutoRange", nullptr, nullptr, &s.AutoRange},
        {"CSV_SepTime", nullptr, nullptr, &s.CSV_SepTime},
        {"MiniColor", &s.MiniColor, nullptr, nullptr},
        {"MaxColor", &s.MaxColor, nullptr, nullptr},
        {"PosDecimal", &s.PosDecimal, nullptr, nullptr},
        {"AltDecimal", &s.AltDecimal, nullptr, nullptr},
        {"ErrorDecimal", &s.ErrorDecimal, nullptr, nullptr},
        {"DopDecimal", &s.DopDecimal, nullptr, nullptr},
        {"DDMMSS", nullptr, nullptr, &s.DDMMSS},
        {"LeapSecond", nullptr, &s.LeapSecond, nullptr},
        {"NMEA_QS", &s.NMEA_QS, nullptr, nullptr},
        {"NMEA_QU", &s.NMEA_QU, nullptr, nullptr},
        {"RTK_QS", &s.RTK_QS, nullptr, nullptr},
        {"RTK_QU", &s.RTK_QU, nullptr, nullptr},
        {"CSVspan", &s.CSVspan, nullptr, nullptr},
        {"CSVstep", &s.CSVstep, nullptr, nullptr},
        {"CSVherr", &s.CSVherr, nullptr, nullptr},
        {"2drms", nullptr, nullptr, &s.TwoDrms},
        {"MainTop", nullptr, &s.MainTop, nullptr},
        {"MainLeft", nullptr, &s.MainLeft, nullptr},
        {"DateFormat", &s.DateFormat, nullptr, nullptr},
        {"ElapsesTimes", &s.Reduce.ElapsesTimes, nullptr, nullptr},
        {"MovingDist", &s.Reduce.MovingDist, nullptr, nullptr},
        {"LatLon", &s.CSVdecimals.LatLon, nullptr, nullptr},
        {"Alt", &s.CSVdecimals.Alt, nullptr, nullptr},
        {"Speed", &s.CSVdecimals.Speed, nullptr, nullptr},
        {"DOP", &s.CSVdecimals.DOP, nullptr, nullptr},
        {"Error", &s.CSVdecimals.Error, nullptr, nullptr},
    };
    for (const Entry& e : table)
        if (EqualsNoCase(e.Key, key)) return {e.Text, e.Int, e.Flag};
    return {};
}

bool AssignSetting(SettingRef ref, std::string_view value) {
    if (ref.Text) {
        ref.Text->assign(value);
        return true;
    }
    int number = 0;
    if (!ParseIniInt(value, number)) return false;
    if (ref.Int) *ref.Int = number;
    if (ref.Flag) *ref.Flag = number != 0;
    return ref.Int || ref.Flag;
}

} // namespace fixtally
