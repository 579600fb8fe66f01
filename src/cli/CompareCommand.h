#pragma once

#include <ostream>

namespace fixtally {

struct CliOptions;
struct Program;

// fixtally-cli --compare: loads every log of options.CompareLogs in a Program of its own,
// set up with the settings of base (INI files, --set, --expand and --true applied), several
// at once on the available cores, and writes one row per log to out: a text table, CSV
// (--csv) or a JSON array (--json). Message-box texts go to err. Returns 0 when every log
// loaded, 1 when one or more did not (their rows give the reason).
int RunCompare(const Program& base, const CliOptions& options, std::ostream& out,
               std::ostream& err);

} // namespace fixtally
