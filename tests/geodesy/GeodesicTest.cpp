#include "geodesy/Geodesic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#if FIXTALLY_HAVE_GEOGRAPHICLIB
#include <GeographicLib/Geodesic.hpp>
#endif

namespace fixtally {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(GeodesicDistanceTest, StatedValues) {
    EXPECT_EQ(GeodesicDistance(35, 139, 35, 139, 0, 0), 0);
    EXPECT_EQ(GeodesicDistance(35, 139, 35, 139, 10, 4), 6);
    // Meridian arc of one degree at the equator.
    EXPECT_NEAR(GeodesicDistance(0, 0, 1, 0, 0, 0), 110574.4, 0.05);
    // Near-antipodal: the 21-pass cap still gives a finite value.
    const double capped = GeodesicDistance(0, 0, 0.5, 179.7, 0, 0);
    EXPECT_TRUE(std::isfinite(capped));
    EXPECT_NEAR(capped, 19923773.6, 0.05);
    // Exact antipodes get the nudge.
    EXPECT_NEAR(GeodesicDistance(0, 0, 0, 180, 0, 0), 20003868.1, 0.05);
}

TEST(GeodesicDistanceTest, MissingCoordinateGivesZero) {
    EXPECT_EQ(GeodesicDistance(kNaN, 139, 35, 139, 0, 0), 0);
    EXPECT_EQ(GeodesicDistance(35, kNaN, 35, 139, 0, 0), 0);
    EXPECT_EQ(GeodesicDistance(35, 139, kNaN, 139, 0, 0), 0);
    EXPECT_EQ(GeodesicDistance(35, 139, 35, kNaN, 5, 0), 0);
}

TEST(GeodesicDistanceTest, FullTurnOfLongitudeIsTheSamePoint) {
    EXPECT_EQ(GeodesicDistance(10, -180, 10, 180, 3, 1), 2);
}

TEST(AxisOffsetsTest, SignsFollowTheDirection) {
    const AxisOffset ne = AxisOffsets(35, 139, 35.001, 139.001);
    EXPECT_GT(ne.North, 0);
    EXPECT_GT(ne.East, 0);
    const AxisOffset sw = AxisOffsets(35, 139, 34.999, 138.999);
    EXPECT_LT(sw.North, 0);
    EXPECT_LT(sw.East, 0);
    EXPECT_DOUBLE_EQ(sw.North, -GeodesicDistance(35, 139, 34.999, 139, 0, 0));
    EXPECT_DOUBLE_EQ(sw.East, -GeodesicDistance(35, 139, 35, 138.999, 0, 0));
}

TEST(AxisOffsetsTest, DateLineIsCrossedTheShortWay) {
    const AxisOffset across = AxisOffsets(20, 179.9999, 20, -179.9999);
    EXPECT_GT(across.East, 0);
    EXPECT_LT(across.East, 30); // 0.0002 degrees of longitude
    EXPECT_EQ(across.North, 0);
    EXPECT_LT(AxisOffsets(20, -179.9999, 20, 179.9999).East, 0);
}

// Point pairs of the kinds the program meets, from a fixed seed.
struct PointPair {
    double Lat1, Lon1, Lat2, Lon2;
};

std::vector<PointPair> SeededPairs() {
    std::mt19937_64 gen(20261209);
    std::uniform_real_distribution<double> lat(-89.9, 89.9), lon(-180, 180), unit(-1, 1);
    std::vector<PointPair> pairs;
    const double metresPerDegree = 111320;
    auto near = [&](double lat1, double lon1, double metres) {
        const double dLat = unit(gen) * metres / metresPerDegree;
        const double dLon =
            unit(gen) * metres / metresPerDegree / std::max(0.01, std::cos(lat1 * GeoPi / 180));
        double lat2 = std::clamp(lat1 + dLat, -90.0, 90.0);
        double lon2 = lon1 + dLon;
        if (lon2 > 180) lon2 -= 360;
        if (lon2 < -180) lon2 += 360;
        return PointPair{lat1, lon1, lat2, lon2};
    };
    for (double metres : {0.0, 0.001, 1.0, 5.0, 1000.0, 100000.0, 1e6}) {
        for (int i = 0; i < 400; ++i) pairs.push_back(near(lat(gen), lon(gen), metres));
    }
    // About 10,000 km apart: a second point a quarter of the globe away.
    for (int i = 0; i < 400; ++i) {
        const double lat1 = lat(gen), lon1 = lon(gen);
        double lon2 = lon1 + 60 + 40 * unit(gen);
        if (lon2 > 180) lon2 -= 360;
        pairs.push_back({lat1, lon1, std::clamp(-lat1 / 3 + 20 * unit(gen), -89.0, 89.0), lon2});
    }
    // Close to the poles and across the date line.
    for (int i = 0; i < 200; ++i) {
        pairs.push_back(near(89.99 + 0.0099 * unit(gen), lon(gen), 500));
        pairs.push_back(near(-89.99 + 0.0099 * unit(gen), lon(gen), 500));
        pairs.push_back(near(lat(gen), 179.9995 + 0.0005 * unit(gen), 100));
        pairs.push_back(near(lat(gen), -179.9995 + 0.0005 * unit(gen), 100));
    }
    // Same latitude and same meridian, as the axis offsets measure.
    for (int i = 0; i < 200; ++i) {
        const PointPair p = near(lat(gen), lon(gen), 2000);
        pairs.push_back({p.Lat1, p.Lon1, p.Lat1, p.Lon2});
        pairs.push_back({p.Lat1, p.Lon1, p.Lat2, p.Lon1});
    }
    return pairs;
}

#if FIXTALLY_HAVE_GEOGRAPHICLIB
TEST(GeodesicDistanceTest, AgreesWithGeographicLibToATenthOfAMillimetre) {
    const GeographicLib::Geodesic grs80(Grs80A, 1 / 298.257222101);
    const std::vector<PointPair> pairs = SeededPairs();
    ASSERT_GT(pairs.size(), 3000u);
    for (const PointPair& p : pairs) {
        double expected = 0;
        grs80.Inverse(p.Lat1, p.Lon1, p.Lat2, p.Lon2, expected);
        ASSERT_NEAR(GeodesicDistance(p.Lat1, p.Lon1, p.Lat2, p.Lon2, 0, 0), expected, 1e-4)
            << p.Lat1 << "," << p.Lon1 << " to " << p.Lat2 << "," << p.Lon2;
    }
}
#endif

TEST(ReferenceGeodesicsTest, BitForBitEqualToThreeDistanceCalls) {
    std::vector<PointPair> pairs = SeededPairs();
    // Edge cases of the shortcuts: same point, same latitude or meridian, exact antipodes
    // on the equator, a full turn of longitude, the poles.
    pairs.push_back({35, 139, 35, 139});
    pairs.push_back({0, 0, 0, 180});
    pairs.push_back({0, 0, -0.0, -180});
    pairs.push_back({0, 180, 0, -180});
    pairs.push_back({0, 10, 0, -170});
    pairs.push_back({90, 0, -90, 0});
    pairs.push_back({90, 0, 89.9999, 123});
    pairs.push_back({0, 0, 0.5, 179.7});
    pairs.push_back({10, 20, kNaN, 20});
    pairs.push_back({10, 20, 10, std::numeric_limits<double>::infinity()});
    for (const PointPair& p : pairs) {
        const ReferenceGeodesics reference(p.Lat1, p.Lon1);
        const ReferenceGeodesics::Distances d = reference.Measure(p.Lat2, p.Lon2);
        ASSERT_TRUE(SameBits(d.Horizontal, GeodesicDistance(p.Lat1, p.Lon1, p.Lat2, p.Lon2, 0, 0)))
            << p.Lat1 << "," << p.Lon1 << " to " << p.Lat2 << "," << p.Lon2;
        ASSERT_TRUE(SameBits(d.NorthSouth, GeodesicDistance(p.Lat1, p.Lon1, p.Lat2, p.Lon1, 0, 0)))
            << p.Lat1 << "," << p.Lon1 << " to " << p.Lat2 << "," << p.Lon2;
        ASSERT_TRUE(SameBits(d.EastWest, GeodesicDistance(p.Lat1, p.Lon1, p.Lat1, p.Lon2, 0, 0)))
            << p.Lat1 << "," << p.Lon1 << " to " << p.Lat2 << "," << p.Lon2;
        const ReferenceGeodesics::Axes axes = reference.MeasureAxes(p.Lat2, p.Lon2);
        ASSERT_TRUE(SameBits(axes.NorthSouth, d.NorthSouth));
        ASSERT_TRUE(SameBits(axes.EastWest, d.EastWest));
    }
}

TEST(ReferenceGeodesicsTest, MissingReferenceMeasuresLikeTheFunction) {
    const ReferenceGeodesics reference(kNaN, 139);
    const ReferenceGeodesics::Distances d = reference.Measure(35, 139);
    EXPECT_EQ(d.Horizontal, 0);
    EXPECT_EQ(d.NorthSouth, 0);
    EXPECT_EQ(d.EastWest, 0);
}

} // namespace
} // namespace fixtally
