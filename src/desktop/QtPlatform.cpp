#include "desktop/QtPlatform.h"

#include "desktop/ScreenPlacement.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace fixtally {

QtPlatform::QtPlatform() {
    if (qApp) qApp->installEventFilter(this);
}

QtPlatform::~QtPlatform() {
    if (busyCursorShown_) QApplication::restoreOverrideCursor();
    if (qApp) qApp->removeEventFilter(this);
}

bool QtPlatform::eventFilter(QObject* watched, QEvent* event) {
    // Every key press passes here once per receiver on its way up; any of them will do.
    if (event->type() == QEvent::KeyPress && abortRequested_ &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        *abortRequested_ = true;
    return QObject::eventFilter(watched, event);
}

void QtPlatform::ProcessMessages() {
    if (refresh_) refresh_();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPlatform::SetBusyCursor(bool busy) {
    // The core switches the cursor on and off without nesting; Qt's override cursors nest.
    if (busy == busyCursorShown_) return;
    busyCursorShown_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtPlatform::SetTaskbarProgress(int value) {
    progressValue_ = value;
    SendProgress();
}

void QtPlatform::SetTaskbarState(TaskbarState state) {
    progressState_ = state;
    SendProgress();
}

void QtPlatform::SendProgress() {
    const int maximum = TaskbarMaximum();
    if (maximum <= 0) return;
    const double share = std::clamp(double(progressValue_) / maximum, 0.0, 1.0);
    launcher_.Update(share, progressState_ != TaskbarState::None);
}

void QtPlatform::LockRepaint(bool locked) {
    if (window_) window_->setUpdatesEnabled(!locked);
}

MessageButton QtPlatform::ShowMessage(std::string_view text, MessageKind kind, unsigned buttons) {
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case MessageKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageKind::Error:
        icon = QMessageBox::Critical;
        break;
    case MessageKind::Information:
        icon = QMessageBox::Information;
        break;
    case MessageKind::Confirmation:
        icon = QMessageBox::Question;
        break;
    }
    // A message of a dialog's handler is centred over that dialog, all others over the
    // main window.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner || !owner->isVisible())
        owner = window_ ? window_.data() : QApplication::activeWindow();
    QMessageBox box(icon, QApplication::applicationDisplayName(),
                    QString::fromUtf8(text.data(), qsizetype(text.size())), QMessageBox::NoButton,
                    owner);
    struct Choice {
        MessageButton Ours;
        QMessageBox::StandardButton Qts;
    };
    constexpr Choice choices[] = {{ButtonYes, QMessageBox::Yes},
                                  {ButtonNo, QMessageBox::No},
                                  {ButtonOk, QMessageBox::Ok},
                                  {ButtonCancel, QMessageBox::Cancel}};
    QMessageBox::StandardButtons standard;
    for (const Choice& c : choices)
        if (buttons & c.Ours) standard |= c.Qts;
    if (!standard) standard = QMessageBox::Ok;
    box.setStandardButtons(standard);
    // A box with a cursor of its own: the busy cursor of a count must not hide that it waits.
    const bool busy = busyCursorShown_;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    if (owner) ShowCentred(&box, owner);
    const int pressed = box.exec();
    if (busy) QApplication::restoreOverrideCursor();
    for (const Choice& c : choices)
        if (pressed == c.Qts) return c.Ours;
    // Closed with Esc or the title bar: Cancel where offered, else No, else OK.
    if (buttons & ButtonCancel) return ButtonCancel;
    if (buttons & ButtonNo) return ButtonNo;
    return ButtonOk;
}

std::string QtPlatform::ChooseExportPath(std::string_view proposed) {
    const QString path = QString::fromUtf8(proposed.data(), qsizetype(proposed.size()));
    const QFileInfo info(path);
    QWidget* owner = window_ ? window_.data() : QApplication::activeWindow();
    QFileDialog dialog(owner, "Save");
    dialog.setObjectName("SaveDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({"CSV file (*.csv)", "All file (*)"});
    dialog.setDefaultSuffix("csv");
    dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
    // The busy cursor of the command must not hide that the dialog waits for the user.
    const bool busy = busyCursorShown_;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    if (owner) ShowCentred(&dialog, owner);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    if (busy) QApplication::restoreOverrideCursor();
    if (!chosen) return {};
    return dialog.selectedFiles().first().toStdString();
}

} // namespace fixtally
