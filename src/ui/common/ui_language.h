#pragma once

#include <QString>

// The language of the program's own texts, as the start installed its catalogue. English is the classic one:
// its windows keep their fixed pixel geometry. Under any other language the windows grow to fit their texts
// (fit_to_text.h). Set it before the windows are built.
class UiLanguage {
public:
    // The code of the catalogue's language ("de"); empty for none, the program's English texts.
    static void set(const QString& language);
    static bool isEnglish();
};
