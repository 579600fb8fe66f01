#include "desktop/MainWindow.h"
#include "app/Program.h"
#include "desktop/OpenDialog.h"
#include "desktop/ScreenPlacement.h"
#include "settings/IniFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace fixtally;

namespace {

const QString Examples = QStringLiteral(FIXTALLY_SOURCE_DIR "/examples/");
const QString StaticLog = Examples + "static-1hz-hour.nmea";

// Answers every message box that opens with its default button and keeps its text and
// where it was on the screen.
class MessageWatcher : public QObject {
public:
    MessageWatcher() {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            Texts << box->text();
            Frames << box->frameGeometry();
            box->done(QMessageBox::Ok);
        });
        timer_.start();
    }
    QStringList Texts;
    QList<QRect> Frames;

private:
    QTimer timer_;
};

// Runs action once, from the event loop, as soon as condition holds: during a load that
// is when the load processes events.
class WhenDuringLoad : public QObject {
public:
    WhenDuringLoad(std::function<bool()> condition, std::function<void()> action)
        : condition_(std::move(condition)), action_(std::move(action)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (done || !condition_()) return;
            done = true;
            action_();
        });
        timer_.start(0);
    }
    bool done = false;

private:
    std::function<bool()> condition_;
    std::function<void()> action_;
    QTimer timer_;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    std::unique_ptr<TFormMain> window_;

    QString Path(const QString& name) const { return folder_.filePath(name); }

    QString Write(const QString& name, const QByteArray& content) {
        QFile file(Path(name));
        file.open(QIODevice::WriteOnly);
        file.write(content);
        return file.fileName();
    }

    // A window with this command line and start-up INI file, shown and activated.
    TFormMain& Open(const QStringList& arguments, const QString& ini = {}) {
        std::vector<std::string> args;
        for (const QString& a : arguments) args.push_back(a.toStdString());
        const QString iniPath = ini.isEmpty() ? Path("start.ini") : ini;
        window_ = std::make_unique<TFormMain>(args, iniPath.toStdString());
        window_->show();
        window_->FormActivate();
        return *window_;
    }

    template <typename T = QWidget> T* Find(const char* name) const {
        T* widget = window_->findChild<T*>(name);
        if (!widget) qWarning("no widget %s", name);
        return widget;
    }

    QString Panel0() const { return Find<QLabel>("StatusBar1Panel0")->text(); }
    QAction* Action(const char* name) const { return window_->findChild<QAction*>(name); }

    QString LongLog(int epochs) {
        const QString path = Path(QString("long-%1.nmea").arg(epochs));
        if (!QFile::exists(path)) {
            QProcess::execute(FIXTALLY_BINARY_DIR "/loggen",
                              {"--epochs", QString::number(epochs), "-o", path});
        }
        return path;
    }

