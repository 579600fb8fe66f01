#include "settings/FilterLimits.h"

#include "convert/Conversions.h"
#include "settings/Settings.h"

#include <cmath>
#include <string>

namespace fixtally {

namespace {

// Operator code of a comparison text; an unknown text becomes ">=".
int ReadQualityOperator(std::string& text) {
    const std::string_view trimmed = TrimText(text);
    if (trimmed == "<=") return QualityAtMost;
    if (trimmed == "=") return QualityEqual;
    if (trimmed == ">=") return QualityAtLeast;
    if (trimmed == "<>") return QualityNotEqual;
    text = ">=";
    return QualityAtLeast;
}

// The quality value is the text's first character as a digit ("1 SPS" reads 1), kept
// within low..high; the trimmed text, or the bound that replaced it, is written back.
int ReadQualityValue(std::string& text, int low, int high) {
    text = std::string(TrimText(text));
    if (text.empty()) text = "1";
    int value = TextToInt(std::string_view(text).substr(0, 1));
    if (value < low) {
        value = low;
        text = std::to_string(low);
    }
    if (value > high) {
        value = high;
        text = std::to_string(high);
    }
    return value;
}

} // namespace

int ClampInt(int value, int low, int high) {
    if (value < low) return low;
    return value < high ? value : high;
}

FilterLimits ReadFilterLimits(Settings& settings) {
    FilterLimits limits;
    limits.NmeaOperator = ReadQualityOperator(settings.NMEA_QS);
    limits.NmeaQuality = ReadQualityValue(settings.NMEA_QU, 0, 8);
    limits.RtkOperator = ReadQualityOperator(settings.RTK_QS);
    limits.RtkQuality = ReadQualityValue(settings.RTK_QU, 1, 6);
    limits.HdopLimit = TextToFloat(settings.HDOPlim);
    limits.VdopLimit = TextToFloat(settings.VDOPlim);
    limits.PdopLimit = TextToFloat(settings.PDOPlim);
    // An unreadable limit lets every DOP through, and says so in its field.
    auto settle = [](double& limit, std::string& text) {
        if (!std::isnan(limit)) return;
        limit = 255;
        text = "255.0";
    };
    settle(limits.HdopLimit, settings.HDOPlim);
    settle(limits.VdopLimit, settings.VDOPlim);
    settle(limits.PdopLimit, settings.PDOPlim);
    return limits;
}

} // namespace fixtally
