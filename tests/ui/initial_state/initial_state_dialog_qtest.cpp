#include <QtTest/qtestspontaneevent.h>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <cfenv>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

#include "core/fp_error.h"
#include "core/number_text.h"
#include "core/orbit_readout.h"
#include "core/sim_records.h"
#include "core/start_velocity.h"
#include "test_initial_state_dialog.h"
#include "ui/common/view_options.h"

Q_DECLARE_METATYPE(Extended)
Q_DECLARE_METATYPE(TState)
Q_DECLARE_METATYPE(ExtendedBytes)

namespace {

struct DrawCall {
    TVector pos;
    std::int32_t body;
};

bool sameBytes(Extended a, Extended b) {
    return bytesOfExtended(a) == bytesOfExtended(b);
}
bool sameVector(const TVector& a, const TVector& b) {
    return sameBytes(a.u, b.u) && sameBytes(a.v, b.v);
}

// The scale's mass as the program computes it at run time; a constant folded by the compiler is rounded
// more exactly than the library's expl and would differ in the last bit.
Extended massAt(int p) {
    volatile Extended position = p;
    return std::exp((position / 10.0L) * 2.3026L);
}

// An 80-bit pattern with a non-zero exponent and a clear integer bit: only a damaged record holds one.
Extended unnormal() {
    return extendedFromBytes({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x40, 0x40});
}

// A record as a settings file may bring it: a mass between two steps of the mass bar, a speed above the
// bar's range, directions off the whole degrees, a damaged mass, positions off the whole pixels, and
// filler bytes that are not zero.
TState recordFromAFile() {
    TState s = defaultSettings();
    s.setAPos({123456789012.345L, 98765432109.876L});
    s.bytes[TStateLayout::APos + 10] = 0x5A;
    s.bytes[TStateLayout::BPos + 26] = 0xA5;
    s.setAMass(1.2345e29L);
    s.setASpeed(612.4L);
    s.setADir(359.6L);
    s.setBMass(unnormal());
    s.setBSpeed(-3.25L);
    s.setBDir(std::numeric_limits<Extended>::quiet_NaN());
    return s;
}

// A main window, the records and the dialog as the program wires them; drawBody calls are recorded.
struct Fixture {
    SimRecords records;
    std::vector<DrawCall> draws;
    bool drawFails = false;
    QWidget mainWindow;
    TestInitialStateDialog form{records,
                                [this](const TVector& pos, Body body) {
                                    if (drawFails)
                                        throw std::runtime_error("Invalid floating point operation");
                                    draws.push_back({pos, body});
                                },
                                &mainWindow};
};

// Qt pages a slider only for clicks on its groove, a narrow channel beside the ticks.
QPoint grooveCentre(const QSlider& bar) {
    struct StyleOptionAccess : QSlider {
        using QSlider::initStyleOption;
    };
    QStyleOptionSlider opt;
    (bar.*&StyleOptionAccess::initStyleOption)(&opt);
    return bar.style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, &bar).center();
}

QColor pixelAt(QWidget& w, QPoint p) {
    return w.grab().toImage().pixelColor(p);
}

}  // namespace

class InitialStateFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init() {
        QLocale::setDefault(QLocale::c());
        ViewOptions::setFlag(QStringLiteral("InitialState/typedValues"), false);
    }

    void layoutFollowsTheDialogTable();
    void barsGetFocusFirstAndNoButtonIsDefault();
    void opensWithTheStoredValuesOfTheChosenBody_data();
    void opensWithTheStoredValuesOfTheChosenBody();
    void firstShowIsCentredOverMainWindow();
    void aPlaceChosenInTheWindowSystemIsKeptOnTheNextOpening();
    void theCloseBoxCancels();
    void reopeningAfterAMinimiseBringsTheDialogBack();
    void setStateRightAfterOpeningLeavesTheRecordAsItWas_data();
    void setStateRightAfterOpeningLeavesTheRecordAsItWas();
    void setStateStoresOnlyTheBarsThatWereMoved();
    void aRecordMadeCurrentWhileOpenKeepsWhatWasNotChanged();
    void storedSpeedAndDirectionOpenRoundedAndLimited_data();
    void storedSpeedAndDirectionOpenRoundedAndLimited();
    void storedMassOpensOnTheScaleWithoutFloatingPointFlags_data();
    void storedMassOpensOnTheScaleWithoutFloatingPointFlags();
    void movedBarsShowTheirScaleValues();
    void barsRunNoHandlerWhenThePositionStaysTheSame();
    void labelsUseTheLocaleDecimalSeparator();
    void rightButtonPickSetsOnlyTheEditedBodysNewPosition_data();
    void rightButtonPickSetsOnlyTheEditedBodysNewPosition();
    void hiddenDialogIgnoresPicks();
    void openingTheOtherBodySwitchesAnOpenDialog();
    void enterLeavesTheDialogOpenAndEscapeCancels();
    void keysMoveBarsWithTheMinimumAtTheTop_data();
    void keysMoveBarsWithTheMinimumAtTheTop();
    void clickInTheChannelPagesTowardTheClick();
    void compassCornersAreBluePixels_data();
    void compassCornersAreBluePixels();
    void compassIsErasedAndStaysInsideItsArea();
    void compassShowsTheDirectionBarBeforeAnyOpening();
    void drawBodyFailurePropagatesWithoutShowing();

    void typedValuesAreOffByDefault();
    void typedValuesWidenTheDialogAndLeaveTheClassicAreaAsItWas();
    void typedValuesAreRememberedForTheNextStart();
    void fieldsShowThePendingValuesAndFollowBarsAndPicks();
    void typedTextsAreStoredAsTyped_data();
    void typedTextsAreStoredAsTyped();
    void refusedTextsTurnTheFieldRedAndHoldSetState_data();
    void refusedTextsTurnTheFieldRedAndHoldSetState();
    void aBarMovedAfterTypingSetsTheValueFromTheBar();
    void previewFollowsTypedValues();
    void circularAndEscapeSpeedsUseThePendingStartAndTheOtherBodysStoredMotion_data();
    void circularAndEscapeSpeedsUseThePendingStartAndTheOtherBodysStoredMotion();
    void circularAndEscapeSpeedsWaitForABodyPairTheyCanBeComputedFor();
    void newControlsAreNamedForTheEditedBody();
    void tabGoesDownTheColumnAfterTheClassicControls();
};

namespace {
QtMessageHandler testLogHandler = nullptr;
// The view options go to a folder of the test's own, never the user's.
QTemporaryDir* configHome = nullptr;

// The offscreen platform cannot raise windows and says so on every opening.
void dropRaiseWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text == QLatin1String("This plugin does not support raise()")) return;
    testLogHandler(type, context, text);
}
}  // namespace

void InitialStateFormTest::initTestCase() {
    testLogHandler = qInstallMessageHandler(dropRaiseWarnings);
    configHome = new QTemporaryDir;
    QVERIFY(configHome->isValid());
    qputenv("XDG_CONFIG_HOME", configHome->path().toLocal8Bit());
}

