#pragma once

#include "cli/PictureFile.h"

#include <string>

namespace fixtally {

struct AccuracyFigures;
struct Program;

// fixtally-cli --timeplot: the error-over-time plot of the last count (its errors kept with
// times) as a width x height PNG at path.
[[nodiscard]] PictureOutcome WriteTimePlot(const Program& program, const AccuracyFigures& figures,
                                           const std::string& path, int width, int height,
                                           bool overwrite, std::string* reason = nullptr);

// Reads "WxH" (each 100 to 10000); false when it does not parse.
bool ParsePictureSize(const std::string& text, int& width, int& height);

} // namespace fixtally
