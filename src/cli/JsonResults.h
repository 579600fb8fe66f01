#pragma once

#include <string>
#include <string_view>

namespace fixtally {

struct Program;

// Every result field by its control name, the two status panels, the status
// label, the record count and the reference point, as one JSON object; moreMembers (",
// followed by members) goes in after them.
std::string JsonResults(const Program& program, std::string_view moreMembers = {});

} // namespace fixtally
