#pragma once

#include <string>

namespace fixtally {

// Process-wide values that follow the user's locale and clock rather than a setting.
struct Conventions {
    std::string DefaultDateFormat = "m/d/yyyy"; // the locale's short date format, lower case
    double LocalOffset = 0;                     // local time minus UTC, in days
};

} // namespace fixtally
