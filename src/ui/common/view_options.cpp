#include "ui/common/view_options.h"

#include <QDir>
#include <QSettings>

ViewOptions::ViewOptions() : path_(defaultPath()) {}

QString ViewOptions::defaultPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base) + QStringLiteral("/Tulvane/view-options.ini");
}

bool ViewOptions::flag(const QString& key) const {
    const QSettings s(path_, QSettings::IniFormat);
    return s.value(key, false).toBool();
}

void ViewOptions::setFlag(const QString& key, bool on) {
    QSettings s(path_, QSettings::IniFormat);
    s.setValue(key, on);
}
