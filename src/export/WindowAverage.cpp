#include "export/WindowAverage.h"

#include "fixdata/FixStore.h"
#include "geodesy/Geodesic.h"
#include "stats/FixFilter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace fixtally {

namespace {

bool WithinLimit(const DistanceLimit& limit, double latitude, double longitude) {
    return GeodesicDistance(limit.CentreLatitude, limit.CentreLongitude, latitude, longitude, 0,
                            0) <= limit.Metres;
}

// A longitude more than half a turn from the reference longitude, taken one turn nearer
// to it, so that fixes on both sides of the antimeridian average to where they lie.
double NearLongitude(double longitude, double reference) {
    if (longitude - reference > 180) return longitude - 360;
    if (reference - longitude > 180) return longitude + 360;
    return longitude;
}

WindowMean MeanOf(double latitudeSum, double longitudeSum, std::size_t count, double heightSum,
                  std::size_t heightCount) {
    WindowMean mean;
    if (count > 0) {
        mean.Latitude = latitudeSum / static_cast<double>(count);
        mean.Longitude = longitudeSum / static_cast<double>(count);
        if (mean.Longitude > 180)
            mean.Longitude -= 360;
        else if (mean.Longitude < -180)
            mean.Longitude += 360;
    }
    if (heightCount > 0) mean.Altitude = heightSum / static_cast<double>(heightCount);
    return mean;
}

} // namespace

WindowMean WindowAverage(const FixStore& store, const FixFilter& filter, double from, double to,
                         const DistanceLimit& limit) {
    double latitudeSum = 0, longitudeSum = 0, heightSum = 0, firstLongitude = 0;
    std::size_t count = 0, heightCount = 0;
    for (std::size_t i = 0, n = store.Count(); i < n; ++i) {
        const FixRecord fix = DecodeFixRecord(store.Data() + i * FixRecordSize);
        if (!filter.Accepts(fix)) continue;
        if (!(from <= fix.Time && fix.Time <= to)) continue;
        if (limit.On && !WithinLimit(limit, fix.Latitude, fix.Longitude)) continue;
        if (count == 0) firstLongitude = fix.Longitude;
        latitudeSum += fix.Latitude;
        longitudeSum += NearLongitude(fix.Longitude, firstLongitude);
        ++count;
        if (!std::isnan(fix.Altitude)) {
            heightSum += fix.Altitude;
            ++heightCount;
        }
    }
    return MeanOf(latitudeSum, longitudeSum, count, heightSum, heightCount);
}

AcceptedFixIndex::AcceptedFixIndex(const FixStore& store, const FixFilter& filter) {
    storeTimes_.reserve(store.Count());
    latitudes_.reserve(store.Count());
    longitudes_.reserve(store.Count());
    altitudes_.reserve(store.Count());
    heights_.reserve(store.Count());
    for (std::size_t i = 0, n = store.Count(); i < n; ++i) {
        const FixRecord fix = DecodeFixRecord(store.Data() + i * FixRecordSize);
        if (!filter.Accepts(fix)) continue;
        storeTimes_.push_back(fix.Time);
        latitudes_.push_back(fix.Latitude);
        longitudes_.push_back(fix.Longitude);
        const bool height = !std::isnan(fix.Altitude);
        altitudes_.push_back(height ? fix.Altitude : 0.0);
        heights_.push_back(height ? 1 : 0);
    }
    OrderByTime();
}

void AcceptedFixIndex::ApplyLimit(const DistanceLimit& limit) {
    if (!limit.On) return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < latitudes_.size(); ++i) {
        if (!WithinLimit(limit, latitudes_[i], longitudes_[i])) continue;
        storeTimes_[kept] = storeTimes_[i];
        latitudes_[kept] = latitudes_[i];
        longitudes_[kept] = longitudes_[i];
        altitudes_[kept] = altitudes_[i];
        heights_[kept] = heights_[i];
        ++kept;
    }
    storeTimes_.resize(kept);
    latitudes_.resize(kept);
    longitudes_.resize(kept);
    altitudes_.resize(kept);
    heights_.resize(kept);
    OrderByTime();
}

void AcceptedFixIndex::OrderByTime() {
    FindAntimeridian();
    times_ = storeTimes_;
    storeOrder_.clear();
    if (std::is_sorted(times_.begin(), times_.end())) return;
    storeOrder_.resize(times_.size());
    std::iota(storeOrder_.begin(), storeOrder_.end(), std::size_t{0});
    std::stable_sort(storeOrder_.begin(), storeOrder_.end(),
                     [&](std::size_t a, std::size_t b) { return storeTimes_[a] < storeTimes_[b]; });
    for (std::size_t i = 0; i < times_.size(); ++i) times_[i] = storeTimes_[storeOrder_[i]];
}

