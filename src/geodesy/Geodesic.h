#pragma once

namespace fixtally {

// Distances on the GRS80 ellipsoid by Vincenty's inverse iteration (nested form).
//
// Notation: lat, lon in degrees on input, radians inside; tu = reduced-latitude tangent,
// su/cu its sine and cosine; x the longitude on the auxiliary sphere, L the longitude
// difference; y the spherical arc; sa, c2a the sine and squared cosine of the azimuth at
// the equator. The iteration stops after 21 passes even without convergence, so
// near-antipodal points give a finite (approximate) value.

// GRS80 constants as the program stores them.
inline constexpr double Grs80A = 6378137.0;             // semi-major axis, metres
inline constexpr double Grs80F = 0.0033528106811836675; // flattening 1/298.25722210088
inline constexpr double Grs80R = 0.9966471893188164;    // 1 - f, kept as its own constant
inline constexpr double GeoPi = 3.141592653589793;
inline constexpr double GeoTwoPi = 6.283185307179586;
inline constexpr double GeoTolerance = 5e-12;     // convergence of the iteration, rad
inline constexpr double GeoAntipodalNudge = 1e-5; // added to lat1 at exact antipodes
inline constexpr int GeoMaxPasses = 21;

// Distance in metres between (lat1, lon1, h1) and (lat2, lon2, h2); degrees and metres.
// Never negative; 0 when any coordinate is NaN.
double GeodesicDistance(double lat1, double lon1, double lat2, double lon2, double h1, double h2);

struct AxisOffset {
    double East = 0;  // metres, positive when the position lies east of the reference
    double North = 0; // metres, positive when the position lies north of the reference
};

// Signed east and north offsets of (lat, lon) from the reference (refLat, refLon):
// north along the reference meridian, east along the reference latitude.
AxisOffset AxisOffsets(double refLat, double refLon, double lat, double lon);

// The three distances the count measures for every fix against one reference, bit for bit
// equal to GeodesicDistance(ref, fix), GeodesicDistance(ref, (fix lat, ref lon)) and
// GeodesicDistance(ref, (ref lat, fix lon)) with zero heights. The reference terms are
// computed once; the horizontal and north-south distances share the fix's latitude terms.
class ReferenceGeodesics {
public:
    ReferenceGeodesics(double refLat, double refLon);

    struct Distances {
        double Horizontal;
        double NorthSouth;
        double EastWest;
    };
    Distances Measure(double lat, double lon) const;

    // Only the two axis distances (north-south, east-west), as the scatter graph needs them.
    struct Axes {
        double NorthSouth;
        double EastWest;
    };
    Axes MeasureAxes(double lat, double lon) const;

private:
    double lat_, lon_;           // reference in degrees
    double rlat_, rlon_;         // reference in radians
    double tu1_, cu1_, su1_;     // reference latitude terms
    double ewS_, ewBaz_, ewFaz_; // terms of a point on the reference latitude
    bool usable_;                // false for a NaN reference: every measure goes the long way
};

} // namespace fixtally
