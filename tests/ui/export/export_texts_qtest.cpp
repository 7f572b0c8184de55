#include <QAction>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <future>
#include <optional>

#include "core/label_codec.h"
#include "main_window_fixture.h"
#include "marking_translator.h"
#include "ui/common/distance_in_words.h"

// Every text the exports show the user comes through a translation, whole, its file names and the system's
// reasons filled in afterwards: under a catalogue that marks what it translates, each comes marked.
class ExportTextsTest : public MainWindowFixture {
    Q_OBJECT

    std::optional<MarkedTexts> marked;

    static QString m(const QString& text) { return MarkingTranslator::marked(text); }
    static QString systemText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }
    QProgressDialog* progressBox() const {
        for (auto* box : window->findChildren<QProgressDialog*>())
            if (box->isVisible()) return box;
        return nullptr;
    }

private slots:
    void initTestCase() { keepDataInDataHome(true); }
    void init() {
        marked.emplace();
        makeWindow();
        showWindow();
        SetRecLabel(records->CurSettings, u"Earth and Sun");
        records->CurSettings.setSf(1e9L);
        runAndPauseAt(40 * 30);
    }
    void cleanup() {
        closeWindow();
        marked.reset();
    }

    void pictureExport() {
        QVERIFY(MarkingTranslator::isMarked(window->exports()->captionAction()->text()));
        window->exports()->captionSummary = [] { return QStringLiteral("bound ellipse"); };
        QCOMPARE(window->exports()->captionLines("30.0"),
                 (QStringList{"Earth and Sun \u2014 " + m("day 30.0") + " \u2014 " +
                                  m("1 px = " + distanceInWords(1e9L, QLatin1Char('.'))),
                              "bound ellipse"}));

        QTemporaryDir out;
        const QString path = out.filePath("missing/orbit.png");
        dialogs->saveAnswers.push_back(path);
        window->exportPicture();
        QVERIFY(exportsDone());
        const auto& asked = dialogs->shown.at(0);
        QCOMPARE(asked.text, m("Export Picture"));
        QCOMPARE(asked.file.nameFilter, m("PNG pictures (*.png *.PNG)"));
        QCOMPARE(QFileInfo(asked.proposedFile).fileName(), m("Earth and Sun, day 30.0") + ".png");
        QCOMPARE(
            dialogs->texts("error"),
            QStringList{m("The picture could not be exported to " + path + ": " + systemText(ENOENT)) + "."});
    }

    void trackExport() {
        QTemporaryDir out;
        const QString path = out.filePath("track.csv");
        dialogs->saveAnswers.push_back(path);
        // A replay under way: the box waits for its end before the writing begins.
        window->replay();
        QVERIFY(window->session().replaying());
        window->exportTrack();
        QProgressDialog* box = progressBox();
        QVERIFY(box);
        QCOMPARE(box->labelText(), m("Waiting for the replay to end before writing the track to track.csv"));
        QCOMPARE(untranslatedTexts(box), QStringList());
        QVERIFY(exportsDone());
        const auto& asked = dialogs->shown.at(0);
        QCOMPARE(asked.text, m("Export Track"));
        QCOMPARE(asked.file.nameFilter, m("CSV tables (*.csv *.CSV)"));
        QVERIFY(dialogs->texts("error").isEmpty());

        const QString missing = out.filePath("missing/track.csv");
        dialogs->saveAnswers.push_back(missing);
        window->exportTrack();
        box = progressBox();
        QVERIFY(box);
        QCOMPARE(box->labelText(), m("Writing the track to track.csv"));
        QCOMPARE(untranslatedTexts(box), QStringList());
        QVERIFY(exportsDone());
        QCOMPARE(dialogs->texts("error"),
                 QStringList{m("The track could not be exported to " + missing + ": " + systemText(ENOENT)) +
                             "."});
    }

    // The program's end waits for an export with its box up, and tells of one the user cancelled there.
    void exportCancelledAtTheEnd() {
        bool quit = false;
        window->onQuit = [&quit] { quit = true; };
        QTemporaryDir out;
        const QString path = out.filePath("orbit.png");
        dialogs->saveAnswers.push_back(path);
        std::promise<void> gate;
        window->exports()->beforeWriting = [opened = gate.get_future().share()] {
            opened.wait_for(std::chrono::minutes(2));
        };
        window->exportPicture();
        window->exitAction->trigger();
        QProgressDialog* box = progressBox();
        QVERIFY(box);
        QCOMPARE(box->labelText(),
                 m("Writing the picture to orbit.png") + "\n" + m("Tulvane ends when it is written."));
        QCOMPARE(untranslatedTexts(box), QStringList());
        box->cancel();
        // The box's cancel reaches the writer at the next look at the progress, while it waits at the gate.
        QTest::qWait(100);
        gate.set_value();
        QVERIFY(QTest::qWaitFor([&quit] { return quit; }, 120000));
        QCOMPARE(dialogs->texts("message"), QStringList{m("The export of the picture to " + path +
                                                          " was cancelled: the file was not written.")});
    }
};

QTEST_MAIN(ExportTextsTest)
#include "export_texts_qtest.moc"
