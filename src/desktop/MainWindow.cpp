#include "desktop/MainWindow.h"

#include "app/CommandLine.h"
#include "app/GraphCommands.h"
#include "app/LogLoading.h"
#include "app/Program.h"
#include "app/ProgramReport.h"
#include "app/ProgramSettings.h"
#include "app/Recount.h"
#include "app/ResultsView.h"
#include "desktop/OpenDialog.h"
#include "desktop/PrintCommands.h"
#include "desktop/ScreenPlacement.h"
#include "display/ResultsDisplay.h"
#include "graph/render/GraphRender.h"
#include "input/LogKind.h"
#include "settings/Conventions.h"
#include "settings/IniPath.h"
#include "settings/Version.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <algorithm>

namespace fixtally {

namespace {

// The window design, in pixels of the client area (below the menu bar).
constexpr int Margin = 8;
constexpr int GroupWidth = 399;
constexpr int FieldHeight = 21;
constexpr int RightColumn = Margin + GroupWidth + 8;
constexpr int GraphTop = 13;
constexpr int SpinWidth = 17;
constexpr int SpinHeight = 44;
constexpr int ClientWidth = RightColumn + 311 + 4 + SpinWidth + Margin;
constexpr int Spacing = 4; // between the last group and the status label
constexpr int NoPosition = 2147483647;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string S(const QString& text) {
    return text.toStdString();
}

void SetText(QLabel* label, const std::string& text) {
    const QString shown = Q(text);
    if (label->text() != shown) label->setText(shown);
}

void SetText(QLineEdit* edit, const std::string& text) {
    const QString shown = Q(text);
    if (edit->text() != shown) {
        edit->setText(shown);
        edit->setCursorPosition(0);
    }
}

QGroupBox* Group(QWidget* parent, const char* name, const char* caption, int top, int height) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    group->setGeometry(Margin, top, GroupWidth, height);
    return group;
}

QLabel* Label(QWidget* parent, const char* text, QRect geometry,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(align);
    return label;
}

// The read-only result fields: one line, no frame, centred, selectable and copyable.
QLineEdit* ResultEdit(QWidget* parent, const char* name, QRect geometry) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(geometry);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setAlignment(Qt::AlignCenter);
    field->setContextMenuPolicy(Qt::DefaultContextMenu);
    return field;
}

QLineEdit* Edit(QWidget* parent, const char* name, QRect geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

bool IsEnterOrLineFeed(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
           key->text() == QLatin1String("\r") || key->text() == QLatin1String("\n");
}

} // namespace

// Marks the window busy while a core operation that processes events runs, and closes
// the window afterwards when a close was asked for meanwhile.
class TFormMain::BusyScope {
public:
    explicit BusyScope(TFormMain& window) : window_(window) { ++window_.busy_; }
    ~BusyScope() {
        if (--window_.busy_ == 0) {
            window_.ShowModel();
            if (window_.closeAfterBusy_) QTimer::singleShot(0, &window_, &QWidget::close);
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    TFormMain& window_;
};

TFormMain::TFormMain(std::vector<std::string> arguments, std::string iniPath)
    : arguments_(std::move(arguments)), program_(std::make_unique<Program>(platform_)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName("FormMain");
    program_->IniPath = std::move(iniPath);
    platform_.SetMainWindow(this);
    platform_.SetAbortFlag(&program_->Log.AbortRequested);
    platform_.SetBeforeEvents([this] { ShowModel(); });
    CreateMenus();
    CreateControls();
    FormCreate();
    CreateDialogs();
    qApp->installEventFilter(this);
}

TFormMain::~TFormMain() {
    if (qApp) qApp->removeEventFilter(this);
    // The widgets outlive the program state by a moment; their handlers must not run then.
    for (QObject* child : findChildren<QObject*>()) child->blockSignals(true);
}

void TFormMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    auto item = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    QMenu* file = bar->addMenu(" File(&F) ");
    file->setObjectName("MenuFile");
    connect(item(file, "LoadFile", "Load file(&L)"), &QAction::triggered, this,
            &TFormMain::BitBtnRefClick);
    // The exports come with their own windows; until then their entries are shown but
    // cannot be chosen.
    for (auto [name, caption] : {std::pair{"SaveCsv", "Save to CSV(&V)"},
                                 {"SaveCsvWithError", "Save to CSV with error(&E)"},
                                 {"SaveAverageCsv", "Save average to CSV(&A)"}})
        item(file, name, caption)->setEnabled(false);
    connect(item(file, "PrintForm", "Print Form(&P)"), &QAction::triggered, this,
            &TFormMain::PrintFormClick);
    connect(item(file, "CopyForm", "Copy Form(&C)"), &QAction::triggered, this,
            &TFormMain::CopyFormClick);
    connect(item(file, "PrintText", "Print Text(&R)"), &QAction::triggered, this,
            &TFormMain::PrintTextClick);
    connect(item(file, "CopyText", "Copy Text(&O)"), &QAction::triggered, this,
            &TFormMain::CopyTextClick);
    file->addSeparator();
    connect(item(file, "Exit", "Exit(&X)"), &QAction::triggered, this, &QWidget::close);

    countRange_ = bar->addAction("Count range(&C)");
    countRange_->setObjectName("CountRange");
    countRange_->setEnabled(false);
    // The count-range dialog, a window of its own, opens from here once it exists; while a
    // load runs the command must do nothing.

    QMenu* option = bar->addMenu("Option(&O)");
    option->setObjectName("MenuOption");
    connect(item(option, "OptionSetting", "Option setting(&O)"), &QAction::triggered, this,
            &TFormMain::LabelDgpsClick);
    item(option, "FontSetting", "Font setting(&F)")->setEnabled(false);

    recount_ = bar->addAction("Recount(&R)");
    recount_->setObjectName("Recount");
    recount_->setEnabled(false);
    connect(recount_, &QAction::triggered, this, &TFormMain::RecountClick);
}

void TFormMain::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName("Client");
    setCentralWidget(client);

