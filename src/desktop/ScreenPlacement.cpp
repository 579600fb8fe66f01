#include "desktop/ScreenPlacement.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace fixtally {

QPoint CentredInArea(const QRect& owner, const QSize& box, const QRect& available) {
    int top = owner.top() + (owner.height() - box.height()) / 2;
    int left = owner.left() + (owner.width() - box.width()) / 2;
    const int areaBottom = available.top() + available.height();
    const int areaRight = available.left() + available.width();
    if (top < available.top()) top = available.top();
    if (top + box.height() > areaBottom) top = areaBottom - box.height();
    if (left < available.left()) left = available.left();
    if (left + box.width() > areaRight) left = areaRight - box.width();
    return {left, top};
}

QPoint MainWindowPosition(bool stored, QPoint position, const QSize& frame,
                          const QRect& available) {
    int left = position.x(), top = position.y();
    if (!stored) {
        top = available.top() + (available.height() - frame.height()) / 2;
        left = available.left() + (available.width() - frame.width()) / 2;
    }
    const int areaBottom = available.top() + available.height();
    const int areaRight = available.left() + available.width();
    if (left < available.left()) left = available.left();
    if (top > areaBottom - frame.height()) top = areaBottom - frame.height();
    if (left > areaRight - frame.width()) left = areaRight - frame.width();
    if (top < available.top()) top = available.top();
    return {left, top};
}

QRect AvailableArea(const QWidget* widget) {
    QScreen* screen = widget ? widget->screen() : nullptr;
    if (widget) {
        if (QScreen* at = QGuiApplication::screenAt(widget->frameGeometry().center())) screen = at;
    }
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void ShowCentred(QWidget* window, const QWidget* owner) {
    // Shown before its exec, a dialog must be modal already: exec does not change the
    // modality of a visible window.
    if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->setModal(true);
    window->show();
    if (!owner) return;
    // The window has its final size once shown; its frame may not be known yet.
    QSize size = window->frameGeometry().size().expandedTo(window->size());
    window->move(CentredInArea(owner->frameGeometry(), size, AvailableArea(owner)));
}

} // namespace fixtally
