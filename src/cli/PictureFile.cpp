// Only built with Qt (FIXTALLY_HAVE_GRAPH); charts need Qt Widgets' QApplication.
#ifdef FIXTALLY_HAVE_GRAPH

#include "cli/PictureFile.h"

#include "export/ExportFile.h"

#ifdef FIXTALLY_HAVE_PLOT
#include <QApplication>
using GuiApplication = QApplication;
#else
#include <QGuiApplication>
using GuiApplication = QGuiApplication;
#endif
#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace fixtally {

PictureOutcome WritePicture(const QImage& image, const std::string& path,
                            const std::string& logPath, bool overwrite, std::string* reason) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        if (std::filesystem::equivalent(path, logPath, ec)) return PictureOutcome::IsTheLog;
        if (!overwrite) return PictureOutcome::Exists;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) return PictureOutcome::WriteFailed;
    const std::string_view data(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return WriteFileWhole(path, data, reason) == FileWriteOutcome::Written
               ? PictureOutcome::Written
               : PictureOutcome::WriteFailed;
}

namespace {

// Qt's warnings (no XDG_RUNTIME_DIR, fonts ...) are no message of this program: stderr
// keeps to what the command line contract says.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fputs((text.toLocal8Bit() + '\n').constData(), stderr);
}

} // namespace

void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    qInstallMessageHandler(QuietQtMessages);
    // No window is ever shown: draw offscreen whether or not there is a display.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "fixtally-cli";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<GuiApplication> application =
        std::make_unique<GuiApplication>(argc, argv);
}

} // namespace fixtally

#endif
