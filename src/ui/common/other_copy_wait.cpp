#include "ui/common/other_copy_wait.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "ui/common/platform_dialogs.h"

OtherCopyWait::OtherCopyWait(PlatformDialogs& dialogs, QWidget* parent, QString fileName)
    : dialogs_(dialogs), parent_(parent), fileName_(std::move(fileName)) {}

QString OtherCopyWait::waitingText(const QString& fileName) {
    //: In a box with a Cancel button while another running copy of the program writes the settings file %1.
    return QCoreApplication::translate("OtherCopyWait",
                                       "Waiting for another copy of Tulvane that is writing %1\u2026")
        .arg(fileName);
}

bool OtherCopyWait::wait(const std::function<bool()>& tryAgain) {
    if (waitQuietly(tryAgain)) return true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const bool taken = dialogs_.waitForOtherCopy(parent_, waitingText(fileName_), tryAgain);
    QApplication::restoreOverrideCursor();
    return taken;
}

// Most writes of another copy end within a few polls; a box that flashed up for them would only startle.
// The user's clicks and keys are held back meanwhile, not lost: nothing else starts while this waits.
bool OtherCopyWait::waitQuietly(const std::function<bool()>& tryAgain) {
    QEventLoop loop;
    bool taken = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!tryAgain()) return;
        taken = true;
        loop.quit();
    });
    QTimer quiet;
    quiet.setSingleShot(true);
    QObject::connect(&quiet, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start(PlatformDialogs::PollMs);
    quiet.start(QuietMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return taken;
}
