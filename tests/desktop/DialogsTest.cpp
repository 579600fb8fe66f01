#include "app/InterfaceFonts.h"
#include "app/Program.h"
#include "desktop/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <deque>
#include <functional>
#include <memory>

using namespace fixtally;

namespace {

const QString StaticLog = QStringLiteral(FIXTALLY_SOURCE_DIR "/examples/static-1hz-hour.nmea");

// Plays a script against the modal windows that open: each step waits for a modal window
// with its object name ("QMessageBox" for any message box), runs its action on it and
// expects the action to close it. Message texts and frames are kept.
class ModalScript : public QObject {
public:
    using Action = std::function<void(QWidget*)>;

    ModalScript() {
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start(5);
    }
    ModalScript& Then(const QString& name, Action action) {
        steps_.push_back({name, std::move(action)});
        return *this;
    }
    bool Done() const { return steps_.empty(); }

    QStringList Messages;
    QList<QRect> MessageFrames;
    QList<QRect> OwnerFrames; // the window under each message box

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (pending_ || steps_.empty() || !modal || !modal->isVisible()) return;
        auto* box = qobject_cast<QMessageBox*>(modal);
        const QString name = box ? QString("QMessageBox") : modal->objectName();
        if (name != steps_.front().Name) return;
        if (box) {
            Messages << box->text();
            MessageFrames << box->frameGeometry();
            OwnerFrames << box->parentWidget()->frameGeometry();
        }
        // The action runs from the event loop, so that the windows it opens in turn are
        // found by this timer while it waits in them.
        pending_ = true;
        QTimer::singleShot(0, this, [this, modal = QPointer<QWidget>(modal)] {
            pending_ = false;
            Step step = std::move(steps_.front());
            steps_.pop_front();
            if (modal) step.Run(modal);
        });
    }

    struct Step {
        QString Name;
        Action Run;
    };
    std::deque<Step> steps_;
    QTimer timer_;
    bool pending_ = false;
};

template <typename T = QWidget> T* In(QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(name);
    if (!widget) qWarning("no widget %s in %s", name, qPrintable(window->objectName()));
    return widget;
}

void Click(QWidget* window, const char* button) {
    In<QPushButton>(window, button)->click();
}

void Answer(QWidget* box, QMessageBox::StandardButton button) {
    static_cast<QMessageBox*>(box)->done(button);
}

void Retype(QWidget* window, const char* field, const QString& text) {
    auto* edit = In<QLineEdit>(window, field);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QPoint Centre(const QRect& r) {
    return {r.left() + r.width() / 2, r.top() + r.height() / 2};
}

// Object names of the widgets that Tab reaches from first on, in order, up to first again.
QStringList TabChain(QWidget* first) {
    QStringList names;
    QWidget* w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && !w->objectName().isEmpty() &&
            !qobject_cast<QLineEdit*>(w->parentWidget()))
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != first && names.size() < 64);
    return names;
}

int CountLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    return int(file.readAll().count('\n'));
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    std::unique_ptr<TFormMain> window_;

    QString Path(const QString& name) const { return folder_.filePath(name); }

    // A window with the example log copied beside its INI file and loaded.
    TFormMain& OpenWithLog() {
        const QString log = Path("static-1hz-hour.nmea");
        if (!QFile::exists(log)) QFile::copy(StaticLog, log);
        window_ = std::make_unique<TFormMain>(std::vector<std::string>{log.toStdString()},
                                              Path("start.ini").toStdString());
        window_->show();
        window_->FormActivate();
        return *window_;
    }

    QAction* Action(const char* name) const { return window_->findChild<QAction*>(name); }
    QString Panel0() const { return In<QLabel>(window_.get(), "StatusBar1Panel0")->text(); }
    QString GroupTitle() const { return In<QGroupBox>(window_.get(), "GroupBox2drms")->title(); }

