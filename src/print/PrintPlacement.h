#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QPrinter;

namespace fixtally {

// Both printouts start 15 mm from the left and 20 mm from the top edge of the paper.
inline constexpr double PrintLeftMm = 15.0;
inline constexpr double PrintTopMm = 20.0;
// A pixel of a picture covers 0.24 mm of paper.
inline constexpr double PictureMmPerPixel = 0.24;

// Where a printout goes on a printer's page, in the device pixels of its drawing surface,
// whose origin is the corner of the printable area.
struct PrintPlacement {
    double DotsPerMm = 0;
    QPoint Origin;   // the placement point: 15 mm and 20 mm from the paper edges
    QSize Printable; // the printable area
};

// The placement on a printer: dots per millimetre from its resolution, the placement
// point minus the unprintable margins (the paper rectangle against the page rectangle).
PrintPlacement PlacementOn(const QPrinter& printer);

// The printed size of a picture of the given pixel size: 0.24 mm per pixel, rounded.
QSize PrintedPictureSize(const PrintPlacement& placement, QSize pixels);

} // namespace fixtally
