#include "app/accuracy_lab_wiring.h"

#include <QAction>

#include "ui/accuracy_lab/accuracy_lab_window.h"
#include "ui/main_window/main_window.h"

void wireAccuracyLab(MainWindow& mainWindow, AccuracyLabWindow& lab) {
    QObject::connect(mainWindow.accuracyLabAction, &QAction::triggered, &lab, [&lab] {
        lab.show();
        lab.raise();
        lab.activateWindow();
    });
    QObject::connect(&mainWindow, &MainWindow::settingsChanged, &lab, &AccuracyLabWindow::settingsChanged);
    QObject::connect(&mainWindow, &MainWindow::runStateChanged, &lab, &AccuracyLabWindow::runStateChanged);
    QObject::connect(&lab, &AccuracyLabWindow::plotIntervalChosen, &mainWindow, &MainWindow::usePlotInterval);
}
