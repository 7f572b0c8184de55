#include "ui/main_window/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineF>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "core/fp_error.h"
#include "core/number_text.h"
#include "core/orbit_fp_guard.h"
#include "core/plot_intervals.h"
#include "core/vector_math.h"
#include "core/view_fit.h"
#include "ui/common/color_conversion.h"
#include "ui/common/data_folder.h"
#include "ui/common/error_guard.h"
#include "ui/common/fit_to_text.h"
#include "ui/common/platform_dialogs.h"
#include "ui/common/plot_interval_text.h"
#include "ui/common/view_options.h"
#include "ui/export/export_flow.h"
#include "ui/help/help_window.h"
#include "ui/initial_state/initial_state_dialog.h"
#include "ui/main_window/control_panel.h"
#include "ui/main_window/fitting_label.h"
#include "ui/picture/jpeg_picture.h"
#include "ui/plot/plot_crosses.h"
#include "ui/plot/plot_surface.h"
#include "ui/plot/view_aids.h"
#include "ui/settings_viewer/open_example.h"
#include "ui/settings_viewer/save_settings.h"
#include "ui/settings_viewer/settings_viewer.h"

// Paragraphs apart, as the classic box had them; each is translated whole.
QString aboutText() {
    const QString paragraph = QStringLiteral("\r\n\r\n");
    return MainWindow::tr(
               "Tulvane simulates solutions for the two-body problem in classical mechanics using "
               "Newton's laws.") +
           paragraph + MainWindow::tr("Copyright 2026 The Tulvane developers") + paragraph +
           //: The program's version, then the developers' address.
           MainWindow::tr("Version %1    %2")
               .arg(QStringLiteral("1.0"), QStringLiteral("tulvane-developers@users.noreply.example.org"));
}

QString incompletePictureText() {
    return MainWindow::tr(
        "The picture is incomplete: the file ends before the end of the picture. The part that could be "
        "decoded is shown.");
}

namespace {

const QColor InactiveCaptionColor(191, 205, 219);
const QColor ButtonShadowColor(160, 160, 160);

QFont programFont(int pointSize, bool bold) {
    QFont f;
    f.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

QString xdgDataDir() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base) + QStringLiteral("/Tulvane/");
}

QString findHelpFile() {
    const QString dir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {
        dir + QStringLiteral("/help/index.html"),
        dir + QStringLiteral("/../share/tulvane/help/index.html"),
    };
    for (const QString& c : candidates)
        if (QFileInfo::exists(c)) return QFileInfo(c).canonicalFilePath();
    return candidates.first();
}

struct SpeedItem {
    const char* name;
    const char* caption;
    RunSpeed speed;
    const char* key;  // as the view options keep it
};

constexpr SpeedItem SpeedItems[] = {
    //: View > Run Speed: one plot point every tenth of a second, as the classic program ran.
    {"runSpeedClassicAction", QT_TRANSLATE_NOOP("MainWindow", "Classic"), RunSpeed::Classic, "classic"},
    //: View > Run Speed: ten times the classic pace.
    {"runSpeedTenAction", QT_TRANSLATE_NOOP("MainWindow", "10\u00d7"), RunSpeed::Ten, "10x"},
    //: View > Run Speed: a hundred times the classic pace.
    {"runSpeedHundredAction", QT_TRANSLATE_NOOP("MainWindow", "100\u00d7"), RunSpeed::Hundred, "100x"},
    //: View > Run Speed: as fast as the computer goes.
    {"runSpeedFastestAction", QT_TRANSLATE_NOOP("MainWindow", "Fastest"), RunSpeed::Fastest, "fastest"},
};

const char* const RunSpeedKey = "View/RunSpeed";
// The scales (metres per pixel) the zoom buttons and the wheel stay between; Fit goes beyond them.
constexpr Extended MinZoomScale = 1e8L;
constexpr Extended MaxZoomScale = 1e10L;
// Pixels left free round the fitted paths, so the crosses at their ends show whole.
constexpr int FitMargin = 12;
// Where the tool docks stand, as QMainWindow::saveState() gives it, in base 64.
const char* const DocksKey = "View/Docks";

// A decode can take a second or more on the window's own thread; the cursor says so meanwhile, and comes
// back also when the decode fails.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

MainWindow::MainWindow(SimRecords& records, PlatformDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), r_(records), dialogs_(dialogs), session_(records) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Tulvane"));
    setFont(programFont(8, true));
    surface_ = new PlotSurface(this);
    surface_->setObjectName(QStringLiteral("PlotSurface"));
    surface_->onMousePress = [this](Qt::MouseButton b, int x, int y) {
        handle([=, this] { plotMousePress(b, x, y); });
    };
    surface_->onWheel = [this](int x, int y, int notches) {
        handle([=, this] { wheelZoom(x, y, notches); });
    };
    surface_->onMouseMove = [this](int x, int y) { handle([=, this] { plotMouseMove(x, y); }); };
    surface_->onCursorEnter = [this](int x, int y) {
        handle([=, this] { plotMousePress(Qt::LeftButton, x, y); });
    };
    surface_->onCursorSpace = [this](int x, int y) { handle([=, this] { pickPosition(x, y); }); };
    surface_->onMouseRelease = [this](int x, int y) { handle([=, this] { plotMouseRelease(x, y); }); };
    setCentralWidget(surface_);
    wheelMerge_ = new QTimer(this);
    wheelMerge_->setSingleShot(true);
    wheelMerge_->setInterval(WheelMergeMs);
    connect(wheelMerge_, &QTimer::timeout, this, [this] { handle([this] { zoomAboutPointer(); }); });
    resize(810, 537 + menuBar()->sizeHint().height());
    session_.setDecimalSeparator(QLocale().decimalPoint().toStdString());
    crosses_ = std::make_unique<PlotCrosses>(r_, *surface_);
    controller_ = new RunController(session_, *crosses_, this);
    connect(controller_, &RunController::plotPointShown, this, &MainWindow::showPlotPoint);
    connect(controller_, &RunController::replayFinished, this, &MainWindow::replayDone);
    connect(controller_, &RunController::failed, this, &MainWindow::runFailed);
    undoStack_ = new QUndoStack(this);
    r_.settingsChanged = [this] { settingsWereChanged(); };
    viewAids_ = new ViewAids(session_, *surface_, this);
    exports_ = new ExportFlow(dialogs_, session_, this);
    buildPanel();
    buildMenus();
    initialize();
    // Docks added later find their remembered place through restoreDockWidget().
    restoreState(QByteArray::fromBase64(ViewOptions::text(QLatin1String(DocksKey)).toLatin1()));
}

