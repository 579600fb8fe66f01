#include "graph/GraphSub.h"

#include "app/Program.h"

namespace fixtally {

void DrawScatterGraph(Program&, double, double, double) {}

void DrawGraphBackground(Program&) {}

void SetGraphRange(Program&, int, bool) {}

} // namespace fixtally
