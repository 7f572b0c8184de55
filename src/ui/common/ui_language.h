#pragma once

#include <QLocale>

class QTranslator;

// The language of the program's own texts. English is the classic one: its windows keep their fixed pixel
// geometry. Under any other language the windows grow to fit their texts (fit_to_text.h).
class UiLanguage {
public:
    // Installs translation in the application as the program's own, for language, in place of the one
    // before; nullptr takes the program back to its English texts. The caller keeps ownership, and a
    // translation that is deleted counts as removed.
    static void setTranslation(QTranslator* translation, const QLocale& language);
    // Whether the program shows its English texts: no translation of its own installed, or an English one.
    static bool isEnglish();
};
