#include "stats/CountFixes.h"

#include "app/Program.h"

namespace fixtally {

void CountFixes(Program&) {}

} // namespace fixtally
