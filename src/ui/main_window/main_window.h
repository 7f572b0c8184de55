#pragma once

#include <QImage>
#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/plot_track.h"
#include "core/run_session.h"
#include "core/sim_records.h"
#include "ui/main_window/run_controller.h"

class ControlPanel;
class ExportFlow;
class HelpWindow;
class PlatformDialogs;
class PlotCrosses;
class PlotSurface;
class QAction;
class QActionGroup;
class QTimer;
class QUndoStack;
class QDockWidget;
class QLabel;
class QMenu;
class QPushButton;
class InitialStateDialog;
class SettingsViewer;
class ViewAids;

// Help > About's text, in the user's language.
QString aboutText();
// Told after an incomplete background picture has been drawn.
QString incompletePictureText();

// The main window: the plot surface with its crosses, the control panel and the menus. The run itself is a
// session the window drives from its event loop.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(SimRecords& records, PlatformDialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Collaborators created after the main window at start-up.
    void setInitialStateDialog(InitialStateDialog* dialog);
    void setSettingsViewer(SettingsViewer* viewer) { settingsViewer_ = viewer; }

    // Handlers: the run buttons (the sender tells Run, Pause and Reset apart), zoom, the plot and the menus.
    void initialize();
    void controlRun(QObject* sender);
    void zoom(QObject* sender);
    // The mouse wheel over the plot, in Ready and Paused: each notch away from the user halves the scale
    // about the pointer, each notch towards it doubles it. Notches within WheelMergeMs make one zoom.
    void wheelZoom(int X, int Y, int notches);
    static constexpr int WheelMergeMs = 150;
    // View > Fit Both Orbits: the smallest scale that shows both exact paths whole, centred.
    void fitBothOrbits();
    // Settings > Restore Default Start: the built-in record's positions, masses, speeds and directions.
    void restoreDefaultStart();
    // Settings > Undo and Redo: each change of the current settings is one step, kept whole.
    void undo();
    void redo();
    QUndoStack* undoStack() const { return undoStack_; }

    // With Start Markers on and Ready, the left button drags a body's start ring (its position) or its
    // arrow's head (its speed and direction); Esc during the drag cancels it.
    void plotMouseMove(int X, int Y);
    void plotMouseRelease(int X, int Y);
    bool dragging() const { return drag_.has_value(); }
    void plotMousePress(Qt::MouseButton button, int X, int Y);
    void dropPanel(int X, int Y);
    void openInitialState(QObject* sender);
    void chooseBodyAColor();
    void chooseBodyBColor();
    void chooseBackgroundColor();
    void chooseBackgroundPicture();
    void choosePlotInterval(QObject* sender);
    void saveSettings();
    void openExample();
    void exportPicture();
    void exportTrack();
    void viewCurrentSettings();
    void viewSavedSettings();
    // A settings file named on the command line: record 0 shows it in the viewer at its first record, as
    // View > Saved Settings does once the file is chosen; record n (from 1) makes that record current.
    void openSettingsFile(const QString& path, std::int64_t record = 0);
    void requestExit();
    void showHelp();
    void showAbout();

    // Draws body Body's cross (0 = A, other = B) at NewPos in metres, at the scale and colours of
    // CurSettings.
    void drawBody(const TVector& NewPos, Body body);

    // Gives an action keys that work whichever of the program's non-modal windows has the focus; a modal
    // dialog blocks them, and a disabled action ignores them.
    static void bindProgramKeys(QAction* action, const QList<QKeySequence>& keys);

    // Puts a tool window in a dock at the plot's right, docked or floating and as wide as the remembered
    // layout had it. The plot keeps its scale and origin: the dock hides part of it, and the kept image stays
    // the size of the plot without the dock, so hiding the dock shows the crosses beneath it again.
    void addToolDock(QDockWidget* dock);

    // Puts a decoded picture in force as the background and paints it.
    void usePicture(const QImage& picture);

    // The background repaints and the replay of a paused run.
    void clearPlot();
    void replay();

    // The plot points of the current run, as computed; every replay rebuilds them.
    const PlotTrack& keptPoints() const { return session_.keptPoints(); }
    // The record the kept points were computed from, at the current scale.
    const TState& keptPointsStart() const { return session_.runStart(); }
    // Whether a zoom may redraw from the kept points instead of recomputing the run.
    bool keptPointsMatchReplay() const { return session_.keptPointsMatchReplay(); }
    // For tests: thinning starts after this many kept points, from the next run or replay.
    void setKeptPointCapacity(std::size_t n) { session_.setKeptPointCapacity(n); }
    // How the last zoom redrew the plot.
    bool lastZoomUsedKeptPoints() const { return lastZoomUsedKeptPoints_; }

    const QString& dataDir() const { return dataDir_; }
    // The examples File > Open Example copies from; found beside the program or in its share folder.
    void setShippedExamples(const QString& path) { shippedExamples_ = path; }
    bool usesPicture() const { return usesPicture_; }
    const QImage& backgroundPicture() const { return backgroundPicture_; }
    // Whether a live run or a replay is under way.
    bool runActive() const { return session_.active(); }
    const RunSession& session() const { return session_; }
    RunController* runController() const { return controller_; }

    PlotSurface* plotSurface() const { return surface_; }
    // The exact path, scale bar and off-screen markers drawn over the plot.
    ViewAids* viewAids() const { return viewAids_; }
    ControlPanel* panel() const { return controlPanel; }

    HelpWindow* helpWindow() const { return helpWindow_; }
    ExportFlow* exports() const { return exports_; }

    // View > Orbit Readout, which the program wires to the readout window.
    QAction* orbitReadoutAction = nullptr;
    // View > Accuracy Lab, which the program wires to the lab window.
    QAction* accuracyLabAction = nullptr;
    // View > Graphs, which the program wires to the graphs dock.
    QAction* graphsAction = nullptr;
    // Chooses the Settings menu's plot interval at this index as a click on it does; only while Ready.
    void usePlotInterval(int index);

