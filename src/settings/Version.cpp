#include "settings/Version.h"

#include "FixtallyVersion.h"

namespace fixtally {

std::string VersionText() {
    std::string minor = std::to_string(FIXTALLY_VERSION_MINOR);
    if (minor.size() < 2) minor.insert(0, "0");
    return "Ver" + std::to_string(FIXTALLY_VERSION_MAJOR) + "." + minor;
}

} // namespace fixtally
