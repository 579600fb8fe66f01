#include "stats/FixFilter.h"

#include <cmath>

namespace fixtally {

bool QualityPasses(char16_t quality, const FilterLimits& limits, bool isRtklibLog) {
    if (quality == u' ') return true;
    // A one-character text converts to its digit, anything else to 0.
    const int q = (quality >= u'0' && quality <= u'9') ? quality - u'0' : 0;
    const int op = isRtklibLog ? limits.RtkOperator : limits.NmeaOperator;
    const int value = isRtklibLog ? limits.RtkQuality : limits.NmeaQuality;
    switch (op) {
    case QualityAtMost:
        return q <= value;
    case QualityEqual:
        return q == value;
    case QualityAtLeast:
        return q >= value;
    case QualityNotEqual:
        return q != value;
    default:
        return false;
    }
}

bool AcceptFix(const FixRecord& fix, const FilterLimits& limits, bool isRtklibLog,
               const TimeRange& countRange) {
    if (std::isnan(fix.Latitude) || std::isnan(fix.Longitude)) return false;
    if (fix.Time == 0.0) return false;
    if (!std::isnan(fix.Hdop) && limits.HdopLimit < fix.Hdop) return false;
    if (!std::isnan(fix.Vdop) && limits.VdopLimit < fix.Vdop) return false;
    if (!std::isnan(fix.Pdop) && limits.PdopLimit < fix.Pdop) return false;
    if (!InTimeRange(fix.Time, countRange)) return false;
    return QualityPasses(fix.FixQuality, limits, isRtklibLog);
}

} // namespace fixtally