signals:
    // The run's moments, for the windows that follow it. A live run from Ready starts from start; a
    // plot point of a live run was drawn (never during a replay); a replay ended on its last plot point.
    void runStarted(const TState& start);
    void plotPointDrawn(const QString& elapsedDays);
    void replayFinished();
    void runStateChanged(int state);
    // CurSettings changed (Set State, Make Current, zoom, re-centring, interval, colours).
    void settingsChanged();
    // While a drag on the plot goes on, the start it would set; then its end, applied or not.
    void startPreviewed(const TState& start);
    void startPreviewEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Alt with an arrow key moves the panel (buildPanelKeys); letting Alt go drops it there, once.
    void keyReleaseEvent(QKeyEvent* event) override;

    // What ending the program does; the program quits the application.
    std::function<void()> onQuit;

    // The panel's controls and the menus. The handlers use them; a test's subclass may reach them too, so the
    // public interface holds only what the program itself uses.
    ControlPanel* controlPanel = nullptr;
    QLabel* runStateLabel = nullptr;
    QPushButton* runButton = nullptr;
    QPushButton* pauseButton = nullptr;
    QPushButton* resetButton = nullptr;
    QLabel* elapsedLabel = nullptr;  // a FittingLabel
    QLabel* elapsedUnitLabel = nullptr;
    QPushButton* zoomOutButton = nullptr;
    QPushButton* zoomInButton = nullptr;

    QMenu* fileMenu = nullptr;
    QMenu* settingsMenu = nullptr;
    QMenu* viewMenu = nullptr;
    QMenu* helpMenu = nullptr;
    QMenu* plotIntervalMenu = nullptr;
    QAction* saveSettingsAction = nullptr;
    QAction* openExampleAction = nullptr;
    QAction* exitAction = nullptr;
    QAction* exportPictureAction = nullptr;
    QAction* exportTrackAction = nullptr;
    QAction* bodyAInitialStateAction = nullptr;
    QAction* bodyBInitialStateAction = nullptr;
    QAction* bodyAColorAction = nullptr;
    QAction* bodyBColorAction = nullptr;
    QAction* backgroundColorAction = nullptr;
    QAction* backgroundPictureAction = nullptr;
    QAction* plotIntervalCaption = nullptr;
    std::vector<QAction*> plotIntervalActions;
    QAction* currentSettingsAction = nullptr;
    QAction* savedSettingsAction = nullptr;
    QAction* exactPathAction = nullptr;
    QAction* scaleBarAction = nullptr;
    QAction* offscreenMarkersAction = nullptr;
    QAction* fitBothOrbitsAction = nullptr;
    QAction* startMarkersAction = nullptr;
    QAction* restoreDefaultStartAction = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QMenu* runSpeedMenu = nullptr;
    std::vector<QAction*> runSpeedActions;  // Classic, 10x, 100x, Fastest
    QAction* helpContentsAction = nullptr;
    QAction* aboutAction = nullptr;
    // Keys for the panel's buttons; each does what its button does, and nothing while it is disabled.
    QAction* runPauseAction = nullptr;
    QAction* resetAction = nullptr;
    QAction* zoomInAction = nullptr;
    QAction* zoomOutAction = nullptr;

