#pragma once

class AccuracyLabWindow;
class MainWindow;

// Opens the lab from View > Accuracy Lab, tells it of the start's changes and the run's states, and lets its
// "Use this interval" choose the interval through the Settings menu's own item.
void wireAccuracyLab(MainWindow& mainWindow, AccuracyLabWindow& lab);
