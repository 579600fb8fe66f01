#pragma once

namespace fixtally {

// Program-wide results of the last count.
struct StatisticsResults {};

} // namespace fixtally
