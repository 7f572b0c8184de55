#include <QAction>
#include <QFile>
#include <QMenuBar>
#include <QTextDocument>
#include <QtTest>
#include <memory>

#include "main_window_fixture.h"
#include "ui/help/help_window.h"

// The help's list of keys, on the menus' page, names every key the program's windows define: each shortcut of
// an action (the program keys, the panel's moves, the help window's own) and the Alt+letter of each menu.
class HelpKeysTest : public MainWindowFixture {
    Q_OBJECT

    // The page as a reader sees it: no tags, entities as their characters.
    static QString keysPage() {
        QFile f(QStringLiteral(TULVANE_HELP_DIR "/menus.html"));
        if (!f.open(QIODevice::ReadOnly)) return {};
        QTextDocument page;
        page.setHtml(QString::fromUtf8(f.readAll()));
        return page.toPlainText();
    }

    // A key is listed when its name stands on its own: Ctrl+S is not listed by Ctrl+Shift+Z.
    static bool listed(const QString& page, const QKeySequence& key) {
        const QString name = key.toString(QKeySequence::PortableText);
        for (qsizetype at = page.indexOf(name); at >= 0; at = page.indexOf(name, at + 1)) {
            const qsizetype end = at + name.size();
            const bool joinedBefore = at > 0 && (page[at - 1].isLetterOrNumber() || page[at - 1] == '+');
            const bool joinedAfter = end < page.size() && page[end].isLetterOrNumber();
            if (!joinedBefore && !joinedAfter) return true;
        }
        return false;
    }

    // The keys of the window's actions that the page does not list, each with its action.
    static QStringList unlisted(const QString& page, const QWidget* window, int& keys) {
        QStringList missing;
        for (const QAction* a : window->findChildren<QAction*>())
            for (const QKeySequence& key : a->shortcuts()) {
                ++keys;
                if (!listed(page, key))
                    missing << key.toString(QKeySequence::PortableText) + QStringLiteral(" (") +
                                   a->objectName() + a->text() + QStringLiteral(")");
            }
        return missing;
    }

private slots:
    void initTestCase() { keepDataInDataHome(true); }
    void cleanup() { closeWindow(); }

    void everyKeyOfTheProgramIsListed_data() {
        QTest::addColumn<QString>("which");
        QTest::newRow("main window") << "main";
        QTest::newRow("help window") << "help";
    }
    void everyKeyOfTheProgramIsListed() {
        QFETCH(QString, which);
        const QString page = keysPage();
        QVERIFY2(page.contains(QStringLiteral("Keyboard shortcuts")), "the menus' page was not read");
        int keys = 0;
        QStringList missing;
        if (which == QStringLiteral("main")) {
            makeWindow(true);
            missing = unlisted(page, window, keys);
            for (const QAction* menu : window->menuBar()->actions()) {
                const QKeySequence opens = QKeySequence::mnemonic(menu->text());
                ++keys;
                if (!listed(page, opens))
                    missing << opens.toString() + QStringLiteral(" (") + menu->text() + ")";
            }
            // F1, F3, F5, Ctrl+R, S, E, Q, Z, Shift+Z, 0, +, =, -, eight panel moves and four menus.
            QVERIFY2(keys >= 25, qPrintable(QString::number(keys)));
        } else {
            const auto help = std::make_unique<HelpWindow>(QUrl());
            missing = unlisted(page, help.get(), keys);
            QCOMPARE(keys, 3);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(HelpKeysTest)
#include "help_keys_qtest.moc"
