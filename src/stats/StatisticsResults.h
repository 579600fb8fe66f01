#pragma once

#include "geodesy/GeoPoint.h"

namespace fixtally {

// Twice the root-mean-square distance of the accepted fixes from the reference, per axis,
// in metres; NaN when not computed.
struct SpreadValues {
    double Horizontal = NaN;
    double EastWest = NaN;
    double NorthSouth = NaN;
    double Altitude = NaN;
};

// Program-wide results of the last count.
struct StatisticsResults {
    GeoPoint AveragePoint;         // mean of the accepted fixes; NaN from each load's start
    GeoPoint TruePoint;            // the user's true position, refreshed by ReadTrueCoordinates
    GeoPoint ReferencePoint;       // TruePoint or AveragePoint, chosen by the last count
    bool UseTrueReference = false; // "True coordinates" as sampled at the start of the count
    SpreadValues ErrorSpread;      // always the 2xRMS values, also in CEP(50%) mode
    double LargestAxisOffset = 0;  // of the last count; the auto range is chosen from it
};

} // namespace fixtally
