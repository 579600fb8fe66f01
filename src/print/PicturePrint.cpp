#include "print/PicturePrint.h"

#include <QPainter>
#include <QPrinter>

namespace fixtally {

void DrawPicture(QPainter& painter, const PrintPlacement& placement, QPoint at,
                 const QImage& picture) {
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawImage(QRect(at, PrintedPictureSize(placement, picture.size())), picture);
    painter.restore();
}

PrintOutcome PrintPicture(QPrinter& printer, const QImage& picture) {
    if (picture.isNull()) return PrintOutcome::NothingToPrint;
    printer.setDocName(QStringLiteral("Fixtally_Image"));
    QPainter painter;
    if (!painter.begin(&printer)) return PrintOutcome::Failed;
    const PrintPlacement placement = PlacementOn(printer);
    DrawPicture(painter, placement, placement.Origin, picture);
    return painter.end() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

} // namespace fixtally
