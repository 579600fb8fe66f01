#pragma once

#include "cli/Json.h"
#include "stats/Accuracy.h"

#include <string>

namespace fixtally {

// The "accuracy" member of fixtally-cli's JSON object: the figures in metres at full
// precision, null where no fix counts.
Json AccuracyJson(const AccuracyFigures& figures);

// The figures as an aligned text block with the number of fixes beside each, distances in
// decimals places, headed by a line saying that they are empirical.
std::string AccuracyBlock(const AccuracyFigures& figures, int decimals);

} // namespace fixtally
