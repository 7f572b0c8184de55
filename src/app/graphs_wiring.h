#pragma once

class GraphsDock;
class MainWindow;
class OrbitReadoutWindow;

// Docks the graphs beside the plot, ties View > Graphs to them, lets them follow the main window's run and
// puts their cursor at the point the readout's timeline chose.
void wireGraphs(MainWindow& mainWindow, OrbitReadoutWindow& readout, GraphsDock& graphs);
