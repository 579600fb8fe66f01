#include "stats/Statistics.h"

#include <cmath>
#include <system_error>
#include <thread>

namespace fixtally {

namespace {

// Below this many records bringing in the errors' memory costs less than a thread.
constexpr std::size_t PrepareThreadFrom = 65536;

double TwiceRms(double sumOfSquares, long long count) {
    return 2 * std::sqrt(sumOfSquares / static_cast<double>(count));
}

} // namespace

GeoPoint AveragePosition(const FixStore& store, const FixFilter& filter) {
    double latSum = 0, lonSum = 0, altSum = 0;
    double firstLongitude = 0;
    long long count = 0, altCount = 0;
    const std::byte* data = store.Data();
    const std::size_t records = store.Count();
    for (std::size_t i = 0; i < records; ++i) {
        const FixRecord fix = DecodeFixRecord(data + i * FixRecordSize);
        if (!filter.Accepts(fix)) continue;
        double longitude = fix.Longitude;
        if (count == 0) firstLongitude = longitude;
        if (longitude - firstLongitude > 180)
            longitude -= 360;
        else if (firstLongitude - longitude > 180)
            longitude += 360;
        latSum += fix.Latitude;
        lonSum += longitude;
        ++count;
        if (!std::isnan(fix.Altitude)) {
            altSum += fix.Altitude;
            ++altCount;
        }
    }
    GeoPoint average;
    if (count > 0) {
        average.Latitude = latSum / count;
        average.Longitude = lonSum / count;
        if (average.Longitude > 180)
            average.Longitude -= 360;
        else if (average.Longitude < -180)
            average.Longitude += 360;
    }
    if (altCount > 0) average.Altitude = altSum / altCount;
    return average;
}

namespace {

StatisticsOutcome Compute(const FixStore& store, const FixFilter& filter,
                          const GeoPoint* trueReference, const CountProgress& progress,
                          FixStatistics& out, FixErrorSamples* samples, TallyMode mode) {
    out = FixStatistics{};
    if (samples) samples->Clear();
    // The kept errors of a long log take tens of megabytes: a second thread reserves them
    // and brings their pages in while this one finds the average.
    std::thread prepare;
    if (samples && samples->Keep && store.Count() >= PrepareThreadFrom &&
        std::thread::hardware_concurrency() > 1) {
        try {
            prepare = std::thread(
                [samples, records = store.Count()] { PrepareSamples(*samples, records); });
        } catch (const std::system_error&) {
            // no second thread: the pass reserves them itself
        }
    }
    out.Average = AveragePosition(store, filter);
    if (prepare.joinable()) prepare.join();
    if (std::isnan(out.Average.Latitude) || std::isnan(out.Average.Longitude))
        return StatisticsOutcome::NoEffectiveData;

    out.Reference = trueReference ? *trueReference : out.Average;
    CountTally& tally = out.Tally;
    if (!TallyFixes(store, filter, out.Reference, progress, tally, mode, samples))
        return StatisticsOutcome::Stopped;

    SpreadValues& spread = out.Spread;
    if (tally.Accepted > 0) {
        spread.Horizontal = TwiceRms(tally.SumH2, tally.Accepted);
        spread.NorthSouth = TwiceRms(tally.SumNs2, tally.Accepted);
        spread.EastWest = TwiceRms(tally.SumEw2, tally.Accepted);
    }
    if (tally.AltitudeCount > 0) spread.Altitude = TwiceRms(tally.SumDa2, tally.AltitudeCount);
    return StatisticsOutcome::Counted;
}

} // namespace

StatisticsOutcome ComputeStatistics(const FixStore& store, const FixFilter& filter,
                                    const GeoPoint* trueReference, const CountProgress& progress,
                                    FixStatistics& out, TallyMode mode) {
    return Compute(store, filter, trueReference, progress, out, nullptr, mode);
}

StatisticsOutcome ComputeStatistics(const FixStore& store, const FixFilter& filter,
                                    const GeoPoint* trueReference, const CountProgress& progress,
                                    FixStatistics& out, FixErrorSamples& samples, TallyMode mode) {
    return Compute(store, filter, trueReference, progress, out, &samples, mode);
}

} // namespace fixtally
