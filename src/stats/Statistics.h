#pragma once

#include "fixdata/FixStore.h"
#include "geodesy/GeoPoint.h"
#include "stats/CountTally.h"
#include "stats/FixFilter.h"
#include "stats/StatisticsResults.h"

namespace fixtally {

// The numbers of one count of a store: what the result fields, the report, the graph's
// auto range and fixtally-cli's JSON are made from.
struct FixStatistics {
    GeoPoint Average;    // mean of the accepted fixes; altitude over those with one
    GeoPoint Reference;  // the true point or the average, as asked
    SpreadValues Spread; // 2 x RMS per axis (the CEP factor is applied when shown)
    CountTally Tally;    // counts, sums, peaks with their times, DOP and satellite figures
};

enum class StatisticsOutcome {
    Counted,         // the statistics are complete
    NoEffectiveData, // no fix passed the filter: no average, nothing else counted
    Stopped,         // the progress callback stopped the pass, or the store changed under it
};

// Mean position of the fixes the filter accepts. Longitudes are averaged around the first
// accepted fix's longitude (a longitude more than 180 degrees from it is taken one turn
// nearer), and the mean is brought back into -180..180, so that a receiver on the
// antimeridian averages to where it stands. NaN where nothing counted.
GeoPoint AveragePosition(const FixStore& store, const FixFilter& filter);

// Average pass, then the main pass against the reference: trueReference, or the average
// when it is null. progress is asked after every 1024th record of the main pass.
[[nodiscard]] StatisticsOutcome ComputeStatistics(const FixStore& store, const FixFilter& filter,
                                                  const GeoPoint* trueReference,
                                                  const CountProgress& progress, FixStatistics& out,
                                                  TallyMode mode = TallyMode::Parallel);

// The same, keeping every accepted fix's errors in samples when samples.Keep is set (see
// TallyFixes); the percentile figures are made from them by ComputeAccuracy.
[[nodiscard]] StatisticsOutcome ComputeStatistics(const FixStore& store, const FixFilter& filter,
                                                  const GeoPoint* trueReference,
                                                  const CountProgress& progress, FixStatistics& out,
                                                  FixErrorSamples& samples,
                                                  TallyMode mode = TallyMode::Parallel);

} // namespace fixtally
