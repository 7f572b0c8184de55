#pragma once

#include <QString>

struct SimRecords;
class PlatformDialogs;
class QWidget;

// File > Save Settings: asks for a label and stores it in CurSettings, asks for a file, stamps SaveDT and
// adds CurSettings to the file as one record (creating the file when there is none), then confirms. While
// another copy of the program writes the file, the save waits for it (OtherCopyWait); a cancelled wait saves
// nothing and says so. A failure before the file is closed is shown with ReportError and leaves no torn
// record; a failure of that final close after a good write is thrown to the caller. No box is shown while
// this copy holds the file's lock.
void SaveSettings(SimRecords& records, PlatformDialogs& dialogs, QWidget* parent, const QString& dataDir);

// What a cancelled wait for another copy says.
QString NothingSavedText(const QString& fileName);
