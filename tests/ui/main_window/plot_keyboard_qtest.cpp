#include <QLabel>
#include <QLocale>
#include <QStyle>
#include <QtTest>

#include "main_window_fixture.h"
#include "ui/main_window/control_panel.h"
#include "ui/plot/view_aids.h"

// The plot and the panel from the keyboard, and the panel's numbers and colours in other locales and themes.
class PlotKeyboardTest : public MainWindowFixture {
    Q_OBJECT

    PlotSurface* surface() const { return window->plotSurface(); }
    void key(QWidget* to, int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(to, Qt::Key(k), m);
    }

private slots:
    void initTestCase() { keepDataInDataHome(true); }
    void init() {
        makeWindow(true);
        showWindow();
        setPlotSize({810, 537});
    }
    void cleanup() {
        QLocale::setDefault(QLocale::c());
        closeWindow();
    }

    // The cursor appears at the centre with the first arrow, moves a pixel or ten, stays on the plot, and
    // goes with the focus; a mouse click never gives the plot the focus.
    void arrowsMoveACursorThatGoesWithTheFocus() {
        QCOMPARE(surface()->focusPolicy(), Qt::TabFocus);
        QVERIFY(!surface()->keyboardCursor());
        QVERIFY(surface()->overlay().isNull());
        surface()->setFocus(Qt::TabFocusReason);
        // The first arrow shows the cursor at the centre; the next ones move it.
        key(surface(), Qt::Key_Right);
        QCOMPARE(*surface()->keyboardCursor(), QPoint(405, 268));
        key(surface(), Qt::Key_Right);
        key(surface(), Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(*surface()->keyboardCursor(), QPoint(406, 258));
        for (int i = 0; i < 60; ++i) key(surface(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(surface()->keyboardCursor()->x(), 0);
        QVERIFY(!surface()->overlay().isNull());
        // Exports show the plot, not the cursor.
        QCOMPARE(surface()->renderWithOverlays(), surface()->image().copy(surface()->rect()));
        window->runButton->setFocus();
        QVERIFY(!surface()->keyboardCursor());
        QVERIFY(surface()->overlay().isNull());
    }

    // Enter re-centres on the cursor while paused, as a left click there does.
    void enterRecentresOnTheCursor() {
        runAndPauseAt(40 * 5);
        const TState before = records->CurSettings;
        surface()->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 3; ++i) key(surface(), Qt::Key_Right, Qt::ShiftModifier);
        key(surface(), Qt::Key_Down);
        key(surface(), Qt::Key_Return);
        settle(*window);
        // From the centre (405, 268) the cursor went to (425, 269): the view moves 20 px left and 1 up.
        const Extended sf = before.sf();
        QVERIFY(records->CurSettings.APos().u == before.APos().u - 20 * sf);
        QVERIFY(records->CurSettings.APos().v == before.APos().v - 1 * sf);
        QCOMPARE(records->SimState, Paused);
    }

    // Space picks the cursor's pixel as the start position while the Initial State dialog is open.
    void spacePicksThePositionForTheDialog() {
        window->bodyBInitialStateAction->trigger();
        QTRY_VERIFY(initialStateDialog->isVisible());
        surface()->setFocus(Qt::TabFocusReason);
        key(surface(), Qt::Key_Down);
        key(surface(), Qt::Key_Down, Qt::ShiftModifier);
        key(surface(), Qt::Key_Space);
        const Extended sf = records->CurSettings.sf();
        const TState pending = initialStateDialog->previewState();
        QVERIFY(pending.BPos().u == 405 * sf && pending.BPos().v == 278 * sf);
        initialStateDialog->cancel();
    }

    // Alt with the arrows moves the panel, inside the window; letting Alt go drops it once.
    void altArrowsMoveThePanel() {
        const QPoint before = window->panel()->pos();
        for (int i = 0; i < 3; ++i) key(window, Qt::Key_Right, Qt::AltModifier);
        key(window, Qt::Key_Up, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(window->panel()->pos(), before + QPoint(3, -10));
        QTest::keyRelease(window, Qt::Key_Alt);
        QCOMPARE(window->panel()->pos(), before + QPoint(3, -10));
        for (int i = 0; i < 100; ++i) key(window, Qt::Key_Left, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(window->panel()->x(), 0);
    }

    // Alt with an arrow moves the panel wherever the keyboard's focus rests in the window: on the plot, or on
    // a panel button, where it rests after Run and Pause and where Left and Right would move the focus
    // instead.
    void altArrowsMoveThePanelWhereverTheFocusIs_data() {
        QTest::addColumn<QString>("focus");
        QTest::newRow("plot") << "PlotSurface";
        QTest::newRow("Run") << "runButton";
        QTest::newRow("Zoom in") << "zoomInButton";
    }
    void altArrowsMoveThePanelWhereverTheFocusIs() {
        QFETCH(QString, focus);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QWidget* holder = window->findChild<QWidget*>(focus);
        holder->setFocus(Qt::TabFocusReason);
        const QPoint before = window->panel()->pos();
        for (const Qt::Key k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up,
                                Qt::Key_Up, Qt::Key_Right})
            QTest::keyPress(holder, k, Qt::AltModifier);
        QCOMPARE(window->panel()->pos(), before + QPoint(2, -1));
        QVERIFY(holder->hasFocus());
        QTest::keyRelease(holder, Qt::Key_Alt);
        QCOMPARE(window->panel()->pos(), before + QPoint(2, -1));
    }

    // The panel's numbers take the user's decimal separator, from the start and after Reset; its text colour
    // is set with its background, whatever the theme's.
    void panelNumbersFollowTheLocaleAndItsColoursHoldTogether() {
        closeWindow();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QPalette dark = QApplication::palette();
        dark.setColor(QPalette::WindowText, Qt::white);
        QApplication::setPalette(dark);
        makeWindow(true);
        showWindow();
        QCOMPARE(window->elapsedLabel->text(), QString("0,0"));
        runAndPauseAt(40 * 26);
        QCOMPARE(window->elapsedLabel->text(), QString("26,0"));
        window->controlRun(window->resetButton);
        QCOMPARE(window->elapsedLabel->text(), QString("0,0"));
        QCOMPARE(window->panel()->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(window->elapsedUnitLabel->palette().color(QPalette::WindowText), QColor(Qt::black));
        QApplication::setPalette(QApplication::style()->standardPalette());
    }
};

QTEST_MAIN(PlotKeyboardTest)
#include "plot_keyboard_qtest.moc"
