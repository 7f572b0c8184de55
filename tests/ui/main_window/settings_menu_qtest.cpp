#include <QAction>
#include <QBuffer>
#include <QGuiApplication>
#include <QMenu>
#include <QtTest>

#include <jerror.h>
#include <jpeglib.h>
#include <cstdio>
#include <optional>

#include "main_window_fixture.h"

class SettingsMenuTest : public MainWindowFixture {
    Q_OBJECT

    QRgb pixel(int x, int y) const { return window->plotSurface()->image().pixel(x, y); }
    QAction* checkedInterval() const {
        for (QAction* a : window->plotIntervalActions)
            if (a->isChecked()) return a;
        return nullptr;
    }

private slots:
    void initTestCase() { keepDataInDataHome(true); }
    void init() {
        makeWindow();
        showWindow({810, 600});
    }
    void cleanup() { closeWindow(); }

    void intervalItemsSetTheirExactValues_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<double>("seconds");
        QTest::newRow("1 minute") << "1 minute" << 60.0;
        QTest::newRow("100 seconds") << "100 seconds" << 100.0;
        QTest::newRow("1000 seconds") << "1000 seconds" << 1000.0;
        QTest::newRow("1 hour") << "1 hour" << 3600.0;
        QTest::newRow("10000 seconds") << "10000 seconds" << 10000.0;
        QTest::newRow("1 day") << "1 day" << 86400.0;
        QTest::newRow("10E5 seconds") << "10E5 seconds" << 100000.0;
        QTest::newRow("1 week") << "1 week" << 604800.0;
        QTest::newRow("10E6 seconds") << "10E6 seconds" << 1000000.0;
        QTest::newRow("1 month") << "1 month" << 2626560.0;
        QTest::newRow("10E7 seconds") << "10E7 seconds" << 10000000.0;
        QTest::newRow("1 year") << "1 year" << 31557600.0;
    }
    void intervalItemsSetTheirExactValues() {
        QFETCH(QString, caption);
        QFETCH(double, seconds);
        QCOMPARE(checkedInterval()->text(), QString("1 day"));
        QAction* item = nullptr;
        for (QAction* a : window->plotIntervalActions)
            if (a->text() == caption) item = a;
        QVERIFY(item);
        item->trigger();
        QCOMPARE(records->CurSettings.dT(), static_cast<Extended>(seconds));
        QCOMPARE(checkedInterval(), item);
        item->trigger();  // the marked item again changes nothing
        QCOMPARE(checkedInterval(), item);
        QCOMPARE(records->CurSettings.dT(), static_cast<Extended>(seconds));
    }

    void intervalMenuStartsWithItsCaptionItem() {
        const QList<QAction*> actions = window->plotIntervalMenu->actions();
        QCOMPARE(actions.size(), 13);
        QCOMPARE(actions.first()->text(), QString("Simulated time between plots"));
        QCOMPARE(window->plotIntervalMenu->title(), QString("Plot Interval"));
    }

    void anotherWayOfChangingTheIntervalLeavesTheMark() {
        records->CurSettings.setDT(60);
        QCOMPARE(checkedInterval()->text(), QString("1 day"));
    }

    void bodyColoursApplyToLaterCrossesOnly() {
        window->drawBody(TVector{200e9L, 100e9L}, BodyA);
        dialogs->colorAnswers.push_back(QColor(0, 255, 0));
        window->bodyAColorAction->trigger();
        QCOMPARE(records->CurSettings.AColor(), 0x0000FF00);
        QCOMPARE(pixel(200, 100), qRgb(255, 255, 0));  // the cross already drawn keeps its colour
        window->drawBody(TVector{300e9L, 100e9L}, BodyA);
        QCOMPARE(pixel(300, 100), qRgb(0, 255, 0));
        dialogs->colorAnswers.push_back(QColor(0x12, 0x34, 0x56));
        window->bodyBColorAction->trigger();
        QCOMPARE(records->CurSettings.BColor(), 0x00563412);
    }

    void colourDialogOpensOnTheLastAcceptedColour() {
        dialogs->colorAnswers = {QColor(10, 20, 30), std::nullopt, QColor(40, 50, 60), std::nullopt};
        window->bodyAColorAction->trigger();
        window->bodyBColorAction->trigger();  // cancelled: B keeps red
        window->backgroundColorAction->trigger();
        window->bodyAColorAction->trigger();
        QList<QColor> opened;
        for (const auto& s : dialogs->shown) opened << s.initialColor;
        QCOMPARE(opened, (QList<QColor>{QColor(Qt::blue), QColor(10, 20, 30), QColor(10, 20, 30),
                                        QColor(40, 50, 60)}));
        QCOMPARE(records->CurSettings.BColor(), 0x000000FF);
        QCOMPARE(records->CurSettings.AColor(), 0x001E140A);
    }

    void backgroundColourClearsEvenWhenUnchanged() {
        window->drawBody(TVector{200e9L, 100e9L}, BodyA);
        dialogs->colorAnswers.push_back(QColor(Qt::blue));
        window->backgroundColorAction->trigger();
        QCOMPARE(pixel(200, 100), qRgb(0, 0, 255));
        dialogs->colorAnswers.push_back(QColor(Qt::black));
        window->backgroundColorAction->trigger();
        QCOMPARE(pixel(200, 100), qRgb(0, 0, 0));
        QCOMPARE(records->CurSettings.CColor(), 0);
    }

    QString writeTwoColourJpeg(const QString& name) {
        QImage img(40, 20, QImage::Format_RGB32);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x) img.setPixel(x, y, x < 20 ? qRgb(255, 0, 0) : qRgb(0, 255, 0));
        QString path = dataHome.filePath(name);
        if (!img.save(path, "JPG", 95)) return {};
        return path;
    }
    static bool near(QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 &&
               std::abs(qBlue(a) - qBlue(b)) < 24;
    }

    void jpegBackgroundIsStretchedOverTheClientArea() {
        const QString path = writeTwoColourJpeg("two.JPG");
        if (path.isEmpty()) QSKIP("Qt cannot write JPEG files here");
        dialogs->openAnswers.push_back(path);
        window->backgroundPictureAction->trigger();
        const auto& shown = dialogs->shown.back();
        QCOMPARE(shown.kind, QString("open"));
        QCOMPARE(shown.text, QString("Selecting JPEG Background"));
        QCOMPARE(shown.file.initialDir, window->dataDir());
        QVERIFY(shown.file.mustExist);
        QVERIFY(shown.file.nameFilter.startsWith("JPEG Graphics ("));
        for (const char* name : {"a.jpg", "b.JPG", "c.Jpeg", "d.jPeG"})
            QVERIFY2(QDir::match(shown.file.nameFilter.section('(', 1).chopped(1).split(' '),
                                 QString::fromLatin1(name)),
                     name);
        QVERIFY(!QDir::match(shown.file.nameFilter.section('(', 1).chopped(1).split(' '), "e.png"));
        QVERIFY(window->usesPicture());
        const int w = window->plotSurface()->width();
        const int h = window->plotSurface()->height();
        QVERIFY(near(pixel(w / 8, h / 2), qRgb(255, 0, 0)));
        QVERIFY(near(pixel(w - w / 8, h - 2), qRgb(0, 255, 0)));
        QVERIFY(dialogs->texts("error").isEmpty());
        QVERIFY(dialogs->texts("message").isEmpty());
        QVERIFY(!QGuiApplication::overrideCursor());

        // Later clearings stretch it again to the client area's size at that moment.
        window->resize(1000, 700);
        QCoreApplication::processEvents();
        window->clearPlot();
        QVERIFY(near(pixel(window->plotSurface()->width() - 5, 5), qRgb(0, 255, 0)));
    }

    void aFailedLoadKeepsThePreviousPicture() {
        const QString good = writeTwoColourJpeg("good.jpg");
        if (good.isEmpty()) QSKIP("Qt cannot write JPEG files here");
        dialogs->openAnswers.push_back(good);
        window->backgroundPictureAction->trigger();
        const QImage before = window->backgroundPicture();

        const QString png = dataHome.filePath("really-a-png.jpg");
        QImage(8, 8, QImage::Format_RGB32).save(png, "PNG");
        dialogs->openAnswers.push_back(png);
        window->backgroundPictureAction->trigger();
        QCOMPARE(dialogs->texts("error"), QStringList{QString("JPEG error #%1.").arg(JERR_NO_SOI)});
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(window->usesPicture());
        QCOMPARE(window->backgroundPicture(), before);

        dialogs->openAnswers.push_back(dataHome.filePath("missing.jpg"));
        window->backgroundPictureAction->trigger();
        QCOMPARE(dialogs->texts("error").last(), QString("No such file or directory."));
        QCOMPARE(window->backgroundPicture(), before);

        window->backgroundPictureAction->trigger();  // cancelled: nothing changes
        QCOMPARE(window->backgroundPicture(), before);
        QVERIFY(window->usesPicture());
    }

    void aTruncatedPictureIsDrawnAndThenReportedIncomplete() {
        // Red on top; noise below makes the data long enough that the cut falls inside it.
        QImage img(64, 64, QImage::Format_RGB32);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                img.setPixel(x, y,
                             y < 24 ? qRgb(255, 0, 0) : qRgb((x * 37 + y * 11) & 255, (x * y) & 255, 99));
        QBuffer whole;
        whole.open(QIODevice::WriteOnly);
        if (!img.save(&whole, "JPG", 95)) QSKIP("Qt cannot write JPEG files here");
        const QString path = dataHome.filePath("cut.jpg");
        QFile cut(path);
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(whole.data().left(whole.data().size() * 7 / 10));
        cut.close();

        std::optional<QRgb> shownWithTheMessage;
        bool busyDuringTheMessage = true;
        dialogs->onShow = [&](const ScriptedDialogs::Shown& shown) {
            if (shown.kind != "message") return;
            shownWithTheMessage = pixel(window->plotSurface()->width() / 2, 4);
            busyDuringTheMessage = QGuiApplication::overrideCursor() != nullptr;
        };
        dialogs->openAnswers.push_back(path);
        window->backgroundPictureAction->trigger();
        QCOMPARE(dialogs->texts("message"), QStringList{incompletePictureText()});
        QVERIFY(dialogs->texts("error").isEmpty());
        QVERIFY(shownWithTheMessage);
        QVERIFY2(near(*shownWithTheMessage, qRgb(255, 0, 0)), "the picture is drawn before the message");
        QVERIFY(!busyDuringTheMessage);
        QVERIFY(window->usesPicture());
    }

    void cancelledBackgroundColourEndsPictureMode() {
        QImage picture(2, 2, QImage::Format_RGB32);
        picture.fill(qRgb(0, 128, 0));
        window->usePicture(picture);
        QVERIFY(window->usesPicture());
        window->backgroundColorAction->trigger();  // cancelled
        QVERIFY(!window->usesPicture());
        QCOMPARE(pixel(400, 300), qRgb(0, 128, 0));  // the picture stays on screen
        window->clearPlot();
        QCOMPARE(pixel(400, 300), qRgb(0, 0, 255));  // the next clearing uses the colour
    }
};

QTEST_MAIN(SettingsMenuTest)
#include "settings_menu_qtest.moc"
