#pragma once

#include "fixdata/FixRecord.h"

#include <cstddef>

namespace fixtally {

// The thresholds of the Reduce dialog: thinning on or off, metres and days.
struct ReduceRule {
    bool Enabled = false;
    double Distance = 30.0;
    double Interval = 10.0 / 86400;
};

// The thinning rule of the track export, applied to the store's records in order. Every
// record adds the leg from the previous record to the running moving distance (the leg
// into the first record starts at latitude 0, longitude 0), also records outside the
// count range. With reduction on, a record other than the first and the last of the store
// passes only when the time since the last written fix reaches the interval or the moving
// distance reaches the distance threshold.
class TrackThinning {
public:
    TrackThinning(const ReduceRule& rule, std::size_t recordCount);

    // Adds the leg into the record numbered `number` (from 1) and tells whether the
    // reduce rule lets it through.
    bool Passes(std::size_t number, const FixRecord& fix);
    // The record was written: the moving distance starts again from 0.
    void Written(const FixRecord& fix) {
        movingDistance_ = 0;
        lastOutputTime_ = fix.Time;
    }

private:
    bool enabled_;
    double distance_;
    double interval_;
    std::size_t recordCount_;
    double previousLatitude_ = 0;
    double previousLongitude_ = 0;
    double movingDistance_ = 0;
    double lastOutputTime_ = 0;
};

} // namespace fixtally