void InitialStateFormTest::layoutFollowsTheDialogTable() {
    Fixture f;
    TestInitialStateDialog& form = f.form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Initial State"));
    QCOMPARE(form.minimumSize(), QSize(458, 376));
    QCOMPARE(form.maximumSize(), QSize(458, 376));
    QVERIFY(form.windowFlags().testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!form.isModal());
    QVERIFY(!form.isVisible());

    const struct {
        QWidget* w;
        QRect bounds;
    } fixed[] = {
        {form.PosLabel, QRect(16, 12, 60, 16)},        {form.ColorPanel, QRect(420, 11, 22, 22)},
        {form.MassBar, QRect(16, 60, 31, 300)},        {form.SpeedBar, QRect(184, 60, 31, 300)},
        {form.DirectionBar, QRect(286, 126, 31, 161)}, {form.SetButton, QRect(248, 320, 75, 25)},
        {form.CancelButton, QRect(344, 319, 75, 25)},
    };
    for (const auto& c : fixed) QCOMPARE(c.w->geometry(), c.bounds);

    const struct {
        const char* name;
        QPoint topLeft;
        int pixels;
        QString text;
    } labels[] = {
        {"PosValLabel", {82, 12}, 13, ""},
        {"MassLabel", {16, 40}, 13, "Mass:"},
        {"MassValLabel", {68, 40}, 13, ""},
        {"SpeedLabel", {184, 40}, 13, "Speed:"},
        {"SpeedValLabel", {246, 40}, 13, ""},
        {"DirectionLabel", {286, 110}, 13, "Direction:"},
        {"DirectionValLabel", {364, 110}, 13, ""},
        {"BodyLabel", {334, 10}, 21, "Body X"},
        {"SputnikLabel", {47, 66}, 9, "Sputnik 1"},
        {"ISSLabel", {47, 96}, 9, "ISS"},
        {"SinopeLabel", {47, 208}, 9, "Sinope"},
        {"MoonLabel", {47, 259}, 9, "Moon"},
        {"EarthLabel", {47, 276}, 9, "Earth"},
        {"JupiterLabel", {47, 303}, 9, "Jupiter"},
        {"SunLabel", {47, 326}, 9, "Sun"},
        {"RigelLabel", {47, 338}, 9, "Rigel"},
        {"Sputnik2Label", {215, 64}, 9, "Sputnik 1"},
        {"Earth2Label", {215, 81}, 9, "Earth"},
        {"Sun2Label", {215, 190}, 9, "Sun"},
        {"Num_0", {319, 131}, 9, "0"},
        {"Num_90", {319, 166}, 9, "90"},
        {"Num_180", {319, 200}, 9, "180"},
        {"Num_270", {319, 234}, 9, "270"},
        {"Num_359", {319, 271}, 9, "359"},
    };
    for (const auto& l : labels) {
        auto* label = form.findChild<QLabel*>(QString::fromLatin1(l.name));
        QVERIFY2(label != nullptr, l.name);
        QCOMPARE(label->pos(), l.topLeft);
        QCOMPARE(label->font().pixelSize(), l.pixels);
        QCOMPARE(label->font().bold(), l.pixels != 9);
        QCOMPARE(label->text(), l.text);
    }
    QCOMPARE(form.PosLabel->text(), QStringLiteral("Position:"));
    const QString hint = QStringLiteral("Right click the main background to select a new position.");
    QCOMPARE(form.PosLabel->toolTip(), hint);
    QCOMPARE(form.PosValLabel->toolTip(), hint);
    QCOMPARE(form.font().pixelSize(), 11);
    QVERIFY(form.font().bold());
    QCOMPARE(form.SetButton->text(), QStringLiteral("Set State"));
    QCOMPARE(form.CancelButton->text(), QStringLiteral("Cancel"));
    QCOMPARE(form.ColorPanel->frameShadow(), QFrame::Raised);

    const struct {
        QSlider* bar;
        int min, max, position, ticks;
    } bars[] = {{form.MassBar, 20, 320, 250, 10},
                {form.SpeedBar, 0, 499, 80, 50},
                {form.DirectionBar, 0, 359, 110, 15}};
    for (const auto& b : bars) {
        QCOMPARE(b.bar->orientation(), Qt::Vertical);
        QCOMPARE(b.bar->minimum(), b.min);
        QCOMPARE(b.bar->maximum(), b.max);
        QCOMPARE(b.bar->value(), b.position);
        QCOMPARE(b.bar->tickInterval(), b.ticks);
        QCOMPARE(b.bar->tickPosition(), QSlider::TicksRight);
        QCOMPARE(b.bar->singleStep(), 1);
        QCOMPARE(b.bar->pageStep(), 2);
    }

    // Long values must not run into the captions or the swatch that stand beside them.
    f.records.CurSettings.setASpeed(499);
    f.records.CurSettings.setADir(359);
    f.records.CurSettings.setAMass(-1.5e31L);
    f.form.editBody(BodyA);
    QVERIFY(form.MassLabel->geometry().right() < form.MassValLabel->x());
    QVERIFY(form.MassValLabel->geometry().right() < form.SpeedLabel->x());
    QVERIFY(form.SpeedLabel->geometry().right() < form.SpeedValLabel->x());
    QVERIFY(form.DirectionLabel->geometry().right() < form.DirectionValLabel->x());
    QVERIFY(form.PosLabel->geometry().right() < form.PosValLabel->x());
    QVERIFY(form.BodyLabel->geometry().right() < form.ColorPanel->x());
    QVERIFY(form.DirectionValLabel->geometry().right() < form.width());
}

void InitialStateFormTest::barsGetFocusFirstAndNoButtonIsDefault() {
    Fixture f;
    f.form.editBody(BodyA);
    QCOMPARE(f.form.focusWidget(), static_cast<QWidget*>(f.form.MassBar));
    const std::vector<QWidget*> expected{f.form.MassBar, f.form.SpeedBar, f.form.DirectionBar,
                                         f.form.CancelButton, f.form.SetButton};
    std::vector<QWidget*> chain;
    QWidget* w = f.form.MassBar;
    do {
        if (w->focusPolicy() & Qt::TabFocus) chain.push_back(w);
        w = w->nextInFocusChain();
    } while (w != f.form.MassBar);
    QVERIFY(chain == expected);
    for (QPushButton* b : {f.form.SetButton, f.form.CancelButton}) {
        QVERIFY(!b->isDefault());
        QVERIFY(!b->autoDefault());
    }
}

void InitialStateFormTest::opensWithTheStoredValuesOfTheChosenBody_data() {
    QTest::addColumn<int>("body");
    QTest::addColumn<QString>("bodyText");
    QTest::addColumn<QColor>("swatch");
    QTest::addColumn<QString>("position");
    QTest::addColumn<int>("massBar");
    QTest::addColumn<QString>("mass");
    QTest::addColumn<int>("speedBar");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<int>("directionBar");
    QTest::addColumn<QString>("direction");
    QTest::newRow("Body A") << 0 << "Body A" << QColor(255, 255, 0) << "(200000000000,100000000000)" << 303
                            << "2.000E+30 kg" << 30 << "30 km/sec" << 115 << "115 deg";
    QTest::newRow("Body B") << 1 << "Body B" << QColor(255, 0, 0) << "(600000000000,400000000000)" << 307
                            << "5.000E+30 kg" << 2 << "2 km/sec" << 270 << "270 deg";
}

void InitialStateFormTest::opensWithTheStoredValuesOfTheChosenBody() {
    QFETCH(int, body);
    Fixture f;
    const TState before = f.records.CurSettings;
    const TVector stored = body == 0 ? before.APos() : before.BPos();

    f.form.editBody(static_cast<Body>(body));

    QVERIFY(f.form.isVisible());
    QCOMPARE(f.form.editedBody, static_cast<Body>(body));
    QVERIFY(sameVector(body == 0 ? f.form.ANewPos : f.form.BNewPos, stored));
    QCOMPARE(f.draws.size(), std::size_t{1});
    QVERIFY(sameVector(f.draws[0].pos, stored));
    QCOMPARE(f.draws[0].body, body);
    QTEST(f.form.BodyLabel->text(), "bodyText");
    QTEST(pixelAt(*f.form.ColorPanel, QPoint(11, 11)), "swatch");
    QTEST(f.form.PosValLabel->text(), "position");
    QTEST(f.form.MassBar->value(), "massBar");
    QTEST(f.form.MassValLabel->text(), "mass");
    QTEST(f.form.SpeedBar->value(), "speedBar");
    QTEST(f.form.SpeedValLabel->text(), "speed");
    QTEST(f.form.DirectionBar->value(), "directionBar");
    QTEST(f.form.DirectionValLabel->text(), "direction");
    QVERIFY(f.records.CurSettings == before);
}

