#pragma once

namespace fixtally {

struct Program;

// The statistics run over the store: average pass, main pass, result texts, auto range,
// then the scatter graph around the reference and the "Paste Ave." button.
void CountFixes(Program& program);

// CountFixes without its last steps (graph, "Paste Ave."): true when the count got through
// to its results, so that the graph is to be drawn; the busy cursor is then still on.
bool CountStatistics(Program& program);

} // namespace fixtally
