#include "graph/render/GraphRender.h"

#include "export/ExportFile.h"

#include <QBuffer>
#include <QPainter>

namespace fixtally {
namespace {

QRgb Grey(int level) {
    return qRgb(level, level, level);
}

// The colour as a 24-bit value, red in the low byte, so that "darker" compares
// the same way for grey levels whatever the byte order of the image.
unsigned ColourValue(QRgb pixel) {
    return static_cast<unsigned>(qRed(pixel)) | static_cast<unsigned>(qGreen(pixel)) << 8 |
           static_cast<unsigned>(qBlue(pixel)) << 16;
}

} // namespace

QImage DrawGraphBackground() {
    QImage picture(GraphSize, GraphSize, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Circles of the full and the half range, filled white, then the axes.
    painter.setPen(QPen(QColor(Grey(128)), 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRect(0, 0, GraphSize - 1, GraphSize - 1));
    painter.drawEllipse(QRect(77, 77, 154, 154));
    painter.drawLine(0, GraphCentre, GraphSize - 1, GraphCentre);
    painter.drawLine(GraphCentre, 0, GraphCentre, GraphSize - 1);

    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(0, 0, GraphSize - 1, GraphSize - 1));
    return picture;
}

QImage DrawColourBar(const ScatterGraph& graph) {
    QImage bar(GraphSize, ColourBarHeight, QImage::Format_RGB32);
    const int b = graph.Brightest, d = graph.Darkest;
    for (int x = 0; x < GraphSize; ++x) {
        const QRgb colour = Grey(b - (b - d) * x / (GraphSize - 1));
        for (int y = 0; y < ColourBarHeight; ++y) bar.setPixel(x, y, colour);
    }
    return bar;
}

QImage DrawScatterGraph(const ScatterGraph& graph) {
    QImage picture = DrawGraphBackground();
    if (!graph.HasDots) return picture;
    const int lo = graph.DotLo, hi = graph.DotHi;

    for (int x = 0; x < GraphSize; ++x) { // columns east = -155..155
        for (int y = 0; y < GraphSize; ++y) {
            const GraphCounter count = graph.Cells[static_cast<std::size_t>(y * GraphSize + x)];
            if (count == 0) continue;
            if (graph.Monotone) {
                for (int dy = lo; dy <= hi; ++dy) {
                    const int py = y + dy;
                    if (py < 0 || py >= GraphSize) continue;
                    QRgb* line = reinterpret_cast<QRgb*>(picture.scanLine(py));
                    for (int dx = lo; dx <= hi; ++dx) {
                        const int px = x + dx;
                        if (px >= 0 && px < GraphSize) line[px] = qRgb(0, 0, 0);
                    }
                }
                continue;
            }
            const QRgb colour = Grey(CellLevel(graph, count));
            const unsigned value = ColourValue(colour);
            for (int dy = lo; dy <= hi; ++dy) {
                const int py = y + dy;
                if (py < 0 || py >= GraphSize) continue;
                QRgb* line = reinterpret_cast<QRgb*>(picture.scanLine(py));
                for (int dx = lo; dx <= hi; ++dx) {
                    const int px = x + dx;
                    if (px < 0 || px >= GraphSize) continue;
                    if (ColourValue(line[px]) > value) line[px] = colour; // the darker wins
                }
            }
        }
    }
    return picture;
}

QImage GraphWithColourBar(const ScatterGraph& graph) {
    QImage picture = DrawScatterGraph(graph);
    if (graph.Monotone) return picture;
    QImage combined(GraphSize, GraphSize + ColourBarHeight, QImage::Format_RGB32);
    QPainter painter(&combined);
    painter.drawImage(0, 0, picture);
    painter.drawImage(0, GraphSize, DrawColourBar(graph));
    painter.end();
    return combined;
}

QByteArray EncodeGraphPng(const ScatterGraph& graph) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !GraphWithColourBar(graph).save(&buffer, "PNG"))
        return {};
    return bytes;
}

bool WriteGraphPng(const ScatterGraph& graph, const std::string& path, std::string* reason) {
    const QByteArray png = EncodeGraphPng(graph);
    if (png.isEmpty()) {
        if (reason) *reason = "the picture could not be encoded as PNG";
        return false;
    }
    return WriteFileWhole(path,
                          std::string_view(png.constData(), static_cast<std::size_t>(png.size())),
                          reason) == FileWriteOutcome::Written;
}

} // namespace fixtally