void InitialStateFormTest::firstShowIsCentredOverMainWindow() {
    Fixture f;
    f.mainWindow.setGeometry(50, 60, 700, 600);
    f.mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.mainWindow));
    f.form.editBody(BodyA);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    const QPoint offset = f.form.frameGeometry().center() - f.mainWindow.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 4,
             qPrintable(QStringLiteral("off by %1,%2").arg(offset.x()).arg(offset.y())));

    // Later openings leave the dialog where the user put it.
    f.form.move(10, 20);
    f.form.cancel();
    f.form.editBody(BodyB);
    QCOMPARE(f.form.pos(), QPoint(10, 20));
}

void InitialStateFormTest::aPlaceChosenInTheWindowSystemIsKeptOnTheNextOpening() {
    Fixture f;
    f.mainWindow.setGeometry(50, 60, 700, 600);
    f.mainWindow.show();
    f.form.editBody(BodyA);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    // The user drags the frame: the window system moves the window, not the program.
    f.form.windowHandle()->setFramePosition(QPoint(12, 34));
    QTRY_COMPARE(f.form.frameGeometry().topLeft(), QPoint(12, 34));
    f.form.cancel();
    f.form.editBody(BodyB);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    QCOMPARE(f.form.frameGeometry().topLeft(), QPoint(12, 34));
}

void InitialStateFormTest::theCloseBoxCancels() {
    Fixture f;
    const TState before = f.records.CurSettings;
    f.form.editBody(BodyA);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    f.form.pickPosition(300, 150);
    f.form.MassBar->setValue(100);
    // A close from the window system, as the frame's close box sends it.
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    qApp->notify(&f.form, &close);
    QVERIFY(!f.form.isVisible());
    QVERIFY(f.records.CurSettings == before);
    // Like Cancel, it can be opened again.
    f.form.editBody(BodyA);
    QVERIFY(f.form.isVisible());
}

void InitialStateFormTest::reopeningAfterAMinimiseBringsTheDialogBack() {
    Fixture f;
    f.form.editBody(BodyA);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    f.form.setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(f.form.isMinimized());
    f.form.editBody(BodyB);
    QVERIFY(f.form.isVisible());
    QVERIFY(!f.form.isMinimized());
    QCOMPARE(f.form.editedBody, BodyB);
}

void InitialStateFormTest::setStateRightAfterOpeningLeavesTheRecordAsItWas_data() {
    QTest::addColumn<int>("body");
    QTest::addColumn<TState>("record");
    QTest::newRow("defaults, Body A") << 0 << defaultSettings();
    QTest::newRow("defaults, Body B") << 1 << defaultSettings();
    const TState file = recordFromAFile();
    QTest::newRow("file record, Body A") << 0 << file;
    QTest::newRow("file record, Body B") << 1 << file;
}

// The bars stand only at whole steps, 2e30 kg at 303 for instance, whose scale value is 1.996e30 kg.
// Opening and Set State with nothing touched used to store those steps; now the record keeps every byte.
void InitialStateFormTest::setStateRightAfterOpeningLeavesTheRecordAsItWas() {
    QFETCH(int, body);
    QFETCH(TState, record);
    Fixture f;
    f.records.setCurSettings(record);
    f.form.editBody(static_cast<Body>(body));

    QTest::mouseClick(f.form.SetButton, Qt::LeftButton);

    QVERIFY(!f.form.isVisible());
    QCOMPARE(f.draws.size(), std::size_t{1});
    QVERIFY(f.records.CurSettings.bytes == record.bytes);
}

void InitialStateFormTest::setStateStoresOnlyTheBarsThatWereMoved() {
    Fixture f;
    const TState file = recordFromAFile();
    f.records.setCurSettings(file);
    f.form.editBody(BodyA);
    QCOMPARE(f.form.MassBar->value(), 291);

    // Home at the top and a write of the present position move nothing.
    f.form.SpeedBar->setValue(0);
    f.form.SpeedBar->setFocus();
    QTest::keyClick(f.form.SpeedBar, Qt::Key_Home);
    f.form.DirectionBar->setValue(f.form.DirectionBar->value());
    // A bar moved away and back has been moved: it stores its step.
    QTest::keyClick(f.form.MassBar, Qt::Key_Down);
    QTest::keyClick(f.form.MassBar, Qt::Key_Up);
    f.form.setState();

    TState expected = file;
    expected.setAMass(massAt(291));
    expected.setASpeed(0);
    QVERIFY(f.records.CurSettings.bytes == expected.bytes);
}

void InitialStateFormTest::aRecordMadeCurrentWhileOpenKeepsWhatWasNotChanged() {
    Fixture f;
    f.form.editBody(BodyA);
    f.form.SpeedBar->setValue(45);
    f.form.pickPosition(7, 8);
    const TState file = recordFromAFile();
    f.records.setCurSettings(file);  // Make Current in the viewer, with the dialog still open

    f.form.setState();

    TState expected = file;
    expected.setASpeed(45);
    expected.setAPos({7e9L, 8e9L});
    QVERIFY(f.records.CurSettings.bytes == expected.bytes);
}

void InitialStateFormTest::storedSpeedAndDirectionOpenRoundedAndLimited_data() {
    QTest::addColumn<bool>("isSpeed");
    QTest::addColumn<Extended>("stored");
    QTest::addColumn<int>("bar");
    QTest::addColumn<QString>("label");

    QTest::newRow("speed above the range") << true << 612.4L << 499 << "612 km/sec";
    QTest::newRow("speed half to even down") << true << 2.5L << 2 << "2 km/sec";
    QTest::newRow("speed half to even up") << true << 3.5L << 4 << "4 km/sec";
    QTest::newRow("negative speed") << true << -3.0L << 0 << "-3 km/sec";
    QTest::newRow("speed beyond 64 bits") << true << 0x1p70L << 499 << "1180591620717411303424 km/sec";
    QTest::newRow("NaN speed") << true << std::numeric_limits<Extended>::quiet_NaN() << 0 << "NAN km/sec";
    QTest::newRow("damaged speed") << true << unnormal() << 0 << "NAN km/sec";
    QTest::newRow("minus infinite speed")
        << true << -std::numeric_limits<Extended>::infinity() << 0 << "-INF km/sec";
    QTest::newRow("direction just below 360") << false << 359.6L << 359 << "359 deg";
    QTest::newRow("negative direction") << false << -10.0L << 0 << "0 deg";
    QTest::newRow("direction half to even") << false << 112.5L << 112 << "112 deg";
    QTest::newRow("huge direction") << false << 1e4000L << 359 << "359 deg";
    QTest::newRow("NaN direction") << false << std::numeric_limits<Extended>::quiet_NaN() << 0 << "0 deg";
}

void InitialStateFormTest::storedSpeedAndDirectionOpenRoundedAndLimited() {
    QFETCH(bool, isSpeed);
    QFETCH(Extended, stored);
    QFETCH(int, bar);
    QFETCH(QString, label);
    Fixture f;
    if (isSpeed)
        f.records.CurSettings.setBSpeed(stored);
    else
        f.records.CurSettings.setBDir(stored);
    std::feclearexcept(FE_ALL_EXCEPT);

    f.form.editBody(BodyB);

    QCOMPARE(std::fetestexcept(FpErrorFlags), 0);
    QCOMPARE((isSpeed ? f.form.SpeedBar : f.form.DirectionBar)->value(), bar);
    QCOMPARE((isSpeed ? f.form.SpeedValLabel : f.form.DirectionValLabel)->text(), label);
    // Set State keeps the stored value, not the bar's: the bar was not moved.
    const TState before = f.records.CurSettings;
    f.form.setState();
    QVERIFY(f.records.CurSettings.bytes == before.bytes);
}

