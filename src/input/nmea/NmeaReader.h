#pragma once

#include "input/LoadResult.h"

#include <string_view>

namespace fixtally {

// Reads the NMEA log at path into store: a check pass learns which sentence opens an
// epoch, a read pass replaces the store and appends one record per epoch with a position
// and a time. The observer hears of each stage and of the progress, and can stop the
// read. An abort or a failure in the read pass leaves an empty store; a log without any
// GGA, RMC or GNS sentence (NoData) leaves the store as it was.
[[nodiscard]] LoadResult ReadNmeaLog(std::string_view path, const ReadOptions& options,
                                     ReadObserver& observer, FixStore& store);

} // namespace fixtally
