#pragma once

#include "cli/Json.h"

namespace fixtally {

struct Program;

// Every result field by its control name, the two status panels, the status label, the
// record count and the reference point, as one JSON object.
Json JsonResults(const Program& program);

} // namespace fixtally
