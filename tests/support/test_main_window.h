#pragma once

#include "ui/main_window/main_window.h"

// The main window as the tests drive it: its panel's controls, its menu items and the seams the tests use,
// which the program itself keeps out of its public interface.
class TestMainWindow : public MainWindow {
public:
    using MainWindow::aboutAction;
    using MainWindow::backgroundColorAction;
    using MainWindow::backgroundPictureAction;
    using MainWindow::bodyAColorAction;
    using MainWindow::bodyAInitialStateAction;
    using MainWindow::bodyBColorAction;
    using MainWindow::bodyBInitialStateAction;
    using MainWindow::controlPanel;
    using MainWindow::currentSettingsAction;
    using MainWindow::elapsedLabel;
    using MainWindow::elapsedUnitLabel;
    using MainWindow::exactPathAction;
    using MainWindow::exitAction;
    using MainWindow::exportPictureAction;
    using MainWindow::exportTrackAction;
    using MainWindow::fileMenu;
    using MainWindow::fitBothOrbitsAction;
    using MainWindow::helpContentsAction;
    using MainWindow::helpMenu;
    using MainWindow::MainWindow;
    using MainWindow::offscreenMarkersAction;
    using MainWindow::onQuit;
    using MainWindow::openExampleAction;
    using MainWindow::pauseButton;
    using MainWindow::plotIntervalActions;
    using MainWindow::plotIntervalCaption;
    using MainWindow::plotIntervalMenu;
    using MainWindow::redoAction;
    using MainWindow::resetAction;
    using MainWindow::resetButton;
    using MainWindow::restoreDefaultStartAction;
    using MainWindow::runButton;
    using MainWindow::runPauseAction;
    using MainWindow::runSpeedActions;
    using MainWindow::runSpeedMenu;
    using MainWindow::runStateLabel;
    using MainWindow::savedSettingsAction;
    using MainWindow::saveSettingsAction;
    using MainWindow::scaleBarAction;
    using MainWindow::settingsMenu;
    using MainWindow::startMarkersAction;
    using MainWindow::undoAction;
    using MainWindow::viewMenu;
    using MainWindow::zoomInAction;
    using MainWindow::zoomInButton;
    using MainWindow::zoomOutAction;
    using MainWindow::zoomOutButton;
};
