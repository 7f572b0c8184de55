#include "ui/common/view_options.h"

#include <QDir>
#include <QSettings>

namespace {

const QString OrbitReadoutKey = QStringLiteral("OrbitReadout/open");

}  // namespace

QString ViewOptions::filePath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base) + QStringLiteral("/Tulvane/view-options.conf");
}

bool ViewOptions::orbitReadoutOpen() {
    return QSettings(filePath(), QSettings::IniFormat).value(OrbitReadoutKey, false).toBool();
}

void ViewOptions::setOrbitReadoutOpen(bool open) {
    QSettings settings(filePath(), QSettings::IniFormat);
    settings.setValue(OrbitReadoutKey, open);
}
