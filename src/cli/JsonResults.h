#pragma once

#include <string>

namespace fixtally {

struct Program;

// Every result field by its control name, the two status panels, the status
// label, the record count and the reference point, as one JSON object.
std::string JsonResults(const Program& program);

} // namespace fixtally
