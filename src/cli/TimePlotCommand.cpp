#include "cli/TimePlotCommand.h"

#include <charconv>

#ifdef FIXTALLY_HAVE_PLOT
#include "app/Program.h"
#include "convert/PathText.h"
#include "display/ResultsDisplay.h"
#include "plot/TimePlot.h"
#include "stats/Accuracy.h"
#endif

namespace fixtally {

bool ParsePictureSize(const std::string& text, int& width, int& height) {
    const char* end = text.data() + text.size();
    const auto w = std::from_chars(text.data(), end, width);
    if (w.ec != std::errc() || w.ptr == end || (*w.ptr != 'x' && *w.ptr != 'X')) return false;
    const auto h = std::from_chars(w.ptr + 1, end, height);
    if (h.ec != std::errc() || h.ptr != end) return false;
    return width >= 100 && width <= 10000 && height >= 100 && height <= 10000;
}

#ifdef FIXTALLY_HAVE_PLOT

PictureOutcome WriteTimePlot(const Program& program, const AccuracyFigures& figures,
                             const std::string& path, int width, int height, bool overwrite,
                             std::string* reason) {
    EnsureGuiApplication();
    const double factor = program.Settings.TwoDrms ? 1.0 : CepFactor;
    TimePlotInput input;
    input.Errors = &program.FixErrors;
    input.IsRtklibLog = program.Log.IsRtklibLog;
    input.TwoDrms = program.Settings.TwoDrms;
    input.HorizontalSpread = program.LastStatistics.Spread.Horizontal * factor;
    input.AltitudeSpread = program.LastStatistics.Spread.Altitude * factor;
    input.Cep95 = figures.Cep95;
    input.Vertical95 = figures.Vertical95;
    input.ErrorDecimals = program.Main.ErrorDecimals;
    input.Title = std::string(FileNameOnly(program.Log.LogFileName));
    return WritePicture(RenderTimePlot(input, QSize(width, height)), path, program.Log.LogFileName,
                        overwrite, reason);
}

#endif

} // namespace fixtally
