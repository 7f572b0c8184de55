#pragma once

#include <QString>

// Which view extras the user turned on, in one small file under the XDG config folder. Nothing else is
// kept; a missing or unreadable file means every extra is off.
class ViewOptions {
public:
    // $XDG_CONFIG_HOME (else ~/.config) + /Tulvane/view-options.ini
    ViewOptions();
    explicit ViewOptions(const QString& path) : path_(path) {}

    bool flag(const QString& key) const;
    void setFlag(const QString& key, bool on);
    const QString& path() const { return path_; }

    static QString defaultPath();

private:
    QString path_;
};
