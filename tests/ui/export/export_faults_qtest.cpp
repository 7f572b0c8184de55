#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>

#include "child_process.h"
#include "core/plot_track.h"
#include "core/t_state.h"
#include "ui/export/plot_export.h"
#include "ui/export/track_export.h"

namespace {

constexpr int Skipped = 77;
const QByteArray OldBytes(1500, 'o');

// The exports as a user starts them; each returns the failure's text, or nothing.
QString exportPicture(const QString& path) {
    // Mostly one colour: it compresses to a few hundred bytes, so it fails inside the commit, not the write.
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 64));
    for (int x = 0; x < 300; x += 7) picture.setPixel(x, x % 200, qRgb(255, 255, 127));
    return savePicturePng(picture, path);
}

QString exportTrack(const QString& path, int points) {
    const TState start = defaultSettings();
    PlotTrack track;
    track.start(start);
    for (int i = 1; i < points; ++i) track.add(i, start);
    TrackExport writer(track, start, path);
    writer.start();
    writer.wait();
    return writer.failure();
}

struct Writer {
    const char* name;
    std::function<QString(const QString&)> run;
};

const Writer Writers[] = {
    {"picture", exportPicture},
    {"short track", [](const QString& p) { return exportTrack(p, 5); }},
    // Several 64 KiB chunks: the limit falls in the last one.
    {"long track", [](const QString& p) { return exportTrack(p, 1000); }},
};

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A mount namespace of the child's own, as root or, where the system allows, as an unprivileged user.
bool ownMountNamespace() {
    if (::geteuid() != 0) {
        const uid_t uid = ::getuid();
        const gid_t gid = ::getgid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
        const auto put = [](const char* file, const std::string& text) {
            FILE* f = std::fopen(file, "w");
            const bool ok = f && std::fputs(text.c_str(), f) >= 0;
            return (f && std::fclose(f) == 0) && ok;
        };
        put("/proc/self/setgroups", "deny");
        if (!put("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1\n") ||
            !put("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1\n"))
            return false;
    } else if (::unshare(CLONE_NEWNS) != 0) {
        return false;
    }
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

}  // namespace

// Every export onto a full disk or under a file-size limit keeps the file it would have replaced and says why
// it failed, in the system's words.
class ExportFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void failedExportKeepsTheOldFileAndTellsWhy_data() {
        QTest::addColumn<int>("writer");
        QTest::addColumn<bool>("fullDisk");
        for (int w = 0; w < int(std::size(Writers)); ++w) {
            QTest::addRow("%s on a full disk", Writers[w].name) << w << true;
            QTest::addRow("%s under a file-size limit", Writers[w].name) << w << false;
        }
    }
    void failedExportKeepsTheOldFileAndTellsWhy() {
        QFETCH(int, writer);
        QFETCH(bool, fullDisk);
        const Writer& w = Writers[writer];

        // The size of the whole output, from an export that succeeds.
        QTemporaryDir sizing;
        const QString sized = sizing.filePath("out");
        QCOMPARE(w.run(sized), QString());
        const qint64 size = QFileInfo(sized).size();
        QVERIFY(size > 0);
        if (writer == 2) QVERIFY2(size > 3 * 65536, "the long track must span several chunks");

        QTemporaryDir folder;
        const QString target = folder.filePath(writer == 0 ? "orbit.png" : "t.csv");
        const int status = exitStatusOfChild([&]() -> int {
            if (fullDisk) {
                if (!ownMountNamespace()) return Skipped;
                // Room for the old file and one page short of the new one.
                const long page = ::sysconf(_SC_PAGESIZE);
                const long pages = 1 + (size + page - 1) / page - 1;
                const std::string options = "size=" + std::to_string(pages * page);
                if (::mount("tulvane-test", QFile::encodeName(folder.path()).constData(), "tmpfs", 0,
                            options.c_str()) != 0)
                    return Skipped;
            }
            if (!writeFile(target, OldBytes)) return 2;
            if (!fullDisk) {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{static_cast<rlim_t>(size - 1), static_cast<rlim_t>(size - 1)};
                if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
            }
            const QString failure = w.run(target);
            const QString expected = QString::fromLocal8Bit(std::strerror(fullDisk ? ENOSPC : EFBIG));
            int result = 0;
            if (failure != expected) {
                std::fprintf(stderr, "failure told: \"%s\", expected \"%s\"\n", qPrintable(failure),
                             qPrintable(expected));
                result = 1;
            }
            if (contents(target) != OldBytes) {
                std::fprintf(stderr, "the old file changed: %lld bytes now\n",
                             static_cast<long long>(QFileInfo(target).size()));
                result = 1;
            }
            const QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
            if (left != QStringList{QFileInfo(target).fileName()}) {
                std::fprintf(stderr, "files left: %s\n", qPrintable(left.join(", ")));
                result = 1;
            }
            return result;
        });
        // Root can always mount one; only an unprivileged run without user namespaces may go without.
        if (status == Skipped && ::geteuid() != 0)
            QSKIP("cannot mount a small tmpfs here (no user namespaces)");
        QCOMPARE(status, 0);
    }
};

QTEST_MAIN(ExportFaultsTest)
#include "export_faults_qtest.moc"
