#pragma once

#include <string>
#include <string_view>

namespace fixtally {

// The file name of a path without its folder ("/" separates folders).
std::string_view FileNameOnly(std::string_view path);

// Lower-case extension of a path's file name with its leading "."; empty when there is none.
std::string LowerExtension(std::string_view path);

} // namespace fixtally
