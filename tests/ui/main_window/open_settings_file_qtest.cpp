#include <QLabel>
#include <QtTest>
#include <string>
#include <vector>

#include "core/label_codec.h"
#include "main_window_fixture.h"
#include "temp_files.h"
#include "test_settings_viewer.h"

// A settings file named on the command line: shown in the viewer at its first record, or one record made
// current with the program left Ready.
class OpenSettingsFileTest : public MainWindowFixture {
    Q_OBJECT

    TestSettingsViewer* viewer = nullptr;
    std::string file;
    std::vector<TState> saved;

    static TState savedRecord(int n, std::int32_t action = 0) {
        TState s = defaultSettings();
        s.setDT(static_cast<Extended>(60 * n));
        SetRecLabel(s, (u"Saved " + std::u16string(1, static_cast<char16_t>(u'0' + n))));
        s.setAction(action);
        return s;
    }

private slots:
    void initTestCase() { keepDataInDataHome(true); }
    void init() {
        makeWindow();
        viewer = new TestSettingsViewer(*records, *dialogs, window->dataDir(), window);
        window->setSettingsViewer(viewer);
        showWindow({810, 600});
        // Record 2 is marked for deletion.
        saved = {savedRecord(1), savedRecord(2, 1), savedRecord(3)};
        file = dataHome.filePath(QStringLiteral("three.tv0")).toStdString();
        writeBytes(file, fileImage(saved));
    }
    void cleanup() { closeWindow(); }

    void theViewerShowsTheFileAtItsFirstRecord() {
        QString count, name;
        TState shown{};
        viewer->whileShown = [&] {
            count = viewer->CountLabel->text();
            name = viewer->FilenameLabel->text();
            shown = viewer->viewRec();
            viewer->finish();
        };
        window->openSettingsFile(QString::fromStdString(file));
        QCOMPARE(count, QStringLiteral("Record 1 of 3"));
        QCOMPARE(name, QString::fromStdString(file));
        QVERIFY(bytesOf(shown) == bytesOf(saved[0]));
        QVERIFY(dialogs->shown.empty());
        // Viewing makes nothing current.
        QVERIFY(bytesOf(records->CurSettings) == bytesOf(defaultSettings()));
        QVERIFY(!viewer->viewFileOpen());
    }

    void aFileThatCannotBeReadIsReportedAndTheViewerStaysClosed() {
        bool viewerShown = false;
        viewer->whileShown = [&] {
            viewerShown = true;
            viewer->finish();
        };
        window->openSettingsFile(dataHome.filePath(QStringLiteral("missing.tv0")));
        QVERIFY(!viewerShown);
        QCOMPARE(dialogs->texts(QStringLiteral("message")),
                 QStringList{QStringLiteral(
                     "EInOutError error raised with message: The specified file was not found")});
        QVERIFY(bytesOf(records->CurSettings) == bytesOf(defaultSettings()));
    }

    void aRecordNumberMakesThatRecordCurrent_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("record");
        QTest::addColumn<int>("madeCurrent");  // index into saved, or -1: the defaults stay
        QTest::addColumn<QString>("message");
        QTest::newRow("first") << "three.tv0" << qint64{1} << 0 << QString();
        QTest::newRow("last") << "three.tv0" << qint64{3} << 2 << QString();
        QTest::newRow("marked for deletion")
            << "three.tv0" << qint64{2} << -1 << "Record 2 of %1 is marked for deletion.";
        QTest::newRow("past the end") << "three.tv0" << qint64{4} << -1
                                      << "EInOutError error raised with message: Read beyond end of file";
        QTest::newRow("far past the end") << "three.tv0" << qint64{INT64_MAX / 293 + 1} << -1
                                          << "EInOutError error raised with message: Read beyond end of file";
        QTest::newRow("missing file")
            << "missing.tv0" << qint64{1} << -1
            << "EInOutError error raised with message: The specified file was not found";
    }
    void aRecordNumberMakesThatRecordCurrent() {
        QFETCH(QString, name);
        QFETCH(qint64, record);
        QFETCH(int, madeCurrent);
        QFETCH(QString, message);
        bool viewerShown = false;
        viewer->whileShown = [&] {
            viewerShown = true;
            viewer->finish();
        };
        const QString path = dataHome.filePath(name);
        window->openSettingsFile(path, record);
        QVERIFY(!viewerShown);
        const TState expected =
            madeCurrent < 0 ? defaultSettings() : saved[static_cast<std::size_t>(madeCurrent)];
        QVERIFY(bytesOf(records->CurSettings) == bytesOf(expected));
        QCOMPARE(records->SimState, Ready);
        QCOMPARE(window->runStateLabel->text(), QStringLiteral("Ready"));
        const QStringList expectedMessages =
            message.isEmpty()
                ? QStringList{}
                : QStringList{message.contains(QLatin1String("%1")) ? message.arg(path) : message};
        QCOMPARE(dialogs->texts(QStringLiteral("message")), expectedMessages);
        // The file itself is left as it was.
        QVERIFY(name != QLatin1String("three.tv0") || readBytes(file) == fileImage(saved));
    }
};

QTEST_MAIN(OpenSettingsFileTest)
#include "open_settings_file_qtest.moc"
