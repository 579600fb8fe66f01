#ifdef FIXTALLY_HAVE_GRAPH

#include "cli/GraphCommand.h"

#include "app/Program.h"
#include "convert/Conversions.h"
#include "display/FixedText.h"
#include "display/ResultsDisplay.h"
#include "graph/render/GraphLegend.h"
#include "graph/render/GraphRender.h"
#include "stats/Accuracy.h"

namespace fixtally {

namespace {

std::string Metres(double value, int decimals) {
    return std::isnan(value) ? std::string("-") : FixedText(value, decimals) + "m";
}

} // namespace

PictureOutcome WriteGraph(const Program& program, const AccuracyFigures& figures,
                          const std::string& path, bool plain, bool overwrite,
                          std::string* reason) {
    if (plain)
        return WritePicture(GraphWithColourBar(program.Graph), path, program.Log.LogFileName,
                            overwrite, reason);
    EnsureGuiApplication();
    const MainWindowModel& main = program.Main;
    GraphLegend legend;
    if (program.Results.UseTrueReference) {
        legend.ReferenceName = "true point";
        legend.Latitude = std::string(TrimText(program.Settings.TrueLat));
        legend.Longitude = std::string(TrimText(program.Settings.TrueLon));
    } else {
        legend.ReferenceName = "average";
        legend.Latitude = main.tCenterEditLatAve;
        legend.Longitude = main.tCenterEditLonAve;
    }
    const bool twoDrms = program.Settings.TwoDrms;
    legend.SpreadName = twoDrms ? "2drms" : "CEP(50%)";
    legend.Spread = program.LastStatistics.Spread.Horizontal * (twoDrms ? 1.0 : CepFactor);
    legend.SpreadText = Metres(legend.Spread, main.ErrorDecimals);
    legend.Cep95 = figures.Cep95;
    legend.Cep95Text = Metres(figures.Cep95, main.ErrorDecimals);
    return WritePicture(GraphWithLegend(program.Graph, legend), path, program.Log.LogFileName,
                        overwrite, reason);
}

} // namespace fixtally

#endif
