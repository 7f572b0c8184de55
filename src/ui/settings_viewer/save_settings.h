#pragma once

#include <QString>

struct SimRecords;
class PlatformDialogs;
class QWidget;

// File > Save Settings: asks for a label and stores it in CurSettings, asks for a file, stamps SaveDT and
// adds CurSettings to the file as one record (creating the file when there is none), then confirms. A failure
// before the file is closed is shown with ReportError and leaves no torn record; a failure of that final
// close after a good write is thrown to the caller.
void SaveSettings(SimRecords& records, PlatformDialogs& dialogs, QWidget* parent, const QString& dataDir);
