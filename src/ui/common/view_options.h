#pragma once

#include <QString>

// The view options the program remembers between starts: which extras are on. They live in a file of the
// program's own under the XDG config folder, opened by its path, so they never depend on where the toolkit
// keeps (or stops keeping) its own settings. Nothing else is kept there; the settings files are untouched.
class ViewOptions {
public:
    // The file in $XDG_CONFIG_HOME/Tulvane/, or ~/.config/Tulvane/ when that variable is unset or relative.
    static QString filePath();

    static bool orbitReadoutOpen();
    static void setOrbitReadoutOpen(bool open);

    // An extra that is on or off, under key; off while the file does not say otherwise.
    static bool flag(const QString& key);
    static void setFlag(const QString& key, bool on);

    // A choice kept as a word under key; empty while the file does not say.
    static QString text(const QString& key);
    static void setText(const QString& key, const QString& value);
};
