#include "cli/StatisticsJson.h"

#include "app/Program.h"
#include "display/ResultsDisplay.h"
#include "geodesy/Geodesic.h"
#include "stats/TimeText.h"

#include <cmath>

namespace fixtally {

std::string IsoUtcTime(double time) {
    if (!(time > 0)) return {};
    std::string text = FormatTimeFraction(time, time > 1 ? "yyyy-mm-ddThh:nn:ss." : "hh:nn:ss.");
    if (text.empty()) return text;
    return text + "Z";
}

namespace {

Json Time(double time) {
    const std::string text = IsoUtcTime(time);
    return text.empty() ? Json(nullptr) : Json(text);
}

Json Position(const GeoPoint& p) {
    Json out = Json::object();
    out["latitude_deg"] = p.Latitude;
    out["longitude_deg"] = p.Longitude;
    out["altitude_m"] = p.Altitude;
    return out;
}

double Mean(double sum, long long count) {
    return count > 0 ? sum / static_cast<double>(count) : NaN;
}

// Minimum, average and maximum of a DOP or a satellite count; null when none was counted.
template <class Tally> Json Range(const Tally& t) {
    const bool any = t.Count > 0;
    Json out = Json::object();
    out["min"] = any ? Json(t.Min) : Json(nullptr);
    out["average"] = Mean(static_cast<double>(t.Sum), t.Count);
    out["max"] = any ? Json(t.Max) : Json(nullptr);
    return out;
}

} // namespace

Json StatisticsJson(const Program& program) {
    const FixStatistics& s = program.LastStatistics;
    const CountTally& t = s.Tally;
    const bool twoDrms = program.Settings.TwoDrms;
    const double factor = twoDrms ? 1.0 : CepFactor;

    Json w = Json::object();
    w["spread_kind"] = twoDrms ? "2drms" : "CEP(50%)";
    w["horizontal_spread_m"] = s.Spread.Horizontal * factor;
    w["east_west_spread_m"] = s.Spread.EastWest * factor;
    w["north_south_spread_m"] = s.Spread.NorthSouth * factor;
    w["altitude_spread_m"] = s.Spread.Altitude * factor;
    w["horizontal_2drms_m"] = s.Spread.Horizontal;
    w["altitude_2drms_m"] = s.Spread.Altitude;
    w["average"] = Position(s.Average);
    w["reference"] = Position(s.Reference);
    w["reference_kind"] = program.Results.UseTrueReference ? "true" : "average";
    const bool counted = t.Accepted > 0;
    const GeoPoint& a = s.Average;
    const GeoPoint& r = s.Reference;
    const AxisOffset offset = counted
                                  ? AxisOffsets(r.Latitude, r.Longitude, a.Latitude, a.Longitude)
                                  : AxisOffset{NaN, NaN};
    w["average_from_reference_m"] =
        counted ? GeodesicDistance(r.Latitude, r.Longitude, a.Latitude, a.Longitude, 0, 0) : NaN;
    w["average_east_of_reference_m"] = offset.East;
    w["average_north_of_reference_m"] = offset.North;
    w["average_above_reference_m"] = counted ? a.Altitude - r.Altitude : NaN;
    // A peak of exactly 0 keeps its time at 0: the report shows none.
    const bool horizontalPeak = counted && t.PeakHorizontalTime != 0;
    const bool altitudePeak = t.AltitudeCount > 0 && t.PeakAltitudeTime != 0;
    w["peak_horizontal_m"] = horizontalPeak ? t.PeakHorizontal : NaN;
    w["peak_horizontal_time"] = Time(horizontalPeak ? t.PeakHorizontalTime : 0);
    w["peak_altitude_m"] = altitudePeak ? t.PeakAltitude : NaN;
    w["peak_altitude_time"] = Time(altitudePeak ? t.PeakAltitudeTime : 0);
    w["hdop"] = Range(t.Hdop);
    w["vdop"] = Range(t.Vdop);
    w["pdop"] = Range(t.Pdop);
    w["satellites_used"] = Range(t.SatsUsed);
    w["satellites_extra"] = Range(t.SatsExtra);
    w["records_read"] = program.Store.Count();
    // Without an accepted fix the count stops before its main pass: nothing was counted
    // in range.
    w["records_in_range"] = counted ? Json(t.InRange) : Json(nullptr);
    w["fixes_accepted"] = t.Accepted;
    w["fixes_with_altitude"] = t.AltitudeCount;
    w["pass_percent"] = t.InRange > 0 ? 100.0 * t.Accepted / t.InRange : NaN;
    w["first_fix_time"] = Time(counted ? t.FirstTime : 0);
    w["last_fix_time"] = Time(counted ? t.LastTime : 0);
    return w;
}

} // namespace fixtally
