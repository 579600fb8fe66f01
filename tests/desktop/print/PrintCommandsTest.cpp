// The File menu's copy and print commands of the main window, offscreen: the printer
// prints to a PDF file that poppler reads back.

#include "desktop/PrintCommands.h"
#include "../../support/PdfInspect.h"
#include "app/Program.h"
#include "app/ProgramReport.h"
#include "desktop/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QHelpEvent>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <memory>

using namespace fixtally;
using namespace fixtally::testing;

namespace {

const QString StaticLog = QStringLiteral(FIXTALLY_SOURCE_DIR "/examples/static-1hz-hour.nmea");

// Answers the modal windows that open: message boxes with OK (keeping their texts), print
// dialogs with the chosen answer (counting them).
class DialogWatcher : public QObject {
public:
    explicit DialogWatcher(bool acceptPrinting) {
        connect(&timer_, &QTimer::timeout, this, [this, acceptPrinting] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                Messages << box->text();
                box->done(QMessageBox::Ok);
            } else if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
                ++PrintDialogs;
                if (acceptPrinting)
                    dialog->accept();
                else
                    dialog->reject();
            }
        });
        timer_.start(5);
    }
    QStringList Messages;
    int PrintDialogs = 0;

private:
    QTimer timer_;
};

} // namespace

class PrintCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    std::unique_ptr<TFormMain> window_;

    TFormMain& Open(const QStringList& arguments) {
        std::vector<std::string> args;
        for (const QString& a : arguments) args.push_back(a.toStdString());
        window_ = std::make_unique<TFormMain>(args, folder_.filePath("start.ini").toStdString());
        window_->show();
        window_->FormActivate();
        QTest::qWait(10);
        return *window_;
    }

    // The window's printer prints into this PDF file.
    std::string PrintInto(const QString& name) {
        const QString path = folder_.filePath(name);
        window_->printer().setOutputFileName(path);
        window_->printer().setOutputFormat(QPrinter::PdfFormat);
        return path.toStdString();
    }

    void Trigger(const char* action) { window_->findChild<QAction*>(action)->trigger(); }

private slots:
    void initTestCase() {
        if (!HavePoppler()) QSKIP("poppler-utils (pdftotext, pdfimages ...) missing");
    }

    void cleanup() { window_.reset(); }

    void copyTextPutsTheReportOnTheClipboard() {
        TFormMain& w = Open({StaticLog});
        QGuiApplication::clipboard()->setText("before");
        Trigger("CopyText");
        const std::string report = BuildReportText(w.program());
        QVERIFY(!report.empty());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(report));
    }

    void withoutALogTheTextCommandsShowTheMessageAndPrintNothing() {
        Open({});
        const std::string pdf = PrintInto("nothing.pdf");
        DialogWatcher watcher(true);
        QGuiApplication::clipboard()->setText("before");
        Trigger("CopyText");
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        Trigger("PrintText");
        QCOMPARE(watcher.Messages, QStringList({"\nNo reading data.", "\nNo reading data."}));
        QCOMPARE(watcher.PrintDialogs, 0);
        QVERIFY(!QFile::exists(QString::fromStdString(pdf)));
    }

    void cancellingEitherPrintDialogPrintsNothing() {
        Open({StaticLog});
        const std::string pdf = PrintInto("cancelled.pdf");
        DialogWatcher watcher(false);
        Trigger("PrintText");
        QGuiApplication::clipboard()->clear();
        Trigger("PrintForm");
        QCOMPARE(watcher.PrintDialogs, 2);
        QVERIFY(watcher.Messages.isEmpty());
        QVERIFY(!QFile::exists(QString::fromStdString(pdf)));
        // The picture was taken before the printer was asked for.
        QVERIFY(!QGuiApplication::clipboard()->image().isNull());
    }

    void printTextPrintsTheReportInTheWindowsFont() {
        TFormMain& w = Open({StaticLog});
        w.setFont(QFont("DejaVu Serif", 11));
        const std::string pdf = PrintInto("report.pdf");
        DialogWatcher watcher(true);
        Trigger("PrintText");
        QCOMPARE(watcher.PrintDialogs, 1);
        QCOMPARE(w.printer().docName(), QString("Fixtally"));
        const std::vector<PdfWord> words = PdfWords(pdf);
        QVERIFY(words.size() > 20);
        QCOMPARE(QString::fromStdString(words[0].Text), QString("Average"));
        const QString fonts = QString::fromStdString(CommandOutput("pdffonts '" + pdf + "'"));
        QVERIFY2(fonts.contains("DejaVuSerif"), qPrintable(fonts));
        QVERIFY(watcher.Messages.isEmpty());
    }

    void copyFormPutsTheWindowWithItsFrameOnTheClipboard() {
        TFormMain& w = Open({StaticLog});
        QGuiApplication::clipboard()->clear();
        // A hint asked for during the wait stays hidden; afterwards hints show again.
        auto* mono = w.findChild<QCheckBox*>("CheckBoxMono");
        auto askHint = [mono] {
            QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), mono->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(mono, &help);
            return QToolTip::isVisible();
        };
        bool hintDuringCapture = true;
        QTimer::singleShot(100, [&] { hintDuringCapture = askHint(); });
        Trigger("CopyForm");
        QVERIFY(!hintDuringCapture);
        const QImage picture = QGuiApplication::clipboard()->image();
        QCOMPARE(picture.size(), w.frameGeometry().size() * w.devicePixelRatio());
        QVERIFY(askHint());
        QToolTip::hideText();
    }

    void printFormPrintsThePictureAt024mmPerPixel() {
        TFormMain& w = Open({StaticLog});
        const std::string pdf = PrintInto("form.pdf");
        DialogWatcher watcher(true);
        Trigger("PrintForm");
        QCOMPARE(watcher.PrintDialogs, 1);
        QCOMPARE(w.printer().docName(), QString("Fixtally_Image"));
        const std::vector<PdfImage> images = PdfImages(pdf);
        QCOMPARE(int(images.size()), 1);
        QCOMPARE(images[0].Width, w.frameGeometry().width());
        QCOMPARE(images[0].XPpi, 106); // 25.4 / 0.24 pixels per inch
    }
};

QTEST_MAIN(PrintCommandsTest)
#include "PrintCommandsTest.moc"
