#pragma once

#include "fixdata/FixStore.h"
#include "geodesy/GeoPoint.h"
#include "stats/FixErrorSamples.h"
#include "stats/FixFilter.h"

#include <functional>

namespace fixtally {

// Asked after every 1024th record of a pass over the store (the program lets the window
// work there); false stops the pass.
using CountProgress = std::function<bool()>;

// Minimum, maximum, sum and count of one DOP over the accepted fixes.
struct DopTally {
    double Min = 255.0;
    double Max = -1.0;
    double Sum = 0;
    long long Count = 0;
};

// Minimum, maximum, sum and count of a satellite number (255 = absent is skipped).
struct SatelliteTally {
    int Min = 255;
    int Max = -1;
    long long Sum = 0;
    long long Count = 0;
};

// The working values of the main pass of one count.
struct CountTally {
    long long InRange = 0;  // records whose time lies in CountRange
    long long Accepted = 0; // n: records AcceptFix accepted
    double FirstTime = 0;
    double LastTime = 0;
    double SumH2 = 0; // squared horizontal, north-south and east-west distances
    double SumNs2 = 0;
    double SumEw2 = 0;
    double LargestAxisOffset = 0;
    double PeakHorizontal = 0;
    double PeakHorizontalTime = 0;
    long long AltitudeCount = 0; // m: accepted fixes with an altitude
    double AltitudeSum = 0;
    double SumDa2 = 0;
    double PeakAltitude = 0; // signed
    double PeakAltitudeTime = 0;
    SatelliteTally SatsUsed;
    SatelliteTally SatsExtra;
    DopTally Hdop;
    DopTally Vdop;
    DopTally Pdop;
};

enum class TallyMode {
    Sequential, // three GeodesicDistance calls per fix, one record after the other
    Blocked,    // distances measured block by block against the reference, one thread
    Parallel,   // the same with the blocks' distances shared between two threads
};

// Reserves room for the errors of every record in samples (when Keep is set) and brings
// its pages into memory, so that a pass that keeps them spends no time on either. Without
// the memory samples stay empty. May run on another thread before the pass.
void PrepareSamples(FixErrorSamples& samples, std::size_t records);

// The main pass over the store against reference with the filter. Every mode gives the
// same tally bit for bit: the sums are always added in store order. progress (if set) is
// asked after every 1024th record; false when the pass stopped there (progress said
// stop, or the store changed under it). With samples whose Keep is set, the pass also keeps
// every accepted fix's errors there, Complete when the pass ran to its end; when memory for
// them cannot be had they stay empty and not Complete, and the count goes on without them.
[[nodiscard]] bool TallyFixes(const FixStore& store, const FixFilter& filter,
                              const GeoPoint& reference, const CountProgress& progress,
                              CountTally& tally, TallyMode mode,
                              FixErrorSamples* samples = nullptr);

} // namespace fixtally
