#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The language the program speaks, chosen once at start from the user's locale, and the catalogues that
// make it speak it: the program's own, built into it, and Qt's for its standard dialogs and buttons.
class ProgramTranslators {
public:
    // The first of the user's languages, in order of preference, that is English or has a catalogue of
    // the program: its code ("de"), or empty for English. A language with neither is passed over, and
    // English is the last resort.
    static QString languageFor(const QStringList& uiLanguages);
    static QString languageFor(const QLocale& locale) { return languageFor(locale.uiLanguages()); }

    // Installs the program's catalogue and Qt's own for locale's language (QLocale() follows LANGUAGE,
    // LC_ALL, LC_MESSAGES and LANG), in place of any installed before; English installs nothing. Needs the
    // application object. Returns the language installed, empty for none.
    static QString install(const QLocale& locale = QLocale());
    // Takes back what install() installed.
    static void uninstall();

    // Where the program's catalogue for a language is built in.
    static QString catalogue(const QString& language);
};
