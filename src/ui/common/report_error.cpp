#include "ui/common/report_error.h"

#include <QCoreApplication>

#include "core/app_error.h"
#include "ui/common/error_guard.h"
#include "ui/common/platform_dialogs.h"

QString ReportErrorText(const std::exception& e) {
    // The kind is the error's type name, the same in every language.
    QString kind = QStringLiteral("Exception");
    if (const auto* app = dynamic_cast<const AppError*>(&e)) kind = QString::fromStdString(app->kindName());
    //: The report of a failed file operation. %1 is the error's type name (EInOutError), kept as it is; %2
    //: the error's text.
    return QCoreApplication::translate("ErrorReport", "%1 error raised with message: %2")
        .arg(kind, ErrorMessageText(e));
}

void ReportError(PlatformDialogs& dialogs, QWidget* parent, const std::exception& e) {
    dialogs.showMessage(parent, ReportErrorText(e));
}
