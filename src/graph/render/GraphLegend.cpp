#include "graph/render/GraphLegend.h"

#include "convert/Conversions.h"
#include "graph/RangeTable.h"
#include "graph/render/GraphRender.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace fixtally {

namespace {

const QColor SpreadColour(0, 0, 0);
const QColor Cep95Colour(200, 0, 0);

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// A dashed circle of radius metres around the reference, where it fits the picture.
void DrawCircle(QPainter& painter, const ScatterGraph& graph, double metres, const QColor& colour) {
    if (!(metres > 0) || !(graph.GraphRange > 0)) return;
    const double radius = metres / graph.GraphRange * GraphCentre;
    if (radius > 4 * GraphSize) return;
    painter.setPen(QPen(colour, 1.5, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(GraphCentre + 0.5, GraphCentre + 0.5), radius, radius);
}

void DrawNorthArrow(QPainter& painter, QPointF tip) {
    QPainterPath arrow;
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(-6, 16));
    arrow.lineTo(tip + QPointF(0, 12));
    arrow.lineTo(tip + QPointF(6, 16));
    arrow.closeSubpath();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    painter.drawPath(arrow);
    painter.drawLine(tip + QPointF(0, 12), tip + QPointF(0, 28));
    painter.drawText(QRectF(tip.x() - 10, tip.y() + 28, 20, 14), Qt::AlignCenter, "N");
}

std::string CountText(GraphCounter count) {
    return std::to_string(count) + (count == 1 ? " fix" : " fixes");
}

} // namespace

QImage GraphWithLegend(const ScatterGraph& graph, const GraphLegend& legend) {
    const QImage picture = GraphWithColourBar(graph);
    QImage image(GraphSize, picture.height() + GraphLegendHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(0, 0, picture);
    painter.setRenderHint(QPainter::Antialiasing);
    if (graph.HasDots) {
        painter.setClipRect(QRect(0, 0, GraphSize, GraphSize));
        DrawCircle(painter, graph, legend.Spread, SpreadColour);
        DrawCircle(painter, graph, legend.Cep95, Cep95Colour);
        painter.setClipping(false);
    }

    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    const int top = picture.height() + 4;
    const int line = 15;
    int y = top;
    auto write = [&](const std::string& text, int x = 4) {
        painter.setPen(Qt::black);
        painter.drawText(QRect(x, y, GraphSize - x - 30, line), Qt::AlignLeft | Qt::AlignVCenter,
                         Text(text));
        y += line;
    };
    write("Centre to edge " + std::string(TrimText(graph.LabelFS)) + ", inner circle " +
          std::string(TrimText(RangeLabelText(graph.GraphRange / 2))));
    write("Centre: " + legend.ReferenceName);
    write("  " + legend.Latitude + "  " + legend.Longitude);
    auto sample = [&](const QColor& colour, const std::string& text) {
        painter.setPen(QPen(colour, 1.5, Qt::DashLine));
        painter.drawLine(QPointF(6, y + line / 2.0), QPointF(30, y + line / 2.0));
        write(text, 36);
    };
    sample(SpreadColour, legend.SpreadName + " " + legend.SpreadText + " (dashed circle)");
    sample(Cep95Colour, "CEP95 (empirical) " + legend.Cep95Text + " (dashed circle)");
    if (!graph.HasDots) {
        write("No fix drawn");
    } else if (graph.Monotone) {
        write("Monotone: every occupied pixel black");
    } else {
        write("Bar: left " + CountText(graph.CountMin) + " per pixel (lightest),");
        write("right " + CountText(graph.CountMax) + " per pixel (darkest)");
    }
    DrawNorthArrow(painter, QPointF(GraphSize - 16, top + 2));
    painter.end();
    return image;
}

} // namespace fixtally
