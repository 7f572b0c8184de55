#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "ui/common/view_options.h"

namespace {

// What the program writes to stderr while fn runs.
template <typename Fn>
QByteArray stderrOf(Fn fn) {
    std::fflush(stderr);
    QTemporaryFile capture;
    if (!capture.open()) return "<no capture>";
    const int kept = ::dup(2);
    ::dup2(capture.handle(), 2);
    fn();
    std::fflush(stderr);
    ::dup2(kept, 2);
    ::close(kept);
    capture.seek(0);
    return capture.readAll();
}

}  // namespace

// The view-options file is read at start, so whatever lies in its place must not hold the start up or be
// overwritten: only a missing file or a small regular one is used.
class ViewOptionsTest : public QObject {
    Q_OBJECT

    QTemporaryDir configHome;

private slots:
    void init() {
        // A config folder of its own for every case, so each starts as a program would.
        qputenv("XDG_CONFIG_HOME", (configHome.path() + "/" + QTest::currentDataTag()).toLocal8Bit());
        QVERIFY(QDir().mkpath(QFileInfo(ViewOptions::filePath()).path()));
    }

    void anythingButASmallRegularFileIsIgnoredAndLeftAlone_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("huge") << "huge";
        QTest::newRow("folder") << "folder";
        QTest::newRow("just over 64 KiB") << "over";
    }
    void anythingButASmallRegularFileIsIgnoredAndLeftAlone() {
        QFETCH(QString, kind);
        const QString file = ViewOptions::filePath();
        const QByteArray local = QFile::encodeName(file);
        if (kind == "fifo") {
            QCOMPARE(::mkfifo(local.constData(), 0600), 0);
        } else if (kind == "folder") {
            QVERIFY(QDir().mkdir(file));
        } else {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[OrbitReadout]\nopen=true\n");
            QVERIFY(f.resize(kind == "huge" ? 199LL * 1024 * 1024 : 64 * 1024 + 1));
        }
        struct stat before {};
        QCOMPARE(::stat(local.constData(), &before), 0);

        bool open = true;
        const QByteArray said = stderrOf([&] {
            open = ViewOptions::orbitReadoutOpen();
            ViewOptions::setOrbitReadoutOpen(true);
            ViewOptions::setFlag("ExactPath/on", true);
            open = open || ViewOptions::flag("ExactPath/on");
        });
        QVERIFY(!open);
        QCOMPARE(said.count('\n'), 1);
        QVERIFY2(said.startsWith("tulvane: ignoring the view options in " + local), said.constData());

        struct stat after {};
        QCOMPARE(::stat(local.constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_size, before.st_size);
        QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        QCOMPARE(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    }

    void aSmallFileIsReadAndWritten() {
        const QString file = ViewOptions::filePath();
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[OrbitReadout]\nopen=true\n");
        f.close();
        QVERIFY(ViewOptions::orbitReadoutOpen());
        ViewOptions::setFlag("ScaleBar/on", true);
        QVERIFY(ViewOptions::flag("ScaleBar/on"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("ScaleBar"));
    }
};

QTEST_MAIN(ViewOptionsTest)
#include "view_options_qtest.moc"
