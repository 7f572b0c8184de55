#pragma once

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/sim_records.h"

class ControlPanel;
class PlatformDialogs;
class PlotSurface;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPushButton;
class QTextBrowser;
class QtRunHost;
class InitialStateDialog;
class SettingsViewer;

extern const QString AboutText;

// The main window: the plot surface with its crosses, the control panel and the menus.
class MainWindow : public QMainWindow {
    Q_OBJECT
    friend class QtRunHost;

public:
    MainWindow(SimRecords& records, PlatformDialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Collaborators created after the main window at start-up.
    void setInitialStateForm(InitialStateDialog* form) { form1_ = form; }
    void setViewForm(SettingsViewer* form) { viewForm_ = form; }

    // Handlers, named after the controls and events they serve.
    void Init();
    void SimStateControl(QObject* sender);
    void ZoomClick(QObject* sender);
    void MouseDn(Qt::MouseButton button, int X, int Y);
    void FormDragDrop(int X, int Y);
    void BodyInit(QObject* sender);
    void ColorAClick();
    void ColorBClick();
    void ColorCClick();
    void UseJPEGBackgroung1Click();
    void TimeIntervalClick(QObject* sender);
    void SaveClick();
    void ViewCurrent();
    void ViewTV0();
    void Exit1Click();
    void ShowHelp();
    void ShowAbout();

    // Draws body Body's cross (0 = A, other = B) at NewPos in metres, at the scale and colours of
    // CurSettings.
    void DrawBody(const TVector& NewPos, std::int32_t Body);

    // Puts a decoded picture in force as the background and paints it.
    void usePicture(const QImage& picture);

    // The background repaints and the replay of a paused run.
    void ClearPlot();
    void Replay();

    const QString& dataDir() const { return dataDir_; }
    bool jpegBack() const { return JPEGBack; }
    const QImage& backBitmap() const { return BackBitmap; }
    bool runActive() const { return !runFrames_.empty(); }

    PlotSurface* plotSurface() const { return surface_; }
    ControlPanel* panel() const { return Panel1; }

    // Seams for tests: the sleep after each live plot point, a hook run after each step's event pump, and
    // whether the pump runs after every step rather than at most once a millisecond.
    int liveDelayMs = 100;
    std::function<void()> afterStepHook;
    bool pumpEveryStep = false;
    // What ending the program does; the program quits the application.
    std::function<void()> onQuit;

    // Controls, by their names.
    ControlPanel* Panel1 = nullptr;
    QLabel* SimStateLabel = nullptr;
    QPushButton* RunButton = nullptr;
    QPushButton* PauseButton = nullptr;
    QPushButton* ResetButton = nullptr;
    QLabel* ElapsedLabel = nullptr;
    QLabel* ElapsedUnitLabel = nullptr;
    QPushButton* ZMinus = nullptr;
    QPushButton* ZPlus = nullptr;

    QMenu* File1 = nullptr;
    QMenu* Settings1 = nullptr;
    QMenu* View1 = nullptr;
    QMenu* Help1 = nullptr;
    QMenu* Tiime1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* BodyAInitialState1 = nullptr;
    QAction* BodyBInitialState1 = nullptr;
    QAction* BodyAColor1 = nullptr;
    QAction* BodyBColor1 = nullptr;
    QAction* BackgroundColor1 = nullptr;
    QAction* UseJPEGBackgroung1 = nullptr;
    QAction* Description = nullptr;
    std::vector<QAction*> intervalItems;
    QAction* CurrentSettings1 = nullptr;
    QAction* ViewTV0File = nullptr;
    QAction* Contents1 = nullptr;
    QAction* About1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct RunFrame {
        std::int32_t liveCount = 0;
        bool superseded = false;
        bool heldRunning = false;
    };

    void buildPanel();
    void buildMenus();
    void applyPattern(std::int32_t state);
    void callRun(std::int32_t Delay, std::int32_t Count);
    void adoptPendingCount();
    void endSupersededLoop();
    void handle(const std::function<void()>& handler);
    void endProgram();
    void PickPosition(int X, int Y);
    void repaintBackground();
    bool acceptsPanelDrop(const QPoint& p) const;

    SimRecords& r_;
    PlatformDialogs& dialogs_;
    PlotSurface* surface_ = nullptr;
    InitialStateDialog* form1_ = nullptr;
    SettingsViewer* viewForm_ = nullptr;
    QTextBrowser* helpWindow_ = nullptr;
    QtRunHost* host_ = nullptr;

    QString helpFile_;
    QString dataDir_;
    bool JPEGBack = false;
    QImage BackBitmap;
    QColor colorPick_{Qt::blue};

    std::vector<RunFrame> runFrames_;
    int handlerDepth_ = 0;
    bool quitRequested_ = false;
    bool ending_ = false;
};
