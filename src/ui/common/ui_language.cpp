#include "ui/common/ui_language.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTranslator>

namespace {
QPointer<QTranslator> installed;
QLocale::Language installedLanguage = QLocale::English;
}  // namespace

void UiLanguage::setTranslation(QTranslator* translation, const QLocale& language) {
    if (installed) QCoreApplication::removeTranslator(installed);
    installed = translation;
    installedLanguage = language.language();
    if (translation) QCoreApplication::installTranslator(translation);
}

bool UiLanguage::isEnglish() {
    return !installed || installedLanguage == QLocale::English;
}
