#include <QAccessible>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QtTest>
#include <functional>

#include "readout_fixture.h"
#include "test_settings_viewer.h"

// Every window as a screen reader meets it: each control a user can act on, and each display of a value, has
// a name that says what it is.
class AccessibleNamesTest : public ReadoutFixture {
    Q_OBJECT

    // The unnamed controls under iface, as "role at path".
    static void collectUnnamed(QAccessibleInterface* iface, const QString& path, QStringList& unnamed) {
        if (!iface || iface->state().invisible) return;
        static const QList<QAccessible::Role> Named = {
            QAccessible::PushButton,  QAccessible::Slider,   QAccessible::CheckBox,
            QAccessible::RadioButton, QAccessible::ComboBox, QAccessible::EditableText,
            QAccessible::SpinBox,     QAccessible::List,     QAccessible::ProgressBar,
            QAccessible::Dial,        QAccessible::Graphic,  QAccessible::Canvas};
        const QString name = iface->text(QAccessible::Name).trimmed();
        if (Named.contains(iface->role()) && name.isEmpty())
            unnamed << QStringLiteral("role %1 at %2 (%3)")
                           .arg(int(iface->role()))
                           .arg(path, iface->object() ? iface->object()->objectName() : QString());
        for (int i = 0; i < iface->childCount(); ++i)
            collectUnnamed(iface->child(i), path + QLatin1Char('/') + QString::number(i), unnamed);
    }
    static QStringList unnamedIn(QWidget* w) {
        QStringList unnamed;
        collectUnnamed(QAccessible::queryAccessibleInterface(w), w->objectName(), unnamed);
        return unnamed;
    }

    // What a screen reader hears of the one label of the readout with this name; a note when none or several
    // have it.
    QString heardAt(const QString& name) const {
        QList<QLabel*> named;
        for (QLabel* l : readout->findChildren<QLabel*>())
            if (l->accessibleName() == name) named << l;
        if (named.size() != 1) return QStringLiteral("%1 labels named %2").arg(named.size()).arg(name);
        return named.first()->accessibleDescription();
    }

private slots:
    void initTestCase() {
        keepDataAndConfigApart();
        QAccessible::setActive(true);
    }
    void init() {
        makeWiredWindows({1600, 1000});
        window->orbitReadoutAction->setChecked(true);
        QCoreApplication::processEvents();
    }
    void cleanup() { closeWindow(); }

