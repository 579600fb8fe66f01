#include "print/PrintPlacement.h"

#include <QPrinter>

#include <cmath>

namespace fixtally {

PrintPlacement PlacementOn(const QPrinter& printer) {
    PrintPlacement placement;
    placement.DotsPerMm = printer.resolution() / 25.4;
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const int offsetX = int(std::lround(page.left() - paper.left()));
    const int offsetY = int(std::lround(page.top() - paper.top()));
    placement.Origin = QPoint(int(std::lround(PrintLeftMm * placement.DotsPerMm)) - offsetX,
                              int(std::lround(PrintTopMm * placement.DotsPerMm)) - offsetY);
    placement.Printable = QSize(int(std::floor(page.width())), int(std::floor(page.height())));
    return placement;
}

QSize PrintedPictureSize(const PrintPlacement& placement, QSize pixels) {
    const double dots = PictureMmPerPixel * placement.DotsPerMm;
    return QSize(int(std::lround(pixels.width() * dots)), int(std::lround(pixels.height() * dots)));
}

} // namespace fixtally
