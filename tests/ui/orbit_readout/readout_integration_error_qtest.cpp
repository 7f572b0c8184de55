#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/orbit_readout_wiring.h"
#include "scripted_dialogs.h"
#include "step_counting.h"
#include "ui/common/view_options.h"
#include "ui/initial_state/initial_state_dialog.h"
#include "ui/main_window/main_window.h"
#include "ui/main_window/view_aids.h"
#include "ui/orbit_readout/orbit_readout_window.h"

namespace {

// The km and pixel figures of one body in the readout's line "Off the exact path: A ... (x px), B ...".
struct Shown {
    double km = -1;
    double pixels = -1;
};

Shown figuresOf(const QString& line, const QString& body) {
    static const QMap<QString, double> Words = {
        {"", 1}, {"thousand", 1e3}, {"million", 1e6}, {"billion", 1e9}, {"trillion", 1e12}};
    const QRegularExpression re(body +
                                QStringLiteral(" ([0-9.e+-]+) ?(thousand|million|billion|trillion)? ?km "
                                               "\\(([0-9.]+) px\\)"));
    const QRegularExpressionMatch m = re.match(line);
    if (!m.hasMatch()) return {};
    return {m.captured(1).toDouble() * Words.value(m.captured(2)), m.captured(3).toDouble()};
}

}  // namespace

// The readout's integration error as the program wires it: how far each simulated body is from where the
// exact motion puts it at the run's time, in km and in pixels at the current scale.
class ReadoutIntegrationErrorTest : public QObject {
    Q_OBJECT

    QTemporaryDir dataHome;
    QTemporaryDir configHome;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<SimRecords> records;
    MainWindow* window = nullptr;
    OrbitReadoutWindow* readout = nullptr;
    int steps = 0;
    std::function<void(int)> onStep;

    void pauseAtPlotPoint(int points) { runToStep(*window, onStep, steps + points * 40); }

private slots:
    void initTestCase() {
        QVERIFY(dataHome.isValid() && configHome.isValid());
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
        QLocale::setDefault(QLocale::c());
    }
    void init() {
        QFile::remove(ViewOptions::filePath());
        dialogs = std::make_unique<ScriptedDialogs>();
        records = std::make_unique<SimRecords>();
        window = new MainWindow(*records, *dialogs);
        auto* initialStateDialog = new InitialStateDialog(
            *records, [this](const TVector& p, std::int32_t b) { window->drawBody(p, b); }, window);
        window->setInitialStateDialog(initialStateDialog);
        readout = new OrbitReadoutWindow(*records, window);
        countSteps(*window, steps, onStep);
        window->show();
        wireOrbitReadout(*window, *initialStateDialog, *readout);
        window->orbitReadoutAction->setChecked(true);
        QCoreApplication::processEvents();
    }
    void cleanup() {
        delete window;
        records.reset();
    }

    void readyHasNoError() {
        QCOMPARE(readout->integrationErrorText(), QString("Off the exact path: A —, B —"));
    }

    void errorGrowsAtTheClosestApproachAndIsShownAtTheCurrentScale() {
        pauseAtPlotPoint(50);
        const Shown earlyB = figuresOf(readout->integrationErrorText(), "B");
        QVERIFY2(earlyB.km > 0, qPrintable(readout->integrationErrorText()));

        pauseAtPlotPoint(70);
        const QString line = readout->integrationErrorText();
        const Shown a = figuresOf(line, "A");
        const Shown b = figuresOf(line, "B");
        QVERIFY2(a.km > 0 && b.km > 0, qPrintable(line));
        // Day 120 is past the closest approach on day 111: the dots have left by millions of km.
        QVERIFY2(b.km > 1e6 && b.km > 100 * earlyB.km, qPrintable(line));
        // The lighter body strays further, in the inverse ratio of the masses.
        const double ratio = double(records->CurSettings.BMass() / records->CurSettings.AMass());
        QVERIFY2(std::fabs(a.km / b.km / ratio - 1) < 0.02, qPrintable(line));
        // The pixels are the km at the scale: 1e9 m a pixel.
        QVERIFY2(std::fabs(b.pixels - b.km * 1e3 / 1e9) <= 0.05 + 0.005 * b.pixels, qPrintable(line));

        // Zoomed in, the same error stands for twice the pixels: the replay ends on the same point.
        window->zoom(window->zoomInButton);
        const Shown zoomed = figuresOf(readout->integrationErrorText(), "B");
        QCOMPARE(zoomed.km, b.km);
        QVERIFY2(std::fabs(zoomed.pixels - 2 * b.pixels) <= 0.1, qPrintable(readout->integrationErrorText()));
    }
};

QTEST_MAIN(ReadoutIntegrationErrorTest)
#include "readout_integration_error_qtest.moc"