void InitialStateFormTest::storedMassOpensOnTheScaleWithoutFloatingPointFlags_data() {
    QTest::addColumn<Extended>("stored");
    QTest::addColumn<int>("bar");
    QTest::addColumn<QString>("label");
    constexpr Extended inf = std::numeric_limits<Extended>::infinity();
    QTest::newRow("bottom of the scale") << 100.0L << 20 << "1.000E+02 kg";
    QTest::newRow("below the scale") << 87.0L << 20 << "8.700E+01 kg";
    QTest::newRow("top of the scale") << 1e32L << 320 << "1.000E+32 kg";
    QTest::newRow("above the scale") << 1.2e32L << 320 << "1.200E+32 kg";
    QTest::newRow("zero") << 0.0L << 20 << "0.000E+00 kg";
    QTest::newRow("negative") << -1.0L << 20 << "-1.000E+00 kg";
    QTest::newRow("NaN") << std::numeric_limits<Extended>::quiet_NaN() << 20 << "NAN kg";
    QTest::newRow("damaged") << unnormal() << 20 << "NAN kg";
    QTest::newRow("infinite") << inf << 320 << "INF kg";
    QTest::newRow("minus infinite") << -inf << 20 << "-INF kg";
}

void InitialStateFormTest::storedMassOpensOnTheScaleWithoutFloatingPointFlags() {
    QFETCH(Extended, stored);
    Fixture f;
    f.records.CurSettings.setAMass(stored);
    std::feclearexcept(FE_ALL_EXCEPT);

    f.form.editBody(BodyA);

    QCOMPARE(std::fetestexcept(FpErrorFlags), 0);
    QTEST(f.form.MassBar->value(), "bar");
    QTEST(f.form.MassValLabel->text(), "label");
}

void InitialStateFormTest::movedBarsShowTheirScaleValues() {
    Fixture f;
    f.form.editBody(BodyA);
    QSignalSpy compass(&f.form, &InitialStateDialog::compassDrawn);

    f.form.MassBar->setValue(20);
    QCOMPARE(f.form.MassValLabel->text(), QStringLiteral("1.000E+02 kg"));
    f.form.MassBar->setValue(303);
    QCOMPARE(f.form.MassValLabel->text(), QStringLiteral("1.996E+30 kg"));
    f.form.SpeedBar->setValue(499);
    QCOMPARE(f.form.SpeedValLabel->text(), QStringLiteral("499 km/sec"));
    f.form.DirectionBar->setValue(0);
    QCOMPARE(f.form.DirectionValLabel->text(), QStringLiteral("0 deg"));
    QCOMPARE(compass.count(), 1);
    QCOMPARE(compass.at(0).at(0).toInt(), 0);

    f.form.setState();
    QVERIFY(sameBytes(f.records.CurSettings.AMass(), massAt(303)));
    QVERIFY(sameBytes(f.records.CurSettings.ASpeed(), 499.0L));
    QVERIFY(sameBytes(f.records.CurSettings.ADir(), 0.0L));
}

void InitialStateFormTest::barsRunNoHandlerWhenThePositionStaysTheSame() {
    Fixture f;
    QSignalSpy compass(&f.form, &InitialStateDialog::compassDrawn);
    f.form.editBody(BodyA);
    QCOMPARE(compass.count(), 1);  // 110 before the opening, 115 stored

    // The handler would replace the stored mass text with the scale's 1.996E+30.
    f.form.MassBar->setValue(303);
    QCOMPARE(f.form.MassValLabel->text(), QStringLiteral("2.000E+30 kg"));

    f.form.cancel();
    f.form.editBody(BodyA);
    QCOMPARE(compass.count(), 1);

    f.records.CurSettings.setADir(200);
    f.form.editBody(BodyA);
    QCOMPARE(compass.count(), 2);
    QCOMPARE(compass.at(1).at(0).toInt(), 200);
}

void InitialStateFormTest::labelsUseTheLocaleDecimalSeparator() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Fixture f;
    f.records.CurSettings.setSf(0.5L);
    f.form.editBody(BodyA);
    QCOMPARE(f.form.MassValLabel->text(), QStringLiteral("2,000E+30 kg"));
    f.form.pickPosition(3, 1);
    QCOMPARE(f.form.PosValLabel->text(), QStringLiteral("(1,5,0,5)"));
}

void InitialStateFormTest::rightButtonPickSetsOnlyTheEditedBodysNewPosition_data() {
    QTest::addColumn<int>("body");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QString>("label");
    QTest::newRow("Body A") << 0 << 200 << 100 << "(200000000000,100000000000)";
    QTest::newRow("Body A at the corner") << 0 << 0 << 0 << "(0,0)";
    QTest::newRow("Body B") << 1 << 250 << 30 << "(250000000000,30000000000)";
}

void InitialStateFormTest::rightButtonPickSetsOnlyTheEditedBodysNewPosition() {
    QFETCH(int, body);
    QFETCH(int, x);
    QFETCH(int, y);
    Fixture f;
    f.records.CurSettings.setAPos({7e11L, 3e11L});
    const TState before = f.records.CurSettings;
    f.form.editBody(static_cast<Body>(body));
    const TVector otherBefore = body == 0 ? f.form.BNewPos : f.form.ANewPos;

    f.form.pickPosition(x, y);

    const TVector picked = body == 0 ? f.form.ANewPos : f.form.BNewPos;
    QVERIFY(sameBytes(picked.u, static_cast<Extended>(x) * 1e9L));
    QVERIFY(sameBytes(picked.v, static_cast<Extended>(y) * 1e9L));
    QVERIFY(sameVector(body == 0 ? f.form.BNewPos : f.form.ANewPos, otherBefore));
    QTEST(f.form.PosValLabel->text(), "label");
    QCOMPARE(f.draws.size(), std::size_t{1});

    f.form.cancel();
    QVERIFY(!f.form.isVisible());
    QVERIFY(f.records.CurSettings == before);
    f.form.editBody(static_cast<Body>(body));
    const TVector stored = body == 0 ? before.APos() : before.BPos();
    QVERIFY(sameVector(body == 0 ? f.form.ANewPos : f.form.BNewPos, stored));
    QCOMPARE(f.form.PosValLabel->text(), body == 0 ? QStringLiteral("(700000000000,300000000000)")
                                                   : QStringLiteral("(600000000000,400000000000)"));
}

void InitialStateFormTest::hiddenDialogIgnoresPicks() {
    Fixture f;
    f.form.pickPosition(200, 100);
    QVERIFY(sameVector(f.form.ANewPos, TVector{}));
    QCOMPARE(f.form.PosValLabel->text(), QString());

    f.form.editBody(BodyA);
    f.form.pickPosition(10, 20);
    f.form.cancel();
    f.form.pickPosition(30, 40);
    QVERIFY(sameVector(f.form.ANewPos, TVector{10e9L, 20e9L}));
    QCOMPARE(f.form.PosValLabel->text(), QStringLiteral("(10000000000,20000000000)"));
}