    auto field = [this](QWidget* parent, const char* name, QRect geometry) {
        QLineEdit* edit = ResultEdit(parent, name, geometry);
        resultFields_[name] = edit;
        enterDiscarders_.push_back(edit);
        return edit;
    };

    // Standard coordinates
    groupCoordinates_ = Group(client, "GroupBoxCoordinates", " Standard coordinates ", 4, 46);
    radioAverage_ = new QRadioButton("Average coordinates", groupCoordinates_);
    radioAverage_->setObjectName("RadioButtonAverage");
    radioAverage_->setGeometry(16, 20, 170, 20);
    radioAverage_->setChecked(true);
    radioTrue_ = new QRadioButton("True coordinates", groupCoordinates_);
    radioTrue_->setObjectName("RadioButtonTrue");
    radioTrue_->setGeometry(208, 20, 170, 20);
    connect(radioAverage_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) ReferenceClick(true);
    });
    connect(radioTrue_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) ReferenceClick(false);
    });

    // 2drms: clicking the group or one of its row labels switches the probability unit.
    group2drms_ = Group(client, "GroupBox2drms", " 2drms ", 54, 74);
    group2drms_->setCursor(Qt::PointingHandCursor);
    const struct {
        const char* Label;
        const char* Field;
        int Left, Top;
    } spreads[] = {{"Horizontal", "tCenterEditH2drms", 0, 20},
                   {"Altitude", "tCenterEditAlt2drms", 0, 46},
                   {"East-West", "tCenterEditEW2drms", 1, 20},
                   {"North-South", "tCenterEditNS2drms", 1, 46}};
    for (const auto& row : spreads) {
        const int x = row.Left ? 200 : 8;
        QLabel* label = Label(group2drms_, row.Label, QRect(x, row.Top, 80, FieldHeight));
        label->setObjectName(QString("Label") + row.Field);
        labels2drms_.push_back(label);
        field(group2drms_, row.Field, QRect(x + 82, row.Top, 107, FieldHeight));
    }

    // Average
    QGroupBox* average = Group(client, "GroupBoxAverage", " Average ", 132, 74);
    Label(average, "Latitude", QRect(8, 20, 66, FieldHeight));
    field(average, "tCenterEditLatAve", QRect(76, 20, 168, FieldHeight));
    Label(average, "Longitude", QRect(8, 46, 66, FieldHeight));
    field(average, "tCenterEditLonAve", QRect(76, 46, 168, FieldHeight));
    Label(average, "Altitude", QRect(252, 20, 56, FieldHeight));
    field(average, "tCenterEditAltAve", QRect(310, 20, 81, FieldHeight));
    labelDgps_ = Label(average, "DGPS", QRect(252, 46, 56, FieldHeight));
    labelDgps_->setObjectName("LabelDgps");
    labelDgps_->setCursor(Qt::PointingHandCursor);
    field(average, "tCenterEditDgpsP", QRect(310, 46, 81, FieldHeight));

    // Peak of error
    QGroupBox* peak = Group(client, "GroupBoxPeakOfError", " Peak of error ", 210, 74);
    Label(peak, "Horizontal", QRect(8, 20, 72, FieldHeight));
    field(peak, "tCenterEditHP", QRect(82, 20, 309, FieldHeight));
    Label(peak, "Altitude", QRect(8, 46, 72, FieldHeight));
    field(peak, "tCenterEditAP", QRect(82, 46, 309, FieldHeight));

    // Statistics
    groupStatistics_ = Group(client, "GroupBoxStatics", " Statistics ", 288, 132);
    const char* heads[] = {"Average", "Minimum", "Maximum"};
    for (int c = 0; c < 3; ++c)
        Label(groupStatistics_, heads[c], QRect(82 + c * 104, 16, 100, 18), Qt::AlignCenter);
    const struct {
        const char* Label;
        const char* Fields[3];
    } rows[] = {{"HDOP", {"tCenterEditHdopAve", "tCenterEditHdopMin", "tCenterEditHdopMax"}},
                {"VDOP", {"tCenterEditVdopAve", "tCenterEditVdopMin", "tCenterEditVdopMax"}},
                {"PDOP", {"tCenterEditPdopAve", "tCenterEditPdopMin", "tCenterEditPdopMax"}},
                {"Used Sat", {"tCenterEditSuAve", "tCenterEditSuMin", "tCenterEditSuMax"}}};
    for (int r = 0; r < 4; ++r) {
        const int top = 36 + r * 23;
        Label(groupStatistics_, rows[r].Label, QRect(8, top, 72, FieldHeight));
        for (int c = 0; c < 3; ++c)
            field(groupStatistics_, rows[r].Fields[c], QRect(82 + c * 104, top, 100, FieldHeight));
    }

    // Difference between average and true: 66 pixels, shown with the true reference only.
    const int diffTop = 288 + 132 + Spacing;
    groupDiff_ =
        Group(client, "GroupBoxDiff", " Difference between average and true ", diffTop, 66);
    Label(groupDiff_, "Horizontal", QRect(8, 18, 80, FieldHeight));
    field(groupDiff_, "tCenterEditHorDiff", QRect(90, 18, 99, FieldHeight));
    Label(groupDiff_, "Altitude", QRect(8, 41, 80, FieldHeight));
    field(groupDiff_, "tCenterEditAltDiff", QRect(90, 41, 99, FieldHeight));
    Label(groupDiff_, "East-West", QRect(200, 18, 80, FieldHeight));
    field(groupDiff_, "tCenterEditEwDiff", QRect(282, 18, 109, FieldHeight));
    Label(groupDiff_, "North-South", QRect(200, 41, 80, FieldHeight));
    field(groupDiff_, "tCenterEditNsDiff", QRect(282, 41, 109, FieldHeight));

    // The graph with its colour bar, labels and controls.
    imagebar_ = new QLabel(client);
    imagebar_->setObjectName("Imagebar");
    imagebar_->setGeometry(RightColumn, GraphTop - ColourBarHeight, GraphSize, ColourBarHeight);
    image1_ = new QLabel(client);
    image1_->setObjectName("Image1");
    image1_->setGeometry(RightColumn, GraphTop, GraphSize, GraphSize);
    const int underGraph = GraphTop + GraphSize + 1;
    QLabel* zero = Label(client, "0m", QRect(RightColumn + GraphCentre - 30, underGraph, 61, 16),
                         Qt::AlignHCenter | Qt::AlignTop);
    zero->setObjectName("Label0m");
    labelFS_ = Label(client, "10m", QRect(RightColumn + GraphSize - 120, underGraph, 120, 16),
                     Qt::AlignRight | Qt::AlignTop);
    labelFS_->setObjectName("LabelFS");

    auto* spin = new QWidget(client);
    spin->setObjectName("SpinButton1");
    spin->setGeometry(RightColumn + GraphSize + 4, GraphTop + GraphSize - SpinHeight, SpinWidth,
                      SpinHeight);
    spinUp_ = new QToolButton(spin);
    spinUp_->setObjectName("SpinButton1Up");
    spinUp_->setArrowType(Qt::UpArrow);
    spinUp_->setGeometry(0, 0, SpinWidth, SpinHeight / 2);
    spinUp_->setAutoRepeat(true);
    spinDown_ = new QToolButton(spin);
    spinDown_->setObjectName("SpinButton1Down");
    spinDown_->setArrowType(Qt::DownArrow);
    spinDown_->setGeometry(0, SpinHeight / 2, SpinWidth, SpinHeight / 2);
    spinDown_->setAutoRepeat(true);
    connect(spinUp_, &QToolButton::clicked, this, [this] { SpinButton1Click(+1); });
    connect(spinDown_, &QToolButton::clicked, this, [this] { SpinButton1Click(-1); });

    const int controlsTop = underGraph + 20;
    checkAutoRange_ = new QCheckBox("Auto range", client);
    checkAutoRange_->setObjectName("CheckBoxAutoRange");
    checkAutoRange_->setGeometry(RightColumn, controlsTop, 100, 22);
    checkAutoRange_->setChecked(true);
    checkAutoRange_->setToolTip("Automatic range setting");
    connect(checkAutoRange_, &QCheckBox::clicked, this, &TFormMain::CheckBoxAutoRangeClick);
    checkMono_ = new QCheckBox("Monotone", client);
    checkMono_->setObjectName("CheckBoxMono");
    checkMono_->setGeometry(RightColumn + 104, controlsTop, 96, 22);
    checkMono_->setToolTip("Draws by monotone");
    connect(checkMono_, &QCheckBox::clicked, this, &TFormMain::CheckBoxMonoClick);
    QLabel* pixels = Label(client, "Pixels", QRect(RightColumn + 204, controlsTop, 44, 22),
                           Qt::AlignRight | Qt::AlignVCenter);
    pixels->setObjectName("LabelPixels");
    pixels->setToolTip("Number of pixels for dot");
    comboPixels_ = new QComboBox(client);
    comboPixels_->setObjectName("ComboBoxPixels");
    comboPixels_->setEditable(true);
    comboPixels_->setInsertPolicy(QComboBox::NoInsert);
    comboPixels_->addItems({"1", "4", "9", "16", "25"});
    comboPixels_->setCurrentText("9");
    comboPixels_->setGeometry(RightColumn + 252, controlsTop, GraphSize - 252, 22);
    comboPixels_->setToolTip("Number of pixels for dot");
    enterDiscarders_.push_back(comboPixels_);
    enterDiscarders_.push_back(comboPixels_->lineEdit());
    connect(comboPixels_, &QComboBox::currentTextChanged, this, &TFormMain::ComboBoxPixelsChange);

    // True coordinates, shown with the true reference only.
    groupTrue_ = new QGroupBox(" True coordinates ", client);
    groupTrue_->setObjectName("GroupBoxTrue");
    groupTrue_->setGeometry(RightColumn, diffTop + 66 - 100, GraphSize, 100);
    Label(groupTrue_, "Latitude", QRect(8, 18, 66, FieldHeight));
    editLatTrue_ = Edit(groupTrue_, "EditLATtrue", QRect(76, 18, 180, FieldHeight + 1));
    Label(groupTrue_, "Longitude", QRect(8, 44, 66, FieldHeight));
    editLonTrue_ = Edit(groupTrue_, "EditLONtrue", QRect(76, 44, 180, FieldHeight + 1));
    Label(groupTrue_, "Alt.", QRect(8, 70, 66, FieldHeight));
    editAltTrue_ = Edit(groupTrue_, "EditALTtrue", QRect(76, 70, 90, FieldHeight + 1));
    for (QLineEdit* edit : {editLatTrue_, editLonTrue_, editAltTrue_}) {
        enterDiscarders_.push_back(edit);
        connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) {
            Settings& s = program_->Settings;
            (edit == editLatTrue_   ? s.TrueLat
             : edit == editLonTrue_ ? s.TrueLon
                                    : s.TrueAlt) = S(text);
        });
    }
    auto* copyAve = new QPushButton("Paste Ave.", groupTrue_);
    copyAve->setObjectName("ButtonCopyAve");
    copyAve->setGeometry(176, 69, 127, 24);
    copyAve->setToolTip("Average value is pasted");
    copyAve->setVisible(false);
    buttonCopyAve_ = copyAve;
    connect(copyAve, &QPushButton::clicked, this, &TFormMain::ButtonCopyAveClick);

    labelStatus_ = new QLabel(client);
    labelStatus_->setObjectName("LabelStatus");
    labelStatus_->setGeometry(Margin, diffTop, ClientWidth - 2 * Margin, 17);
    labelStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    QStatusBar* status = statusBar();
    status->setObjectName("StatusBar1");
    status->setToolTip("Status is indicated");
    panel0_ = new QLabel(status);
    panel0_->setObjectName("StatusBar1Panel0");
    panel0_->setFixedWidth(550);
    panel1_ = new QLabel(status);
    panel1_->setObjectName("StatusBar1Panel1");
    panel1_->setMinimumWidth(50);
    status->addWidget(panel0_);
    status->addWidget(panel1_, 1);

    for (QLabel* label : labels2drms_) label->setCursor(Qt::PointingHandCursor);
    groupDiff_->setVisible(false);
    groupTrue_->setVisible(false);
}

