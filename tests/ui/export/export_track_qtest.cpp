#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <future>

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

    // What tulvane-trace --orbit prints for the first `points` plot points from start.
    static QByteArray traceTable(const TState& start, std::int64_t points) {
        QTemporaryDir dir;
        const QString tv0 = dir.filePath("start.TV0");
        QFile f(tv0);
        if (!f.open(QIODevice::WriteOnly)) return "<no start file>";
        f.write(reinterpret_cast<const char*>(start.bytes.data()), static_cast<qint64>(start.bytes.size()));
        f.close();
        QProcess trace;
        trace.start(TULVANE_TRACE, {"--orbit", "--points", QString::number(points), tv0});
        if (!trace.waitForFinished(60000) || trace.exitCode() != 0) return "<trace failed>";
        return trace.readAllStandardOutput();
    }

    // The writers wait at this gate until the test opens it; the writer's thread is not the window's.
    struct Gate {
        std::promise<void> promise;
        std::shared_future<void> opened = promise.get_future().share();
        void holdWritersOf(ExportFlow& flow) {
            flow.beforeWriting = [o = opened] { o.wait_for(std::chrono::minutes(2)); };
        }
        void open() { promise.set_value(); }
    };

    // A paused run of a hundred years of daily points: long enough to be cancelled half-way.
    void pauseAfterAHundredYears() {
        runAndPauseAt(40);
        records->PlotCount = 36525;
        window->replay();
        QVERIFY(settle(*window));
        QCOMPARE(records->SimState, Paused);
        QCOMPARE(window->keptPoints().size(), 36526u);
    }

    QProgressDialog* progressBox() const {
        for (auto* box : window->findChildren<QProgressDialog*>())
            if (box->isVisible()) return box;
        return nullptr;
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
        QVERIFY(exportsDone());
        QVERIFY2(dialogs->texts("error").isEmpty(), qPrintable(dialogs->texts("error").join('\n')));
        QCOMPARE(dialogs->shown.front().file.initialDir, DataFolder::trackExportFolder());

        const QByteArray expected = traceTable(records->CurSettings, 250);
        QCOMPARE(expected.count('\n'), 252);
        QCOMPARE(contents(csv), expected);
    }

    void cancelWaitsForTheWriterAndLeavesNothingBehind() {
        pauseAfterAHundredYears();
        QTemporaryDir out;
        const QString csv = out.filePath("track.csv");
        writeExisting(csv);
        dialogs->saveAnswers.push_back(csv);
        int looks = 0;
        window->exports()->whileExportingTrack = [&](QProgressDialog& progress) {
            if (++looks == 1) progress.cancel();
        };
        window->exportTrack();
        QVERIFY(exportsDone());
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
        QVERIFY(exportsDone());
        const QStringList errors = dialogs->texts("error");
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors[0], "The track could not be exported to " + csv + ": " +
                                QString::fromLocal8Bit(std::strerror(ENOSPC)) + ".");
        QCOMPARE(QDir(QString::fromStdString(mount.path())).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"track.csv"});
        QCOMPARE(contents(csv), QByteArray("the user's own table\n"));
    }

    void progressShowsAtOnceAndTheWindowStaysFree() {
        pauseAfterAHundredYears();
        QTemporaryDir out;
        const QString csv = out.filePath("track.csv");
        dialogs->saveAnswers.push_back(csv);
        Gate gate;
        gate.holdWritersOf(*window->exports());
        window->exportTrack();
        // Back from the handler with the writer not yet begun: the box is up already, and holds nothing.
        QProgressDialog* box = progressBox();
        QVERIFY(box);
        QCOMPARE(box->windowModality(), Qt::NonModal);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(box->maximum(), 36526);
        QCOMPARE(box->labelText(), QString("Writing the track to track.csv"));
        QVERIFY(!box->findChild<QProgressBar*>()->accessibleName().isEmpty());
        QVERIFY(!box->findChild<QPushButton*>()->accessibleName().isEmpty());
        gate.open();
        QVERIFY(exportsDone());
        QVERIFY(!progressBox());
        QCOMPARE(contents(csv).count('\n'), 36527);
    }

    // The run goes on while the table is written, and thins its track meanwhile: the table still ends at
    // the plot point the run had reached when the export began, with every point before it.
    void exportDuringARunEndsAtItsLastPlotPointThen() {
        window->setKeptPointCapacity(300);
        QTemporaryDir out;
        const QString csv = out.filePath("track.csv");
        dialogs->saveAnswers.push_back(csv);
        Gate gate;
        gate.holdWritersOf(*window->exports());
        std::int64_t lastAtExport = -1;
        bool runningAtExport = false;
        runWith(*window, onStep, [&](int step) {
            // Served between two slices of the run, as a menu click is.
            if (step == 40 * 250)
                QMetaObject::invokeMethod(
                    window,
                    [&] {
                        runningAtExport = records->SimState == Running && window->runActive();
                        lastAtExport = window->keptPoints().lastPlotIndex();
                        window->exportTrackAction->trigger();
                    },
                    Qt::QueuedConnection);
            if (step == 40 * 700) window->controlRun(window->pauseButton);
        });
        QVERIFY(runningAtExport);
        QVERIFY(lastAtExport >= 250);
        QVERIFY(window->exports()->writing());
        QCOMPARE(window->keptPoints().stride(), 4);
        QVERIFY(window->keptPoints().lastPlotIndex() > lastAtExport);
        gate.open();
        QVERIFY(exportsDone());
        QVERIFY2(dialogs->texts("error").isEmpty(), qPrintable(dialogs->texts("error").join('\n')));
        const QByteArray expected = traceTable(records->CurSettings, lastAtExport);
        QCOMPARE(expected.count('\n'), lastAtExport + 2);
        QCOMPARE(contents(csv), expected);
    }

    // A replay (a zoom's) rebuilds the kept points from the start: the table waits for it to end, so that it
    // still reaches the run's last plot point.
    void exportDuringAReplayWaitsForItsEnd() {
        pauseAfterAHundredYears();
        QTemporaryDir out;
        const QString csv = out.filePath("track.csv");
        dialogs->saveAnswers.push_back(csv);
        window->replay();
        QVERIFY(window->session().replaying());
        QVERIFY(window->keptPoints().size() < 36526u);
        window->exportTrack();
        QProgressDialog* box = progressBox();
        QVERIFY(box);
        QVERIFY(box->labelText().startsWith("Waiting for the replay to end"));
        QVERIFY(exportsDone());
        QVERIFY(!window->runActive());
        QCOMPARE(contents(csv).count('\n'), 36527);
        QVERIFY(contents(csv).endsWith('\n'));
        QVERIFY(contents(csv).split('\n').at(36526).startsWith("36525,"));
    }

    // Ctrl+Q, File > Exit or the close box while a file is written: the program waits for it with its box
    // up, or, when the box is cancelled, ends without it and says so.
    void exitWaitsForTheWriterOrTellsOfTheCancel_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("picture, Ctrl+Q, waits") << "picture"
                                                << "Ctrl+Q" << false;
        QTest::newRow("track, File > Exit, waits") << "track"
                                                   << "File > Exit" << false;
        QTest::newRow("track, close box, cancelled") << "track"
                                                     << "close box" << true;
        QTest::newRow("picture, File > Exit, cancelled") << "picture"
                                                         << "File > Exit" << true;
    }
    void exitWaitsForTheWriterOrTellsOfTheCancel() {
        QFETCH(QString, kind);
        QFETCH(QString, how);
        QFETCH(bool, cancel);
        bool quit = false;
        window->onQuit = [&quit] { quit = true; };
        QVERIFY(QTest::qWaitForWindowActive(window));
        runAndPauseAt(40 * 400);
        QTemporaryDir out;
        const QString path = out.filePath(kind == "track" ? "track.csv" : "orbit.png");
        writeExisting(path);
        dialogs->saveAnswers.push_back(path);
        Gate gate;
        gate.holdWritersOf(*window->exports());
        if (kind == "track")
            window->exportTrack();
        else
            window->exportPicture();
        const QImage picture = window->plotSurface()->renderWithOverlays();

        if (how == "Ctrl+Q")
            QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
        else if (how == "File > Exit")
            window->exitAction->trigger();
        else
            window->close();
        QVERIFY(!quit);
        QProgressDialog* box = progressBox();
        QVERIFY(box);
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        QCOMPARE(box->findChild<QProgressBar*>()->accessibleName(),
                 kind == "track" ? QString("Rows written") : QString("Picture being written"));
        QVERIFY2(box->labelText().endsWith("Tulvane ends when it is written."), qPrintable(box->labelText()));
        if (cancel) box->cancel();
        // Still waiting: the writer is held at the gate.
        QTest::qWait(100);
        QVERIFY(!quit);
        gate.open();
        QVERIFY(QTest::qWaitFor([&quit] { return quit; }, 120000));
        QVERIFY(!window->exports()->writing());
        QVERIFY(dialogs->texts("error").isEmpty());
        if (cancel) {
            QCOMPARE(dialogs->texts("message"), QStringList{"The export of the " + kind + " to " + path +
                                                            " was cancelled: the file was not written."});
            QCOMPARE(contents(path), QByteArray("the user's own table\n"));
        } else {
            QVERIFY(dialogs->texts("message").isEmpty());
            if (kind == "track")
                QCOMPARE(contents(path), traceTable(records->CurSettings, 400));
            else
                QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32),
                         picture.convertToFormat(QImage::Format_RGB32));
        }
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QFileInfo(path).fileName()});
    }

    void offeredOnlyWithARun() {
        QVERIFY(!window->exportTrackAction->isEnabled());
        window->exportTrack();
        QVERIFY(dialogs->shown.empty());
    }
};

QTEST_MAIN(ExportTrackTest)
#include "export_track_qtest.moc"