void InitialStateFormTest::openingTheOtherBodySwitchesAnOpenDialog() {
    Fixture f;
    const TState before = f.records.CurSettings;
    f.form.editBody(BodyA);
    f.form.pickPosition(5, 6);
    f.form.MassBar->setValue(100);

    f.form.editBody(BodyB);

    QVERIFY(f.form.isVisible());
    QCOMPARE(f.form.editedBody, BodyB);
    QCOMPARE(f.form.BodyLabel->text(), QStringLiteral("Body B"));
    QCOMPARE(f.form.MassBar->value(), 307);
    QCOMPARE(f.form.PosValLabel->text(), QStringLiteral("(600000000000,400000000000)"));
    QCOMPARE(f.draws.size(), std::size_t{2});
    QCOMPARE(f.draws[1].body, 1);

    // Body A's moved bar is gone with the switch, and nothing of Body B was touched.
    f.form.setState();
    QVERIFY(f.records.CurSettings == before);
}

void InitialStateFormTest::enterLeavesTheDialogOpenAndEscapeCancels() {
    Fixture f;
    const TState before = f.records.CurSettings;
    for (QWidget* target :
         std::initializer_list<QWidget*>{f.form.MassBar, f.form.SetButton, f.form.CancelButton}) {
        f.form.editBody(BodyA);
        // A moved bar, so that a Set State would show.
        f.form.MassBar->setValue(f.form.MassBar->value() + 5);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
        QVERIFY(f.form.isVisible());
        QSignalSpy ended(&f.form, &InitialStateDialog::previewEnded);
        QTest::keyClick(target, Qt::Key_Escape);
        QVERIFY(!f.form.isVisible());
        QCOMPARE(ended.count(), 1);
        QVERIFY(f.records.CurSettings == before);
    }
    // The program's own close (when it quits) still goes through.
    f.form.editBody(BodyA);
    QVERIFY(f.form.close());
    QVERIFY(!f.form.isVisible());
}

void InitialStateFormTest::keysMoveBarsWithTheMinimumAtTheTop_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("Down") << int(Qt::Key_Down) << 151;
    QTest::newRow("Up") << int(Qt::Key_Up) << 149;
    QTest::newRow("Right") << int(Qt::Key_Right) << 151;
    QTest::newRow("Left") << int(Qt::Key_Left) << 149;
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 152;
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << 148;
    QTest::newRow("Home") << int(Qt::Key_Home) << 20;
    QTest::newRow("End") << int(Qt::Key_End) << 320;
}

void InitialStateFormTest::keysMoveBarsWithTheMinimumAtTheTop() {
    QFETCH(int, key);
    Fixture f;
    f.form.editBody(BodyA);
    f.form.MassBar->setValue(150);
    f.form.MassBar->setFocus();
    QTest::keyClick(f.form.MassBar, static_cast<Qt::Key>(key));
    QTEST(f.form.MassBar->value(), "expected");
}

void InitialStateFormTest::clickInTheChannelPagesTowardTheClick() {
    Fixture f;
    f.form.editBody(BodyA);
    QSlider* bar = f.form.SpeedBar;
    bar->setValue(250);
    const int groove = grooveCentre(*bar).x();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(groove, 8));
    QCOMPARE(bar->value(), 248);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(groove, bar->height() - 8));
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(groove, bar->height() - 8));
    QCOMPARE(bar->value(), 252);
    QCOMPARE(f.form.SpeedValLabel->text(), QStringLiteral("252 km/sec"));
}

void InitialStateFormTest::compassCornersAreBluePixels_data() {
    QTest::addColumn<int>("azimuth");
    QTest::addColumn<QPoint>("tip");
    QTest::addColumn<QPoint>("p1");
    QTest::addColumn<QPoint>("p2");
    QTest::newRow("0") << 0 << QPoint(393, 164) << QPoint(386, 245) << QPoint(400, 245);
    QTest::newRow("90") << 90 << QPoint(434, 205) << QPoint(353, 198) << QPoint(353, 212);
    QTest::newRow("115") << 115 << QPoint(430, 222) << QPoint(359, 181) << QPoint(353, 194);
    QTest::newRow("180") << 180 << QPoint(393, 246) << QPoint(400, 165) << QPoint(386, 165);
    QTest::newRow("270") << 270 << QPoint(352, 205) << QPoint(433, 212) << QPoint(433, 198);
}

void InitialStateFormTest::compassCornersAreBluePixels() {
    QFETCH(int, azimuth);
    QFETCH(QPoint, tip);
    QFETCH(QPoint, p1);
    QFETCH(QPoint, p2);
    Fixture f;
    f.form.editBody(BodyA);
    f.form.drawCompass(azimuth);
    const QImage shown = f.form.grab().toImage();
    for (const QPoint& corner : {tip, p1, p2}) {
        QCOMPARE(shown.pixelColor(corner), QColor(0, 0, 255));
        QCOMPARE(f.form.surface().pixelColor(corner), QColor(0, 0, 255));
    }
}

void InitialStateFormTest::compassIsErasedAndStaysInsideItsArea() {
    Fixture f;
    f.form.editBody(BodyA);
    const QColor background = f.form.grab().toImage().pixelColor(5, 5);
    f.form.DirectionBar->setValue(0);
    f.form.DirectionBar->setValue(90);
    const QImage shown = f.form.grab().toImage();
    // The former arrow's tip at the top is cleared; the new one's corners are there.
    QCOMPARE(shown.pixelColor(393, 170), background);
    QCOMPARE(shown.pixelColor(434, 205), QColor(0, 0, 255));
    // Nothing of the compass lies on the ring of pixels just outside the cleared area.
    for (int az : {0, 45, 90, 135, 180, 225, 270, 315}) {
        f.form.drawCompass(az);
        const QImage img = f.form.grab().toImage();
        for (int x = 350; x <= 435; ++x) {
            QCOMPARE(img.pixelColor(x, 163), background);
            QCOMPARE(img.pixelColor(x, 247), background);
        }
        for (int y = 163; y <= 247; ++y) {
            QCOMPARE(img.pixelColor(350, y), background);
            QCOMPARE(img.pixelColor(435, y), background);
        }
    }
}

void InitialStateFormTest::compassShowsTheDirectionBarBeforeAnyOpening() {
    Fixture f;
    // The bar's own position 110 puts the tip at (432, 219); the circle's west point is clear of the arrow.
    const QImage shown = f.form.grab().toImage();
    QCOMPARE(shown.pixelColor(432, 219), QColor(0, 0, 255));
    QCOMPARE(shown.pixelColor(352, 205), QColor(192, 192, 192));
}

void InitialStateFormTest::drawBodyFailurePropagatesWithoutShowing() {
    Fixture f;
    f.drawFails = true;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, f.form.editBody(BodyA));
    QVERIFY(!f.form.isVisible());
}