void TFormMain::FormCreate() {
    Program& p = *program_;
    p.Settings.Version = VersionText();
    std::string folder = FolderOf(ExecutablePath());
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    p.Settings.DataPath = folder;
    p.Main.Caption = "Fixtally. " + VersionText();
    setWindowTitle(Q(p.Main.Caption));
    SetupConventions(p.Conventions);
    MeasureLocalOffset(p.Conventions);

    // The size of the design; the user may make the window smaller, never larger.
    ensurePolished();
    menuHeight_ = menuBar()->sizeHint().height();
    statusHeight_ = statusBar()->sizeHint().height();
    layoutAverage_ = false;
    UpdateReferenceLayout();
    setMaximumWidth(ClientWidth);
    resize(ClientWidth, height());
}

bool TFormMain::Busy() const {
    return busy_ > 0 || program_->Log.Loading;
}

void TFormMain::UpdateReferenceLayout() {
    const bool average = program_->Settings.UseAverage;
    layoutAverage_ = average;
    groupDiff_->setVisible(!average);
    groupTrue_->setVisible(!average);
    const QWidget* above = average ? groupStatistics_ : groupDiff_;
    labelStatus_->move(labelStatus_->x(), above->geometry().bottom() + 1 + Spacing);
    const int clientHeight = labelStatus_->geometry().bottom() + 1 + 3;
    const int windowHeight = menuHeight_ + clientHeight + statusHeight_;
    setMaximumHeight(QWIDGETSIZE_MAX);
    resize(width(), windowHeight);
    setMaximumHeight(windowHeight);
}

