#include "stats/Geodesic.h"

#include <cmath>

namespace fixtally {

namespace {

struct LatitudeTerms {
    double Tu, Cu, Su;
};

inline LatitudeTerms ReducedLatitude(double rlat) {
    const double tu = Grs80R * std::tan(rlat);
    const double cu = 1 / std::sqrt(tu * tu + 1);
    return {tu, cu, cu * tu};
}

inline double ToRadians(double degrees) {
    return degrees * GeoPi / 180;
}

// The iteration and the series for the arc length, from the terms of both latitudes
// (s = cu1 cu2, baz = s tu2, faz = baz tu1) and the longitude difference L.
inline double VincentyArc(double s, double baz, double faz, double su1, double cu2, double L) {
    double x = L;
    double sy, cy, y, c2a, cz, e;
    for (int pass = 1;; ++pass) {
        const double sx = std::sin(x);
        const double cx = std::cos(x);
        const double p = cu2 * sx;
        const double q = baz - su1 * cu2 * cx;
        sy = std::sqrt(p * p + q * q);
        cy = s * cx + faz;
        y = std::atan2(sy, cy);
        const double sa = sy == 0 ? 1 : s * sx / sy;
        c2a = 1 - sa * sa;
        cz = 2 * faz;
        if (c2a > 0) cz = -cz / c2a + cy;
        e = 2 * cz * cz - 1;
        const double k = ((-3 * c2a + 4) * Grs80F + 4) * c2a * Grs80F / 16;
        const double d = x;
        x = ((e * cy * k + cz) * sy * k + y) * sa;
        x = (1 - k) * x * Grs80F + L;
        if (std::abs(d - x) < GeoTolerance || pass == GeoMaxPasses) break;
    }
    double t = std::sqrt((1 / (Grs80R * Grs80R) - 1) * c2a + 1) + 1;
    t = (t - 2) / t;
    const double m = (t * t / 4 + 1) / (1 - t);
    const double d = (0.375 * t * t - 1) * t;
    return ((((4 * sy * sy - 3) * (1 - 2 * e) * cz * d / 6 - e * cy) * d / 4 + cz) * sy * d + y) *
           m * Grs80A * Grs80R;
}

inline double WithHeights(double arc, double h1, double h2) {
    const double dh = h1 - h2;
    return std::sqrt(arc * arc + dh * dh);
}

inline bool ExactAntipodes(double rlat1, double rlon1, double rlat2, double rlon2) {
    return rlat1 + rlat2 == 0 && std::abs(rlon1 - rlon2) == GeoPi;
}

inline bool SamePoint(double rlat1, double rlon1, double rlat2, double rlon2) {
    return rlat1 == rlat2 &&
           (rlon1 == rlon2 || std::abs(std::abs(rlon1 - rlon2) - GeoTwoPi) < GeoTolerance);
}

} // namespace

double GeodesicDistance(double lat1, double lon1, double lat2, double lon2, double h1, double h2) {
    if (std::isnan(lat1) || std::isnan(lon1) || std::isnan(lat2) || std::isnan(lon2)) return 0;
    lat1 = ToRadians(lat1);
    lon1 = ToRadians(lon1);
    lat2 = ToRadians(lat2);
    lon2 = ToRadians(lon2);
    if (ExactAntipodes(lat1, lon1, lat2, lon2)) lat1 += GeoAntipodalNudge;
    if (SamePoint(lat1, lon1, lat2, lon2)) return std::abs(h1 - h2);
    const LatitudeTerms a = ReducedLatitude(lat1);
    const LatitudeTerms b = ReducedLatitude(lat2);
    const double s = a.Cu * b.Cu;
    const double baz = s * b.Tu;
    const double faz = baz * a.Tu;
    return WithHeights(VincentyArc(s, baz, faz, a.Su, b.Cu, lon2 - lon1), h1, h2);
}

AxisOffset AxisOffsets(double refLat, double refLon, double lat, double lon) {
    AxisOffset offset;
    offset.North = GeodesicDistance(refLat, refLon, lat, refLon, 0, 0);
    if (refLat > lat) offset.North = -offset.North;
    offset.East = GeodesicDistance(refLat, refLon, refLat, lon, 0, 0);
    double difference = lon - refLon;
    if (difference > 180) difference -= 360;
    if (difference < -180) difference += 360;
    if (difference < 0) offset.East = -offset.East;
    return offset;
}

ReferenceGeodesics::ReferenceGeodesics(double refLat, double refLon)
    : lat_(refLat), lon_(refLon), rlat_(ToRadians(refLat)), rlon_(ToRadians(refLon)) {
    usable_ = std::isfinite(rlat_) && std::isfinite(rlon_);
    const LatitudeTerms a = ReducedLatitude(rlat_);
    tu1_ = a.Tu;
    cu1_ = a.Cu;
    su1_ = a.Su;
    ewS_ = cu1_ * cu1_;
    ewBaz_ = ewS_ * tu1_;
    ewFaz_ = ewBaz_ * tu1_;
}

ReferenceGeodesics::Distances ReferenceGeodesics::Measure(double lat, double lon) const {
    const double rlat = ToRadians(lat);
    const double rlon = ToRadians(lon);
    if (!usable_ || std::isnan(rlat) || std::isnan(rlon)) {
        return {GeodesicDistance(lat_, lon_, lat, lon, 0, 0),
                GeodesicDistance(lat_, lon_, lat, lon_, 0, 0),
                GeodesicDistance(lat_, lon_, lat_, lon, 0, 0)};
    }
    Distances out;

    // The fix's latitude terms serve the horizontal and the north-south distance alike.
    const LatitudeTerms b = ReducedLatitude(rlat);
    const double s = cu1_ * b.Cu;
    const double baz = s * b.Tu;
    const double faz = baz * tu1_;

    if (ExactAntipodes(rlat_, rlon_, rlat, rlon))
        out.Horizontal = GeodesicDistance(lat_, lon_, lat, lon, 0, 0);
    else if (SamePoint(rlat_, rlon_, rlat, rlon))
        out.Horizontal = 0;
    else
        out.Horizontal = WithHeights(VincentyArc(s, baz, faz, su1_, b.Cu, rlon - rlon_), 0, 0);

    // On the reference meridian L is 0, and the iteration stops after its first pass.
    if (rlat_ == rlat)
        out.NorthSouth = 0;
    else
        out.NorthSouth = WithHeights(VincentyArc(s, baz, faz, su1_, b.Cu, rlon_ - rlon_), 0, 0);

    // On the reference latitude only the longitude difference varies.
    if (ExactAntipodes(rlat_, rlon_, rlat_, rlon))
        out.EastWest = GeodesicDistance(lat_, lon_, lat_, lon, 0, 0);
    else if (SamePoint(rlat_, rlon_, rlat_, rlon))
        out.EastWest = 0;
    else
        out.EastWest =
            WithHeights(VincentyArc(ewS_, ewBaz_, ewFaz_, su1_, cu1_, rlon - rlon_), 0, 0);
    return out;
}

} // namespace fixtally
