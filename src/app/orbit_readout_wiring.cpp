#include "app/orbit_readout_wiring.h"

#include <QAction>
#include <QCoreApplication>
#include <QLocale>

#include "ui/common/tool_dock.h"
#include "ui/common/view_options.h"
#include "ui/export/export_flow.h"
#include "ui/initial_state/initial_state_dialog.h"
#include "ui/main_window/main_window.h"
#include "ui/orbit_readout/orbit_readout_window.h"
#include "ui/orbit_readout/readout_text.h"
#include "ui/plot/view_aids.h"

void followTheRun(MainWindow& mainWindow, OrbitReadoutWindow& readout) {
    QObject::connect(&mainWindow, &MainWindow::runStarted, &readout, &OrbitReadoutWindow::runStarted);
    QObject::connect(&mainWindow, &MainWindow::plotPointDrawn, &readout, &OrbitReadoutWindow::plotPointDrawn);
    QObject::connect(&mainWindow, &MainWindow::replayFinished, &readout, &OrbitReadoutWindow::replayFinished);
    QObject::connect(&mainWindow, &MainWindow::runStateChanged, &readout,
                     &OrbitReadoutWindow::runStateChanged);
    QObject::connect(&mainWindow, &MainWindow::settingsChanged, &readout,
                     &OrbitReadoutWindow::settingsChanged);
}

void wireOrbitReadout(MainWindow& mainWindow, InitialStateDialog& dialog, OrbitReadoutWindow& readout) {
    followTheRun(mainWindow, readout);
    QObject::connect(&dialog, &InitialStateDialog::previewChanged, &readout,
                     &OrbitReadoutWindow::previewStart);
    QObject::connect(&dialog, &InitialStateDialog::previewEnded, &readout, &OrbitReadoutWindow::previewEnded);
    // A drag of a start marker previews its orbit as the dialog's bars do.
    QObject::connect(&mainWindow, &MainWindow::startPreviewed, &readout, &OrbitReadoutWindow::previewStart);
    QObject::connect(&mainWindow, &MainWindow::startPreviewEnded, &readout,
                     &OrbitReadoutWindow::previewEnded);

    readout.integrationErrorSource = [&mainWindow] { return mainWindow.viewAids()->integrationError(); };
    readout.keptPointsSource = [&mainWindow] { return &mainWindow.keptPoints(); };
    readout.keptPointsStartSource = [&mainWindow] { return mainWindow.keptPointsStart(); };
    // The readout's summary of the run's start, worked out afresh: the readout may never have been shown.
    mainWindow.exports()->captionSummary = [&mainWindow] {
        return QString::fromStdString(
            summaryText(readOrbit(mainWindow.keptPointsStart()), QLocale().decimalPoint().toStdString()));
    };
    QObject::connect(&readout, &OrbitReadoutWindow::timelineMarked, mainWindow.viewAids(),
                     [&mainWindow](const TVector& a, const TVector& b) {
                         mainWindow.viewAids()->setTimelineMarker(std::make_pair(a, b));
                     });
    QObject::connect(&readout, &OrbitReadoutWindow::timelineCleared, mainWindow.viewAids(),
                     [&mainWindow] { mainWindow.viewAids()->setTimelineMarker(std::nullopt); });

    //: The title of the Orbit Readout's dock, the window beside the plot that View > Orbit Readout opens.
    auto* dock = new ToolDock(QCoreApplication::translate("OrbitReadoutDock", "Orbit Readout"),
                              QStringLiteral("orbitReadoutDock"), &readout, &mainWindow);
    const bool open = ViewOptions::orbitReadoutOpen();
    dock->setVisible(open);
    mainWindow.addToolDock(dock);
    dock->setVisible(open);
    QAction* item = mainWindow.orbitReadoutAction;
    QObject::connect(item, &QAction::toggled, dock, [dock](bool shown) {
        dock->setVisible(shown);
        ViewOptions::setOrbitReadoutOpen(shown);
    });
    QObject::connect(dock, &ToolDock::closed, item, [item] { item->setChecked(false); });
    item->setChecked(open);
}