void TFormMain::PlaceMainWindow() {
    const Settings& s = program_->Settings;
    placed_ = true;
    placedFrom_ = QPoint(s.MainLeft, s.MainTop);
    const bool stored = s.MainTop != NoPosition && s.MainLeft != NoPosition;
    QRect area = AvailableArea(this);
    if (stored) {
        // The area of the screen that shows the window at the stored place.
        if (QScreen* screen = QGuiApplication::screenAt(QPoint(s.MainLeft, s.MainTop)))
            area = screen->availableGeometry();
    }
    QSize frame = frameGeometry().size().expandedTo(size());
    move(MainWindowPosition(stored, QPoint(s.MainLeft, s.MainTop), frame, area));
}

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (activationQueued_) return;
    activationQueued_ = true;
    QTimer::singleShot(0, this, &TFormMain::FormActivate);
}

void TFormMain::FormActivate() {
    if (activated_) return;
    activated_ = true;
    activationQueued_ = true;
    Program& p = *program_;
    DrawGraphBackground(p);
    {
        BusyScope busy(*this);
        ProcessCommandLine(p, arguments_);
    }
    setAcceptDrops(true);
    ShowFilterLabel(p);
    ShowModel();
}

void TFormMain::ShowModel() {
    const Program& p = *program_;
    const MainWindowModel& m = p.Main;
    if (windowTitle() != Q(m.Caption)) setWindowTitle(Q(m.Caption));
    for (const ResultField& field : ResultFields()) {
        auto found = resultFields_.find(field.Name);
        if (found != resultFields_.end()) SetText(found->second, m.*field.Text);
    }
    if (group2drms_->title() != Q(m.GroupBox2drms)) group2drms_->setTitle(Q(m.GroupBox2drms));
    SetText(labelDgps_, m.LabelDgps);
    SetText(labelStatus_, m.LabelStatus);
    SetText(panel0_, m.StatusPanel0);
    SetText(panel1_, m.StatusPanel1);
    SetText(labelFS_, p.Graph.LabelFS);
    countRange_->setEnabled(m.MenuCountRangeEnabled);
    recount_->setEnabled(m.MenuRecountEnabled);
    if (buttonCopyAve_->isVisibleTo(groupTrue_) != m.ButtonCopyAveVisible)
        buttonCopyAve_->setVisible(m.ButtonCopyAveVisible);
    ShowSettings();
    ShowGraph();
    ApplyFontsAndHints();
}

