#pragma once

#include "display/MainWindowModel.h"
#include "settings/Settings.h"

#include <string>
#include <string_view>

namespace fixtally {

inline constexpr const char* NoReadingDataMessage = "\nNo reading data.";

// The plain-text report of what the main window shows: the result fields as they are
// displayed, under the captions of their labels, lines ending in "\r\n"; with the true
// reference also the difference group and the true coordinates of the settings.
std::string BuildReportText(const MainWindowModel& main, bool useTrueReference,
                            std::string_view logFileName, const Settings& settings);

} // namespace fixtally
