#include "print/ReportPdf.h"

#include "export/ExportFile.h"

#include "graph/render/GraphRender.h"
#include "print/LinePrinter.h"
#include "print/PicturePrint.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fixtally {

namespace {

constexpr int LabelRowTop = ColourBarHeight + GraphSize + 1;
constexpr int LabelRowHeight = 16;
constexpr int LabelFontPixels = 12; // the window font's height in window pixels

// A finished PDF ends with its end-of-file marker; a short write leaves it off.
bool EndsLikeAPdf(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char tail[32] = {};
    std::size_t n = 0;
    if (std::fseek(file, -long(sizeof tail), SEEK_END) == 0)
        n = std::fread(tail, 1, sizeof tail, file);
    const bool closed = std::fclose(file) == 0;
    return closed && std::string_view(tail, n).find("%%EOF") != std::string_view::npos;
}

} // namespace

QImage GraphPanelPicture(const ScatterGraph& graph) {
    QImage panel(GraphSize, ColourBarHeight + GraphSize, QImage::Format_RGB32);
    panel.fill(Qt::white);
    QPainter painter(&panel);
    if (!graph.Monotone) painter.drawImage(0, 0, DrawColourBar(graph));
    painter.drawImage(0, ColourBarHeight, DrawScatterGraph(graph));
    painter.end();
    return panel;
}

void DrawGraphPanel(QPainter& painter, const PrintPlacement& placement, QPoint at,
                    const ScatterGraph& graph, const QString& fontFamily) {
    DrawPicture(painter, placement, at, GraphPanelPicture(graph));
    const double dots = PictureMmPerPixel * placement.DotsPerMm;
    auto rect = [&](int left, int width) {
        return QRectF(at.x() + left * dots, at.y() + LabelRowTop * dots, width * dots,
                      LabelRowHeight * dots);
    };
    painter.save();
    QFont font = painter.font();
    font.setFamily(fontFamily);
    // As a line printer prints: every character by itself, no ligatures ("fi" stays two
    // letters when the text is copied out of a PDF) and no kerning.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setPixelSize(std::max(1, int(std::lround(LabelFontPixels * dots))));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(rect(GraphCentre - 30, 61), Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("0m"));
    painter.drawText(rect(GraphSize - 120, 120), Qt::AlignRight | Qt::AlignTop,
                     QString::fromStdString(graph.LabelFS));
    painter.restore();
}

void PrintReportWithGraph(QPrinter& printer, QPainter& painter, std::string_view report,
                          const QString& fontFamily, const ScatterGraph& graph) {
    const PrintPlacement placement = PlacementOn(printer);
    bool pageBreak = false;
    const int top = WriteLines(printer, painter, placement, report, fontFamily, &pageBreak);
    const QSize size = PrintedPictureSize(placement, QSize(GraphPanelWidth, GraphPanelHeight));
    QPoint at(placement.Origin.x(), top);
    if (pageBreak || top + size.height() > placement.Printable.height()) {
        printer.newPage();
        at.setY(placement.Origin.y());
    }
    DrawGraphPanel(painter, placement, at, graph, fontFamily);
}

PdfOutcome WritePdfFile(const std::string& path, const std::function<bool(QPrinter&)>& paint) {
    namespace fs = std::filesystem;
    // The printer writes into a private file of the temporary folder; its bytes then go to
    // the target through the writer every export uses, whole or not at all.
    std::error_code ec;
    std::string pattern = (fs::temp_directory_path(ec) / "fixtally-XXXXXX.pdf").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemps(name.data(), 4);
    if (fd < 0) return PdfOutcome::Failed;
    ::close(fd);
    const std::string scratch(name.data());

    bool done = false;
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(QString::fromStdString(scratch));
        printer.setOutputFormat(QPrinter::PdfFormat);
        done = paint(printer);
    }
    std::string bytes;
    if (done && EndsLikeAPdf(scratch)) {
        std::ifstream in(scratch, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        done = !in.bad();
    } else {
        done = false;
    }
    fs::remove(scratch, ec);
    if (!done) return PdfOutcome::Failed;
    return WriteFileWhole(path, bytes) == FileWriteOutcome::Written ? PdfOutcome::Written
                                                                    : PdfOutcome::Failed;
}

PdfOutcome WriteReportPdf(const std::string& path, std::string_view report,
                          const std::string& fontFamily, const ScatterGraph& graph) {
    // Text needs the font database of a Gui application; a headless caller gets one for
    // the time of the writing, on the offscreen platform unless another is asked for.
    std::unique_ptr<QGuiApplication> application;
    if (!QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fixtally";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    return WritePdfFile(path, [&](QPrinter& printer) {
        printer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        printer.setFullPage(true);
        printer.setDocName(QStringLiteral("Fixtally"));
        QPainter painter;
        if (!painter.begin(&printer)) return false;
        PrintReportWithGraph(printer, painter, report, QString::fromStdString(fontFamily), graph);
        return painter.end();
    });
}

} // namespace fixtally
