#include "cli/StatisticsJson.h"

#include "app/Program.h"
#include "cli/JsonText.h"
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

void Time(JsonObjectWriter& w, std::string_view key, double time) {
    const std::string text = IsoUtcTime(time);
    if (text.empty())
        w.Null(key);
    else
        w.Text(key, text);
}

void Position(std::string& out, JsonObjectWriter& w, std::string_view key, const GeoPoint& p) {
    w.Key(key);
    out += "{";
    JsonObjectWriter inner(out, 6);
    inner.Number("latitude_deg", p.Latitude);
    inner.Number("longitude_deg", p.Longitude);
    inner.Number("altitude_m", p.Altitude);
    out += "\n    }";
}

double Mean(double sum, long long count) {
    return count > 0 ? sum / static_cast<double>(count) : NaN;
}

void Dop(std::string& out, JsonObjectWriter& w, std::string_view key, const DopTally& t) {
    w.Key(key);
    out += "{";
    JsonObjectWriter inner(out, 6);
    const bool any = t.Count > 0;
    inner.Number("min", any ? t.Min : NaN);
    inner.Number("average", Mean(t.Sum, t.Count));
    inner.Number("max", any ? t.Max : NaN);
    out += "\n    }";
}

void Satellites(std::string& out, JsonObjectWriter& w, std::string_view key,
                const SatelliteTally& t) {
    w.Key(key);
    out += "{";
    JsonObjectWriter inner(out, 6);
    const bool any = t.Count > 0;
    inner.Number("min", any ? t.Min : NaN);
    inner.Number("average", Mean(static_cast<double>(t.Sum), t.Count));
    inner.Number("max", any ? t.Max : NaN);
    out += "\n    }";
}

} // namespace

std::string StatisticsJsonMember(const Program& program) {
    const FixStatistics& s = program.LastStatistics;
    const CountTally& t = s.Tally;
    const bool twoDrms = program.Settings.TwoDrms;
    const double factor = twoDrms ? 1.0 : CepFactor;

    std::string out = ",\n  \"statistics\": {";
    JsonObjectWriter w(out, 4);
    w.Text("spread_kind", twoDrms ? "2drms" : "CEP(50%)");
    w.Number("horizontal_spread_m", s.Spread.Horizontal * factor);
    w.Number("east_west_spread_m", s.Spread.EastWest * factor);
    w.Number("north_south_spread_m", s.Spread.NorthSouth * factor);
    w.Number("altitude_spread_m", s.Spread.Altitude * factor);
    w.Number("horizontal_2drms_m", s.Spread.Horizontal);
    w.Number("altitude_2drms_m", s.Spread.Altitude);
    Position(out, w, "average", s.Average);
    Position(out, w, "reference", s.Reference);
    w.Text("reference_kind", program.Results.UseTrueReference ? "true" : "average");
    const bool counted = t.Accepted > 0;
    if (counted) {
        const GeoPoint& a = s.Average;
        const GeoPoint& r = s.Reference;
        const AxisOffset offset = AxisOffsets(r.Latitude, r.Longitude, a.Latitude, a.Longitude);
        w.Number("average_from_reference_m",
                 GeodesicDistance(r.Latitude, r.Longitude, a.Latitude, a.Longitude, 0, 0));
        w.Number("average_east_of_reference_m", offset.East);
        w.Number("average_north_of_reference_m", offset.North);
        w.Number("average_above_reference_m", a.Altitude - r.Altitude);
    } else {
        w.Null("average_from_reference_m");
        w.Null("average_east_of_reference_m");
        w.Null("average_north_of_reference_m");
        w.Null("average_above_reference_m");
    }
    // A peak of exactly 0 keeps its time at 0: the report shows none.
    const bool horizontalPeak = counted && t.PeakHorizontalTime != 0;
    const bool altitudePeak = t.AltitudeCount > 0 && t.PeakAltitudeTime != 0;
    w.Number("peak_horizontal_m", horizontalPeak ? t.PeakHorizontal : NaN);
    Time(w, "peak_horizontal_time", horizontalPeak ? t.PeakHorizontalTime : 0);
    w.Number("peak_altitude_m", altitudePeak ? t.PeakAltitude : NaN);
    Time(w, "peak_altitude_time", altitudePeak ? t.PeakAltitudeTime : 0);
    Dop(out, w, "hdop", t.Hdop);
    Dop(out, w, "vdop", t.Vdop);
    Dop(out, w, "pdop", t.Pdop);
    Satellites(out, w, "satellites_used", t.SatsUsed);
    Satellites(out, w, "satellites_extra", t.SatsExtra);
    w.Integer("records_read", static_cast<long long>(program.Store.Count()));
    // Without an accepted fix the count stops before its main pass: nothing was counted
    // in range.
    if (counted)
        w.Integer("records_in_range", t.InRange);
    else
        w.Null("records_in_range");
    w.Integer("fixes_accepted", t.Accepted);
    w.Integer("fixes_with_altitude", t.AltitudeCount);
    w.Number("pass_percent", t.InRange > 0 ? 100.0 * t.Accepted / t.InRange : NaN);
    Time(w, "first_fix_time", counted ? t.FirstTime : 0);
    Time(w, "last_fix_time", counted ? t.LastTime : 0);
    out += "\n  }";
    return out;
}

} // namespace fixtally
