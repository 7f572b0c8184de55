#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <cerrno>

#include "core/example_settings.h"
#include "core/label_codec.h"
#include "main_window_fixture.h"
#include "sys_fault.h"
#include "temp_files.h"
#include "test_settings_viewer.h"
#include "ui/settings_viewer/open_example.h"

// File > Open Example: the shipped examples reach the viewer only through the user's copy in the data folder,
// which is made when it is absent and kept when it is there.
class OpenExampleTest : public MainWindowFixture {
    Q_OBJECT

    QTemporaryDir package;
    QString shipped;
    TestSettingsViewer* viewer = nullptr;

    // What the viewer showed when it opened.
    struct Opened {
        bool shown = false;
        QString fileName, count, label;
    };

    QString copy() const { return QDir(window->dataDir()).filePath(QStringLiteral("Examples.tv0")); }

    static Bytes recordBytes(const std::vector<TState>& records) {
        Bytes out;
        for (const TState& s : records) out.insert(out.end(), s.bytes.begin(), s.bytes.end());
        return out;
    }

    // Triggers the menu item; act runs in the viewer once it shows, and the viewer is closed after it.
    Opened openExample(const std::function<void()>& act = {}) {
        Opened opened;
        viewer->whileShown = [&] {
            opened = {true, viewer->FilenameLabel->text(), viewer->CountLabel->text(),
                      viewer->ComList->item(0)->text()};
            if (act) act();
            if (viewer->isVisible()) viewer->finishedButton->click();
        };
        window->openExampleAction->trigger();
        viewer->whileShown = nullptr;
        return opened;
    }

private slots:
    void initTestCase() {
        keepDataInDataHome();
        QVERIFY(package.isValid());
        shipped = package.filePath(QStringLiteral("examples.tv0"));
        writeBytes(shipped.toStdString(), recordBytes(exampleSettings()));
    }

    void init() {
        makeWindow();
        viewer = new TestSettingsViewer(*records, *dialogs, window->dataDir(), window);
        window->setSettingsViewer(viewer);
        window->setShippedExamples(shipped);
        showWindow({640, 480});
        QFile::remove(copy());
    }

    void cleanup() { closeWindow(); }

    void opensTheShippedExamplesThroughACopyAndLeavesThemAlone() {
        const Bytes shippedBytes = readBytes(shipped.toStdString());
        const std::vector<TState> examples = exampleSettings();
        const Opened opened = openExample([this] {
            viewer->DeleteButton->click();
            viewer->finishedButton->click();
        });
        QVERIFY(opened.shown);
        QCOMPARE(opened.fileName, copy());
        QCOMPARE(opened.count, QStringLiteral("Record 1 of 7"));
        QCOMPARE(opened.label, QString::fromStdU16String(RecLabelText(examples.front())));
        // Delete and the compaction of Finished reached the copy alone.
        QVERIFY(readBytes(shipped.toStdString()) == shippedBytes);
        QVERIFY(readBytes(copy().toStdString()) == recordBytes({examples.begin() + 1, examples.end()}));
        QVERIFY(dialogs->texts(QStringLiteral("error")).isEmpty());

        // Deleting the copy is how the user gets a fresh one.
        QVERIFY(QFile::remove(copy()));
        QCOMPARE(openExample().count, QStringLiteral("Record 1 of 7"));
        QVERIFY(readBytes(copy().toStdString()) == shippedBytes);
    }

    void keepsTheCopyThatIsThere() {
        TState mine = defaultSettings();
        SetRecLabel(mine, u"mine");
        writeBytes(copy().toStdString(), recordBytes({mine}));
        const Opened opened = openExample();
        QCOMPARE(opened.count, QStringLiteral("Record 1 of 1"));
        QCOMPARE(opened.label, QStringLiteral("mine"));
        QVERIFY(readBytes(copy().toStdString()) == recordBytes({mine}));
    }

    void saysWhyWhenTheShippedFileCannotBeReadAndMakesNoCopy() {
        const QString missing = package.filePath(QStringLiteral("missing.tv0"));
        window->setShippedExamples(missing);
        QVERIFY(!openExample().shown);
        QCOMPARE(dialogs->texts(QStringLiteral("error")),
                 QStringList(QStringLiteral("The examples file ") + missing +
                             QStringLiteral(" cannot be read: No such file or directory.")));
        QVERIFY(!QFile::exists(copy()));
    }

    void saysWhyWhenTheCopyCannotBeMadeAndLeavesNoPart() {
        SysFault fullDisk(SysCalls::Call::Write, 1, {ENOSPC, -1});
        QVERIFY(!openExample().shown);
        QVERIFY(fullDisk.fired());
        QCOMPARE(dialogs->texts(QStringLiteral("error")),
                 QStringList(QStringLiteral("The examples could not be copied to ") + copy() +
                             QStringLiteral(": No space left on device.")));
        QVERIFY(!QFile::exists(copy()));
        QCOMPARE(QDir(window->dataDir()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // It opens the viewer, so it is there exactly when View > Saved Settings is: in Ready.
    void isEnabledOnlyWhenReady() {
        QVERIFY(window->openExampleAction->isEnabled());
        runAndPauseAt(40);
        QVERIFY(!window->openExampleAction->isEnabled());
        QCOMPARE(window->openExampleAction->isEnabled(), window->savedSettingsAction->isEnabled());
        window->openExample();
        QVERIFY(!QFile::exists(copy()));
        window->controlRun(window->resetButton);
        QVERIFY(window->openExampleAction->isEnabled());
    }
};

QTEST_MAIN(OpenExampleTest)
#include "open_example_qtest.moc"
