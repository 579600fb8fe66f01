#include "settings/SettingKeys.h"

#include "convert/Conversions.h"
#include "settings/IniFile.h"

namespace fixtally {

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
        if (EqualsIgnoringCase(e.Key, key)) return {e.Text, e.Int, e.Flag};
    return {};
}

bool AssignSetting(SettingRef ref, std::string_view value) {
    if (ref.Text) {
        ref.Text->assign(value);
        return true;
    }
    int number = 0;
    if (!ParseIniInteger(value, number)) return false;
    if (ref.Int) *ref.Int = number;
    if (ref.Flag) *ref.Flag = number != 0;
    return ref.Int || ref.Flag;
}

} // namespace fixtally