// The widgets that stand for settings, after a settings reading or a core operation.
void TFormMain::ShowSettings() {
    const Settings& s = program_->Settings;
    if (radioAverage_->isChecked() != s.UseAverage) {
        const QSignalBlocker a(radioAverage_), t(radioTrue_);
        (s.UseAverage ? radioAverage_ : radioTrue_)->setChecked(true);
    }
    if (layoutAverage_ != s.UseAverage) UpdateReferenceLayout();
    SetText(editLatTrue_, s.TrueLat);
    SetText(editLonTrue_, s.TrueLon);
    SetText(editAltTrue_, s.TrueAlt);
    if (checkAutoRange_->isChecked() != s.AutoRange) checkAutoRange_->setChecked(s.AutoRange);
    if (checkMono_->isChecked() != s.Monotone) checkMono_->setChecked(s.Monotone);
    imagebar_->setVisible(!s.Monotone);
    if (comboPixels_->currentText() != Q(s.GPixels)) {
        const QSignalBlocker blocker(comboPixels_);
        comboPixels_->setCurrentText(Q(s.GPixels));
    }
    if (activated_ && (!placed_ || placedFrom_ != QPoint(s.MainLeft, s.MainTop))) PlaceMainWindow();
}

void TFormMain::ShowGraph() {
    const ScatterGraph& graph = program_->Graph;
    if (graph.Revision == shownRevision_ && graph.Monotone == shownMonotone_ &&
        graph.DotSide == shownDotSide_)
        return;
    shownRevision_ = graph.Revision;
    shownMonotone_ = graph.Monotone;
    shownDotSide_ = graph.DotSide;
    image1_->setPixmap(QPixmap::fromImage(DrawScatterGraph(graph)));
    imagebar_->setPixmap(QPixmap::fromImage(DrawColourBar(graph)));
}

