#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QSlider>
#include <QStyle>
#include <QtTest>

#include "main_window_fixture.h"
#include "ui/common/contrast.h"
#include "ui/main_window/control_panel.h"

namespace {

// A dark theme as desktops give it: light text on dark grey, the buttons a shade lighter than the window.
QPalette darkPalette() {
    QPalette p = QApplication::style()->standardPalette();
    const QColor window(53, 53, 53), button(66, 66, 66), dimmed(127, 127, 127);
    for (const auto& [role, color] : {std::pair{QPalette::Window, window},
                                      {QPalette::Button, button},
                                      {QPalette::Base, QColor(42, 42, 42)},
                                      {QPalette::AlternateBase, button},
                                      {QPalette::WindowText, QColor(Qt::white)},
                                      {QPalette::ButtonText, QColor(Qt::white)},
                                      {QPalette::Text, QColor(Qt::white)},
                                      {QPalette::Highlight, QColor(42, 130, 218)},
                                      {QPalette::HighlightedText, QColor(Qt::black)}})
        p.setColor(role, color);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        p.setColor(QPalette::Disabled, role, dimmed);
    return p;
}

// The most frequent colour of image within area, leaving out the colours in skip.
QColor mostFrequent(const QImage& image, const QRect& area, const QList<QColor>& skip) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) ++counts[image.pixel(x, y) | 0xff000000u];
    QColor most;
    int seen = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > seen && !skip.contains(QColor::fromRgb(it.key()))) {
            seen = it.value();
            most = QColor::fromRgb(it.key());
        }
    return most;
}

// What shows behind w: its own background where it fills one, else its nearest filled parent's.
QColor behind(const QWidget* w) {
    while (w->parentWidget() && !w->autoFillBackground() && !w->isWindow()) w = w->parentWidget();
    return w->palette().color(QPalette::Active, w->backgroundRole());
}

}  // namespace

// The Initial State dialog's tick marks and direction pointer, and the control panel's texts, stand out from
// their backgrounds in a light and in a dark theme: 3:1 for marks, 4.5:1 for text. The light theme's colours
// stay the classic ones.
class ThemeContrastTest : public MainWindowFixture {
    Q_OBJECT

    void openDialogIn(bool dark) {
        QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
        makeWindow(true);
        showWindow();
        window->bodyAInitialStateAction->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(initialStateDialog));
    }
    QColor dialogBackground() const { return initialStateDialog->palette().color(QPalette::Window); }

private slots:
    void initTestCase() { keepDataInDataHome(); }
    void cleanup() {
        closeWindow();
        QApplication::setPalette(QApplication::style()->standardPalette());
    }

    void theme_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }

    void tickMarksStandOut_data() { theme_data(); }
    void tickMarksStandOut() {
        QFETCH(bool, dark);
        openDialogIn(dark);
        for (const char* name : {"MassBar", "SpeedBar", "DirectionBar"}) {
            auto* bar = initialStateDialog->findChild<QSlider*>(QString::fromLatin1(name));
            const QImage shown = bar->grab().toImage();
            // The marks stand in the bar's right-hand strip, clear of its groove and handle.
            const QRect strip(bar->width() - 6, 0, 6, bar->height());
            const QColor marks = mostFrequent(shown, strip, {dialogBackground()});
            QVERIFY2(marks.isValid(), name);
            QVERIFY2(contrastRatio(marks, dialogBackground()) >= MarkContrast,
                     qPrintable(QStringLiteral("%1: %2 on %3, %4:1")
                                    .arg(QLatin1String(name), marks.name(), dialogBackground().name())
                                    .arg(contrastRatio(marks, dialogBackground()))));
        }
    }

    // The bars differ from a plain slider in their marks' colour alone: the groove, the handle and the marks'
    // shapes are the style's.
    void barsKeepTheStylesLookButTheMarksColour_data() { theme_data(); }
    void barsKeepTheStylesLookButTheMarksColour() {
        QFETCH(bool, dark);
        openDialogIn(dark);
        auto* bar = initialStateDialog->findChild<QSlider*>(QStringLiteral("SpeedBar"));
        QSlider plain(Qt::Vertical, initialStateDialog);
        plain.setGeometry(bar->geometry());
        plain.setRange(bar->minimum(), bar->maximum());
        plain.setValue(bar->value());
        plain.setTickPosition(bar->tickPosition());
        plain.setTickInterval(bar->tickInterval());
        plain.setInvertedAppearance(bar->invertedAppearance());
        plain.show();
        const QImage drawn = bar->grab().toImage();
        const QImage styles = plain.grab().toImage();
        const QColor styleMarks =
            mostFrequent(styles, QRect(bar->width() - 6, 0, 6, bar->height()), {dialogBackground()});
        QSet<QRgb> ownMarks;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (drawn.pixel(x, y) != styles.pixel(x, y)) {
                    QCOMPARE(styles.pixelColor(x, y), styleMarks);
                    ownMarks.insert(drawn.pixel(x, y));
                }
        QVERIFY(ownMarks.size() <= 1);
    }

    void directionPointerStandsOut_data() { theme_data(); }
    void directionPointerStandsOut() {
        QFETCH(bool, dark);
        openDialogIn(dark);
        const QRect compass(InitialStateDialog::CompassLeft, InitialStateDialog::CompassTop,
                            InitialStateDialog::CompassSize, InitialStateDialog::CompassSize);
        const QImage shown = initialStateDialog->grab(compass).toImage();
        // Besides the background, the compass holds its grey ring and the pointer.
        const QColor pointer = mostFrequent(shown, shown.rect(), {dialogBackground(), QColor(192, 192, 192)});
        QVERIFY(contrastRatio(pointer, dialogBackground()) >= MarkContrast);
        if (!dark) QCOMPARE(pointer, QColor(0, 0, 255));
    }

    // Each text of the panel against what shows behind it, buttons as they look enabled. The run state's red
    // on grey is the classic mark, whatever the theme, and is left out.
    void panelTextsStandOut_data() { theme_data(); }
    void panelTextsStandOut() {
        QFETCH(bool, dark);
        QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
        makeWindow();
        showWindow();
        QStringList faint;
        const auto check = [&faint](const QWidget* w, const QColor& text, const QColor& background) {
            if (contrastRatio(text, background) < TextContrast)
                faint << QStringLiteral("%1: %2 on %3").arg(w->objectName(), text.name(), background.name());
        };
        for (const QLabel* l : window->panel()->findChildren<QLabel*>())
            if (l != window->runStateLabel)
                check(l, l->palette().color(QPalette::Active, l->foregroundRole()), behind(l));
        for (const QPushButton* b : window->panel()->findChildren<QPushButton*>())
            check(b, b->palette().color(QPalette::Active, QPalette::ButtonText),
                  b->palette().color(QPalette::Active, QPalette::Button));
        QVERIFY2(faint.isEmpty(), qPrintable(faint.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(ThemeContrastTest)
#include "theme_contrast_qtest.moc"
