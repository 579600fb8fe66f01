#pragma once

#include "graph/ScatterGraph.h"
#include "print/PrintPlacement.h"

#include <QImage>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

class QPainter;
class QPrinter;

namespace fixtally {

// The graph as the main window shows it, in window pixels: the colour bar above the
// scatter graph (a blank strip in monotone mode), then a row for "0m" and the range label.
inline constexpr int GraphPanelWidth = GraphSize;
inline constexpr int GraphPanelHeight = ColourBarHeight + GraphSize + 1 + 16;

// The colour bar above the scatter graph, as one picture (GraphSize x bar + graph).
QImage GraphPanelPicture(const ScatterGraph& graph);

// Draws the panel with its top-left corner at the given point, 0.24 mm per window pixel;
// the labels are text in the given font family.
void DrawGraphPanel(QPainter& painter, const PrintPlacement& placement, QPoint at,
                    const ScatterGraph& graph, const QString& fontFamily);

// The report as "Print Text(&R)" prints it, then the graph panel at 0.24 mm per pixel, 15 mm
// from the left: below the text when it fits on that page, else at the placement point of
// the next page.
void PrintReportWithGraph(QPrinter& printer, QPainter& painter, std::string_view report,
                          const QString& fontFamily, const ScatterGraph& graph);

enum class PdfOutcome { Written, Failed };

// Writes the report page as an A4 PDF without unprintable margins. The file is written
// under a temporary name beside path and renamed over path only when complete, so a
// failure leaves whatever was at path untouched.
[[nodiscard]] PdfOutcome WriteReportPdf(const std::string& path, std::string_view report,
                                        const std::string& fontFamily, const ScatterGraph& graph);

// Lets paint draw on a PDF printer writing to a temporary file beside path, then renames
// the finished file over path. Needs a Qt Gui application object.
[[nodiscard]] PdfOutcome WritePdfFile(const std::string& path,
                                      const std::function<bool(QPrinter&)>& paint);

} // namespace fixtally
