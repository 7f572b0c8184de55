#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <future>
#include <thread>

#include "core/label_codec.h"
#include "main_window_fixture.h"
#include "scratch_mount.h"
#include "ui/common/data_folder.h"
#include "ui/common/view_options.h"
#include "ui/export/export_file_name.h"

class ExportPictureTest : public MainWindowFixture {
    Q_OBJECT

    // The user's home, where the export dialog starts, a temporary one: a cancel can be seen to leave it
    // empty.
    QTemporaryDir home;
    QByteArray savedHome;

    static QImage rgb(const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); }
    static QByteArray contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // The PNG the export wrote when it encoded on the window's thread.
    static QByteArray pngOf(const QImage& picture) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        return png;
    }

private slots:
    void initTestCase() {
        // The caption's switch is remembered in the view options: a folder of the test's own.
        keepDataInDataHome(true);
        QVERIFY(home.isValid());
        savedHome = qgetenv("HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        QVERIFY(DataFolder::pictureExportFolder().startsWith(home.path()));
    }
    void cleanupTestCase() { qputenv("HOME", savedHome); }
    void init() {
        makeWindow();
        showWindow({640, 480});
    }
    void cleanup() { closeWindow(); }

    void pngHoldsThePlotsPixelsWithoutThePanel() {
        runAndPauseAt(40 * 120);
        QTemporaryDir out;
        const QString path = out.filePath("orbit.png");
        dialogs->saveAnswers.push_back(path);
        window->exportPictureAction->trigger();
        QVERIFY(exportsDone());

        QCOMPARE(dialogs->texts("save"), QStringList{"Export Picture"});
        QCOMPARE(dialogs->shown.back().file.initialDir, DataFolder::pictureExportFolder());
        QVERIFY(dialogs->shown.back().file.overwritePrompt);
        QVERIFY(dialogs->texts("error").isEmpty());
        // Byte for byte the file the window's own thread used to encode and write.
        QCOMPARE(contents(path), pngOf(window->plotSurface()->renderWithOverlays()));
        const QImage saved(path);
        QVERIFY(!saved.isNull());
        QCOMPARE(saved.size(), window->plotSurface()->size());
        // The crosses and the background, but not the control panel, which lies over the plot on screen.
        QVERIFY(rgb(saved) == rgb(window->plotSurface()->image()));
        QVERIFY(rgb(window->plotSurface()->grab().toImage()) != rgb(saved));
    }

    void onlyOfferedWhileARunHasAPicture() {
        QVERIFY(!window->exportPictureAction->isEnabled());
        window->exportPicture();
        QVERIFY(dialogs->shown.empty());
        runAndPauseAt(100);
        QVERIFY(window->exportPictureAction->isEnabled());
        window->controlRun(window->resetButton);
        QVERIFY(!window->exportPictureAction->isEnabled());
    }

    void cancelWritesNothing() {
        runAndPauseAt(100);
        window->exportPictureAction->trigger();
        QCOMPARE(dialogs->texts("save").size(), 1);
        QVERIFY(dialogs->texts("error").isEmpty());
        QVERIFY(QDir(window->dataDir()).entryList(QDir::Files).isEmpty());
        QVERIFY(QDir(DataFolder::pictureExportFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void failedExportLeavesNothingBehind_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("disk full") << false;
        QTest::newRow("read-only folder") << true;
    }
    void failedExportLeavesNothingBehind() {
        QFETCH(bool, readOnly);
        ScratchMount mount;
        if (!mount.ok()) QSKIP(mount.why().c_str());
        // A picture that does not compress: the PNG is far larger than the 64 KiB the mount holds.
        QImage noise(window->plotSurface()->size(), QImage::Format_RGB32);
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, QRandomGenerator::global()->generate());
        window->plotSurface()->stretchDraw(noise);
        runAndPauseAt(100);

        const QString dir = QString::fromStdString(mount.path());
        const QString path = dir + "/orbit.png";
        {
            QFile existing(path);
            QVERIFY(existing.open(QIODevice::WriteOnly));
            existing.write("the user's own file");
        }
        if (readOnly && !mount.makeReadOnly()) QSKIP(mount.why().c_str());
        dialogs->saveAnswers.push_back(path);
        bool toldOnTheWindowsThread = false;
        dialogs->onShow = [&](const ScriptedDialogs::Shown& s) {
            if (s.kind == "error") toldOnTheWindowsThread = QThread::currentThread() == qApp->thread();
        };
        window->exportPicture();
        QVERIFY(exportsDone());

        const QStringList errors = dialogs->texts("error");
        QVERIFY(toldOnTheWindowsThread);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith("The picture could not be exported to " + path + ": "),
                 qPrintable(errors[0]));
        QVERIFY2(errors[0].endsWith(QString::fromLocal8Bit(std::strerror(readOnly ? EROFS : ENOSPC)) + '.'),
                 qPrintable(errors[0]));
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{"orbit.png"});
        QFile existing(path);
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("the user's own file"));
    }

    void encodesAndWritesOffTheWindowsThread() {
        runAndPauseAt(40 * 120);
        QTemporaryDir out;
        const QString path = out.filePath("orbit.png");
        dialogs->saveAnswers.push_back(path);
        // The writer waits at the gate until the test has looked: control must be back before it writes.
        std::promise<void> gate;
        std::shared_future<void> opened = gate.get_future().share();
        std::thread::id writer;
        window->exports()->beforeWriting = [&writer, opened] {
            writer = std::this_thread::get_id();
            opened.wait_for(std::chrono::minutes(2));
        };
        window->exportPicture();
        QVERIFY(window->exports()->writing());
        QVERIFY(!QFile::exists(path));
        // The window goes on serving its events meanwhile.
        window->zoom(window->zoomInButton);
        QVERIFY(settle(*window));
        gate.set_value();
        QVERIFY(exportsDone());
        QVERIFY(writer != std::thread::id());
        QVERIFY(writer != std::this_thread::get_id());
        QVERIFY(dialogs->texts("error").isEmpty());
        // The picture is the one asked for, not the zoomed plot.
        window->zoom(window->zoomOutButton);
        QVERIFY(settle(*window));
        QCOMPARE(contents(path), pngOf(window->plotSurface()->renderWithOverlays()));
    }

    void suggestsTheLabelAndTheDayInThePicturesFolder() {
        QVERIFY(QDir(home.path()).mkpath("Pictures"));
        QVERIFY(QDir(home.path()).mkpath("Documents"));
        SetRecLabel(records->CurSettings, u"Earth and Sun");
        runAndPauseAt(40 * 120);
        window->exportPicture();
        window->exportTrack();
        const auto& picture = dialogs->shown.at(0);
        const auto& track = dialogs->shown.at(1);
        const QString days = window->elapsedLabel->text();
        QCOMPARE(days, QString("120.0"));
        QCOMPARE(picture.file.initialDir, home.filePath("Pictures"));
        QCOMPARE(picture.proposedFile, home.filePath("Pictures/Earth and Sun, day 120.0.png"));
        QCOMPARE(track.file.initialDir, home.filePath("Documents"));
        QCOMPARE(track.proposedFile, home.filePath("Documents/Earth and Sun, day 120.0.csv"));
        QVERIFY(QDir(home.path()).rmdir("Pictures"));
        QVERIFY(QDir(home.path()).rmdir("Documents"));
    }

    void suggestedNameKeepsToWhatFileSystemsTake_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("days");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "Comet, hourly"
                               << "1.5"
                               << "Comet, hourly, day 1.5.png";
        QTest::newRow("no label") << ""
                                  << "0.0"
                                  << "Tulvane, day 0.0.png";
        QTest::newRow("blank label") << "   "
                                     << "2.0"
                                     << "Tulvane, day 2.0.png";
        QTest::newRow("a separator and a colon") << "A/B: test"
                                                 << "3,5"
                                                 << "A-B- test, day 3,5.png";
        QTest::newRow("characters USB sticks refuse") << "a*b?c\"d<e>f|g\\h"
                                                      << "1"
                                                      << "a-b-c-d-e-f-g-h, day 1.png";
        QTest::newRow("a hidden file") << "..hidden"
                                       << "1"
                                       << "hidden, day 1.png";
        QTest::newRow("control characters") << "tab\there\nline"
                                            << "1"
                                            << "tab here line, day 1.png";
        QTest::newRow("no day") << "Label"
                                << ""
                                << "Label.png";
        QTest::newRow("long") << QString(100, QChar(0x20AC)) << "1.0E+09"
                              << QString(64, QChar(0x20AC)) + ", day 1.0E+09.png";
    }
    void suggestedNameKeepsToWhatFileSystemsTake() {
        QFETCH(QString, label);
        QFETCH(QString, days);
        QFETCH(QString, name);
        const QString suggested = suggestedExportName(label, days, "png");
        QCOMPARE(suggested, name);
        QVERIFY(QFile::encodeName(suggested).size() <= 255);
    }

    void captionStripOnlyWhenAskedAndRemembered() {
        QVERIFY(!window->exports()->captionAction()->isChecked());
        QVERIFY(window->fileMenu->actions().contains(window->exports()->captionAction()));
        SetRecLabel(records->CurSettings, u"Circular orbit");
        records->CurSettings.setSf(1e9L);
        runAndPauseAt(40 * 30);
        window->exports()->captionSummary = [] { return QString("bound ellipse, e = 0.017"); };
        QCOMPARE(window->exports()->captionLines("30.0"),
                 (QStringList{QString::fromUtf8("Circular orbit \u2014 day 30.0 \u2014 1 px = 1 million km"),
                              "bound ellipse, e = 0.017"}));

        QTemporaryDir out;
        const QString plain = out.filePath("plain.png");
        const QString captioned = out.filePath("captioned.png");
        dialogs->saveAnswers.push_back(plain);
        window->exportPicture();
        window->exports()->captionAction()->trigger();
        dialogs->saveAnswers.push_back(captioned);
        window->exportPicture();
        QVERIFY(exportsDone());

        const QImage kept = rgb(window->plotSurface()->renderWithOverlays());
        QCOMPARE(rgb(QImage(plain)), kept);
        const QImage withStrip = rgb(QImage(captioned));
        QCOMPARE(withStrip.width(), kept.width());
        QVERIFY(withStrip.height() > kept.height() + 2 * QFontMetrics(QGuiApplication::font()).height());
        QCOMPARE(withStrip.copy(0, 0, kept.width(), kept.height()), kept);
        const QImage strip =
            withStrip.copy(0, kept.height(), kept.width(), withStrip.height() - kept.height());
        int dark = 0;
        for (int y = 0; y < strip.height(); ++y)
            for (int x = 0; x < strip.width(); ++x) dark += qGray(strip.pixel(x, y)) < 128;
        QVERIFY2(dark > 100, "the caption's text is drawn");

        // A new window, as after a restart, remembers the switch.
        dropWindow();
        makeWindow();
        QVERIFY(window->exports()->captionAction()->isChecked());
        window->exports()->captionAction()->trigger();
        QVERIFY(!ViewOptions::flag("Export/PictureCaption"));
    }
};

QTEST_MAIN(ExportPictureTest)
#include "export_picture_qtest.moc"
