// Any bytes as an NMEA log: both passes of the reader end without a fault, the result
// counts what the store holds, and every stored record has a position and a time.

#include "FuzzFile.h"

#include "input/nmea/NmeaReader.h"

#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzFile file;
    const fixtally::Settings settings;
    fixtally::ReadOptions options;
    options.Options = &settings;
    fixtally::ReadObserver observer;
    fixtally::FixStore store;
    const fixtally::LoadResult result =
        fixtally::ReadNmeaLog(file.Write(data, size), options, observer, store);
    if (result.Records < 0) __builtin_trap();
    if (result.Outcome == fixtally::LoadOutcome::Loaded &&
        static_cast<std::size_t>(result.Records) != store.Count())
        __builtin_trap();
    for (std::size_t i = 0; i < store.Count(); ++i) {
        const fixtally::FixRecord r = store.At(i);
        if (std::isnan(r.Latitude) || std::isnan(r.Longitude) || r.Time == 0) __builtin_trap();
    }
    return 0;
}