void TFormMain::RunBusy(const std::function<void()>& work) {
    BusyScope busy(*this);
    work();
}

void TFormMain::BitBtnRefClick() {
    if (Busy()) return;
    Program& p = *program_;
    const std::optional<OpenChoice> choice =
        AskLogFile(this, OpenDialogFilters(p.Main.OpenDialogFilter), Q(p.Settings.DataPath),
                   p.Settings.OpenFiltIdx);
    if (!choice) return;
    p.Log.LogFileName = S(choice->File);
    p.Settings.DataPath = S(choice->Folder);
    p.Settings.OpenFiltIdx = choice->FilterIndex;
    ClearStatusBar(p);
    BusyScope busy(*this);
    LoadLogFile(p);
}

void TFormMain::FormDropFiles(const QStringList& files) {
    // A drop with no local file (a web link, say) would load the last log again.
    if (Busy() || !activated_ || files.isEmpty()) return;
    std::vector<std::string> paths;
    for (const QString& file : files) paths.push_back(S(file));
    // A dropped INI file first saves the settings with the window where it is now.
    program_->Settings.MainTop = pos().y();
    program_->Settings.MainLeft = pos().x();
    placedFrom_ = QPoint(program_->Settings.MainLeft, program_->Settings.MainTop);
    BusyScope busy(*this);
    HandleDroppedFiles(*program_, paths);
}

void TFormMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!Busy() && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    event->acceptProposedAction();
    FormDropFiles(files);
}

void TFormMain::ReferenceClick(bool useAverage) {
    if (Busy()) {
        ShowSettings(); // the choice stays what the running operation uses
        return;
    }
    program_->Settings.UseAverage = useAverage;
    UpdateReferenceLayout();
    BusyScope busy(*this);
    if (program_->Store.Exists()) CountFixes(*program_);
}

void TFormMain::RecountClick() {
    if (Busy()) return;
    BusyScope busy(*this);
    if (program_->Store.Exists()) CountFixes(*program_);
}

void TFormMain::ButtonCopyAveClick() {
    if (Busy()) return;
    Program& p = *program_;
    p.Settings.TrueLat = p.Main.tCenterEditLatAve;
    p.Settings.TrueLon = p.Main.tCenterEditLonAve;
    p.Settings.TrueAlt = p.Main.tCenterEditAltAve;
    ShowModel();
}

