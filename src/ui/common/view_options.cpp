#include "ui/common/view_options.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const QString OrbitReadoutKey = QStringLiteral("OrbitReadout/open");

// Far above what the options take (a few hundred bytes), far below what could slow a start.
constexpr qint64 MaxFileBytes = 64 * 1024;

// The file, checked once: a FIFO, a device or a huge file there would hold the start up (or feed it
// garbage), so anything but a missing or small regular file is left alone for the whole session.
class Store {
public:
    explicit Store(const QString& path) : path_(path) {
        const QByteArray local = QFile::encodeName(path);
        struct stat st {};
        if (::stat(local.constData(), &st) != 0) {
            if (errno != ENOENT) ignore(QString::fromLocal8Bit(std::strerror(errno)));
        } else if (!S_ISREG(st.st_mode)) {
            ignore(QCoreApplication::translate("ViewOptions", "it is not a regular file"));
        } else if (st.st_size > MaxFileBytes) {
            ignore(QCoreApplication::translate("ViewOptions", "it is larger than 64 KiB"));
        }
        if (usable_) settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
    }

    const QString& path() const { return path_; }

    // The sync picks up a file changed or removed by someone else since the last look; it re-reads only then.
    QVariant value(const QString& key) const {
        if (!settings_) return {};
        settings_->sync();
        return settings_->value(key);
    }

    void setValue(const QString& key, const QVariant& value) {
        if (!settings_) return;
        settings_->setValue(key, value);
        settings_->sync();
    }

private:
    void ignore(const QString& why) {
        usable_ = false;
        //: On the terminal, when the view options file is left alone; %1 is the file, %2 the reason.
        const QString text =
            QCoreApplication::translate("ViewOptions", "tulvane: ignoring the view options in %1: %2")
                .arg(path_, why);
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }

    QString path_;
    bool usable_ = true;
    std::unique_ptr<QSettings> settings_;
};

// One store per path: the program's path never changes, so its file is checked once; a test that points
// the config folder elsewhere gets a store of its own.
Store& store() {
    static std::unique_ptr<Store> current;
    const QString path = ViewOptions::filePath();
    if (!current || current->path() != path) current = std::make_unique<Store>(path);
    return *current;
}

}  // namespace

QString ViewOptions::filePath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base) + QStringLiteral("/Tulvane/view-options.conf");
}

bool ViewOptions::orbitReadoutOpen() {
    return store().value(OrbitReadoutKey).toBool();
}

void ViewOptions::setOrbitReadoutOpen(bool open) {
    store().setValue(OrbitReadoutKey, open);
}

bool ViewOptions::flag(const QString& key) {
    return store().value(key).toBool();
}

void ViewOptions::setFlag(const QString& key, bool on) {
    store().setValue(key, on);
}

QString ViewOptions::text(const QString& key) {
    return store().value(key).toString();
}

void ViewOptions::setText(const QString& key, const QString& value) {
    store().setValue(key, value);
}