private slots:
    void cleanup() {
        if (window_) {
            window_->hide();
            window_.reset();
        }
    }

    void layoutHasTheDesignSizesAndShrinksBy70PixelsBackToAverage() {
        TFormMain& w = Open({});
        QCOMPARE(Find("Image1")->size(), QSize(311, 311));
        QCOMPARE(Find("Imagebar")->size(), QSize(311, 5));
        for (const char* group : {"GroupBoxCoordinates", "GroupBox2drms", "GroupBoxAverage",
                                  "GroupBoxPeakOfError", "GroupBoxStatics", "GroupBoxDiff"})
            QCOMPARE(Find(group)->width(), 399);
        QCOMPARE(Find("Imagebar")->geometry().bottom() + 1, Find("Image1")->y());
        const QSize averageSize = w.size();
        QCOMPARE(w.maximumSize(), averageSize);
        QVERIFY(!Find("GroupBoxDiff")->isVisible());
        QVERIFY(!Find("GroupBoxTrue")->isVisible());

        MessageWatcher messages;
        Find<QRadioButton>("RadioButtonTrue")->click();
        QVERIFY(Find("GroupBoxDiff")->isVisible());
        QVERIFY(Find("GroupBoxTrue")->isVisible());
        QCOMPARE(w.height(), averageSize.height() + 70);
        QCOMPARE(Find("LabelStatus")->y(), Find("GroupBoxDiff")->geometry().bottom() + 1 + 4);
        QVERIFY(messages.Texts.isEmpty()); // no log: only the groups appear

        Find<QRadioButton>("RadioButtonAverage")->click();
        QCOMPARE(w.height(), averageSize.height());
        QCOMPARE(w.maximumHeight(), averageSize.height());
        QCOMPARE(Find("LabelStatus")->y(), Find("GroupBoxStatics")->geometry().bottom() + 1 + 4);
    }

    void menusFollowTheOutcomeOfEachLoad() {
        TFormMain& w = Open({});
        QVERIFY(!Action("CountRange")->isEnabled());
        QVERIFY(!Action("Recount")->isEnabled());

        w.FormDropFiles({StaticLog});
        QCOMPARE(Panel0(), QString(" Completed: static-1hz-hour.nmea"));
        QVERIFY(Action("CountRange")->isEnabled());
        QVERIFY(Action("Recount")->isEnabled());
        QVERIFY(!Find<QLineEdit>("tCenterEditH2drms")->text().isEmpty());

        w.FormDropFiles({Write("picture.png", "\x89PNG")});
        QCOMPARE(Panel0(), QString("  *** Not data file ***"));
        QVERIFY(!Action("CountRange")->isEnabled());
        QVERIFY(!Action("Recount")->isEnabled());
        QVERIFY(Find<QLineEdit>("tCenterEditH2drms")->text().isEmpty());
        QVERIFY(Find<QLabel>("LabelStatus")->text().isEmpty());
    }

    void commandLineReadsItsIniFileBeforeTheLog() {
        // The reference and the true position come from the INI file, so the load's count
        // fills the difference fields only when the file was read first.
        const QString ini = Write("mine.ini", "[Option]\r\nUseAverage=0\r\n"
                                              "TrueLat=35 40 52.4N\r\nTrueLon=139 46 01.6E\r\n"
                                              "TrueAlt=40\r\nGPixels=25\r\n");
        MessageWatcher messages;
        Open({StaticLog, ini});
        QVERIFY(messages.Texts.isEmpty());
        QCOMPARE(Panel0(), QString(" Completed: static-1hz-hour.nmea"));
        QVERIFY(Find<QRadioButton>("RadioButtonTrue")->isChecked());
        QVERIFY(Find("GroupBoxDiff")->isVisible());
        QVERIFY(Find<QLineEdit>("tCenterEditHorDiff")->text().endsWith("m"));
        // Aligned against the longitude as every settings reading does.
        QCOMPARE(Find<QLineEdit>("EditLATtrue")->text(), QString(" 35 40 52.4N"));
        QCOMPARE(Find<QComboBox>("ComboBoxPixels")->currentText(), QString("25"));
    }

    void expandSwitchMarksTheCaption() {
        TFormMain& w = Open({"/h"});
        QVERIFY(w.windowTitle().startsWith("Fixtally. Ver"));
        QVERIFY(w.windowTitle().endsWith(" *** Expand mode ***"));
        QVERIFY(w.program().Log.ExpandMode);
    }

    void dropOfAnIniAndALogSwitchesSettingsThenLoads() {
        const QString start = Write("start.ini", "");
        const QString other = Write("other.ini", "[Option]\r\n2drms=0\r\n");
        TFormMain& w = Open({}, start);
        QCOMPARE(Find<QGroupBox>("GroupBox2drms")->title(), QString(" 2drms "));

        w.FormDropFiles({other, StaticLog});
        QCOMPARE(Find<QGroupBox>("GroupBox2drms")->title(), QString(" CEP(50%) "));
        QCOMPARE(Panel0(), QString(" Completed: static-1hz-hour.nmea"));
        QCOMPARE(QString::fromStdString(w.program().IniPath), other);
        // The switch saved the settings into the file used before.
        IniFile saved;
        QVERIFY(saved.Load(start.toStdString()));
        QVERIFY(saved.HasKey("Option", "Version"));

        // Only an INI file: the same log again under its settings.
        const QString back = Write("back.ini", "[Option]\r\n2drms=1\r\n");
        w.FormDropFiles({back});
        QCOMPARE(Find<QGroupBox>("GroupBox2drms")->title(), QString(" 2drms "));
        QCOMPARE(Panel0(), QString(" Completed: static-1hz-hour.nmea"));
    }

    void escDuringALongLoadAbortsIt() {
        TFormMain& w = Open({});
        const QString log = LongLog(30000);
        WhenDuringLoad esc([this] { return Panel0().contains("Reading ("); },
                           [&w] { QTest::keyClick(&w, Qt::Key_Escape); });
        w.FormDropFiles({log});
        QVERIFY(esc.done);
        QCOMPARE(Panel0(), QString("*** Aborted by user ***"));
        QVERIFY(Find<QLineEdit>("tCenterEditH2drms")->text().isEmpty());
        QVERIFY(Find<QLineEdit>("tCenterEditLatAve")->text().isEmpty());
        QVERIFY(!Action("CountRange")->isEnabled());
        QVERIFY(!Action("Recount")->isEnabled());
        QVERIFY(!w.program().Log.AbortRequested);
    }

    void clicksDuringALoadChangeNothing() {
        TFormMain& w = Open({});
        const QString log = LongLog(30000);
        WhenDuringLoad clicks([this] { return Panel0().contains("Reading ("); },
                              [this] {
                                  QTest::mouseClick(Find("CheckBoxMono"), Qt::LeftButton);
                                  QTest::mouseClick(Find("RadioButtonTrue"), Qt::LeftButton);
                                  QTest::mouseClick(Find("SpinButton1Up"), Qt::LeftButton);
                              });
        w.FormDropFiles({log});
        QVERIFY(clicks.done);
        QVERIFY(Panel0().startsWith(" Completed: "));
        QVERIFY(!w.program().Settings.Monotone);
        QVERIFY(!Find<QCheckBox>("CheckBoxMono")->isChecked());
        QVERIFY(w.program().Settings.UseAverage);
        QVERIFY(Find<QRadioButton>("RadioButtonAverage")->isChecked());
    }

    void closeDuringALoadAbortsItAndClosesAfterwards() {
        TFormMain& w = Open({});
        const QString log = LongLog(30000);
        WhenDuringLoad close([this] { return Panel0().contains("Reading ("); },
                             [&w] { w.close(); });
        w.FormDropFiles({log});
        QVERIFY(close.done);
        QCOMPARE(Panel0(), QString("*** Aborted by user ***"));
        QTRY_VERIFY(!w.isVisible());
    }

    void pasteAveCopiesTheShownTextsAndTheTrueReferenceReadsThemBack() {
        TFormMain& w = Open({StaticLog});
        const QString lat = Find<QLineEdit>("tCenterEditLatAve")->text();
        const QString alt = Find<QLineEdit>("tCenterEditAltAve")->text();
        QVERIFY(alt.endsWith("m"));
        auto* paste = Find<QPushButton>("ButtonCopyAve");
        QVERIFY(paste->isVisibleTo(Find("GroupBoxTrue")));
        paste->click();
        QCOMPARE(Find<QLineEdit>("EditLATtrue")->text(), lat);
        QCOMPARE(Find<QLineEdit>("EditLONtrue")->text(),
                 Find<QLineEdit>("tCenterEditLonAve")->text());
        QCOMPARE(Find<QLineEdit>("EditALTtrue")->text(), alt);
        QVERIFY(Find<QLineEdit>("tCenterEditHorDiff")->text().isEmpty()); // no recount

        MessageWatcher messages;
        Find<QRadioButton>("RadioButtonTrue")->click();
        QVERIFY2(messages.Texts.isEmpty(), qPrintable(messages.Texts.join('|')));
        // The true point is the average as shown, rounded to the shown decimals.
        const QString diff = Find<QLineEdit>("tCenterEditHorDiff")->text();
        QVERIFY(diff.endsWith("m"));
        QVERIFY2(diff.chopped(1).toDouble() < 0.01, qPrintable(diff));
        QVERIFY(Find<QLineEdit>("tCenterEditAltDiff")->text().chopped(1).toDouble() < 0.1);
        QVERIFY(!w.program().Settings.UseAverage);
    }

    void clickOnThe2drmsGroupSwitchesTheUnitWithoutRecount() {
        TFormMain& w = Open({StaticLog});
        auto* group = Find<QGroupBox>("GroupBox2drms");
        const QString twoDrms = Find<QLineEdit>("tCenterEditH2drms")->text();
        const QString status = Find<QLabel>("LabelStatus")->text();
        QTest::mouseClick(Find("LabeltCenterEditAlt2drms"), Qt::LeftButton);
        QCOMPARE(group->title(), QString(" CEP(50%) "));
        const double ratio = Find<QLineEdit>("tCenterEditH2drms")->text().chopped(1).toDouble() /
                             twoDrms.chopped(1).toDouble();
        QVERIFY(qAbs(ratio - 0.416273762) < 1e-5);
        QTest::mouseClick(group, Qt::LeftButton, {}, QPoint(group->width() - 5, 5));
        QCOMPARE(group->title(), QString(" 2drms "));
        QCOMPARE(Find<QLineEdit>("tCenterEditH2drms")->text(), twoDrms);
        QVERIFY(w.program().Settings.TwoDrms);
        QCOMPARE(Find<QLabel>("LabelStatus")->text(), status);
    }

    void loadFileUsesTheDialogFolderAndFilterBothWays() {
        QFile::copy(StaticLog, Path("picked.nmea"));
        const QString ini = Write("dialog.ini", QString("[Option]\r\nDataPath=%1\r\n"
                                                        "OpenFiltIdx=2\r\n")
                                                    .arg(folder_.path())
                                                    .toUtf8());
        TFormMain& w = Open({ini});
        QString shownFolder, shownFilter;
        QRect shownAt;
        WhenDuringLoad pick(
            [] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
            [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                shownFolder = dialog->directory().absolutePath();
                shownFilter = dialog->selectedNameFilter();
                shownAt = dialog->frameGeometry();
                dialog->selectFile(Path("picked.nmea"));
                QMetaObject::invokeMethod(dialog, "accept");
            });
        Action("LoadFile")->trigger();
        QVERIFY(pick.done);
        QCOMPARE(shownFolder, folder_.path());
        QVERIFY(shownFilter.startsWith("NMEA file ("));
        QVERIFY(w.screen()->availableGeometry().contains(shownAt));
        QCOMPARE(Panel0(), QString(" Completed: picked.nmea"));
        QCOMPARE(QString::fromStdString(w.program().Settings.DataPath), folder_.path());
        QCOMPARE(w.program().Settings.OpenFiltIdx, 2);
    }

    void trueReferenceWithoutCoordinatesWarnsAndKeepsTheResults() {
        Open({StaticLog});
        const QString spread = Find<QLineEdit>("tCenterEditH2drms")->text();
        MessageWatcher messages;
        Find<QRadioButton>("RadioButtonTrue")->click();
        QCOMPARE(messages.Texts, QStringList{"Please set \"True coordinates\" correctly. "});
        QVERIFY(Find("GroupBoxDiff")->isVisible());
        QVERIFY(Find("GroupBoxTrue")->isVisible());
        QCOMPARE(Find<QLineEdit>("tCenterEditH2drms")->text(), spread);
        QVERIFY(Find<QLineEdit>("tCenterEditHorDiff")->text().isEmpty());
    }

    void spinButtonsStayWithinTheRangeTable_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("label");
        QTest::addRow("down at 1") << 1 << "SpinButton1Down" << 1 << "1mm";
        QTest::addRow("up at 32") << 32 << "SpinButton1Up" << 32 << "         20,000km";
        QTest::addRow("up at 12") << 12 << "SpinButton1Up" << 13 << "10m";
    }
    void spinButtonsStayWithinTheRangeTable() {
        QFETCH(int, start);
        QFETCH(QString, button);
        QFETCH(int, index);
        QFETCH(QString, label);
        const QString ini =
            Write("range.ini",
                  QString("[Option]\r\nAutoRange=0\r\nRangeIndex=%1\r\n").arg(start).toUtf8());
        TFormMain& w = Open({StaticLog, ini});
        const unsigned before = w.program().Graph.Revision;
        QTest::mouseClick(Find(button.toUtf8().constData()), Qt::LeftButton);
        QCOMPARE(w.program().Settings.RangeIndex, index);
        QCOMPARE(Find<QLabel>("LabelFS")->text(), label);
        QVERIFY(w.program().Graph.Revision != before); // redrawn even when it stayed
    }

    void monotoneHidesTheColourBarAndDrawsBlack() {
        TFormMain& w = Open({StaticLog});
        auto* bar = Find("Imagebar");
        QVERIFY(bar->isVisible());
        QTest::mouseClick(Find("CheckBoxMono"), Qt::LeftButton);
        QVERIFY(!bar->isVisible());
        QVERIFY(w.program().Settings.Monotone);
        const QImage picture = Find<QLabel>("Image1")->pixmap().toImage();
        int grey = 0, black = 0;
        for (int y = 1; y < 310; ++y)
            for (int x = 1; x < 310; ++x) {
                const QRgb c = picture.pixel(x, y);
                if (c == qRgb(0, 0, 0))
                    ++black;
                else if (qRed(c) != 255 && qRed(c) != 128)
                    ++grey;
            }
        QVERIFY(black > 100);
        QCOMPARE(grey, 0);
        QTest::mouseClick(Find("CheckBoxMono"), Qt::LeftButton);
        QVERIFY(bar->isVisible());
    }

    void pixelsChangeRereadsTheDotSize() {
        TFormMain& w = Open({StaticLog});
        auto* combo = Find<QComboBox>("ComboBoxPixels");
        combo->setCurrentText("100");
        QCOMPARE(w.program().Graph.DotSide, 8);
        QCOMPARE(combo->currentText(), QString("64"));
        combo->setCurrentIndex(0);
        QCOMPARE(w.program().Graph.DotSide, 1);
        QCOMPARE(w.program().Settings.GPixels, std::string("1"));
    }

    void closeWritesTheIniWithTheWindowPosition() {
        const QString ini = Write("start.ini", "");
        TFormMain& w = Open({StaticLog}, ini);
        w.move(40, 30);
        const QPoint at = w.pos();
        Action("Exit")->trigger();
        QVERIFY(!w.isVisible());
        QCOMPARE(Panel0(), QString(" start.ini  saving..."));
        IniFile saved;
        QVERIFY(saved.Load(ini.toStdString()));
        QCOMPARE(saved.ReadInt("Option", "MainTop", -1), at.y());
        QCOMPARE(saved.ReadInt("Option", "MainLeft", -1), at.x());
        QVERIFY(!w.program().Store.Exists()); // released before the settings were written
    }

    void storedPositionIsKeptOnTheScreen() {
        const QString ini = Write("far.ini", "[Option]\r\nMainTop=5000\r\nMainLeft=-300\r\n");
        TFormMain& w = Open({ini});
        const QRect area = w.screen()->availableGeometry();
        QCOMPARE(w.frameGeometry().bottom(), area.bottom());
        QCOMPARE(w.frameGeometry().left(), area.left());
    }

    void messageBoxIsCentredOverTheWindowAndKeptOnTheScreen() {
        TFormMain& w = Open({});
        const QRect area = w.screen()->availableGeometry();
        w.move(area.right() - w.frameGeometry().width() / 3, area.top() + 40);
        MessageWatcher messages;
        w.platform().ShowMessage("\nNo reading data.", MessageKind::Error, ButtonOk);
        QCOMPARE(messages.Texts, QStringList{"\nNo reading data."});
        const QRect box = messages.Frames.first();
        QCOMPARE(box.right(), area.right());
        QVERIFY(box.top() > w.frameGeometry().top());
    }

    void centringRuleClampsInItsOrder_data() {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QPoint>("at");
        const QRect area(0, 0, 1000, 700);
        Q_UNUSED(area);
        QTest::addRow("centred") << QRect(100, 100, 400, 300) << QSize(200, 100)
                                 << QPoint(200, 200);
        QTest::addRow("right edge")
            << QRect(900, 100, 400, 300) << QSize(200, 100) << QPoint(800, 200);
        QTest::addRow("top edge") << QRect(100, -200, 400, 200) << QSize(200, 100)
                                  << QPoint(200, 0);
        QTest::addRow("taller than the area")
            << QRect(100, 100, 400, 300) << QSize(200, 900) << QPoint(200, -200);
    }
    void centringRuleClampsInItsOrder() {
        QFETCH(QRect, owner);
        QFETCH(QSize, box);
        QFETCH(QPoint, at);
        QCOMPARE(CentredInArea(owner, box, QRect(0, 0, 1000, 700)), at);
    }

    void openDialogFiltersFollowTheFilterText() {
        const QStringList filters = OpenDialogFilters(
            "Data file|*.nmea;*.txt;*.csv;*.pos|NMEA file|*.nmea;*.txt|CSV file|*.csv|"
            "RTKLIB file|*.pos|All file|*.*");
        QCOMPARE(filters,
                 (QStringList{"Data file (*.nmea *.txt *.csv *.pos)", "NMEA file (*.nmea *.txt)",
                              "CSV file (*.csv)", "RTKLIB file (*.pos)", "All file (*)"}));
    }

    void everyFieldShowsWhatTheCliPrints() {
        QProcess cli;
        cli.start(FIXTALLY_BINARY_DIR "/fixtally-cli", {StaticLog, "--json"});
        QVERIFY(cli.waitForFinished(60000));
        const QJsonObject json = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
        QVERIFY(!json.isEmpty());

        Open({StaticLog});
        int compared = 0;
        for (auto it = json.begin(); it != json.end(); ++it) {
            const QByteArray name = it.key().toUtf8();
            QString shown;
            if (auto* edit = window_->findChild<QLineEdit*>(name))
                shown = edit->text();
            else if (auto* group = window_->findChild<QGroupBox*>(name))
                shown = group->title();
            else if (auto* label = window_->findChild<QLabel*>(name))
                shown = label->text();
            else if (name.startsWith("StatusPanel"))
                shown = Find<QLabel>(("StatusBar1Panel" + name.right(1)).constData())->text();
            else
                continue;
            QCOMPARE(shown, it.value().toString());
            ++compared;
        }
        QCOMPARE(compared, 26 + 6);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