private:
    void buildPanel();
    void buildPanelKeys();
    void buildMenus();
    void buildRunSpeedMenu();
    void applyRunState(std::int32_t state);
    void showRunState(const QString& label);
    QAction* keyAction(const char* name, const QList<QKeySequence>& keys,
                       const std::function<void()>& trigger);
    void showPlotPoint(const QString& daysText);
    void replayDone();
    void runFailed(const std::exception_ptr& error);
    void handle(const std::function<void()>& handler);
    void changeSettings(const std::function<void(TState&)>& change);
    void endProgram();
    void noticeExitPending();
    // "0.0" with the user's decimal separator.
    QString zeroDaysText() const;
    // The unit under the elapsed days.
    static QString elapsedUnitText();
    void pickPosition(int X, int Y);
    // Sets the scale to sf and moves both start positions by (dx, dy) whole pixels at that scale, in one
    // change of the settings, with the re-centring arithmetic; then redraws as the run state needs.
    void applyView(Extended sf, Extended dx, Extended dy);
    void zoomAboutPointer();
    void settingsWereChanged();
    void restoreSettings(const TState& s);
    void updateUndoActions();
    TState dragged(int X, int Y) const;
    void endDrag(bool apply, int X, int Y);
    void repaintBackground();
    void redrawFromKeptPoints();
    // Writes where the docks stand into the view options, when that changed.
    void rememberDocks();

    SimRecords& r_;
    PlatformDialogs& dialogs_;
    PlotSurface* surface_ = nullptr;
    InitialStateDialog* initialStateDialog_ = nullptr;
    SettingsViewer* settingsViewer_ = nullptr;
    HelpWindow* helpWindow_ = nullptr;
    ExportFlow* exports_ = nullptr;
    RunSession session_;
    std::unique_ptr<PlotCrosses> crosses_;
    RunController* controller_ = nullptr;
    ViewAids* viewAids_ = nullptr;

    QString helpFile_;
    QString dataDir_;
    QString shippedExamples_;
    bool usesPicture_ = false;
    QImage backgroundPicture_;
    QColor colorPick_{Qt::blue};

    bool lastZoomUsedKeptPoints_ = false;
    QUndoStack* undoStack_ = nullptr;
    bool panelMovedByKeys_ = false;
    bool restoringSettings_ = false;
    struct StartDrag {
        int body;
        bool arrow;  // the arrow's head, else the ring
        QPoint pressedAt;
        bool moved;
        QPointF ring;
        Extended kmPerSecondPerScale;
    };
    std::optional<StartDrag> drag_;
    QTimer* wheelMerge_ = nullptr;
    int wheelNotches_ = 0;
    QPoint wheelAt_;
    bool hasDocks_ = false;

    int handlerDepth_ = 0;
    bool ending_ = false;
};