MainWindow::~MainWindow() {
    r_.settingsChanged = nullptr;
    // The stack empties itself as it goes, after the menus' actions have gone.
    disconnect(undoStack_, nullptr, this, nullptr);
    delete helpWindow_;
}

void MainWindow::buildPanel() {
    controlPanel = new ControlPanel(surface_);
    controlPanel->setObjectName(QStringLiteral("controlPanel"));
    controlPanel->setGeometry(8, 336, 81, 145);
    controlPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    controlPanel->setLineWidth(1);
    controlPanel->setAutoFillBackground(true);
    QPalette pal = controlPanel->palette();
    pal.setColor(QPalette::Window, InactiveCaptionColor);
    // With its own background the panel takes its own text colour too: a dark theme's light text would
    // hardly show on it.
    pal.setColor(QPalette::WindowText, Qt::black);
    controlPanel->setPalette(pal);
    controlPanel->onDrop = [this](const QPoint& p) { handle([=, this] { dropPanel(p.x(), p.y()); }); };

    auto label = [this](const char* name, const QString& text, QRect geometry) {
        auto* l = new QLabel(text, controlPanel);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(geometry);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    auto button = [this](const char* name, const QString& text, QRect geometry) {
        auto* b = new QPushButton(text, controlPanel);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(geometry);
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };

    //: The run state on the control panel, above the Run button; also Running and Paused.
    runStateLabel = label("runStateLabel", tr("Ready", "run state"), {10, 6, 55, 13});
    runStateLabel->setAutoFillBackground(true);
    QPalette lp = runStateLabel->palette();
    lp.setColor(QPalette::Window, ButtonShadowColor);
    lp.setColor(QPalette::WindowText, Qt::red);
    runStateLabel->setPalette(lp);
    //: The control panel's button that starts or continues the run.
    runButton = button("runButton", tr("Run", "button"), {10, 24, 55, 25});
    //: The control panel's button that holds the run still.
    pauseButton = button("pauseButton", tr("Pause", "button"), {10, 52, 55, 25});
    //: The control panel's button that ends a paused run and clears the plot.
    resetButton = button("resetButton", tr("Reset", "button"), {10, 80, 55, 25});
    // A run of millions of days must still show every digit.
    elapsedLabel = new FittingLabel(zeroDaysText() + QLatin1Char(' '), controlPanel);
    elapsedLabel->setObjectName(QStringLiteral("elapsedLabel"));
    elapsedLabel->setGeometry(3, 107, 72, 13);
    elapsedLabel->setAlignment(Qt::AlignCenter);
    elapsedUnitLabel = label("elapsedUnitLabel", elapsedUnitText(), {24, 122, 30, 13});
    zoomOutButton = button("zoomOutButton", QStringLiteral("-"), {2, 122, 16, 16});
    zoomInButton = button("zoomInButton", QStringLiteral("+"), {60, 122, 16, 16});
    zoomOutButton->setAccessibleName(tr("Zoom out"));
    zoomInButton->setAccessibleName(tr("Zoom in"));
    //: The accessible name of the number of simulated days on the control panel.
    elapsedLabel->setAccessibleName(tr("Elapsed days"));
    // The state itself is the label's name, so that a screen reader hears each new one (QLabel announces a
    // new text as a new name only while no name is set); what the label is goes in its description.
    runStateLabel->setAccessibleDescription(tr("Run state"));

    for (QPushButton* b : {runButton, pauseButton, resetButton})
        connect(b, &QPushButton::clicked, this, [this, b] { handle([=, this] { controlRun(b); }); });
    for (QPushButton* b : {zoomOutButton, zoomInButton})
        connect(b, &QPushButton::clicked, this, [this, b] { handle([=, this] { zoom(b); }); });

    // A button's click does nothing while it is disabled, so neither does its key.
    runPauseAction = keyAction("runPauseAction", {Qt::Key_F5},
                               [this] { (runButton->isEnabled() ? runButton : pauseButton)->click(); });
    resetAction = keyAction("resetAction", {Qt::CTRL | Qt::Key_R}, [this] { resetButton->click(); });
    zoomInAction = keyAction("zoomInAction", {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal},
                             [this] { zoomInButton->click(); });
    zoomOutAction =
        keyAction("zoomOutAction", {Qt::CTRL | Qt::Key_Minus}, [this] { zoomOutButton->click(); });
    const auto tip = [](QPushButton* b, const QString& what, QAction* a) {
        //: A button's tool tip: what it does, then its key, "Run (F5)".
        b->setToolTip(tr("%1 (%2)", "tool tip").arg(what, a->shortcut().toString(QKeySequence::NativeText)));
    };
    tip(runButton, tr("Run", "button"), runPauseAction);
    tip(pauseButton, tr("Pause", "button"), runPauseAction);
    tip(resetButton, tr("Reset", "button"), resetAction);
    tip(zoomInButton, tr("Zoom in"), zoomInAction);
    tip(zoomOutButton, tr("Zoom out"), zoomOutAction);

    // The run states take turns in one label, which keeps room for the longest.
    reserveTexts(runStateLabel,
                 {tr("Ready", "run state"), tr("Running", "run state"), tr("Paused", "run state")});
    buildPanelKeys();
    fitToText(controlPanel);
}

void MainWindow::bindProgramKeys(QAction* action, const QList<QKeySequence>& keys) {
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::ApplicationShortcut);
}

