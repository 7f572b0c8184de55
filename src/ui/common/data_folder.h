#pragma once

#include <QString>

class PlatformDialogs;
class QWidget;

// The per-user data folder, where settings files are kept, and the folders the file dialogs start in. A file
// dialog asked to start in a folder that does not exist starts in the working directory, which is nobody's
// choice: every dialog gets a folder that is there.
class DataFolder {
public:
    // Makes the folder when it is missing and checks that files can be made in it: empty when it can be
    // used, else the system's reason ("Not a directory", "Read-only file system").
    static QString problem(const QString& folder);

    // Once at start: says so when the folder cannot be used; when it can, removes what writers that were
    // killed left in it (temporary files of compactions).
    static void checkAtStart(PlatformDialogs& dialogs, QWidget* parent, const QString& folder);
    static QString unusableText(const QString& folder, const QString& reason);

    // Where Save Settings, Saved Settings and the picture chooser start: the data folder when it can be used,
    // else the home folder.
    static QString classicStartFolder(const QString& folder);
    // Where Export Picture starts: the pictures folder, else the documents folder, else the home folder.
    static QString pictureExportFolder();
    // Where Export Track starts: the documents folder, else the home folder.
    static QString trackExportFolder();
};
