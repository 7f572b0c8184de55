#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "main_window_fixture.h"
#include "scratch_mount.h"
#include "ui/common/data_folder.h"

class ExportTrackTest : public MainWindowFixture {
    Q_OBJECT

    static QByteArray contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void writeExisting(const QString& path) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("the user's own table\n");
    }

private slots:
    void initTestCase() { keepDataInDataHome(); }
    void init() {
        makeWindow();
        showWindow();
    }
    void cleanup() { closeWindow(); }

    void csvEqualsTheTraceToolOnTheSameSettings_data() {
        QTest::addColumn<int>("cpT");
        QTest::newRow("defaults") << 40;
        QTest::newRow("seven steps a point") << 7;
    }
    void csvEqualsTheTraceToolOnTheSameSettings() {
        QFETCH(int, cpT);
        records->CurSettings.setCpT(cpT);
        runAndPauseAt(cpT * 250);
        // A zoom on the way changes the scale, which the table does not show.
        window->zoom(window->zoomInButton);
        QVERIFY(settle(*window));
        QTemporaryDir out;
        const QString csv = out.filePath("track.csv");
        dialogs->saveAnswers.push_back(csv);
        window->exportTrackAction->trigger();
        QVERIFY2(dialogs->texts("error").isEmpty(), qPrintable(dialogs->texts("error").join('\n')));
        QCOMPARE(dialogs->shown.front().file.initialDir, DataFolder::exportStartFolder());

        const QString tv0 = out.filePath("start.TV0");
        QFile f(tv0);
        QVERIFY(f.open(QIODevice::WriteOnly));
        TState start = records->CurSettings;
        f.write(reinterpret_cast<const char*>(start.bytes.data()), static_cast<qint64>(start.bytes.size()));
        f.close();
        QProcess trace;
        trace.start(TULVANE_TRACE, {"--orbit", "--points", "250", tv0});
        QVERIFY(trace.waitForFinished(60000));
        QCOMPARE(trace.exitCode(), 0);
        const QByteArray expected = trace.readAllStandardOutput();
        QCOMPARE(expected.count('\n'), 252);
        QCOMPARE(contents(csv), expected);
    }

    void cancelWaitsForTheWriterAndLeavesNothingBehind() {
        // A hundred years of daily points: long enough to be cancelled half-way.
        runAndPauseAt(40);
        records->PlotCount = 36525;
        window->replay();
        QVERIFY(settle(*window));
        QCOMPARE(records->SimState, Paused);
        QCOMPARE(window->keptPoints().size(), 36526u);
        QTemporaryDir out;
        const QString csv = out.filePath("track.csv");
        writeExisting(csv);
        dialogs->saveAnswers.push_back(csv);
        int looks = 0;
        window->whileExportingTrack = [&](QProgressDialog& progress) {
            if (++looks == 1) progress.cancel();
        };
        window->exportTrack();
        QVERIFY(looks >= 1);
        QVERIFY(dialogs->texts("error").isEmpty());
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"track.csv"});
        QCOMPARE(contents(csv), QByteArray("the user's own table\n"));
    }

    void failedWriteLeavesNothingBehind() {
        ScratchMount mount;
        if (!mount.ok()) QSKIP(mount.why().c_str());
        runAndPauseAt(40 * 400);
        const QString csv = QString::fromStdString(mount.path()) + "/track.csv";
        writeExisting(csv);
        dialogs->saveAnswers.push_back(csv);
        window->exportTrack();
        const QStringList errors = dialogs->texts("error");
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith("The track could not be exported to " + csv + ": "),
                 qPrintable(errors[0]));
        QCOMPARE(QDir(QString::fromStdString(mount.path())).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"track.csv"});
        QCOMPARE(contents(csv), QByteArray("the user's own table\n"));
    }

    void offeredOnlyWithARun() {
        QVERIFY(!window->exportTrackAction->isEnabled());
        window->exportTrack();
        QVERIFY(dialogs->shown.empty());
    }
};

QTEST_MAIN(ExportTrackTest)
#include "export_track_qtest.moc"
