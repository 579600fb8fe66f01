#include "export/TrackThinning.h"

#include "export/ReduceDialog.h"
#include "stats/Geodesic.h"

namespace fixtally {

TrackThinning::TrackThinning(const ReduceDialog& dialog, std::size_t recordCount)
    : enabled_(dialog.ReduceEnabled), distance_(dialog.ReduceDistance),
      interval_(dialog.ReduceInterval), recordCount_(recordCount) {}

bool TrackThinning::Passes(std::size_t number, const FixRecord& fix) {
    movingDistance_ +=
        GeodesicDistance(previousLatitude_, previousLongitude_, fix.Latitude, fix.Longitude, 0, 0);
    previousLatitude_ = fix.Latitude;
    previousLongitude_ = fix.Longitude;
    if (!enabled_ || number == 1 || number == recordCount_) return true;
    return fix.Time - lastOutputTime_ >= interval_ || movingDistance_ >= distance_;
}

} // namespace fixtally
