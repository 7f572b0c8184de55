#include "ui/common/program_translators.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/common/ui_language.h"

namespace {

// The installed translators are children of the application under this name, to be found again.
const QString TranslatorName = QStringLiteral("programTranslator");

bool installFrom(const QString& fileName, const QString& directory = QString()) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    translator->setObjectName(TranslatorName);
    if (!translator->load(fileName, directory)) {
        delete translator;
        return false;
    }
    // It says false for a catalogue without a translated message yet, which it installs all the same.
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace

QString ProgramTranslators::catalogue(const QString& language) {
    return QStringLiteral(":/i18n/tulvane_%1.qm").arg(language);
}

QString ProgramTranslators::languageFor(const QStringList& uiLanguages) {
    for (const QString& name : uiLanguages) {
        // "de-DE", "de_DE.UTF-8", "de": the language is what counts; an unknown name reads as C.
        const QLocale::Language language = QLocale(name).language();
        if (language == QLocale::English) return {};
        QString code = QLocale::languageToCode(language);
        if (QFile::exists(catalogue(code))) return code;
    }
    return {};
}

QString ProgramTranslators::install(const QLocale& locale) {
    uninstall();
    QString language = languageFor(locale);
    if (language.isEmpty() || !installFrom(catalogue(language))) return {};
    // Qt's own texts (the standard buttons, the file and colour dialogs) in the same language; without
    // Qt's catalogues on the system they stay English.
    installFrom(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // The windows built from now on fit their translated texts.
    UiLanguage::set(language);
    return language;
}

void ProgramTranslators::uninstall() {
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    // A translator takes itself out of the application as it goes.
    qDeleteAll(app->findChildren<QTranslator*>(TranslatorName, Qt::FindDirectChildrenOnly));
    UiLanguage::set({});
}
