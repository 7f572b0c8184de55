#pragma once

#include <QString>

#include "settings_file/file_lock.h"

class PlatformDialogs;
class QWidget;

// How the windows wait while another copy of the program writes a settings file this one must write: the
// lock is tried again every PollMs from the event loop, so the windows go on drawing. For QuietMs nothing
// shows and the user's input waits; then the pointer turns busy and a modal box names the file and offers
// Cancel. The box, like any modal box, holds a run still. Save, the viewer's marks and its compaction all
// wait through it.
class OtherCopyWait : public LockWait {
public:
    OtherCopyWait(PlatformDialogs& dialogs, QWidget* parent, QString fileName);
    bool wait(const std::function<bool()>& tryAgain) override;

    static QString waitingText(const QString& fileName);

    static constexpr int QuietMs = 500;

private:
    bool waitQuietly(const std::function<bool()>& tryAgain);

    PlatformDialogs& dialogs_;
    QWidget* parent_;
    QString fileName_;
};
