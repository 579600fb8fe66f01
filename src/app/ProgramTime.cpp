#include "app/ProgramTime.h"

#include "app/Program.h"
#include "settings/Conventions.h"
#include "stats/TimeText.h"

namespace fixtally {

std::string FormatFixTime(const Program& program, double time) {
    return FormatFixTime(time, DateFormatInUse(program.Settings, program.Conventions));
}

double ParseFixTime(const Program& program, std::string_view text) {
    return ParseFixTime(text, DateFormatInUse(program.Settings, program.Conventions));
}

} // namespace fixtally
