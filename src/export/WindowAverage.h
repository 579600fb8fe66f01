#pragma once

#include "fixdata/FixRecord.h"
#include "fixdata/FixStore.h"
#include "stats/FixFilter.h"

#include <cstddef>
#include <vector>

namespace fixtally {

// The horizontal limit of the averaged export: a fix farther than Metres from the centre
// is left out (a fix exactly at the limit counts).
struct DistanceLimit {
    bool On = false;
    double CentreLatitude = NaN;
    double CentreLongitude = NaN;
    double Metres = 0;
};

// The mean position of the accepted fixes of one window.
struct WindowMean {
    double Latitude = NaN;  // NaN when no fix counts
    double Longitude = NaN; // NaN when no fix counts
    double Altitude = NaN;  // NaN when no counted fix has a height
};

// Mean of the fixes that the filter accepts, whose time lies in from..to (both inclusive)
// and that pass the limit: one full pass over the store, summing in store order.
WindowMean WindowAverage(const FixStore& store, const FixFilter& filter, double from, double to,
                         const DistanceLimit& limit);

// The accepted fixes of the store, collected in one pass and ordered by time, so that a
// window's mean costs the fixes inside it instead of a pass over the store. Every window
// sums exactly the values WindowAverage sums, in store order, so the means are equal to
// the last bit.
class AcceptedFixIndex {
public:
    AcceptedFixIndex(const FixStore& store, const FixFilter& filter);

    // Leaves out, from now on, the fixes beyond the limit.
    void ApplyLimit(const DistanceLimit& limit);

    WindowMean Average(double from, double to) const;

    // The time of the first fix at or after from; infinity when there is none.
    double NextTime(double from) const;

    // The means of several windows at once (count at most WindowBatch), each summed in the
    // same order as Average sums it; the windows' sums run side by side for speed.
    static constexpr std::size_t WindowBatch = 4;
    void Average(const double* from, const double* to, WindowMean* means, std::size_t count) const;

private:
    void OrderByTime();
    // Whether the fixes lie on both sides of the antimeridian (more than 180 degrees apart).
    void FindAntimeridian();
    // The positions first..last (exclusive) in time order of the fixes from..to.
    bool Slice(double from, double to, std::size_t& first, std::size_t& last) const;

    // In store order.
    std::vector<double> storeTimes_, latitudes_, longitudes_;
    std::vector<double> altitudes_;      // 0 for a fix without height: adding it changes no sum
    std::vector<unsigned char> heights_; // 1 for a fix with a height
    // In time order (stable): the times and, for a log out of time order, the store-order
    // position of each.
    std::vector<double> times_;
    std::vector<std::size_t> storeOrder_; // empty when the log is in time order
    mutable std::vector<std::size_t> slice_;
    bool straddles_ = false;
};

} // namespace fixtally
