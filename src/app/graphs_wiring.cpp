#include "app/graphs_wiring.h"

#include <QAction>
#include <QSlider>

#include "ui/graphs/graphs_dock.h"
#include "ui/main_window/main_window.h"
#include "ui/orbit_readout/orbit_readout_window.h"

void wireGraphs(MainWindow& mainWindow, OrbitReadoutWindow& readout, GraphsDock& graphs) {
    graphs.keptPointsSource = [&mainWindow] { return &mainWindow.keptPoints(); };
    graphs.keptPointsStartSource = [&mainWindow] { return mainWindow.keptPointsStart(); };
    mainWindow.addDockWidget(Qt::RightDockWidgetArea, &graphs);
    graphs.hide();

    QObject::connect(&mainWindow, &MainWindow::runStarted, &graphs, &GraphsDock::runStarted);
    QObject::connect(&mainWindow, &MainWindow::plotPointDrawn, &graphs, &GraphsDock::plotPointDrawn);
    QObject::connect(&mainWindow, &MainWindow::replayFinished, &graphs, &GraphsDock::replayFinished);
    QObject::connect(&mainWindow, &MainWindow::runStateChanged, &graphs, &GraphsDock::runStateChanged);
    QObject::connect(readout.timeline(), &QSlider::valueChanged, &graphs, &GraphsDock::setCursorIndex);
    QObject::connect(&readout, &OrbitReadoutWindow::timelineCleared, &graphs, &GraphsDock::clearCursor);

    QAction* item = mainWindow.graphsAction;
    QObject::connect(item, &QAction::toggled, &graphs, [&graphs](bool open) { graphs.setVisible(open); });
    QObject::connect(&graphs, &GraphsDock::closed, item, [item] { item->setChecked(false); });
}
