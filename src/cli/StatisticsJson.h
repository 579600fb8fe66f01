#pragma once

#include "cli/Json.h"

#include <string>

namespace fixtally {

struct Program;

// The "statistics" member of fixtally-cli's JSON object: the plain numbers of the last
// count, units in the key names, times in ISO 8601 UTC.
Json StatisticsJson(const Program& program);

// A fix time as ISO 8601 UTC ("2026-03-14T12:55:01Z", milliseconds when not whole); a
// time of day without date as "12:55:01Z"; empty for no time (0 or NaN).
std::string IsoUtcTime(double time);

} // namespace fixtally
