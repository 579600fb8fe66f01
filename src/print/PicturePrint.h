#pragma once

#include "print/LinePrinter.h"

#include <QImage>
#include <QPoint>

class QPainter;
class QPrinter;

namespace fixtally {

// Draws the picture with its top-left corner at the given point, 0.24 mm of paper per
// pixel, pixel for pixel (no smoothing, no lossy compression in a PDF).
void DrawPicture(QPainter& painter, const PrintPlacement& placement, QPoint at,
                 const QImage& picture);

// Prints the picture as one job titled "Fixtally_Image" on an already chosen printer, at
// the placement point. Nothing is printed for an empty picture.
[[nodiscard]] PrintOutcome PrintPicture(QPrinter& printer, const QImage& picture);

} // namespace fixtally