namespace {

// Types text into a field as the user does: select all, then the keys.
void typeInto(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

QLineEdit* fieldNamed(TestInitialStateDialog& form, const QString& name) {
    if (name == QLatin1String("mass")) return form.MassEdit;
    if (name == QLatin1String("speed")) return form.SpeedEdit;
    if (name == QLatin1String("direction")) return form.DirectionEdit;
    if (name == QLatin1String("u")) return form.PosUEdit;
    return form.PosVEdit;
}

// Where the named field of Body A lives in the record.
std::size_t offsetOf(const QString& name) {
    using namespace TStateLayout;
    if (name == QLatin1String("mass")) return AMass;
    if (name == QLatin1String("speed")) return ASpeed;
    if (name == QLatin1String("direction")) return ADir;
    if (name == QLatin1String("u")) return APos;
    return APos + VectorV;
}

ExtendedBytes bytesAt(const TState& s, std::size_t offset) {
    ExtendedBytes b{};
    std::copy_n(s.bytes.begin() + static_cast<std::ptrdiff_t>(offset), b.size(), b.begin());
    return b;
}

QImage classicArea(TestInitialStateDialog& form) {
    return form.grab(QRect(0, 0, InitialStateDialog::ClientWidth, InitialStateDialog::ClientHeight))
        .toImage();
}

}  // namespace

void InitialStateFormTest::typedValuesAreOffByDefault() {
    Fixture f;
    QVERIFY(f.form.typedValuesAction()->isCheckable());
    QVERIFY(!f.form.typedValuesAction()->isChecked());
    QCOMPARE(f.form.typedValuesAction()->text(), QStringLiteral("Typed Start Values"));
    f.form.editBody(BodyA);
    // No hidden controls either: the classic dialog's children are all it has.
    QVERIFY(f.form.TypedPanel == nullptr);
    QVERIFY(f.form.findChildren<QLineEdit*>().isEmpty());
    QCOMPARE(f.form.size(), QSize(458, 376));
}

void InitialStateFormTest::typedValuesWidenTheDialogAndLeaveTheClassicAreaAsItWas() {
    Fixture f;
    f.form.editBody(BodyA);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    const QImage classic = classicArea(f.form);

    f.form.typedValuesAction()->setChecked(true);
    QCOMPARE(f.form.size(), QSize(458 + InitialStateDialog::TypedPanelWidth, 376));
    QCOMPARE(f.form.minimumSize(), f.form.maximumSize());
    QVERIFY(f.form.TypedPanel->isVisible());
    QCOMPARE(f.form.TypedPanel->geometry(), QRect(458, 0, InitialStateDialog::TypedPanelWidth, 376));
    for (QWidget* w : f.form.TypedPanel->findChildren<QWidget*>())
        QVERIFY2(f.form.TypedPanel->rect().contains(w->geometry()), qPrintable(w->objectName()));
    QCOMPARE(classicArea(f.form), classic);
    // The compass is drawn from the dialog's own surface, which ends at the classic area.
    f.form.DirectionBar->setValue(90);
    f.form.DirectionBar->setValue(115);
    QCOMPARE(classicArea(f.form), classic);

    f.form.typedValuesAction()->setChecked(false);
    QCOMPARE(f.form.size(), QSize(458, 376));
    QVERIFY(!f.form.TypedPanel->isVisible());
    QCOMPARE(classicArea(f.form), classic);
    QCOMPARE(f.form.grab().size(), QSize(458, 376));
}

void InitialStateFormTest::typedValuesAreRememberedForTheNextStart() {
    {
        Fixture f;
        f.form.typedValuesAction()->setChecked(true);
    }
    Fixture f;
    QVERIFY(f.form.typedValuesAction()->isChecked());
    f.form.editBody(BodyB);
    QVERIFY(f.form.TypedPanel && f.form.TypedPanel->isVisible());
    QCOMPARE(f.form.width(), 458 + InitialStateDialog::TypedPanelWidth);
    f.form.typedValuesAction()->setChecked(false);
    Fixture again;
    QVERIFY(!again.form.typedValuesAction()->isChecked());
    QCOMPARE(again.form.width(), 458);
}

void InitialStateFormTest::fieldsShowThePendingValuesAndFollowBarsAndPicks() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Fixture f;
    f.records.CurSettings.setBSpeed(2.5L);
    f.form.typedValuesAction()->setChecked(true);
    f.form.editBody(BodyB);
    QCOMPARE(f.form.MassEdit->text(), QStringLiteral("5E30 kg"));
    QCOMPARE(f.form.SpeedEdit->text(), QStringLiteral("2,5 km/s"));
    QCOMPARE(f.form.DirectionEdit->text(), QStringLiteral("270 deg"));
    QCOMPARE(f.form.PosUEdit->text(), QStringLiteral("600000000000 m"));
    QCOMPARE(f.form.PosVEdit->text(), QStringLiteral("400000000000 m"));

    f.form.SpeedBar->setValue(12);
    QCOMPARE(f.form.SpeedEdit->text(), QStringLiteral("12 km/s"));
    f.form.MassBar->setValue(20);
    QCOMPARE(f.form.MassEdit->text(), QString::fromStdString(GeneralText(massAt(20), ",")) + " kg");
    f.records.CurSettings.setSf(0.5L);
    f.form.pickPosition(3, 5);
    QCOMPARE(f.form.PosUEdit->text(), QStringLiteral("1,5 m"));
    QCOMPARE(f.form.PosVEdit->text(), QStringLiteral("2,5 m"));
    // Nothing was typed, so nothing is refused.
    QVERIFY(f.form.SetButton->isEnabled());
}

void InitialStateFormTest::typedTextsAreStoredAsTyped_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<ExtendedBytes>("stored");
    QTest::addColumn<int>("bar");  // the bar's position after the text, or -1 for a position field
    QTest::addColumn<QString>("label");
    // The bytes are the nearest 80-bit values of the exact decimals, from scripts/extended_bytes.py.
    const ExtendedBytes twoE30{0xDF, 0x4E, 0x67, 0x04, 0xCD, 0xC9, 0xF2, 0xC9, 0x63, 0x40};
    const ExtendedBytes speed2978{0x71, 0x3D, 0x0A, 0xD7, 0xA3, 0x70, 0x3D, 0xEE, 0x03, 0x40};
    const ExtendedBytes oneAU{0x00, 0x00, 0x00, 0xB0, 0x69, 0xE9, 0x52, 0x8B, 0x24, 0x40};
    QTest::newRow("kilograms, one unit above the stored default")
        << "mass"
        << "C"
        << "2e30" << twoE30 << 303 << "2.000E+30 kg";
    QTest::newRow("solar masses, rounded once")
        << "mass"
        << "C"
        << "0.3 Msun" << ExtendedBytes{0xFF, 0x33, 0xAE, 0x1A, 0xCB, 0xE4, 0xF0, 0xF0, 0x61, 0x40} << 298
        << "5.965E+29 kg";
    QTest::newRow("an Earth mass") << "mass"
                                   << "C"
                                   << "1 Mearth" << ExtendedBytes{0x54, 0x06, 0x09, 0x11, 0x8B,
                                                                  0x33, 0x15, 0x9E, 0x51, 0x40}
                                   << 248 << "5.972E+24 kg";
    QTest::newRow("decimal comma") << "mass"
                                   << "de_DE"
                                   << "1,5e30 kg" << ExtendedBytes{0x27, 0x7B, 0x4D, 0xC3, 0x59,
                                                                   0x17, 0x76, 0x97, 0x63, 0x40}
                                   << 302 << "1,500E+30 kg";
    QTest::newRow("km/s") << "speed"
                          << "C"
                          << "29.78" << speed2978 << 30 << "30 km/sec";
    QTest::newRow("m/s, scaled exactly") << "speed"
                                         << "C"
                                         << "29780 m/s" << speed2978 << 30 << "30 km/sec";
    QTest::newRow("half a km/s, bar half to even")
        << "speed"
        << "de_DE"
        << "0,5 km/s" << ExtendedBytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xFE, 0x3F} << 0
        << "0 km/sec";
    QTest::newRow("degrees, bar half to even")
        << "direction"
        << "C"
        << "45.5" << ExtendedBytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xB6, 0x04, 0x40} << 46
        << "46 deg";
    QTest::newRow("degree sign") << "direction"
                                 << "C"
                                 << "90\u00b0"
                                 << ExtendedBytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xB4, 0x05, 0x40}
                                 << 90 << "90 deg";
    QTest::newRow("just below a full turn")
        << "direction"
        << "C"
        << "359.9 deg" << ExtendedBytes{0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0xF3, 0xB3, 0x07, 0x40} << 359
        << "359 deg";
    QTest::newRow("an astronomical unit") << "u"
                                          << "C"
                                          << "1 AU" << oneAU << -1 << "(149597870700,100000000000)";
    QTest::newRow("AU with a decimal comma")
        << "v"
        << "de_DE"
        << "1,5 AU" << ExtendedBytes{0x00, 0x00, 0x00, 0x88, 0x1E, 0x5E, 0xFC, 0xD0, 0x24, 0x40} << -1
        << "(200000000000,224396806050)";
    QTest::newRow("kilometres") << "v"
                                << "C"
                                << "300000 km"
                                << ExtendedBytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x18, 0x0D, 0x8F, 0x1B, 0x40}
                                << -1 << "(200000000000,300000000)";
    QTest::newRow("metres by default")
        << "u"
        << "C"
        << "1.5e11" << ExtendedBytes{0x00, 0x00, 0x00, 0x00, 0x70, 0xC9, 0xB2, 0x8B, 0x24, 0x40} << -1
        << "(150000000000,100000000000)";
}

