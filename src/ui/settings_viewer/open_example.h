#pragma once

#include <QString>

class PlatformDialogs;
class QWidget;
class SettingsViewer;

// The user's own copy of the examples, in the data folder. Its records can be deleted like any others; the
// next Open Example after the file itself is deleted makes a fresh copy.
extern const QString ExamplesCopyName;

// The examples the package ships: beside the program in the build tree, else in the installed share folder
// (../share/tulvane beside its bin folder). The first place when neither holds them.
QString FindShippedExamples();

// File > Open Example: copies the shipped file to ExamplesCopyName in the data folder when no such file is
// there (a copy that is there, with whatever the user changed in it, is kept), then shows the copy in the
// viewer, as View / Saved Settings shows the file the user chose. The shipped file is only ever read, so
// Delete and compaction reach the copy alone. When the shipped file cannot be read or the copy cannot be
// made, the general error report says why and the viewer stays closed.
void OpenExample(SettingsViewer& viewer, PlatformDialogs& dialogs, QWidget* parent, const QString& shipped,
                 const QString& dataDir);
