#include <QAction>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "ui/help/help_window.h"

// The help window: its first place and size, and Back, Forward and Contents from their keys.
class HelpWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir pages;

    QUrl page(const QString& name) const { return QUrl::fromLocalFile(pages.filePath(name)); }
    void write(const QString& name, const QString& body) {
        QFile f(pages.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(("<html><body>" + body + "</body></html>").toUtf8());
    }

private slots:
    void initTestCase() {
        QVERIFY(pages.isValid());
        write("index.html", "<a href=\"a.html\">A</a>");
        write("a.html", "<a href=\"b.html\">B</a>");
        write("b.html", "the end");
    }

    void opensAtTheRightSideOfTheScreenWideEnoughForThePictures() {
        HelpWindow help(page("index.html"));
        help.showContents();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        const QRect area = help.screen()->availableGeometry();
        const QRect frame = help.frameGeometry();
        // The widest picture of the pages is 660 pixels.
        QVERIFY2(help.browser()->viewport()->width() >= 660, qPrintable(QString::number(help.width())));
        QVERIFY2(frame.right() <= area.right() && frame.right() >= area.right() - 16,
                 qPrintable(
                     QStringLiteral("frame right %1, screen right %2").arg(frame.right()).arg(area.right())));
        QCOMPARE(frame.top(), area.top());
        QVERIFY(help.height() >= area.height() - 64);
    }

    void aPlaceTheUserChoseIsKeptWhenReopened() {
        HelpWindow help(page("index.html"));
        help.showContents();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        help.setGeometry(30, 40, 500, 400);
        help.hide();
        help.showContents();
        QCOMPARE(help.geometry(), QRect(30, 40, 500, 400));
    }

    void backForwardAndContentsFollowTheirKeys() {
        HelpWindow help(page("index.html"));
        help.showContents();
        help.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&help));
        QTextBrowser* b = help.browser();
        QVERIFY(!help.backAction->isEnabled() && !help.forwardAction->isEnabled());
        b->setSource(page("a.html"));
        b->setSource(page("b.html"));
        QTest::keyClick(b, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(b->source(), page("a.html"));
        QVERIFY(help.forwardAction->isEnabled());
        QTest::keyClick(b, Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(b->source(), page("b.html"));
        QTest::keyClick(b, Qt::Key_Home, Qt::AltModifier);
        QCOMPARE(b->source(), page("index.html"));
        QVERIFY(help.backAction->isEnabled());
    }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_qtest.moc"
