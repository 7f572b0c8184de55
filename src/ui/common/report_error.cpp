#include "ui/common/report_error.h"

#include "core/app_error.h"
#include "ui/common/platform_dialogs.h"

QString ReportErrorText(const std::exception& e) {
    QString kind = QStringLiteral("Exception");
    if (const auto* app = dynamic_cast<const AppError*>(&e)) kind = QString::fromStdString(app->kindName());
    return kind + QStringLiteral(" error raised with message: ") + QString::fromUtf8(e.what());
}

void ReportError(PlatformDialogs& dialogs, QWidget* parent, const std::exception& e) {
    dialogs.showMessage(parent, ReportErrorText(e));
}