void InitialStateFormTest::typedTextsAreStoredAsTyped() {
    QFETCH(QString, field);
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(ExtendedBytes, stored);
    QFETCH(int, bar);
    QFETCH(QString, label);
    QLocale::setDefault(QLocale(locale));
    Fixture f;
    f.form.typedValuesAction()->setChecked(true);
    f.form.editBody(BodyA);
    const TState before = f.records.CurSettings;

    typeInto(fieldNamed(f.form, field), text);

    QVERIFY2(f.form.SetButton->isEnabled(), qPrintable(fieldNamed(f.form, field)->toolTip()));
    QCOMPARE(bytesAt(f.form.previewState(), offsetOf(field)), stored);
    if (field == QLatin1String("mass")) {
        QCOMPARE(f.form.MassBar->value(), bar);
        QCOMPARE(f.form.MassValLabel->text(), label);
    } else if (field == QLatin1String("speed")) {
        QCOMPARE(f.form.SpeedBar->value(), bar);
        QCOMPARE(f.form.SpeedValLabel->text(), label);
    } else if (field == QLatin1String("direction")) {
        QCOMPARE(f.form.DirectionBar->value(), bar);
        QCOMPARE(f.form.DirectionValLabel->text(), label);
    } else {
        QCOMPARE(f.form.PosValLabel->text(), label);
    }
    // The field keeps the text as typed.
    QCOMPARE(fieldNamed(f.form, field)->text(), text);

    QTest::mouseClick(f.form.SetButton, Qt::LeftButton);
    QVERIFY(!f.form.isVisible());
    TState expected = before;
    std::copy(stored.begin(), stored.end(),
              expected.bytes.begin() + static_cast<std::ptrdiff_t>(offsetOf(field)));
    QVERIFY(f.records.CurSettings.bytes == expected.bytes);
}

void InitialStateFormTest::refusedTextsTurnTheFieldRedAndHoldSetState_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("why");
    QTest::newRow("no number") << "mass"
                               << "C"
                               << "abc"
                               << "\"abc\" is not a number.";
    QTest::newRow("empty") << "speed"
                           << "C"
                           << ""
                           << "\"\" is not a number.";
    QTest::newRow("zero mass") << "mass"
                               << "C"
                               << "0 kg"
                               << "The mass must be more than 0 kg.";
    QTest::newRow("negative mass") << "mass"
                                   << "C"
                                   << "-1 Msun"
                                   << "The mass must be more than 0 kg.";
    QTest::newRow("unknown unit") << "mass"
                                  << "C"
                                  << "1 lb"
                                  << "Unknown unit \"lb\": use kg, Msun or Mearth.";
    QTest::newRow("unit of another quantity") << "speed"
                                              << "C"
                                              << "3 AU"
                                              << "Unknown unit \"AU\": use km/s or m/s.";
    QTest::newRow("negative speed") << "speed"
                                    << "C"
                                    << "-3 km/s"
                                    << "The speed must not be negative.";
    QTest::newRow("a full turn") << "direction"
                                 << "C"
                                 << "360"
                                 << "The direction must be at least 0 and less than 360 degrees.";
    QTest::newRow("negative direction") << "direction"
                                        << "C"
                                        << "-0.5"
                                        << "The direction must be at least 0 and less than 360 degrees.";
    QTest::newRow("beyond the 80-bit range") << "u"
                                             << "C"
                                             << "2e4932 m"
                                             << "\"2e4932 m\" is out of range.";
    QTest::newRow("point under a decimal comma") << "v"
                                                 << "de_DE"
                                                 << "1.5 km"
                                                 << "\"1.5 km\" is not a number.";
    QTest::newRow("comma under a decimal point") << "speed"
                                                 << "C"
                                                 << "1,5"
                                                 << "\"1,5\" is not a number.";
}

void InitialStateFormTest::refusedTextsTurnTheFieldRedAndHoldSetState() {
    QFETCH(QString, field);
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QString, why);
    QLocale::setDefault(QLocale(locale));
    Fixture f;
    f.form.typedValuesAction()->setChecked(true);
    f.form.editBody(BodyA);
    const TState before = f.records.CurSettings;
    QLineEdit* edit = fieldNamed(f.form, field);
    const QColor usual = edit->palette().color(QPalette::Base);
    const QString hint = edit->toolTip();
    QSignalSpy changed(&f.form, &InitialStateDialog::previewChanged);

    typeInto(edit, text);

    QCOMPARE(edit->toolTip(), why);
    const QColor refused = edit->palette().color(QPalette::Base);
    QVERIFY(refused.red() > 200 && refused.green() < 200 && refused.blue() < 200);
    QVERIFY(!f.form.SetButton->isEnabled());
    QVERIFY(!f.form.CircularButton->isEnabled());
    QVERIFY(!f.form.EscapeButton->isEnabled());
    // A refused text changes nothing that would be stored, not even by a prefix accepted on the way; the
    // readout is told so.
    QVERIFY(f.form.previewState().bytes == before.bytes);
    QVERIFY(!changed.isEmpty());
    QVERIFY(changed.last().at(0).value<TState>().bytes == before.bytes);
    f.form.setState();
    QVERIFY(f.form.isVisible());
    QVERIFY(f.records.CurSettings.bytes == before.bytes);

    // Mended, the field is as before and Set State stores it.
    const Extended mended = field == QLatin1String("direction") ? 12 : 7;
    typeInto(edit, QString::number(static_cast<int>(mended)));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->palette().color(QPalette::Base), usual);
    QCOMPARE(edit->toolTip(), hint);
    QVERIFY(f.form.SetButton->isEnabled());
    QVERIFY(f.form.CircularButton->isEnabled());

    // The refusal holds only while the extra is on; turned on again, the column shows the pending values,
    // the mended one here, from before the refused typing.
    typeInto(edit, text);
    QVERIFY(!f.form.SetButton->isEnabled());
    f.form.typedValuesAction()->setChecked(false);
    QVERIFY(f.form.SetButton->isEnabled());
    f.form.typedValuesAction()->setChecked(true);
    QVERIFY(f.form.SetButton->isEnabled());
    QCOMPARE(edit->palette().color(QPalette::Base), usual);
    QCOMPARE(bytesAt(f.form.previewState(), offsetOf(field)), bytesOfExtended(mended));
}

void InitialStateFormTest::aBarMovedAfterTypingSetsTheValueFromTheBar() {
    Fixture f;
    f.form.typedValuesAction()->setChecked(true);
    f.form.editBody(BodyA);
    typeInto(f.form.MassEdit, QStringLiteral("1 Msun"));
    QCOMPARE(f.form.MassBar->value(), 303);
    typeInto(f.form.SpeedEdit, QStringLiteral("12.25"));
    QTest::keyClick(f.form.MassBar, Qt::Key_Down);
    f.form.setState();
    QVERIFY(sameBytes(f.records.CurSettings.AMass(), massAt(304)));
    QVERIFY(sameBytes(f.records.CurSettings.ASpeed(), 12.25L));
}