    void everyControlHasAName_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("main window, Ready, readout docked") << 0;
        QTest::newRow("main window, Paused, timeline on") << 1;
        QTest::newRow("current settings viewer") << 2;
        QTest::newRow("initial state dialog, classic") << 3;
        QTest::newRow("initial state dialog, typed values") << 4;
    }
    void everyControlHasAName() {
        QFETCH(int, which);
        QWidget* target = window;
        if (which == 1) runAndPauseAt(40 * 12);
        TestSettingsViewer* viewer = nullptr;
        if (which == 2) {
            viewer = new TestSettingsViewer(*records, *dialogs, dataHome.path(), window);
            viewer->show();
            target = viewer;
        }
        if (which >= 3) {
            QAction* typed = initialStateDialog->typedValuesAction();
            if (typed->isChecked() != (which == 4)) typed->trigger();
            window->bodyBInitialStateAction->trigger();
            QTRY_VERIFY(initialStateDialog->isVisible());
            target = initialStateDialog;
        }
        const QStringList unnamed = unnamedIn(target);
        if (which >= 3) {
            // The bars are heard as what they set, with the value and its unit.
            const auto* mass = initialStateDialog->findChild<QWidget*>(QStringLiteral("MassBar"));
            QCOMPARE(mass->accessibleName(), QStringLiteral("Body B mass"));
            QVERIFY2(mass->accessibleDescription().endsWith(QStringLiteral(" kg")),
                     qPrintable(mass->accessibleDescription()));
            const auto* speed = initialStateDialog->findChild<QWidget*>(QStringLiteral("SpeedBar"));
            QVERIFY(speed->accessibleDescription().endsWith(QStringLiteral(" km/sec")));
            initialStateDialog->cancel();
            if (initialStateDialog->typedValuesAction()->isChecked())
                initialStateDialog->typedValuesAction()->trigger();
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("\n"))));
        delete viewer;
    }

    // Run, Pause, Run, Pause, Reset: the state label's name is the state, so a screen reader is told each new
    // one (Qt announces a label's new text as a new name while it has no name of its own), and it changes at
    // no step or plot point in between.
    void eachRunStateIsHeardOnce() {
        QVERIFY(window->runStateLabel->accessibleName().isEmpty());
        const QAccessibleInterface* label = QAccessible::queryAccessibleInterface(window->runStateLabel);
        QCOMPARE(label->text(QAccessible::Description), QStringLiteral("Run state"));
        QStringList heard;
        const auto listen = [&] {
            const QString name = label->text(QAccessible::Name);
            if (heard.isEmpty() || heard.last() != name) heard << name;
        };
        listen();
        for (int run = 0; run < 2; ++run) {
            const int pauseAt = steps + 40 * 5;
            runWith(*window, onStep, [&](int s) {
                listen();
                if (s == pauseAt) window->controlRun(window->pauseButton);
            });
            listen();
        }
        QCOMPARE(records->PlotCount, 10);
        QTest::mouseClick(window->resetButton, Qt::LeftButton);
        listen();
        QCOMPARE(heard, QStringList({"Ready", "Running", "Paused", "Running", "Paused", "Ready"}));
    }

    // Each value of the readout is found by its row and column and heard as its description, which follows
    // what the label shows: at the start, in a run, and on the timeline of a paused one.
    void readoutValuesAreFoundByRowAndColumn_data() {
        QTest::addColumn<int>("moment");
        QTest::newRow("Ready") << 0;
        QTest::newRow("Paused after a run") << 1;
        QTest::newRow("a point chosen on the timeline") << 2;
    }
    void readoutValuesAreFoundByRowAndColumn() {
        QFETCH(int, moment);
        if (moment > 0) runAndPauseAt(40 * 12);
        if (moment > 1) readout->timeline()->setValue(5);
        const QStringList rows = {"Elapsed",
                                  "Orbit",
                                  "Eccentricity",
                                  "Semi-major axis",
                                  "Closest approach",
                                  "Farthest distance",
                                  "Period",
                                  "Time to closest approach",
                                  "Steps across closest approach",
                                  "Separation",
                                  "Relative speed",
                                  "Energy of the relative motion",
                                  "Total energy",
                                  "Angular momentum",
                                  "Body A speed",
                                  "Body A direction",
                                  "Body B speed",
                                  "Body B direction"};
        QCOMPARE(rows.size(), int(OrbitReadoutWindow::RowCount));
        for (int r = 0; r < rows.size(); ++r) {
            const auto row = static_cast<OrbitReadoutWindow::Row>(r);
            QCOMPARE(heardAt(rows[r] + ", Exact orbit of the start"), readout->startText(row));
            QCOMPARE(heardAt(rows[r] + ", Now"), readout->nowText(row));
        }
        QCOMPARE(heardAt("Energy, Drift since the start"), readout->energyDriftText());
        QCOMPARE(heardAt("Angular momentum, Drift since the start"), readout->angularMomentumDriftText());
        QCOMPARE(readout->timeline()->accessibleDescription(), readout->timelineText());
        if (moment == 2)
            QVERIFY2(readout->timelineText().startsWith("Plot point 5 of 12, day 5.0"),
                     qPrintable(readout->timelineText()));
    }

    // Each value of the viewer's lists is heard with its row's caption.
    void viewerValuesCarryTheirCaptions() {
        auto* viewer = new TestSettingsViewer(*records, *dialogs, dataHome.path(), window);
        bool checked = false;
        viewer->whileShown = [&] {
            const QList<QListWidget*> lists = viewer->findChildren<QListWidget*>();
            for (QListWidget* l : lists)
                if (l->accessibleName() == QStringLiteral("Body A values"))
                    checked = l->item(2)->data(Qt::AccessibleTextRole).toString() ==
                              QStringLiteral("Body A Mass (kg): ") + l->item(2)->text();
            viewer->finish();
        };
        viewer->viewCurrentSettings();
        QVERIFY(checked);
        delete viewer;
    }
};

QTEST_MAIN(AccessibleNamesTest)
#include "accessible_names_qtest.moc"
