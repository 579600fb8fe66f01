#include "export/WindowAverage.h"

#include "app/Program.h"
#include "stats/FixFilter.h"
#include "stats/Geodesic.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace fixtally {

namespace {

bool WithinLimit(const DistanceLimit& limit, double latitude, double longitude) {
    return GeodesicDistance(limit.CentreLatitude, limit.CentreLongitude, latitude, longitude, 0,
                            0) <= limit.Metres;
}

WindowMean MeanOf(double latitudeSum, double longitudeSum, std::size_t count, double heightSum,
                  std::size_t heightCount) {
    WindowMean mean;
    if (count > 0) {
        mean.Latitude = latitudeSum / static_cast<double>(count);
        mean.Longitude = longitudeSum / static_cast<double>(count);
    }
    if (heightCount > 0) mean.Altitude = heightSum / static_cast<double>(heightCount);
    return mean;
}

} // namespace

WindowMean WindowAverage(const Program& program, double from, double to,
                         const DistanceLimit& limit) {
    const FixStore& store = program.Store;
    double latitudeSum = 0, longitudeSum = 0, heightSum = 0;
    std::size_t count = 0, heightCount = 0;
    for (std::size_t i = 0, n = store.Count(); i < n; ++i) {
        const FixRecord fix = DecodeFixRecord(store.Data() + i * FixRecordSize);
        if (!AcceptFix(program, fix)) continue;
        if (!(from <= fix.Time && fix.Time <= to)) continue;
        if (limit.On && !WithinLimit(limit, fix.Latitude, fix.Longitude)) continue;
        latitudeSum += fix.Latitude;
        longitudeSum += fix.Longitude;
        ++count;
        if (!std::isnan(fix.Altitude)) {
            heightSum += fix.Altitude;
            ++heightCount;
        }
    }
    return MeanOf(latitudeSum, longitudeSum, count, heightSum, heightCount);
}

AcceptedFixIndex::AcceptedFixIndex(const Program& program) {
    const FixStore& store = program.Store;
    for (std::size_t i = 0, n = store.Count(); i < n; ++i) {
        const FixRecord fix = DecodeFixRecord(store.Data() + i * FixRecordSize);
        if (!AcceptFix(program, fix)) continue;
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
    times_ = storeTimes_;
    storeOrder_.clear();
    if (std::is_sorted(times_.begin(), times_.end())) return;
    storeOrder_.resize(times_.size());
    std::iota(storeOrder_.begin(), storeOrder_.end(), std::size_t{0});
    std::stable_sort(storeOrder_.begin(), storeOrder_.end(),
                     [&](std::size_t a, std::size_t b) { return storeTimes_[a] < storeTimes_[b]; });
    for (std::size_t i = 0; i < times_.size(); ++i) times_[i] = storeTimes_[storeOrder_[i]];
}

WindowMean AcceptedFixIndex::Average(double from, double to) const {
    if (std::isnan(from) || std::isnan(to)) return {};
    // from <= time <= to, as the plain pass tests it.
    const std::size_t first = static_cast<std::size_t>(
        std::lower_bound(times_.begin(), times_.end(), from) - times_.begin());
    const std::size_t last = static_cast<std::size_t>(
        std::upper_bound(times_.begin(), times_.end(), to) - times_.begin());
    double latitudeSum = 0, longitudeSum = 0, heightSum = 0;
    std::size_t heightCount = 0;
    if (last <= first) return {};
    if (storeOrder_.empty()) {
        for (std::size_t i = first; i < last; ++i) {
            latitudeSum += latitudes_[i];
            longitudeSum += longitudes_[i];
            heightSum += altitudes_[i];
            heightCount += heights_[i];
        }
    } else {
        // Out of time order: sum the window's fixes in store order.
        slice_.assign(storeOrder_.begin() + static_cast<std::ptrdiff_t>(first),
                      storeOrder_.begin() + static_cast<std::ptrdiff_t>(last));
        std::sort(slice_.begin(), slice_.end());
        for (std::size_t i : slice_) {
            latitudeSum += latitudes_[i];
            longitudeSum += longitudes_[i];
            heightSum += altitudes_[i];
            heightCount += heights_[i];
        }
    }
    return MeanOf(latitudeSum, longitudeSum, last - first, heightSum, heightCount);
}

} // namespace fixtally