void TFormMain::SpinButton1Click(int step) {
    if (Busy()) return;
    Program& p = *program_;
    p.Settings.RangeIndex = std::clamp(p.Settings.RangeIndex + step, 1, 32);
    BusyScope busy(*this);
    SetGraphRange(p, p.Settings.RangeIndex, true);
}

void TFormMain::CheckBoxMonoClick() {
    if (Busy()) {
        ShowSettings();
        return;
    }
    program_->Settings.Monotone = checkMono_->isChecked();
    imagebar_->setVisible(!program_->Settings.Monotone);
    BusyScope busy(*this);
    RedrawScatterGraph(*program_);
}

void TFormMain::CheckBoxAutoRangeClick() {
    if (Busy()) {
        ShowSettings();
        return;
    }
    Program& p = *program_;
    p.Settings.AutoRange = checkAutoRange_->isChecked();
    {
        BusyScope busy(*this);
        if (p.Settings.AutoRange && p.Store.Exists()) CountFixes(p);
    }
    CheckBoxMonoClick();
}

void TFormMain::ComboBoxPixelsChange() {
    if (Busy()) {
        ShowSettings();
        return;
    }
    Program& p = *program_;
    p.Settings.GPixels = S(comboPixels_->currentText());
    {
        BusyScope busy(*this);
        ReadDotSize(p);
        RedrawScatterGraph(p);
    }
    // The text selection goes once the combo box has finished with the change.
    QTimer::singleShot(0, comboPixels_, [combo = comboPixels_] {
        if (combo->lineEdit()) combo->lineEdit()->deselect();
    });
}

void TFormMain::CopyTextClick() {
    if (Busy()) return;
    CopyTextToClipboard(BuildReportText(*program_));
}

void TFormMain::PrintTextClick() {
    if (Busy()) return;
    PrintReport(BuildReportText(*program_), *printer_, this, platform_);
}

// The window's picture is taken while its input is held back, so that a click during the
// wait cannot start another command.
void TFormMain::CopyFormClick() {
    if (Busy()) return;
    BusyScope busy(*this);
    CaptureWindow(CaptureMode::Copy, this, *printer_, platform_);
}

void TFormMain::PrintFormClick() {
    if (Busy()) return;
    BusyScope busy(*this);
    CaptureWindow(CaptureMode::Print, this, *printer_, platform_);
}

void TFormMain::closeEvent(QCloseEvent* event) {
    Program& p = *program_;
    if (Busy()) {
        // The running load or count ends first; the window closes after it.
        p.Log.AbortRequested = true;
        closeAfterBusy_ = true;
        event->ignore();
        return;
    }
    p.Main.StatusPanel0 = " " + std::string(FileNameOnly(p.IniPath)) + "  saving...";
    ShowModel();
    panel0_->repaint();
    p.Store = FixStore{};
    p.Settings.MainTop = pos().y();
    p.Settings.MainLeft = pos().x();
    placedFrom_ = QPoint(p.Settings.MainLeft, p.Settings.MainTop);
    WriteSettings(p);
    event->accept();
}

bool TFormMain::IsWithinWindow(QObject* object) const {
    for (; object; object = object->parent())
        if (object == this) return true;
    return false;
}

// While a load or a count runs, the user's input to this window (its menus included) is
// dropped, except Esc, which goes on and asks for the abort.
bool TFormMain::BlocksInput(QObject* watched, QEvent* event) const {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) return false;
        break;
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        break;
    default:
        return false;
    }
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    // Dialogs and message boxes opened meanwhile are windows of their own and stay usable.
    QWidget* window = widget->window();
    return window == this || (qobject_cast<QMenu*>(window) && IsWithinWindow(window));
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (Busy() && BlocksInput(watched, event)) return true;

    if (event->type() == QEvent::KeyPress &&
        std::find(enterDiscarders_.begin(), enterDiscarders_.end(), watched) !=
            enterDiscarders_.end() &&
        IsEnterOrLineFeed(static_cast<QKeyEvent*>(event)))
        return true;

    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == group2drms_ ||
            std::find(labels2drms_.begin(), labels2drms_.end(), watched) != labels2drms_.end()) {
            GroupBox2drmsClick();
            return true;
        }
        if (watched == labelDgps_) {
            LabelDgpsClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace fixtally
