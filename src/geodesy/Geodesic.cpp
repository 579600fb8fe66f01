#include "geodesy/Geodesic.h"

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

// The terms of the arc-length series that depend only on c2a.
struct SeriesTerms {
    double M, D;

    static inline SeriesTerms Of(double c2a) {
        double t = std::sqrt((1 / (Grs80R * Grs80R) - 1) * c2a + 1) + 1;
        t = (t - 2) / t;
        return {(t * t / 4 + 1) / (1 - t), (0.375 * t * t - 1) * t};
    }
};

// One iteration of the inverse problem from the terms of both latitudes (s = cu1 cu2,
// baz = s tu2, faz = baz tu1) and the longitude difference L, kept as a state so that
// independent iterations can run side by side.
struct VincentyState {
    double S, Baz, Faz, Su1, Cu2, L;
    double X;
    double Sy = 0, Cy = 0, Y = 0, C2a = 0, Cz = 0, E = 0;
    bool Running = true;

    VincentyState(double s, double baz, double faz, double su1, double cu2, double l)
        : S(s), Baz(baz), Faz(faz), Su1(su1), Cu2(cu2), L(l), X(l) {}

    inline void Pass(int pass) {
        // sin and cos of a zero are exact: a point on the reference meridian needs neither.
        if (X == 0)
            Pass(pass, X, 1.0);
        else
            Pass(pass, std::sin(X), std::cos(X));
    }

    // A pass with sx = sin X and cx = cos X already known.
    inline void Pass(int pass, double sx, double cx) {
        const double p = Cu2 * sx;
        const double q = Baz - Su1 * Cu2 * cx;
        Sy = std::sqrt(p * p + q * q);
        Cy = S * cx + Faz;
        Y = std::atan2(Sy, Cy);
        const double sa = Sy == 0 ? 1 : S * sx / Sy;
        C2a = 1 - sa * sa;
        Cz = 2 * Faz;
        if (C2a > 0) Cz = -Cz / C2a + Cy;
        E = 2 * Cz * Cz - 1;
        const double k = ((-3 * C2a + 4) * Grs80F + 4) * C2a * Grs80F / 16;
        const double d = X;
        X = ((E * Cy * k + Cz) * Sy * k + Y) * sa;
        X = (1 - k) * X * Grs80F + L;
        if (std::abs(d - X) < GeoTolerance || pass == GeoMaxPasses) Running = false;
    }

    // The series for the arc length from the values of the last pass.
    inline double Arc() const {
        // On a meridian c2a is exactly 1, and the series terms that depend on it alone are
        // the same every time.
        static const SeriesTerms meridian = SeriesTerms::Of(1.0);
        const SeriesTerms terms = C2a == 1.0 ? meridian : SeriesTerms::Of(C2a);
        const double m = terms.M;
        const double d = terms.D;
        return ((((4 * Sy * Sy - 3) * (1 - 2 * E) * Cz * d / 6 - E * Cy) * d / 4 + Cz) * Sy * d +
                Y) *
               m * Grs80A * Grs80R;
    }
};

