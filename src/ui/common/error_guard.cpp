#include "ui/common/error_guard.h"

#include "ui/common/platform_dialogs.h"

QString GeneralErrorText(const QString& text) {
    if (!text.isEmpty() && text.back().unicode() <= u'.') return text;
    return text + QLatin1Char('.');
}

QString GeneralErrorText(const std::exception& e) {
    return GeneralErrorText(QString::fromUtf8(e.what()));
}

void guarded(PlatformDialogs& dialogs, QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        dialogs.showError(parent, GeneralErrorText(e));
    } catch (...) {
        dialogs.showError(parent, GeneralErrorText(QStringLiteral("Unknown error")));
    }
}
