#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace fixtally {

// Top-left corner of a box of the given size centred over owner (its frame rectangle)
// and then moved into the available area: top edge, bottom edge, left edge, right edge,
// in that order, so a box larger than the area ends on its top and right edges.
QPoint CentredInArea(const QRect& owner, const QSize& box, const QRect& available);

// Top-left corner of the main window from its stored position (or centred in the area
// when none is stored), moved into the area in the order left, bottom, right, top.
QPoint MainWindowPosition(bool stored, QPoint position, const QSize& frame, const QRect& available);

// The available geometry of the screen that shows the widget (the primary screen when
// it shows on none).
QRect AvailableArea(const QWidget* widget);

// Shows a top-level window (a dialog before its exec, made modal) centred over owner and
// inside the owner's screen.
void ShowCentred(QWidget* window, const QWidget* owner);

} // namespace fixtally
