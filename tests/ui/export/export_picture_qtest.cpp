#include <QDir>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "main_window_fixture.h"
#include "scratch_mount.h"
#include "ui/common/data_folder.h"

class ExportPictureTest : public MainWindowFixture {
    Q_OBJECT

    // The user's home, where the export dialog starts, a temporary one: a cancel can be seen to leave it
    // empty.
    QTemporaryDir home;
    QByteArray savedHome;

    static QImage rgb(const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); }

private slots:
    void initTestCase() {
        keepDataInDataHome();
        QVERIFY(home.isValid());
        savedHome = qgetenv("HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        QVERIFY(DataFolder::exportStartFolder().startsWith(home.path()));
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

        QCOMPARE(dialogs->texts("save"), QStringList{"Export Picture"});
        QCOMPARE(dialogs->shown.back().file.initialDir, DataFolder::exportStartFolder());
        QVERIFY(dialogs->shown.back().file.overwritePrompt);
        QVERIFY(dialogs->texts("error").isEmpty());
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
        QVERIFY(QDir(DataFolder::exportStartFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
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
        window->exportPicture();

        const QStringList errors = dialogs->texts("error");
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith("The picture could not be exported to " + path + ": "),
                 qPrintable(errors[0]));
        QVERIFY(errors[0].endsWith('.'));
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{"orbit.png"});
        QFile existing(path);
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("the user's own file"));
    }
};

QTEST_MAIN(ExportPictureTest)
#include "export_picture_qtest.moc"