void AcceptedFixIndex::FindAntimeridian() {
    const auto [low, high] = std::minmax_element(longitudes_.begin(), longitudes_.end());
    straddles_ = low != longitudes_.end() && *high - *low > 180;
}

double AcceptedFixIndex::NextTime(double from) const {
    const auto next = std::lower_bound(times_.begin(), times_.end(), from);
    return next == times_.end() ? std::numeric_limits<double>::infinity() : *next;
}

bool AcceptedFixIndex::Slice(double from, double to, std::size_t& first, std::size_t& last) const {
    first = last = 0;
    if (std::isnan(from) || std::isnan(to)) return false;
    // from <= time <= to, as the plain pass tests it.
    first = static_cast<std::size_t>(std::lower_bound(times_.begin(), times_.end(), from) -
                                     times_.begin());
    last = static_cast<std::size_t>(std::upper_bound(times_.begin(), times_.end(), to) -
                                    times_.begin());
    if (last < first) last = first;
    return last > first;
}

WindowMean AcceptedFixIndex::Average(double from, double to) const {
    std::size_t first, last;
    if (!Slice(from, to, first, last)) return {};
    double latitudeSum = 0, longitudeSum = 0, heightSum = 0;
    std::size_t heightCount = 0;
    // Around the window's first fix in store order when the fixes straddle the antimeridian.
    const auto add = [&](std::size_t i, std::size_t firstOfWindow) {
        latitudeSum += latitudes_[i];
        longitudeSum +=
            straddles_ ? NearLongitude(longitudes_[i], longitudes_[firstOfWindow]) : longitudes_[i];
        heightSum += altitudes_[i];
        heightCount += heights_[i];
    };
    if (storeOrder_.empty()) {
        for (std::size_t i = first; i < last; ++i) add(i, first);
    } else {
        // Out of time order: sum the window's fixes in store order.
        slice_.assign(storeOrder_.begin() + static_cast<std::ptrdiff_t>(first),
                      storeOrder_.begin() + static_cast<std::ptrdiff_t>(last));
        std::sort(slice_.begin(), slice_.end());
        for (std::size_t i : slice_) add(i, slice_.front());
    }
    return MeanOf(latitudeSum, longitudeSum, last - first, heightSum, heightCount);
}

void AcceptedFixIndex::Average(const double* from, const double* to, WindowMean* means,
                               std::size_t count) const {
    if (count != WindowBatch || !storeOrder_.empty() || straddles_) {
        for (std::size_t k = 0; k < count; ++k) means[k] = Average(from[k], to[k]);
        return;
    }
    // Four windows of a time-ordered log: their sums are independent chains, so running
    // them in one loop keeps the adder busy while each chain keeps its own order.
    std::size_t first[WindowBatch], last[WindowBatch];
    std::size_t common = std::numeric_limits<std::size_t>::max();
    for (std::size_t k = 0; k < WindowBatch; ++k) {
        Slice(from[k], to[k], first[k], last[k]);
        common = std::min(common, last[k] - first[k]);
    }
    double latitudeSum[WindowBatch] = {}, longitudeSum[WindowBatch] = {},
           heightSum[WindowBatch] = {};
    std::size_t heightCount[WindowBatch] = {};
    const double* latitudes = latitudes_.data();
    const double* longitudes = longitudes_.data();
    const double* altitudes = altitudes_.data();
    const unsigned char* heights = heights_.data();
    for (std::size_t j = 0; j < common; ++j) {
        for (std::size_t k = 0; k < WindowBatch; ++k) {
            const std::size_t i = first[k] + j;
            latitudeSum[k] += latitudes[i];
            longitudeSum[k] += longitudes[i];
            heightSum[k] += altitudes[i];
            heightCount[k] += heights[i];
        }
    }
    for (std::size_t k = 0; k < WindowBatch; ++k) {
        for (std::size_t i = first[k] + common; i < last[k]; ++i) {
            latitudeSum[k] += latitudes[i];
            longitudeSum[k] += longitudes[i];
            heightSum[k] += altitudes[i];
            heightCount[k] += heights[i];
        }
        means[k] = MeanOf(latitudeSum[k], longitudeSum[k], last[k] - first[k], heightSum[k],
                          heightCount[k]);
    }
}

} // namespace fixtally