inline double VincentyArc(double s, double baz, double faz, double su1, double cu2, double L) {
    VincentyState state(s, baz, faz, su1, cu2, L);
    for (int pass = 1; state.Running; ++pass) state.Pass(pass);
    return state.Arc();
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
    Distances out{0, 0, 0};

    // The fix's latitude terms serve the horizontal and the north-south distance alike.
    const LatitudeTerms b = ReducedLatitude(rlat);
    const double s = cu1_ * b.Cu;
    const double baz = s * b.Tu;
    const double faz = baz * tu1_;

    // Up to three independent iterations, run side by side so that the processor can
    // overlap them; each one does exactly the operations of its own GeodesicDistance.
    VincentyState horizontal(s, baz, faz, su1_, b.Cu, rlon - rlon_);
    // On the reference meridian L is 0, and the iteration stops after its first pass.
    VincentyState northSouth(s, baz, faz, su1_, b.Cu, rlon_ - rlon_);
    // On the reference latitude only the longitude difference varies.
    VincentyState eastWest(ewS_, ewBaz_, ewFaz_, su1_, cu1_, rlon - rlon_);

    if (ExactAntipodes(rlat_, rlon_, rlat, rlon)) {
        out.Horizontal = GeodesicDistance(lat_, lon_, lat, lon, 0, 0);
        horizontal.Running = false;
    } else if (SamePoint(rlat_, rlon_, rlat, rlon)) {
        horizontal.Running = false;
    }
    if (rlat_ == rlat) northSouth.Running = false;
    if (ExactAntipodes(rlat_, rlon_, rlat_, rlon)) {
        out.EastWest = GeodesicDistance(lat_, lon_, lat_, lon, 0, 0);
        eastWest.Running = false;
    } else if (SamePoint(rlat_, rlon_, rlat_, rlon)) {
        eastWest.Running = false;
    }
    const bool measureHorizontal = horizontal.Running;
    const bool measureNorthSouth = northSouth.Running;
    const bool measureEastWest = eastWest.Running;

    // The horizontal and the east-west iteration both start from x = L.
    if (horizontal.Running && eastWest.Running && horizontal.X != 0) {
        const double sx = std::sin(horizontal.X);
        const double cx = std::cos(horizontal.X);
        horizontal.Pass(1, sx, cx);
        eastWest.Pass(1, sx, cx);
        if (northSouth.Running) northSouth.Pass(1);
    } else {
        if (horizontal.Running) horizontal.Pass(1);
        if (northSouth.Running) northSouth.Pass(1);
        if (eastWest.Running) eastWest.Pass(1);
    }
    for (int pass = 2; horizontal.Running || northSouth.Running || eastWest.Running; ++pass) {
        if (horizontal.Running) horizontal.Pass(pass);
        if (northSouth.Running) northSouth.Pass(pass);
        if (eastWest.Running) eastWest.Pass(pass);
    }
    if (measureHorizontal) out.Horizontal = WithHeights(horizontal.Arc(), 0, 0);
    if (measureNorthSouth) out.NorthSouth = WithHeights(northSouth.Arc(), 0, 0);
    if (measureEastWest) out.EastWest = WithHeights(eastWest.Arc(), 0, 0);
    return out;
}

ReferenceGeodesics::Axes ReferenceGeodesics::MeasureAxes(double lat, double lon) const {
    const double rlat = ToRadians(lat);
    const double rlon = ToRadians(lon);
    if (!usable_ || std::isnan(rlat) || std::isnan(rlon)) {
        return {GeodesicDistance(lat_, lon_, lat, lon_, 0, 0),
                GeodesicDistance(lat_, lon_, lat_, lon, 0, 0)};
    }
    Axes out{0, 0};
    const LatitudeTerms b = ReducedLatitude(rlat);
    const double s = cu1_ * b.Cu;
    const double baz = s * b.Tu;
    const double faz = baz * tu1_;
    VincentyState northSouth(s, baz, faz, su1_, b.Cu, rlon_ - rlon_);
    VincentyState eastWest(ewS_, ewBaz_, ewFaz_, su1_, cu1_, rlon - rlon_);
    if (rlat_ == rlat) northSouth.Running = false;
    if (ExactAntipodes(rlat_, rlon_, rlat_, rlon)) {
        out.EastWest = GeodesicDistance(lat_, lon_, lat_, lon, 0, 0);
        eastWest.Running = false;
    } else if (SamePoint(rlat_, rlon_, rlat_, rlon)) {
        eastWest.Running = false;
    }
    const bool measureNorthSouth = northSouth.Running;
    const bool measureEastWest = eastWest.Running;
    for (int pass = 1; northSouth.Running || eastWest.Running; ++pass) {
        if (northSouth.Running) northSouth.Pass(pass);
        if (eastWest.Running) eastWest.Pass(pass);
    }
    if (measureNorthSouth) out.NorthSouth = WithHeights(northSouth.Arc(), 0, 0);
    if (measureEastWest) out.EastWest = WithHeights(eastWest.Arc(), 0, 0);
    return out;
}

} // namespace fixtally
