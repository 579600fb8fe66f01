#pragma once

#include "desktop/QtPlatform.h"

#include <QFont>
#include <QMainWindow>
#include <QPoint>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QPrinter;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace fixtally {

struct Program;
class TFormAverage;
class TFormOption;
class TFormOutputRange;
class TFormReduce;

// The main window. Its widgets show the program's models (the result texts, the graph,
// the settings they stand for) and its handlers call the program's operations; it keeps
// no results of its own. Control names are the widgets' object names.
class TFormMain : public QMainWindow {
public:
    // arguments: the command line without the program name, processed at the first
    // activation; iniPath: the INI file chosen at start-up.
    TFormMain(std::vector<std::string> arguments, std::string iniPath);
    ~TFormMain() override;

    Program& program() { return *program_; }
    QtPlatform& platform() { return platform_; }
    // The printer the print commands use; it keeps the user's last choice.
    QPrinter& printer() { return *printer_; }

    // The first activation: empty graph, command line and settings, drops accepted,
    // filter label. Runs once; showing the window queues it.
    void FormActivate();

    // Files dropped on the window, in the order of the drop.
    void FormDropFiles(const QStringList& files);

    // True while a load or a count runs; the window then takes no commands.
    bool Busy() const;

    // Shows the models in the widgets.
    void ShowModel();

    // Runs a core operation that processes events (a count, an export) with the window
    // marked busy; dialogs opened by it stay usable.
    void RunBusy(const std::function<void()>& work);

    // The interface font of the language in use on the five windows, and the hints of
    // that language.
    void ApplyFontsAndHints();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class BusyScope;

    void CreateControls();
    void CreateMenus();
    void FormCreate();
    void UpdateReferenceLayout();
    void PlaceMainWindow();
    void ShowGraph();
    void ShowSettings();

    void BitBtnRefClick();
    void ReferenceClick(bool useAverage);
    void RecountClick();
    void GroupBox2drmsClick();
    void LabelDgpsClick();
    void ButtonCopyAveClick();
    void SpinButton1Click(int step);
    void CheckBoxMonoClick();
    void CheckBoxAutoRangeClick();
    void ComboBoxPixelsChange();
    void CopyTextClick();
    void PrintTextClick();
    void CopyFormClick();
    void PrintFormClick();

    // The commands that open the dialogs (MainWindowDialogs.cpp).
    void CreateDialogs();
    void SaveCsvClick(bool withError);
    void SaveAverageCsvClick();
    void CountRangeClick();
    void FontSettingClick();

    bool BlocksInput(QObject* watched, QEvent* event) const;
    bool IsWithinWindow(QObject* object) const;

    std::vector<std::string> arguments_;
    QtPlatform platform_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<QPrinter> printer_;

    std::map<std::string, QLineEdit*> resultFields_;
    QGroupBox* groupCoordinates_ = nullptr;
    QGroupBox* group2drms_ = nullptr;
    QGroupBox* groupStatistics_ = nullptr;
    QGroupBox* groupDiff_ = nullptr;
    QGroupBox* groupTrue_ = nullptr;
    QRadioButton* radioAverage_ = nullptr;
    QRadioButton* radioTrue_ = nullptr;
    std::vector<QLabel*> labels2drms_;
    QLabel* labelDgps_ = nullptr;
    QLabel* labelStatus_ = nullptr;
    QLabel* image1_ = nullptr;
    QLabel* imagebar_ = nullptr;
    QLabel* labelFS_ = nullptr;
    QToolButton* spinUp_ = nullptr;
    QToolButton* spinDown_ = nullptr;
    QCheckBox* checkAutoRange_ = nullptr;
    QCheckBox* checkMono_ = nullptr;
    QComboBox* comboPixels_ = nullptr;
    QLineEdit* editLatTrue_ = nullptr;
    QLineEdit* editLonTrue_ = nullptr;
    QLineEdit* editAltTrue_ = nullptr;
    QWidget* buttonCopyAve_ = nullptr;
    QLabel* panel0_ = nullptr;
    QLabel* panel1_ = nullptr;
    std::vector<QObject*> enterDiscarders_;
    QAction* countRange_ = nullptr;
    QAction* recount_ = nullptr;
    TFormOption* formOption_ = nullptr;
    TFormReduce* formReduce_ = nullptr;
    TFormOutputRange* formOutputRange_ = nullptr;
    TFormAverage* formAverage_ = nullptr;
    QFont lastChosenFont_{"Tahoma", 8}; // the font dialog opens with the font it last gave
    QString appliedFontKey_;

    int menuHeight_ = 0;
    int statusHeight_ = 0;
    bool activationQueued_ = false;
    bool activated_ = false;
    int busy_ = 0;
    bool closeAfterBusy_ = false;
    bool layoutAverage_ = true;
    bool placed_ = false;
    QPoint placedFrom_;
    unsigned shownRevision_ = ~0u;
    bool shownMonotone_ = false;
    int shownDotSide_ = 0;
};

} // namespace fixtally
