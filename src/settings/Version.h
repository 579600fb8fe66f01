#pragma once

#include <string>

namespace fixtally {

// "Ver" + major + "." + the minor version with at least two digits, from the project
// version; the INI file's "Version" key and the migration steps compare these texts.
std::string VersionText();

} // namespace fixtally
