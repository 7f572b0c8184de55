#pragma once

class InitialStateDialog;
class MainWindow;
class OrbitReadoutWindow;

// Lets the readout follow the main window's run and the initial-state dialog's unsaved values, and ties
// the View menu's item to the window. The item starts as the view options remember it, and each change
// of it is remembered.
// The run's moments only: starts, live plot points, replays and run states.
void followTheRun(MainWindow& mainWindow, OrbitReadoutWindow& readout);

void wireOrbitReadout(MainWindow& mainWindow, InitialStateDialog& dialog, OrbitReadoutWindow& readout);
