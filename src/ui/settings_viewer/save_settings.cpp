#include "ui/settings_viewer/save_settings.h"

#include <QCoreApplication>
#include <QFile>

#include "core/date_time.h"
#include "core/label_codec.h"
#include "core/sim_records.h"
#include "settings_file/add_record.h"
#include "settings_file/file_lock.h"
#include "settings_file/t_state_file.h"
#include "ui/common/data_folder.h"
#include "ui/common/other_copy_wait.h"
#include "ui/common/platform_dialogs.h"
#include "ui/common/report_error.h"
#include "ui/common/settings_file_filter.h"

namespace {

QString caption() {
    //: The title of the label box and of the file dialog of File > Save Settings.
    return QCoreApplication::translate("SaveSettings", "Saving Settings");
}

// Two lines, as the classic box had them.
QString prompt() {
    return QCoreApplication::translate(
               "SaveSettings",
               "You may add the current settings information to an existing .tv0 file or name a new file.") +
           QStringLiteral("\r\n") +
           QCoreApplication::translate(
               "SaveSettings",
               "But first, please enter a label describing this group of settings. Maximum 100 characters.");
}

constexpr int LabelFieldLength = 255;

}  // namespace

QString NothingSavedText(const QString& fileName) {
    //: After Cancel in the box that waited for another copy of the program to finish writing the file %1.
    return QCoreApplication::translate("SaveSettings",
                                       "Nothing was saved: the settings file %1 is as it was.")
        .arg(fileName);
}

void SaveSettings(SimRecords& records, PlatformDialogs& dialogs, QWidget* parent, const QString& dataDir) {
    TState& settings = records.CurSettings;

    QString label;
    if (!dialogs.inputQuery(parent, caption(), prompt(), label, LabelFieldLength)) return;
    SetRecLabel(settings, label.toStdU16String());

    PlatformDialogs::FileOptions options;
    options.title = caption();
    // Choosing an existing file is how the user adds to it: no overwrite prompt.
    options.nameFilter = settingsFileFilter();
    options.defaultSuffix = QStringLiteral("tv0");
    options.initialDir = DataFolder::classicStartFolder(dataDir);
    options.overwritePrompt = false;
    QString name;
    if (!dialogs.saveFile(parent, options, name)) return;

    settings.setSaveDT(NowAsTDateTime());

    TStateFile file;
    file.assign(QFile::encodeName(name).toStdString());
    try {
        OtherCopyWait wait(dialogs, parent, name);
        addRecordToFile(file, settings, &wait);
    } catch (const LockWaitCancelled&) {
        dialogs.showMessage(parent, NothingSavedText(name));
        return;
    } catch (const std::exception& e) {
        ReportError(dialogs, parent, e);
        return;
    }
    file.close();

    //: %1 is the label the settings were saved with, %2 the file. "labled" is the classic text's spelling;
    //: a translation spells its words as usual.
    dialogs.showMessage(
        parent, QCoreApplication::translate("SaveSettings",
                                            "The current state settings, labled %1, were saved to %2.")
                    .arg(QString::fromStdU16String(RecLabelText(settings)), name));
}
