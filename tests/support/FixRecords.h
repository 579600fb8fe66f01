#pragma once

// Fix records for tests that fill a store by hand.

#include "fixdata/FixRecord.h"

namespace fixtally::testing {

// A valid fix ('1') at time (a day number) without DOP or satellite counts; the altitude
// absent unless given.
inline FixRecord Fix(double time, double lat, double lon, double alt = NaN) {
    FixRecord fix;
    fix.Time = time;
    fix.Latitude = lat;
    fix.Longitude = lon;
    fix.Altitude = alt;
    fix.FixQuality = u'1';
    return fix;
}

} // namespace fixtally::testing
