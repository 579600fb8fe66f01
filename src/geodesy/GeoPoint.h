#pragma once

#include "fixdata/FixRecord.h"

namespace fixtally {

// A position in degrees and metres; NaN where it has no data.
struct GeoPoint {
    double Latitude = NaN;
    double Longitude = NaN;
    double Altitude = NaN;
};

} // namespace fixtally