void InitialStateFormTest::previewFollowsTypedValues() {
    Fixture f;
    f.form.typedValuesAction()->setChecked(true);
    f.form.editBody(BodyB);
    QSignalSpy changed(&f.form, &InitialStateDialog::previewChanged);
    QSignalSpy ended(&f.form, &InitialStateDialog::previewEnded);

    typeInto(f.form.PosUEdit, QStringLiteral("1 AU"));
    QVERIFY(!changed.isEmpty());
    const TState preview = changed.last().at(0).value<TState>();
    QVERIFY(sameBytes(preview.BPos().u, 149597870700.0L));
    QVERIFY(sameBytes(preview.BPos().v, f.records.CurSettings.BPos().v));
    // A refused text previews the value from before the typing.
    typeInto(f.form.SpeedEdit, QStringLiteral("12 k"));
    QVERIFY(changed.last().at(0).value<TState>().bytes == preview.bytes);
    QTest::keyClicks(f.form.SpeedEdit, QStringLiteral("m/s"));
    QVERIFY(sameBytes(changed.last().at(0).value<TState>().BSpeed(), 12.0L));

    f.form.cancel();
    QCOMPARE(ended.size(), 1);
    QVERIFY(f.records.CurSettings == defaultSettings());
}

void InitialStateFormTest::circularAndEscapeSpeedsUseThePendingStartAndTheOtherBodysStoredMotion_data() {
    QTest::addColumn<int>("body");
    QTest::addColumn<bool>("escape");
    QTest::newRow("Body A, circle") << 0 << false;
    QTest::newRow("Body A, escape") << 0 << true;
    QTest::newRow("Body B, circle") << 1 << false;
    QTest::newRow("Body B, escape") << 1 << true;
}

void InitialStateFormTest::circularAndEscapeSpeedsUseThePendingStartAndTheOtherBodysStoredMotion() {
    QFETCH(int, body);
    QFETCH(bool, escape);
    Fixture f;
    f.form.typedValuesAction()->setChecked(true);
    f.form.editBody(static_cast<Body>(body));
    // A pending start and mass of this body, neither stored yet.
    f.form.pickPosition(350, 420);
    typeInto(f.form.MassEdit, QStringLiteral("0.5 Msun"));
    const TState pending = f.form.previewState();
    QSignalSpy changed(&f.form, &InitialStateDialog::previewChanged);

    QTest::mouseClick(escape ? f.form.EscapeButton : f.form.CircularButton, Qt::LeftButton);

    const StartVelocity expected =
        startVelocity(pending, body, escape ? StartOrbit::Escape : StartOrbit::Circle);
    QVERIFY(expected.motion);
    const OrbitReadout orbit = readOrbit(f.form.previewState());
    QVERIFY(orbit.eccentricity);
    if (escape)
        QVERIFY(std::fabs(*orbit.eccentricity - 1) < 1e-15L);
    else
        QVERIFY(*orbit.eccentricity < 1e-15L);
    QCOMPARE(changed.size(), 1);
    QVERIFY(changed.at(0).at(0).value<TState>().bytes == f.form.previewState().bytes);
    QCOMPARE(f.form.SpeedBar->value(), static_cast<int>(std::nearbyint(expected.motion->speed)));
    QCOMPARE(f.form.SpeedEdit->text(),
             QString::fromStdString(GeneralText(expected.motion->speed, ".")) + QStringLiteral(" km/s"));

    f.form.setState();
    TState stored = pending;
    if (body == 0) {
        stored.setASpeed(expected.motion->speed);
        stored.setADir(expected.motion->direction);
    } else {
        stored.setBSpeed(expected.motion->speed);
        stored.setBDir(expected.motion->direction);
    }
    QVERIFY(f.records.CurSettings.bytes == stored.bytes);
}

void InitialStateFormTest::circularAndEscapeSpeedsWaitForABodyPairTheyCanBeComputedFor() {
    Fixture f;
    f.records.CurSettings.setBMass(0);
    f.form.typedValuesAction()->setChecked(true);
    f.form.editBody(BodyA);
    QVERIFY(!f.form.CircularButton->isEnabled());
    QVERIFY(!f.form.EscapeButton->isEnabled());
    QCOMPARE(f.form.CircularButton->toolTip(), QStringLiteral("Both masses must be more than 0 kg."));

    // Typing Body A's start onto Body B's: no circle about a body at the same place.
    f.records.CurSettings.setBMass(1e30L);
    f.form.editBody(BodyA);
    QVERIFY(f.form.CircularButton->isEnabled());
    typeInto(f.form.PosUEdit, QStringLiteral("600000000000"));
    typeInto(f.form.PosVEdit, QStringLiteral("4e11"));
    QVERIFY(!f.form.CircularButton->isEnabled());
    QCOMPARE(f.form.EscapeButton->toolTip(), QStringLiteral("Both bodies start at the same place."));
    const TState before = f.form.previewState();
    f.form.setStartOrbit(StartOrbit::Circle);
    QVERIFY(f.form.previewState().bytes == before.bytes);
    typeInto(f.form.PosVEdit, QStringLiteral("3e11"));
    QVERIFY(f.form.EscapeButton->isEnabled());
}

void InitialStateFormTest::newControlsAreNamedForTheEditedBody() {
    Fixture f;
    f.form.typedValuesAction()->setChecked(true);
    const auto nameOf = [](QWidget* w) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        return a ? a->text(QAccessible::Name) : QString();
    };
    for (const int body : {0, 1, 0}) {
        f.form.editBody(static_cast<Body>(body));
        const QString prefix = body == 0 ? QStringLiteral("Body A ") : QStringLiteral("Body B ");
        QCOMPARE(nameOf(f.form.MassEdit), prefix + "mass");
        QCOMPARE(nameOf(f.form.SpeedEdit), prefix + "speed");
        QCOMPARE(nameOf(f.form.DirectionEdit), prefix + "direction");
        QCOMPARE(nameOf(f.form.PosUEdit), prefix + "start position u");
        QCOMPARE(nameOf(f.form.PosVEdit), prefix + "start position v");
        QCOMPARE(nameOf(f.form.CircularButton), QStringLiteral("Circular speed"));
        QCOMPARE(nameOf(f.form.EscapeButton), QStringLiteral("Escape speed"));
    }
    // Every control of the column has a name.
    for (QWidget* w : f.form.TypedPanel->findChildren<QWidget*>())
        QVERIFY2(!nameOf(w).isEmpty(), qPrintable(w->objectName()));
}

void InitialStateFormTest::tabGoesDownTheColumnAfterTheClassicControls() {
    Fixture f;
    f.form.typedValuesAction()->setChecked(true);
    f.form.editBody(BodyA);
    const std::vector<QWidget*> expected{f.form.MassBar,      f.form.SpeedBar,       f.form.DirectionBar,
                                         f.form.CancelButton, f.form.SetButton,      f.form.MassEdit,
                                         f.form.SpeedEdit,    f.form.DirectionEdit,  f.form.PosUEdit,
                                         f.form.PosVEdit,     f.form.CircularButton, f.form.EscapeButton};
    std::vector<QWidget*> chain;
    QWidget* w = f.form.MassBar;
    do {
        if (w->focusPolicy() & Qt::TabFocus) chain.push_back(w);
        w = w->nextInFocusChain();
    } while (w != f.form.MassBar);
    QVERIFY(chain == expected);
}

QTEST_MAIN(InitialStateFormTest)
#include "initial_state_dialog_qtest.moc"
