#include "ui/settings_viewer/save_settings.h"

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

const QString Caption = QStringLiteral("Saving Settings");

const QString Prompt =
    QStringLiteral(
        "You may add the current settings information to an existing .tv0 file or name a new file.") +
    QStringLiteral("\r\n") +
    QStringLiteral(
        "But first, please enter a label describing this group of settings. Maximum 100 characters.");

constexpr int LabelFieldLength = 255;

}  // namespace

QString NothingSavedText(const QString& fileName) {
    return QStringLiteral("Nothing was saved: the settings file ") + fileName +
           QStringLiteral(" is as it was.");
}

void SaveSettings(SimRecords& records, PlatformDialogs& dialogs, QWidget* parent, const QString& dataDir) {
    TState& settings = records.CurSettings;

    QString label;
    if (!dialogs.inputQuery(parent, Caption, Prompt, label, LabelFieldLength)) return;
    SetRecLabel(settings, label.toStdU16String());

    PlatformDialogs::FileOptions options;
    options.title = Caption;
    // Choosing an existing file is how the user adds to it: no overwrite prompt.
    options.nameFilter = SettingsFileFilter;
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

    dialogs.showMessage(parent, QStringLiteral("The current state settings, labled ") +
                                    QString::fromStdU16String(RecLabelText(settings)) +
                                    QStringLiteral(", were saved to ") + name + QStringLiteral("."));
}
