#pragma once

namespace fixtally {

struct Program;

// The statistics run over the store: average pass, main pass, result texts, graph.
void CountFixes(Program& program);

} // namespace fixtally
