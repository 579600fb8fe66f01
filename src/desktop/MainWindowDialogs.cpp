// The main window's commands that open the four dialogs and the font dialog.

#include "desktop/MainWindow.h"

#include "app/AveragedCsvExport.h"
#include "app/InterfaceFonts.h"
#include "app/Program.h"
#include "app/ResultsView.h"
#include "app/TrackCsvExport.h"
#include "desktop/FormAverage.h"
#include "desktop/FormOption.h"
#include "desktop/FormOutputRange.h"
#include "desktop/FormReduce.h"
#include "desktop/ScreenPlacement.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace fixtally {

namespace {

int ScreenDpi(const QWidget* widget) {
    const QScreen* screen = widget->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? int(std::lround(screen->logicalDotsPerInchX())) : 96;
    return dpi > 0 ? dpi : 96;
}

// The family asked for, or the system's sans-serif font when it is not installed.
QString InstalledFamily(const QString& family) {
    if (QFontDatabase::families().contains(family, Qt::CaseInsensitive)) return family;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

} // namespace

void TFormMain::CreateDialogs() {
    // In the order the program creates its windows.
    formOption_ = new TFormOption(*this);
    formReduce_ = new TFormReduce(*this);
    formOutputRange_ = new TFormOutputRange(*this);
    formAverage_ = new TFormAverage(*this);

    auto wire = [this](const char* name, auto handler) {
        if (auto* action = findChild<QAction*>(name)) {
            action->setEnabled(true);
            connect(action, &QAction::triggered, this, handler);
        }
    };
    wire("SaveCsv", [this] { SaveCsvClick(false); });
    wire("SaveCsvWithError", [this] { SaveCsvClick(true); });
    wire("SaveAverageCsv", [this] { SaveAverageCsvClick(); });
    wire("FontSetting", [this] { FontSettingClick(); });
    // "Count range" is enabled by the loads; here it only gets its command.
    connect(countRange_, &QAction::triggered, this, [this] { CountRangeClick(); });
}

// Switches the probability unit through the options dialog's radio buttons. No recount.
void TFormMain::GroupBox2drmsClick() {
    if (Busy()) return;
    formOption_->SelectOtherProbability();
    ShowModel();
}

// "Option setting(&O)" and the click on the filter label: the options dialog, then the
// label of the filter it leaves in force.
void TFormMain::LabelDgpsClick() {
    if (Busy()) return;
    formOption_->Execute();
    ShowFilterLabel(*program_);
    ShowModel();
}

void TFormMain::CountRangeClick() {
    if (Busy()) return;
    formOutputRange_->Execute();
    ShowModel();
}

void TFormMain::SaveCsvClick(bool withError) {
    if (Busy()) return;
    RunBusy([this, withError] {
        (void)::fixtally::SaveToCsvClick(*program_, withError,
                                         [this](Program&) { formReduce_->Execute(); });
    });
}

void TFormMain::SaveAverageCsvClick() {
    if (Busy()) return;
    RunBusy([this] {
        (void)SaveAverageToCsvClick(*program_, [this](Program&) { formAverage_->Execute(); });
    });
}

void TFormMain::FontSettingClick() {
    if (Busy()) return;
    QFontDialog dialog(lastChosenFont_, this);
    dialog.setObjectName("FontDialog");
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    ShowCentred(&dialog, this);
    if (dialog.exec() != QDialog::Accepted) return;
    lastChosenFont_ = dialog.selectedFont();
    int points = lastChosenFont_.pointSize();
    if (points <= 0) points = int(std::lround(lastChosenFont_.pointSizeF()));
    StoreChosenFont(*program_, lastChosenFont_.family().toStdString(), std::max(points, 1),
                    ScreenDpi(this));
    ApplyFontsAndHints();
    // Both status-bar panels drawn again in the new font.
    for (QLabel* panel : {panel0_, panel1_}) {
        const QString text = panel->text();
        panel->setText(QString());
        panel->setText(text);
    }
    QCoreApplication::processEvents();
}

void TFormMain::ApplyFontsAndHints() {
    const MainWindowModel& m = program_->Main;
    const int dpi = ScreenDpi(this);
    const QString key = QString("%1|%2|%3|%4")
                            .arg(QString::fromStdString(m.InterfaceFontName))
                            .arg(m.InterfaceFontSize)
                            .arg(dpi)
                            .arg(m.UiEnglish);
    if (key == appliedFontKey_ || !formOption_) return;
    appliedFontKey_ = key;

    QFont font(InstalledFamily(QString::fromStdString(m.InterfaceFontName)));
    font.setPointSize(std::max(1, AppliedFontSize(m.InterfaceFontSize, dpi)));
    setFont(font);
    for (QWidget* dialog :
         std::initializer_list<QWidget*>{formOption_, formReduce_, formOutputRange_, formAverage_})
        dialog->setFont(font);

    for (const ControlHint& hint : InterfaceHints(m.UiEnglish)) {
        const QString window = QString::fromUtf8(hint.Window.data(), qsizetype(hint.Window.size()));
        QWidget* owner = window == objectName() ? this : findChild<QWidget*>(window);
        if (!owner) continue;
        const QString name = QString::fromUtf8(hint.Control.data(), qsizetype(hint.Control.size()));
        if (auto* control = owner->findChild<QWidget*>(name))
            control->setToolTip(QString::fromUtf8(hint.Text.data(), qsizetype(hint.Text.size())));
    }
}

} // namespace fixtally
