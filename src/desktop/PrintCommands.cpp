#include "desktop/PrintCommands.h"

#include "platform/Platform.h"
#include "print/LinePrinter.h"
#include "print/PicturePrint.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QEventLoop>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

namespace fixtally {

namespace {

// Keeps the window's hints (tooltips) from showing while alive, so that none is captured
// with the window; they come back however the command ends.
class HintsOff : public QObject {
public:
    explicit HintsOff(QWidget* window) : window_(window) {
        QToolTip::hideText();
        qApp->installEventFilter(this);
    }
    ~HintsOff() override { qApp->removeEventFilter(this); }
    HintsOff(const HintsOff&) = delete;
    HintsOff& operator=(const HintsOff&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ToolTip && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_)
            return true;
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* window_;
};

class BusyCursor {
public:
    explicit BusyCursor(Platform& ui) : ui_(ui) { ui_.SetBusyCursor(true); }
    ~BusyCursor() { ui_.SetBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Platform& ui_;
};

// Waits the given time while the window system's events are handled.
void WaitHandlingEvents(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace

bool AskPrinter(QPrinter& printer, QWidget* window) {
    // A dialog of its own: the arrow, not the busy cursor, while the user chooses.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QPrintDialog dialog(&printer, window);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    QApplication::restoreOverrideCursor();
    return accepted;
}

void CopyTextToClipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void PrintReport(const std::string& report, QPrinter& printer, QWidget* window, Platform& ui) {
    if (report.empty()) return;
    if (!AskPrinter(printer, window)) return;
    if (PrintText(printer, report, window->font().family()) == PrintOutcome::Failed)
        ui.ShowMessage(PrinterFailedMessage, MessageKind::Error, ButtonOk);
}

QImage GrabWindowWithFrame(QWidget* window) {
    const QRect frame = window->frameGeometry();
    if (QScreen* screen = window->screen()) {
        const QPixmap grabbed =
            screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        const QSize expected = frame.size() * grabbed.devicePixelRatio();
        if (!grabbed.isNull() && grabbed.size() == expected) return grabbed.toImage();
    }
    return window->grab().toImage();
}

void CaptureWindow(CaptureMode mode, QWidget* window, QPrinter& printer, Platform& ui) {
    QImage picture;
    {
        BusyCursor busy(ui);
        HintsOff hints(window);
        for (int step = 0; step < 8; ++step) WaitHandlingEvents(50);
        picture = GrabWindowWithFrame(window);
        if (!picture.isNull()) QGuiApplication::clipboard()->setImage(picture);
        if (mode == CaptureMode::Copy) {
            if (picture.isNull())
                ui.ShowMessage(NoWindowPictureMessage, MessageKind::Error, ButtonOk);
            return;
        }
        if (!AskPrinter(printer, window)) return;
        if (picture.isNull()) {
            // Once more, now that the dialog has gone.
            WaitHandlingEvents(100);
            picture = GrabWindowWithFrame(window);
            if (!picture.isNull()) QGuiApplication::clipboard()->setImage(picture);
        }
    }
    if (picture.isNull()) {
        ui.ShowMessage(NoWindowPictureMessage, MessageKind::Error, ButtonOk);
        return;
    }
    if (PrintPicture(printer, picture) == PrintOutcome::Failed)
        ui.ShowMessage(PrinterFailedMessage, MessageKind::Error, ButtonOk);
}

} // namespace fixtally
