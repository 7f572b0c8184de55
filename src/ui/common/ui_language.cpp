#include "ui/common/ui_language.h"

#include <QLocale>

namespace {
QString current;
}  // namespace

void UiLanguage::set(const QString& language) {
    current = language;
}

bool UiLanguage::isEnglish() {
    return current.isEmpty() || QLocale(current).language() == QLocale::English;
}