QAction* MainWindow::keyAction(const char* name, const QList<QKeySequence>& keys,
                               const std::function<void()>& trigger) {
    auto* a = new QAction(this);
    a->setObjectName(QString::fromLatin1(name));
    bindProgramKeys(a, keys);
    addAction(a);
    connect(a, &QAction::triggered, this, trigger);
    return a;
}

void MainWindow::buildMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, handler, a] { handle([handler, a] { handler(a); }); });
        return a;
    };

    fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    saveSettingsAction =
        item(fileMenu, "saveSettingsAction", tr("&Save Settings"), [this](QAction*) { saveSettings(); });
    bindProgramKeys(saveSettingsAction, {Qt::CTRL | Qt::Key_S});
    openExampleAction =
        item(fileMenu, "openExampleAction", tr("Open &Example..."), [this](QAction*) { openExample(); });
    exportPictureAction = item(fileMenu, "exportPictureAction", tr("Export &Picture..."),
                               [this](QAction*) { exportPicture(); });
    bindProgramKeys(exportPictureAction, {Qt::CTRL | Qt::Key_E});
    //: Writes the run's plot points to a CSV file.
    exportTrackAction =
        item(fileMenu, "exportTrackAction", tr("Export &Track..."), [this](QAction*) { exportTrack(); });
    fileMenu->addAction(exports_->captionAction());
    exitAction = item(fileMenu, "exitAction", tr("E&xit"), [this](QAction*) { requestExit(); });
    bindProgramKeys(exitAction, {Qt::CTRL | Qt::Key_Q});

    //: The menu of the run's settings: the bodies' starts, colours, background and plot interval.
    settingsMenu = menuBar()->addMenu(tr("&Settings"));
    settingsMenu->setObjectName(QStringLiteral("settingsMenu"));
    //: Opens the Initial State dialog on Body A: its start position, mass, speed and direction.
    bodyAInitialStateAction = item(settingsMenu, "bodyAInitialStateAction", tr("Body A Initial State"),
                                   [this](QAction* a) { openInitialState(a); });
    bodyBInitialStateAction = item(settingsMenu, "bodyBInitialStateAction", tr("Body B Initial State"),
                                   [this](QAction* a) { openInitialState(a); });
    bodyAColorAction =
        item(settingsMenu, "bodyAColorAction", tr("Body A Color"), [this](QAction*) { chooseBodyAColor(); });
    bodyBColorAction =
        item(settingsMenu, "bodyBColorAction", tr("Body B Color"), [this](QAction*) { chooseBodyBColor(); });
    backgroundColorAction = item(settingsMenu, "backgroundColorAction", tr("Set Background Color"),
                                 [this](QAction*) { chooseBackgroundColor(); });
    //: Chooses a JPEG picture to stretch over the plot's background.
    backgroundPictureAction = item(settingsMenu, "backgroundPictureAction", tr("Use JPEG Background"),
                                   [this](QAction*) { chooseBackgroundPicture(); });
    //: The simulated time between two plotted points.
    plotIntervalMenu = settingsMenu->addMenu(tr("Plot Interval"));
    plotIntervalMenu->setObjectName(QStringLiteral("plotIntervalMenu"));
    //: The Plot Interval menu's first line, a caption that cannot be chosen.
    plotIntervalCaption = plotIntervalMenu->addAction(tr("Simulated time between plots"));
    plotIntervalCaption->setObjectName(QStringLiteral("plotIntervalCaption"));
    plotIntervalCaption->setEnabled(false);
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (std::size_t i = 0; i < std::size(PlotIntervals); ++i) {
        QAction* a = item(plotIntervalMenu, PlotIntervals[i].name, plotIntervalText(i),
                          [this](QAction* action) { choosePlotInterval(action); });
        a->setCheckable(true);
        group->addAction(a);
        plotIntervalActions.push_back(a);
        if (PlotIntervals[i].seconds == 86400) a->setChecked(true);
    }
    settingsMenu->addSeparator();
    //: Puts back the built-in start of both bodies: positions, masses, speeds and directions.
    restoreDefaultStartAction = item(settingsMenu, "restoreDefaultStartAction", tr("Restore Default Start"),
                                     [this](QAction*) { restoreDefaultStart(); });
    //: Settings > Undo: takes back the last change of the settings.
    undoAction =
        item(settingsMenu, "undoAction", tr("Undo", "settings change"), [this](QAction*) { undo(); });
    bindProgramKeys(undoAction, {QKeySequence::Undo});
    redoAction =
        item(settingsMenu, "redoAction", tr("Redo", "settings change"), [this](QAction*) { redo(); });
    bindProgramKeys(redoAction, {Qt::CTRL | Qt::SHIFT | Qt::Key_Z});
    connect(undoStack_, &QUndoStack::indexChanged, this, [this] { updateUndoActions(); });

    viewMenu = menuBar()->addMenu(tr("&View"));
    viewMenu->setObjectName(QStringLiteral("viewMenu"));
    viewMenu->setToolTipsVisible(true);
    //: Shows the current settings in the settings viewer.
    currentSettingsAction = item(viewMenu, "currentSettingsAction", tr("Current Settings"),
                                 [this](QAction*) { viewCurrentSettings(); });
    //: Browses the records of a settings file. The space before .TV0 is the classic text's.
    savedSettingsAction = item(viewMenu, "savedSettingsAction", tr("Saved Settings ( .TV0 File)"),
                               [this](QAction*) { viewSavedSettings(); });
    savedSettingsAction->setToolTip(tr(".TV0 files contain saved settings records."));
    savedSettingsAction->setStatusTip(savedSettingsAction->toolTip());
    viewMenu->addSeparator();
    // Opened and closed from every window of the program, in every run state.
    //: The window of the run's exact orbit and its energy and angular-momentum drift.
    orbitReadoutAction = viewMenu->addAction(tr("Orbit Readout"));
    orbitReadoutAction->setObjectName(QStringLiteral("orbitReadoutAction"));
    orbitReadoutAction->setCheckable(true);
    bindProgramKeys(orbitReadoutAction, {Qt::Key_F3});
    //: The window that compares the runs at every plot interval with the exact orbit.
    accuracyLabAction = viewMenu->addAction(tr("Accuracy Lab"));
    accuracyLabAction->setObjectName(QStringLiteral("accuracyLabAction"));
    //: The dock of graphs against time: separation, speed and energy drift.
    graphsAction = viewMenu->addAction(tr("Graphs"));
    graphsAction->setObjectName(QStringLiteral("graphsAction"));
    graphsAction->setCheckable(true);
    const auto viewAid = [&](const char* name, const QString& caption, bool on, void (ViewAids::*set)(bool)) {
        // std::invoke, not (viewAids_->*set)(...): under -fsanitize=vptr GCC 12 evaluates a member reached
        // through a lambda's this in only one arm of the member-pointer call, and the other reads garbage.
        QAction* a = item(viewMenu, name, caption,
                          [this, set](QAction* action) { std::invoke(set, viewAids_, action->isChecked()); });
        a->setCheckable(true);
        a->setChecked(on);
        return a;
    };
    //: Draws the exact two-body orbit over the plot, dashed.
    exactPathAction =
        viewAid("exactPathAction", tr("Exact Path"), viewAids_->options().exactPath, &ViewAids::setExactPath);
    scaleBarAction =
        viewAid("scaleBarAction", tr("Scale Bar"), viewAids_->options().scaleBar, &ViewAids::setScaleBar);
    //: Arrows at the plot's edge towards a body outside the view, with its distance.
    offscreenMarkersAction = viewAid("offscreenMarkersAction", tr("Off-screen Markers"),
                                     viewAids_->options().offscreenMarkers, &ViewAids::setOffscreenMarkers);
    //: Rings at the bodies' start positions and arrows for their start velocities, to drag.
    startMarkersAction = viewAid("startMarkersAction", tr("Start Markers"), viewAids_->options().startMarkers,
                                 &ViewAids::setStartMarkers);
    //: Zooms and centres the plot so that both orbits show whole.
    fitBothOrbitsAction =
        item(viewMenu, "fitBothOrbitsAction", tr("Fit Both Orbits"), [this](QAction*) { fitBothOrbits(); });
    bindProgramKeys(fitBothOrbitsAction, {Qt::CTRL | Qt::Key_0});

    buildRunSpeedMenu();

    helpMenu = menuBar()->addMenu(tr("&Help"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    //: Help > Contents: opens the help pages at their contents page.
    helpContentsAction =
        item(helpMenu, "helpContentsAction", tr("&Contents", "help"), [this](QAction*) { showHelp(); });
    bindProgramKeys(helpContentsAction, {Qt::Key_F1});
    aboutAction = item(helpMenu, "aboutAction", tr("&About"), [this](QAction*) { showAbout(); });
}

void MainWindow::buildRunSpeedMenu() {
    //: How fast a run is shown; only the pacing changes, never the points.
    runSpeedMenu = viewMenu->addMenu(tr("Run Speed"));
    runSpeedMenu->setObjectName(QStringLiteral("runSpeedMenu"));
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    const QString remembered = ViewOptions::text(QLatin1String(RunSpeedKey));
    for (const SpeedItem& it : SpeedItems) {
        QAction* a = runSpeedMenu->addAction(tr(it.caption));
        a->setObjectName(QString::fromLatin1(it.name));
        a->setCheckable(true);
        group->addAction(a);
        runSpeedActions.push_back(a);
        const RunSpeed speed = it.speed;
        const QString key = QString::fromLatin1(it.key);
        connect(a, &QAction::triggered, this, [this, speed, key] {
            controller_->setSpeed(speed);
            ViewOptions::setText(QLatin1String(RunSpeedKey), key);
        });
        if (remembered == key) {
            a->setChecked(true);
            controller_->setSpeed(speed);
        }
    }
    if (!group->checkedAction()) runSpeedActions.front()->setChecked(true);
}

void MainWindow::exportTrack() {
    if (!exportTrackAction->isEnabled() || keptPoints().empty()) return;
    exports_->exportTrack(elapsedLabel->text());
}

void MainWindow::initialize() {
    helpFile_ = findHelpFile();
    shippedExamples_ = FindShippedExamples();
    surface_->forceWindowColor(colorOf(r_.CurSettings.CColor()));
    usesPicture_ = false;
    runStateLabel->setText(tr("Ready", "run state"));
    session_.makeReady();
    applyRunState(Ready);
    dataDir_ = xdgDataDir();
    // The first save should land somewhere sensible, so the folder is made when it is missing.
    QDir().mkpath(dataDir_);
    elapsedLabel->setText(zeroDaysText());
    elapsedUnitLabel->setText(elapsedUnitText());
}

void MainWindow::applyRunState(std::int32_t state) {
    settingsMenu->menuAction()->setEnabled(state == Ready);
    // The View menu stays open to the extras; its two classic items keep the classic rule.
    currentSettingsAction->setEnabled(state == Ready);
    savedSettingsAction->setEnabled(state == Ready);
    // It opens the same viewer, so it follows the same rule.
    openExampleAction->setEnabled(state == Ready);
    runButton->setEnabled(state != Running);
    resetButton->setEnabled(state == Paused);
    pauseButton->setEnabled(state == Running);
    viewAids_->refresh();
    emit runStateChanged(state);
    // A run paused or under way has a picture worth keeping; Ready shows only the background.
    exportPictureAction->setEnabled(state != Ready);
    exportTrackAction->setEnabled(state != Ready);
    fitBothOrbitsAction->setEnabled(state != Running);
    updateUndoActions();
    if (state != Ready && drag_) endDrag(false, 0, 0);
}

void MainWindow::showRunState(const QString& label) {
    runStateLabel->setText(label);
    const std::int32_t state = r_.SimState;
    applyRunState(state);
    // A disabled button hands the focus on along the chain (Pause to Reset); one more Space must go on
    // with the run, never reset it.
    (state == Running ? pauseButton : runButton)->setFocus(Qt::OtherFocusReason);
}

QString MainWindow::elapsedUnitText() {
    //: Under the number of simulated days on the control panel.
    return tr("days", "elapsed time");
}

QString MainWindow::zeroDaysText() const {
    return QString::fromStdString(ElapsedDaysText(0, QLocale().decimalPoint().toStdString()));
}

void MainWindow::buildPanelKeys() {
    // Shortcuts, so that they reach the window wherever the focus rests in it: a focused button would take
    // Left and Right to move the focus, the timeline to move its mark.
    const std::pair<Qt::Key, QPoint> moves[] = {
        {Qt::Key_Left, {-1, 0}}, {Qt::Key_Right, {1, 0}}, {Qt::Key_Up, {0, -1}}, {Qt::Key_Down, {0, 1}}};
    for (const auto& [key, step] : moves)
        for (const bool shift : {false, true}) {
            auto* a = new QAction(this);
            a->setShortcut(
                QKeyCombination(shift ? Qt::AltModifier | Qt::ShiftModifier : Qt::AltModifier, key));
            addAction(a);
            connect(a, &QAction::triggered, this, [this, d = step * (shift ? 10 : 1)] {
                controlPanel->moveInside(controlPanel->pos() + d);
                panelMovedByKeys_ = true;
            });
        }
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
    // One drop for the whole move: a drop repaints and, while paused, replays.
    if (event->key() == Qt::Key_Alt && std::exchange(panelMovedByKeys_, false)) {
        const QPoint at = controlPanel->pos();
        handle([=, this] { dropPanel(at.x(), at.y()); });
        return;
    }
    QMainWindow::keyReleaseEvent(event);
}

void MainWindow::handle(const std::function<void()>& handler) {
    ++handlerDepth_;
    guarded(dialogs_, this, handler);
    --handlerDepth_;
    if (session_.exitDue() && handlerDepth_ == 0) endProgram();
}

void MainWindow::controlRun(QObject* sender) {
    if (sender == pauseButton && r_.SimState == Running) {
        //: The run state on the control panel while a run stands still.
        if (session_.pause()) showRunState(tr("Paused", "run state"));
    } else if (sender == resetButton && r_.SimState == Paused) {
        if (!session_.reset()) return;
        repaintBackground();
        showRunState(tr("Ready", "run state"));
        elapsedLabel->setText(zeroDaysText());
        elapsedUnitLabel->setText(elapsedUnitText());
    } else if (sender == runButton && r_.SimState == Ready) {
        session_.start();
        viewAids_->runStarted();
        surface_->setWindowColor(colorOf(r_.CurSettings.CColor()));
        //: The run state on the control panel while a run goes on.
        showRunState(tr("Running", "run state"));
        emit runStarted(r_.CurSettings);
        controller_->kick();
    } else if (sender == runButton && r_.SimState == Paused) {
        if (!session_.resume()) return;
        showRunState(tr("Running", "run state"));
        controller_->kick();
    }
}

void MainWindow::showPlotPoint(const QString& daysText) {
    elapsedLabel->setText(daysText);
    elapsedUnitLabel->setText(elapsedUnitText());
    emit plotPointDrawn(daysText);
}

void MainWindow::replayDone() {
    viewAids_->replayEnded();
    emit replayFinished();
    if (session_.exitDue() && handlerDepth_ == 0) endProgram();
}

void MainWindow::runFailed(const std::exception_ptr& error) {
    if (r_.SimState == Paused) viewAids_->replayEnded();
    // Reported as the handler that started the run would have reported it.
    handle([error] { std::rethrow_exception(error); });
}

void MainWindow::repaintBackground() {
    if (usesPicture_)
        surface_->stretchDraw(backgroundPicture_);
    else
        surface_->forceWindowColor(colorOf(r_.CurSettings.CColor()));
}

void MainWindow::drawBody(const TVector& NewPos, Body body) {
    crosses_->drawBody(NewPos, body);
}

void MainWindow::clearPlot() {
    controlPanel->hide();
    if (usesPicture_)
        surface_->stretchDraw(backgroundPicture_);
    else
        surface_->fill(colorOf(r_.CurSettings.CColor()));
    controlPanel->show();
}

void MainWindow::redrawFromKeptPoints() {
    crosses_->drawKeptPoints(keptPoints(), r_.PlotCount);
    session_.restoreFromKeptPoints();
    viewAids_->keptPointsRedrawn();
    // For the windows that follow the run, this ends like the replay it stands for.
    emit replayFinished();
}

void MainWindow::replay() {
    if (!session_.replay()) return;
    viewAids_->replayStarted();
    controller_->kick();
}

void MainWindow::changeSettings(const std::function<void(TState&)>& change) {
    TState s = r_.CurSettings;
    change(s);
    r_.setCurSettings(s);
}

void MainWindow::zoom(QObject* sender) {
    if (r_.SimState != Paused || session_.active()) return;
    if (sender == zoomOutButton) {
        const Extended t = r_.CurSettings.sf() * 2;
        if (t > MaxZoomScale) return;
        changeSettings([t](TState& s) { s.setSf(t); });
    }
    if (sender == zoomInButton) {
        const Extended t = r_.CurSettings.sf() / 2;
        if (t < MinZoomScale) return;
        changeSettings([t](TState& s) { s.setSf(t); });
    }
    clearPlot();
    lastZoomUsedKeptPoints_ = keptPointsMatchReplay();
    if (!lastZoomUsedKeptPoints_) return replay();
    try {
        redrawFromKeptPoints();
    } catch (...) {
        // A cross that cannot be placed fails the replay at the same point; let it say so and leave what a
        // failed replay leaves.
        lastZoomUsedKeptPoints_ = false;
        clearPlot();
        replay();
    }
}

void MainWindow::plotMousePress(Qt::MouseButton button, int X, int Y) {
    if (button == Qt::RightButton) pickPosition(X, Y);
    const bool dialogOpen = initialStateDialog_ && initialStateDialog_->isVisible();
    if (button == Qt::LeftButton && r_.SimState == Ready && viewAids_->options().startMarkers &&
        !dialogOpen && !drag_) {
        const StartMarks marks = startMarksFor(r_.CurSettings);
        const QPointF at(X, Y);
        // The nearest ring or arrow head within reach: a slow body's head sits close to its ring.
        qreal nearest = 8;
        for (int body = 0; body < 2; ++body) {
            if (!marks.ring[body]) continue;
            const QPointF ring(*marks.ring[body]);
            for (const bool arrow : {false, true}) {
                if (arrow && !marks.head[body]) continue;
                const qreal distance = QLineF(at, arrow ? *marks.head[body] : ring).length();
                if (distance > nearest) continue;
                nearest = distance;
                drag_ = StartDrag{body, arrow, QPoint(X, Y), false, ring, marks.kmPerSecondPerScale};
            }
        }
        if (drag_) qApp->installEventFilter(this);
    }
    if (button == Qt::LeftButton && r_.SimState == Paused && !session_.active()) {
        const int cx = surface_->width() / 2;
        const int cy = surface_->height() / 2;
        applyView(r_.CurSettings.sf(), cx - X, cy - Y);
    }
}

void MainWindow::applyView(Extended sf, Extended dx, Extended dy) {
    if (r_.SimState == Paused) clearPlot();
    // Each sum is checked as it is made and nothing is stored before all four pass: an overflow (from a
    // damaged scale or position) is reported without leaving one body moved and the other not.
    clearFpFlags();
    const auto moved = [](Extended p, Extended d, Extended scale) {
        Extended x = p + d * scale;
        pinFpResult(x);
        checkFpFlags();
        return x;
    };
    TVector a = r_.CurSettings.APos();
    TVector b = r_.CurSettings.BPos();
    a.u = moved(a.u, dx, sf);
    a.v = moved(a.v, dy, sf);
    b.u = moved(b.u, dx, sf);
    b.v = moved(b.v, dy, sf);
    const bool sameScale = sf == r_.CurSettings.sf();
    changeSettings([&](TState& s) {
        if (!sameScale) s.setSf(sf);
        s.setAPos(a);
        s.setBPos(b);
    });
    // While Ready the settings change has redrawn the aids already.
    if (r_.SimState == Paused) replay();
}

void MainWindow::wheelZoom(int X, int Y, int notches) {
    if (r_.SimState == Running || session_.active()) return;
    wheelNotches_ += notches;
    wheelAt_ = QPoint(X, Y);
    if (!wheelMerge_->isActive()) wheelMerge_->start();
}

void MainWindow::zoomAboutPointer() {
    const int notches = std::exchange(wheelNotches_, 0);
    if (notches == 0 || r_.SimState == Running || session_.active()) return;
    // The classic buttons' scale steps and limits, one notch at a time.
    const Extended old = r_.CurSettings.sf();
    Extended sf = old;
    for (int i = 0; i < std::abs(notches); ++i) {
        const Extended next = notches > 0 ? sf / 2 : sf * 2;
        if (next < MinZoomScale || next > MaxZoomScale) break;
        sf = next;
    }
    if (sf == old) return;
    // The pointer's pixel at the new scale, then the shift that brings it back under the pointer.
    const Extended ratio = old / sf;
    const Extended dx = static_cast<Extended>(wheelAt_.x()) - std::nearbyint(wheelAt_.x() * ratio);
    const Extended dy = static_cast<Extended>(wheelAt_.y()) - std::nearbyint(wheelAt_.y() * ratio);
    applyView(sf, dx, dy);
}

void MainWindow::setInitialStateDialog(InitialStateDialog* dialog) {
    initialStateDialog_ = dialog;
    if (!dialog) return;
    // The dialog's own extra, among the View menu's other extras.
    viewMenu->insertAction(exactPathAction, dialog->typedValuesAction());
    // While Ready the aids show the dialog's pending values, as the readout does: nothing on the screen then
    // describes two different orbits.
    connect(dialog, &InitialStateDialog::previewChanged, this, [this](const TState& s) {
        if (r_.SimState == Ready) viewAids_->setPreview(s);
    });
    connect(dialog, &InitialStateDialog::previewEnded, this, [this] { viewAids_->setPreview(std::nullopt); });
}

void MainWindow::settingsWereChanged() {
    if (!restoringSettings_ && !(r_.PreviousSettings == r_.CurSettings)) {
        class SettingsStep : public QUndoCommand {
        public:
            SettingsStep(MainWindow& window, const TState& before, const TState& after)
                : window_(window), before_(before), after_(after) {}
            void undo() override { window_.restoreSettings(before_); }
            void redo() override {
                // Pushed after the change was made: the first redo has nothing to do.
                if (std::exchange(pushed_, true)) window_.restoreSettings(after_);
            }

        private:
            MainWindow& window_;
            TState before_, after_;
            bool pushed_ = false;
        };
        undoStack_->push(new SettingsStep(*this, r_.PreviousSettings, r_.CurSettings));
    }
    emit settingsChanged();
    if (viewAids_ && r_.SimState == Ready) viewAids_->refresh();
}

void MainWindow::restoreSettings(const TState& s) {
    const bool intervalChanged = !(s.dT() == r_.CurSettings.dT());
    restoringSettings_ = true;
    r_.setCurSettings(s);
    restoringSettings_ = false;
    // As a click on that interval would: the mark moves to it, when it is one of the menu's.
    if (intervalChanged)
        for (std::size_t i = 0; i < plotIntervalActions.size(); ++i)
            if (PlotIntervals[i].seconds == s.dT()) plotIntervalActions[i]->setChecked(true);
}

void MainWindow::updateUndoActions() {
    const bool ready = r_.SimState == Ready;
    undoAction->setEnabled(ready && undoStack_->canUndo());
    redoAction->setEnabled(ready && undoStack_->canRedo());
    restoreDefaultStartAction->setEnabled(ready);
}

void MainWindow::undo() {
    if (undoAction->isEnabled()) undoStack_->undo();
}

void MainWindow::redo() {
    if (redoAction->isEnabled()) undoStack_->redo();
}

void MainWindow::restoreDefaultStart() {
    if (r_.SimState != Ready) return;
    const TState d = defaultSettings();
    changeSettings([&d](TState& s) {
        s.setAPos(d.APos());
        s.setBPos(d.BPos());
        s.setAMass(d.AMass());
        s.setBMass(d.BMass());
        s.setASpeed(d.ASpeed());
        s.setBSpeed(d.BSpeed());
        s.setADir(d.ADir());
        s.setBDir(d.BDir());
    });
}

TState MainWindow::dragged(int X, int Y) const {
    TState s = r_.CurSettings;
    const StartDrag& d = *drag_;
    OrbitFpGuard guard;
    if (d.arrow) {
        const std::optional<std::pair<Extended, Extended>> v =
            arrowVelocity(d.ring, QPointF(X, Y), d.kmPerSecondPerScale);
        if (!v) return s;
        if (d.body == 0) {
            s.setASpeed(v->first);
            s.setADir(v->second);
        } else {
            s.setBSpeed(v->first);
            s.setBDir(v->second);
        }
    } else {
        // Exactly what a right-button pick at (X, Y) stores.
        const Extended sf = s.sf();
        const TVector p{static_cast<Extended>(X) * sf, static_cast<Extended>(Y) * sf};
        if (d.body == 0)
            s.setAPos(p);
        else
            s.setBPos(p);
    }
    return s;
}

void MainWindow::plotMouseMove(int X, int Y) {
    if (!drag_) return;
    if (!drag_->moved &&
        (QPoint(X, Y) - drag_->pressedAt).manhattanLength() < QApplication::startDragDistance())
        return;
    drag_->moved = true;
    const TState preview = dragged(X, Y);
    viewAids_->setPreview(preview);
    emit startPreviewed(preview);
}

void MainWindow::plotMouseRelease(int X, int Y) {
    if (drag_) endDrag(drag_->moved, X, Y);
}

void MainWindow::endDrag(bool apply, int X, int Y) {
    const TState result = apply ? dragged(X, Y) : r_.CurSettings;
    drag_.reset();
    qApp->removeEventFilter(this);
    viewAids_->setPreview(std::nullopt);
    emit startPreviewEnded();
    if (apply && !(result == r_.CurSettings)) r_.setCurSettings(result);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (drag_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        endDrag(false, 0, 0);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fitBothOrbits() {
    if (!fitBothOrbitsAction->isEnabled() || session_.active()) return;
    const Extended elapsed = r_.SimState == Paused ? viewAids_->elapsed() : 0;
    const std::optional<ViewFit> fit =
        ::fitBothOrbits(r_.CurSettings, elapsed, surface_->width(), surface_->height(), FitMargin);
    if (!fit) return;
    applyView(fit->sf, fit->dx, fit->dy);
}

void MainWindow::dropPanel(int X, int Y) {
    // A drop near an edge would leave only a sliver of the panel in view.
    controlPanel->moveInside(QPoint(X, Y));
    viewAids_->refresh();
    if (usesPicture_) {
        surface_->stretchDraw(backgroundPicture_);
        if (r_.SimState == Paused) replay();
    }
}

void MainWindow::chooseBodyAColor() {
    if (!dialogs_.pickColor(this, colorPick_)) return;
    changeSettings([this](TState& s) { s.setAColor(tColorOf(colorPick_)); });
}

void MainWindow::chooseBodyBColor() {
    if (!dialogs_.pickColor(this, colorPick_)) return;
    changeSettings([this](TState& s) { s.setBColor(tColorOf(colorPick_)); });
}

void MainWindow::chooseBackgroundColor() {
    usesPicture_ = false;
    if (!dialogs_.pickColor(this, colorPick_)) return;
    changeSettings([this](TState& s) { s.setCColor(tColorOf(colorPick_)); });
    surface_->forceWindowColor(colorPick_);
}

void MainWindow::usePicture(const QImage& picture) {
    backgroundPicture_ = picture;
    if (backgroundPicture_.isNull()) return;
    surface_->stretchDraw(backgroundPicture_);
    usesPicture_ = true;
}

void MainWindow::choosePlotInterval(QObject* sender) {
    for (std::size_t i = 0; i < plotIntervalActions.size(); ++i) {
        if (sender != plotIntervalActions[i]) continue;
        const Extended seconds = PlotIntervals[i].seconds;
        changeSettings([seconds](TState& s) { s.setDT(seconds); });
        plotIntervalActions[i]->setChecked(true);
        return;
    }
}

void MainWindow::usePlotInterval(int index) {
    if (r_.SimState != Ready || index < 0 || static_cast<std::size_t>(index) >= plotIntervalActions.size())
        return;
    plotIntervalActions[static_cast<std::size_t>(index)]->trigger();
}

void MainWindow::requestExit() {
    session_.requestExit();
    noticeExitPending();
}

void MainWindow::noticeExitPending() {
    // The run ends the program when it next stands still; until then the plot says so.
    if (session_.exitRequested() && r_.SimState == Running)
        //: Over the plot after Exit during a run: the program ends when the run next pauses.
        viewAids_->setNotice(tr("Ends at the next Pause"));
}

void MainWindow::addToolDock(QDockWidget* dock) {
    if (!restoreDockWidget(dock)) {
        addDockWidget(Qt::RightDockWidgetArea, dock);
        // At first no wider than a third of the screen, so the plot keeps most of it; the edge can be
        // dragged.
        const QScreen* shown = screen();
        const int room = shown ? shown->availableGeometry().width() / 3 : 420;
        resizeDocks({dock}, {std::min(dock->widget()->sizeHint().width(), room)}, Qt::Horizontal);
    }
    hasDocks_ = true;
    connect(dock, &QDockWidget::dockLocationChanged, this, [this] { rememberDocks(); });
    connect(dock, &QDockWidget::topLevelChanged, this, [this] { rememberDocks(); });
}

void MainWindow::rememberDocks() {
    if (!hasDocks_) return;
    const QString state = QString::fromLatin1(saveState().toBase64());
    if (state != ViewOptions::text(QLatin1String(DocksKey)))
        ViewOptions::setText(QLatin1String(DocksKey), state);
}

void MainWindow::endProgram() {
    if (ending_) return;
    if (exports_->writing()) {
        exports_->endAfterWrites([this] { endProgram(); });
        return;
    }
    ending_ = true;
    // A dock's width is changed by dragging its edge, which tells nobody: it is taken at the end.
    rememberDocks();
    hide();
    if (helpWindow_) helpWindow_->close();
    if (onQuit)
        onQuit();
    else
        QCoreApplication::quit();
}

void MainWindow::openInitialState(QObject* sender) {
    if (!initialStateDialog_) return;
    if (sender == bodyAInitialStateAction) initialStateDialog_->editBody(BodyA);
    if (sender == bodyBInitialStateAction) initialStateDialog_->editBody(BodyB);
}

void MainWindow::pickPosition(int X, int Y) {
    if (initialStateDialog_) initialStateDialog_->pickPosition(X, Y);
}

void MainWindow::saveSettings() {
    SaveSettings(r_, dialogs_, this, dataDir_);
}

void MainWindow::exportPicture() {
    if (!exportPictureAction->isEnabled()) return;
    // What the screen shows, the view aids included.
    exports_->exportPicture(surface_->renderWithOverlays(), elapsedLabel->text());
}

void MainWindow::chooseBackgroundPicture() {
    PlatformDialogs::FileOptions options;
    //: The title of the file dialog of Settings > Use JPEG Background.
    options.title = tr("Selecting JPEG Background");
    // File names on Linux are case-sensitive: the patterns take the extensions in any letter case.
    //: The file dialog's filter: keep the patterns in brackets as they are.
    options.nameFilter = tr("JPEG Graphics (*.[jJ][pP][gG] *.[jJ][pP][eE][gG])");
    options.hideFilterPatterns = true;
    options.initialDir = DataFolder::classicStartFolder(dataDir_);
    options.mustExist = true;
    QString fileName;
    if (!dialogs_.openFile(this, options, fileName)) return;
    JpegTarget target;
    // The picture is stretched over the plot surface, which can grow to the whole screen.
    target.cover = (screen() ? screen()->size() : QSize()).expandedTo(surface_->size());
    // The picture on screen stays while the new one loads, and stays if it fails.
    target.keptBytes = static_cast<std::uint64_t>(backgroundPicture_.sizeInBytes());
    JpegPicture picture;
    {
        BusyCursor busy;
        picture = loadJpegPicture(fileName, target);
    }
    usePicture(picture.image);
    if (!picture.incomplete) return;
    surface_->flush(true);
    dialogs_.showMessage(this, incompletePictureText());
}

void MainWindow::viewCurrentSettings() {
    if (settingsViewer_) settingsViewer_->viewCurrentSettings();
}

void MainWindow::viewSavedSettings() {
    if (settingsViewer_) settingsViewer_->viewSavedSettings();
}

void MainWindow::openExample() {
    if (settingsViewer_ && openExampleAction->isEnabled())
        OpenExample(*settingsViewer_, dialogs_, this, shippedExamples_, dataDir_);
}

void MainWindow::openSettingsFile(const QString& path, std::int64_t record) {
    if (!settingsViewer_) return;
    handle([this, &path, record] {
        if (record == 0) {
            settingsViewer_->viewSettingsFile(path);
        } else {
            settingsViewer_->makeFileRecordCurrent(path, record);
        }
    });
}

void MainWindow::showHelp() {
    if (!QFileInfo::exists(helpFile_)) return;
    if (!helpWindow_) helpWindow_ = new HelpWindow(QUrl::fromLocalFile(helpFile_));
    helpWindow_->showContents();
}

void MainWindow::showAbout() {
    //: Help > About: the folder where the settings files are kept.
    dialogs_.showMessage(this,
                         aboutText() + QStringLiteral("\r\n\r\n") + tr("Data directory: %1").arg(dataDir_));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // While a run is under way the request waits for it to stand still; the window stays usable.
    event->ignore();
    session_.requestExit();
    noticeExitPending();
    if (session_.exitDue() && handlerDepth_ == 0) endProgram();
}
