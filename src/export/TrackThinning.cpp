#include "export/TrackThinning.h"

#include "geodesy/Geodesic.h"

namespace fixtally {

TrackThinning::TrackThinning(const ReduceRule& rule, std::size_t recordCount)
    : enabled_(rule.Enabled), distance_(rule.Distance), interval_(rule.Interval),
      recordCount_(recordCount) {}

bool TrackThinning::Passes(std::size_t number, const FixRecord& fix) {
    movingDistance_ +=
        GeodesicDistance(previousLatitude_, previousLongitude_, fix.Latitude, fix.Longitude, 0, 0);
    previousLatitude_ = fix.Latitude;
    previousLongitude_ = fix.Longitude;
    if (!enabled_ || number == 1 || number == recordCount_) return true;
    return fix.Time - lastOutputTime_ >= interval_ || movingDistance_ >= distance_;
}

} // namespace fixtally