private slots:
    void cleanup() {
        if (window_) {
            window_->hide();
            window_.reset();
        }
        for (const QString& csv : QDir(folder_.path()).entryList({"*.csv"}))
            QFile::remove(Path(csv));
    }

    void optionsDialogHasTheDesignAndFocusOnCancel() {
        TFormMain& w = OpenWithLog();
        ModalScript script;
        script.Then("FormOption", [&](QWidget* d) {
            QCOMPARE(d->windowTitle(), QString("Option setting"));
            QCOMPARE(d->size(), QSize(464, 471));
            QCOMPARE(d->minimumSize(), d->maximumSize());
            QVERIFY(!(d->windowFlags() & Qt::WindowCloseButtonHint));
            QCOMPARE(d->focusWidget(), In(d, "ButtonCancel"));
            const struct {
                const char* Name;
                const char* Caption;
                QRect Geometry;
            } groups[] = {
                {"GroupBoxShading", " Shading of the graph ", {8, 10, 260, 51}},
                {"GroupBoxCsvOption", " CSV option ", {280, 10, 178, 51}},
                {"GroupBoxDisplayDecimals", " Number of decimals of display ", {8, 66, 450, 81}},
                {"GroupBoxCsvDecimals",
                 " Number of decimals of the CSV output ",
                 {8, 152, 450, 81}},
                {"GroupBoxNmeaCsv", " NMEA,CSV ", {8, 238, 450, 81}},
                {"GroupBoxRtklib", " RTKLIB ", {8, 324, 450, 51}},
                {"GroupBoxProbability", " Probability unit ", {8, 380, 230, 51}},
                {"GroupBoxDateFormat", " Date format ", {273, 380, 185, 51}},
            };
            for (const auto& g : groups) {
                auto* group = In<QGroupBox>(d, g.Name);
                QCOMPARE(group->title(), QString(g.Caption));
                QCOMPARE(group->geometry(), g.Geometry);
            }
            QCOMPARE(In(d, "ButtonCancel")->geometry(), QRect(300, 438, 70, 25));
            QCOMPARE(In(d, "ButtonOK")->geometry(), QRect(388, 438, 70, 25));
            QCOMPARE(In<QLineEdit>(d, "LabeledEditBright")->text(), QString("200"));
            QCOMPARE(In<QLineEdit>(d, "LabeledEditHDOP")->text(), QString("100.0"));
            QCOMPARE(In<QComboBox>(d, "ComboBoxNmeaQU")->currentText(), QString("1 SPS"));
            QVERIFY(In<QRadioButton>(d, "RadioButton2drms")->isChecked());
            auto* quality = In<QComboBox>(d, "ComboBoxNmeaQU");
            QCOMPARE(quality->count(), 9);
            QVERIFY(quality->maxVisibleItems() >= 9);
            QCOMPARE(In<QComboBox>(d, "ComboBoxRtkQU")->itemText(5), QString("6 ppp"));
            QCOMPARE(In<QComboBox>(d, "ComboBoxRtkQS")->itemText(3), QString("<>"));

            QCOMPARE(TabChain(In(d, "LabeledEditBright")), QStringList({"LabeledEditBright",
                                                                        "LabeledEditDark",
                                                                        "CheckBoxSepTime",
                                                                        "LabeledEditPosDec",
                                                                        "LabeledEditErrDec",
                                                                        "LabeledEditAltDec",
                                                                        "LabeledEditDopDec",
                                                                        "CheckBoxDDMMSS",
                                                                        "LabeledEditCsvLatLon",
                                                                        "LabeledEditCsvError",
                                                                        "LabeledEditCsvAlt",
                                                                        "LabeledEditCsvDop",
                                                                        "LabeledEditCsvSpeed",
                                                                        "ComboBoxNmeaQS",
                                                                        "ComboBoxNmeaQU",
                                                                        "LabeledEditHDOP",
                                                                        "LabeledEditVDOP",
                                                                        "LabeledEditPDOP",
                                                                        "ComboBoxRtkQS",
                                                                        "ComboBoxRtkQU",
                                                                        "RadioButton2drms",
                                                                        "RadioButtonCEP",
                                                                        "EditDateFormat",
                                                                        "ButtonCancel",
                                                                        "ButtonOK"}));

            // Enter and line feed are discarded in fields and lists; the dialog stays.
            auto* hdop = In<QLineEdit>(d, "LabeledEditHDOP");
            QTest::keyClick(hdop, Qt::Key_Return);
            QTest::keyClick(hdop, Qt::Key_Enter);
            QKeyEvent lineFeed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, "\n");
            QApplication::sendEvent(In<QComboBox>(d, "ComboBoxNmeaQS")->lineEdit(), &lineFeed);
            QVERIFY(d->isVisible());
            QCOMPARE(In<QComboBox>(d, "ComboBoxNmeaQS")->currentText(), QString(">="));
            QVERIFY(!In<QLineEdit>(d, "LabeledEditDark")->hasSelectedText());
            Click(d, "ButtonCancel");
        });
        Action("OptionSetting")->trigger();
        QVERIFY(script.Done());
        const QRect dialog = w.findChild<QDialog*>("FormOption")->frameGeometry();
        QVERIFY((Centre(dialog) - Centre(w.frameGeometry())).manhattanLength() <= 2);
    }

    void optionsOkRecountsAndTheFilterLabelFollows() {
        TFormMain& w = OpenWithLog();
        const QString status = In<QLabel>(&w, "LabelStatus")->text();
        ModalScript script;
        script.Then("FormOption", [&](QWidget* d) {
            In<QComboBox>(d, "ComboBoxNmeaQS")->setCurrentText("=");
            Retype(d, "LabeledEditHDOP", "0.7");
            Click(d, "ButtonOK");
        });
        QTest::mouseClick(In(&w, "LabelDgps"), Qt::LeftButton);
        QVERIFY(script.Done());
        QCOMPARE(w.program().Options.Recounts, 1);
        QCOMPARE(w.program().Settings.HDOPlim, std::string("0.7"));
        QCOMPARE(In<QLabel>(&w, "LabelDgps")->text(), QString("=1 SPS"));
        QVERIFY(In<QLabel>(&w, "LabelStatus")->text() != status);
    }

    void probabilityChoiceTakesEffectAtOnceAndCancelUndoesIt() {
        TFormMain& w = OpenWithLog();
        const QString twoDrms = In<QLineEdit>(&w, "tCenterEditH2drms")->text();
        ModalScript script;
        script.Then("FormOption", [&](QWidget* d) {
            QTest::mouseClick(In(d, "RadioButtonCEP"), Qt::LeftButton, {}, QPoint(5, 10));
            QCOMPARE(GroupTitle(), QString(" CEP(50%) "));
            QVERIFY(In<QLineEdit>(&w, "tCenterEditH2drms")->text() != twoDrms);
            Retype(d, "LabeledEditDark", "90");
            Click(d, "ButtonCancel");
        });
        Action("OptionSetting")->trigger();
        QVERIFY(script.Done());
        QCOMPARE(GroupTitle(), QString(" 2drms "));
        QCOMPARE(In<QLineEdit>(&w, "tCenterEditH2drms")->text(), twoDrms);
        QCOMPARE(w.program().Settings.MaxColor, std::string("20"));

        // The spread group's click goes through the dialog's radio buttons.
        QTest::mouseClick(In(&w, "GroupBox2drms"), Qt::LeftButton, {}, QPoint(50, 5));
        QCOMPARE(GroupTitle(), QString(" CEP(50%) "));
        auto* dialog = w.findChild<QDialog*>("FormOption");
        QVERIFY(In<QRadioButton>(dialog, "RadioButtonCEP")->isChecked());
        QVERIFY(!dialog->isVisible());
    }

    void refusedDateFormatIsReportedOverTheDialog() {
        TFormMain& w = OpenWithLog();
        const std::string format = w.program().Settings.DateFormat;
        ModalScript script;
        script
            .Then("FormOption",
                  [&](QWidget* d) {
                      Retype(d, "EditDateFormat", "/mm/dd");
                      Click(d, "ButtonOK");
                  })
            .Then("QMessageBox", [](QWidget* box) { Answer(box, QMessageBox::Ok); });
        Action("OptionSetting")->trigger();
        QVERIFY(script.Done());
        QCOMPARE(script.Messages, QStringList("\nDate format error!!  \n\n/mm/dd"));
        const QRect dialog = w.findChild<QDialog*>("FormOption")->frameGeometry();
        QCOMPARE(script.OwnerFrames.value(0), dialog);
        QVERIFY((Centre(script.MessageFrames.value(0)) - Centre(dialog)).manhattanLength() <= 2);
        QCOMPARE(w.program().Settings.DateFormat, format);
    }

    void countRangeSetResetAndCancel() {
        TFormMain& w = OpenWithLog();
        Program& p = w.program();
        const TimeRange full = p.FullRange;
        const QString status = In<QLabel>(&w, "LabelStatus")->text();
        ModalScript script;
        script.Then("FormOutputRange", [&](QWidget* d) {
            QCOMPARE(d->windowTitle(), QString("Count range"));
            QCOMPARE(d->minimumSize(), d->maximumSize());
            QCOMPARE(In<QLabel>(d, "LabelTitl")->text(), QString("Full range (UTC)"));
            QCOMPARE(In<QLabel>(d, "LabelRange")->text(),
                     QString("3/14/2026 12:00:00 to 3/14/2026 12:59:59"));
            QVERIFY(!In<QLineEdit>(d, "EditStime")->hasSelectedText());
            for (const char* button : {"ButtonSP1", "ButtonSM1", "ButtonFP1", "ButtonFM1"})
                QVERIFY(!(In(d, button)->focusPolicy() & Qt::TabFocus));
            QTest::keyClick(In(d, "EditStime"), Qt::Key_Return);
            QVERIFY(d->isVisible());
            Click(d, "ButtonSP1"); // 13:00 is past the end: back to the start
            QCOMPARE(In<QLineEdit>(d, "EditStime")->text(), QString("3/14/2026 12:00:00"));
            Retype(d, "EditStime", "3/14/2026 12:30:00");
            Click(d, "ButtonOK");
        });
        Action("CountRange")->trigger();
        QVERIFY(script.Done());
        QVERIFY(p.CountRange.Start > full.Start + 0.02 && p.CountRange.Start < full.Start + 0.021);
        QCOMPARE(p.CountRange.End, full.End);
        QVERIFY(In<QLabel>(&w, "LabelStatus")->text().startsWith("3/14/2026 12:30:00 to"));

        // Cancel keeps everything, the edits keep their texts; Reset restores the full range.
        script.Then("FormOutputRange", [&](QWidget* d) {
            QCOMPARE(In<QLineEdit>(d, "EditStime")->text(), QString("3/14/2026 12:30:00"));
            Retype(d, "EditEtime", "3/14/2026 12:40:00");
            Click(d, "ButtonExit");
        });
        Action("CountRange")->trigger();
        QCOMPARE(p.CountRange.End, full.End);
        script.Then("FormOutputRange", [&](QWidget* d) {
            QCOMPARE(In<QLineEdit>(d, "EditEtime")->text(), QString("3/14/2026 12:40:00"));
            Click(d, "ButtonCancel");
        });
        Action("CountRange")->trigger();
        QVERIFY(script.Done());
        QCOMPARE(p.CountRange.Start, full.Start);
        QCOMPARE(p.CountRange.End, full.End);
        QCOMPARE(In<QLabel>(&w, "LabelStatus")->text(), status);
    }

    void trackExportsRunFromTheFileMenu() {
        TFormMain& w = OpenWithLog();
        const QString csv = Path("static-1hz-hour.csv");
        auto save = [](QWidget* d) { static_cast<QDialog*>(d)->accept(); };
        ModalScript script;
        script
            .Then("FormReduce",
                  [&](QWidget* d) {
                      QCOMPARE(d->windowTitle(), QString("Reduce"));
                      QCOMPARE(In<QLabel>(d, "Label1")->text(), QString("Condition to output"));
                      QCOMPARE(In<QLineEdit>(d, "EditMd")->text(), QString("30.0"));
                      QTest::keyClick(In(d, "EditEt"), Qt::Key_Return);
                      QVERIFY(d->isVisible());
                      Click(d, "ButtonFull");
                  })
            .Then("SaveDialog", [&](QWidget* d) {
                QCOMPARE(static_cast<QFileDialog*>(d)->selectedFiles().value(0), csv);
                save(d);
            });
        // An Esc pressed while idle must not cancel the export.
        w.program().Log.AbortRequested = true;
        Action("SaveCsv")->trigger();
        QVERIFY(script.Done());
        QCOMPARE(Panel0(), QString(" Completed: static-1hz-hour.csv 3600rec."));
        QCOMPARE(CountLines(csv), 3601);

        // Reduced to every tenth second, over the existing file after the question.
        script
            .Then("FormReduce",
                  [&](QWidget* d) {
                      Retype(d, "EditMd", "1000");
                      Click(d, "ButtonOK");
                  })
            .Then("SaveDialog", save)
            .Then("QMessageBox", [](QWidget* box) { Answer(box, QMessageBox::Yes); });
        Action("SaveCsvWithError")->trigger();
        QVERIFY(script.Done());
        QCOMPARE(script.Messages, QStringList(csv + " exists.\r\n\r\nOverwrite?"));
        QCOMPARE(Panel0(), QString(" Completed: static-1hz-hour.csv 361rec."));
        QCOMPARE(CountLines(csv), 362);

        // Cancel in the Reduce dialog writes nothing.
        script.Then("FormReduce", [&](QWidget* d) { Click(d, "Button1"); });
        Action("SaveCsv")->trigger();
        QVERIFY(script.Done());
        QCOMPARE(Panel0(), QString("*** Aborted by user ***"));
        QCOMPARE(CountLines(csv), 362);
        QVERIFY(!w.program().Log.AbortRequested);
    }

    void averageDialogWarnsOverItselfAndExports() {
        TFormMain& w = OpenWithLog();
        ModalScript script;
        QRect dialogFrame;
        script
            .Then("FormAverage",
                  [&](QWidget* d) {
                      dialogFrame = d->frameGeometry();
                      QCOMPARE(d->windowTitle(), QString("Average condition"));
                      QCOMPARE(In<QLineEdit>(d, "tCenterEditCSVstime")->text(),
                               QString("3/14/2026 12:00:00"));
                      QVERIFY(!In(d, "tCenterEditHerror")->isEnabled());
                      QTest::mouseClick(In(d, "CheckBoxEffectHori"), Qt::LeftButton, {},
                                        QPoint(5, 10));
                      QVERIFY(In(d, "tCenterEditHerror")->isEnabled());
                      QVERIFY(In(d, "Labelm")->isEnabled());
                      Click(d, "ButtonDay"); // the next midnight is past the log's end
                  })
            .Then("QMessageBox", [](QWidget* box) { Answer(box, QMessageBox::Ok); })
            .Then("FormAverage", [&](QWidget* d) { Click(d, "ButtonFhour"); })
            .Then("QMessageBox", [](QWidget* box) { Answer(box, QMessageBox::Ok); })
            .Then("FormAverage",
                  [&](QWidget* d) {
                      Retype(d, "tCenterEditCSVstime", "12:00");
                      Click(d, "ButtonCSVok");
                  })
            .Then("QMessageBox", [](QWidget* box) { Answer(box, QMessageBox::Ok); })
            .Then("FormAverage",
                  [&](QWidget* d) {
                      Retype(d, "tCenterEditCSVstime", "3/14/2026 12:00:00");
                      Retype(d, "tCenterEditCSVspan", "0.25");
                      Retype(d, "tCenterEditCSVstep", "0.25");
                      Click(d, "ButtonCSVok");
                  })
            .Then("SaveDialog", [](QWidget* d) { static_cast<QDialog*>(d)->accept(); });
        Action("SaveAverageCsv")->trigger();
        QVERIFY(script.Done());
        QCOMPARE(script.Messages,
                 QStringList({"Round-up is impossible. ", "Truncation is impossible. ",
                              "Start time is out of range. "}));
        for (const QRect& box : script.MessageFrames)
            QVERIFY((Centre(box) - Centre(dialogFrame)).manhattanLength() <= 2);
        QCOMPARE(Panel0(), QString(" Completed: static-1hz-hour-0.25h0.25h10.0m.csv 3rec."));
        QCOMPARE(CountLines(Path("static-1hz-hour-0.25h0.25h10.0m.csv")), 4);
        QCOMPARE(w.program().Settings.CSVspan, std::string("0.25"));
    }

    void fontSettingStoresScaledSizeAndAppliesItToEveryWindow() {
        TFormMain& w = OpenWithLog();
        const QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
        ModalScript script;
        script.Then("FontDialog", [&](QWidget* d) {
            auto* dialog = static_cast<QFontDialog*>(d);
            QCOMPARE(dialog->currentFont().pointSize(), 8); // "Tahoma" 8 at first
            dialog->setCurrentFont(QFont(family, 12));
            static_cast<QDialog*>(dialog)->accept();
        });
        Action("FontSetting")->trigger();
        QVERIFY(script.Done());
        const int dpi = int(std::lround(w.screen()->logicalDotsPerInchX()));
        QCOMPARE(w.program().Settings.Font.EngFontSize, StoredFontSize(12, dpi));
        QCOMPARE(w.font().pointSize(), AppliedFontSize(StoredFontSize(12, dpi), dpi));
        for (const char* name : {"FormOption", "FormReduce", "FormOutputRange", "FormAverage"}) {
            auto* dialog = w.findChild<QDialog*>(name);
            QCOMPARE(dialog->font().family(), w.font().family());
            QCOMPARE(dialog->font().pointSize(), w.font().pointSize());
        }
        // The reduce dialog's title keeps its larger size.
        QVERIFY(In(w.findChild<QDialog*>("FormReduce"), "Label1")->font().pointSizeF() >
                w.font().pointSizeF());

        // The dialog opens with the font it returned last, not the interface font.
        script.Then("FontDialog", [&](QWidget* d) {
            QCOMPARE(static_cast<QFontDialog*>(d)->currentFont().pointSize(), 12);
            static_cast<QDialog*>(d)->reject();
        });
        Action("FontSetting")->trigger();
        QVERIFY(script.Done());
        QCOMPARE(w.program().Settings.Font.EngFontSize, StoredFontSize(12, dpi));
    }

    void missingTahomaFallsBackToTheSystemFont() {
        if (QFontDatabase::families().contains("Tahoma", Qt::CaseInsensitive))
            QSKIP("Tahoma is installed here");
        TFormMain& w = OpenWithLog();
        QCOMPARE(w.font().family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
        QCOMPARE(w.findChild<QDialog*>("FormAverage")->font().family(), w.font().family());
    }

    void japaneseLocaleGivesJapaneseHints() {
        qputenv("LC_ALL", "ja_JP.UTF-8");
        TFormMain& w = OpenWithLog();
        qunsetenv("LC_ALL");
        QVERIFY(!w.program().Main.UiEnglish);
        QCOMPARE(In(&w, "CheckBoxAutoRange")->toolTip(), QString::fromUtf8("自動レンジ設定"));
        QCOMPARE(In(&w, "SpinButton1")->toolTip(), QString::fromUtf8("グラフレンジの変更"));
        auto* average = w.findChild<QDialog*>("FormAverage");
        QCOMPARE(In(average, "ButtonFhour")->toolTip(), QString::fromUtf8("時間未満を切り捨てる"));
        QCOMPARE(In(w.findChild<QDialog*>("FormReduce"), "LabelMd")->toolTip(),
                 QString::fromUtf8("移動距離"));

        window_.reset();
        TFormMain& english = OpenWithLog();
        QCOMPARE(In(&english, "CheckBoxAutoRange")->toolTip(), QString("Automatic range setting"));
        QCOMPARE(In(english.findChild<QDialog*>("FormAverage"), "ButtonDay")->toolTip(),
                 QString("Rounded up less than Date."));
        QVERIFY(In(english.findChild<QDialog*>("FormReduce"), "EditMd")->toolTip().isEmpty());
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
