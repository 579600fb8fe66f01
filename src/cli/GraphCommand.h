#pragma once

#include "cli/PictureFile.h"

#include <string>

namespace fixtally {

struct AccuracyFigures;
struct Program;

// fixtally-cli --graph and --graph-plain: the scatter graph with its colour bar as the
// window shows them (plain), or with the spread and 95 % circles and a legend band below.
[[nodiscard]] PictureOutcome WriteGraph(const Program& program, const AccuracyFigures& figures,
                                        const std::string& path, bool plain, bool overwrite,
                                        std::string* reason = nullptr);

} // namespace fixtally
