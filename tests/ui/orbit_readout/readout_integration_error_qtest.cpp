#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "readout_fixture.h"
#include "ui/common/view_options.h"
#include "ui/plot/view_aids.h"

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
    // The pattern holds body, so it cannot be built once.
    const QRegularExpressionMatch m = re.match(line);  // clazy:exclude=use-static-qregularexpression
    if (!m.hasMatch()) return {};
    return {m.captured(1).toDouble() * Words.value(m.captured(2)), m.captured(3).toDouble()};
}

}  // namespace

// The readout's integration error as the program wires it: how far each simulated body is from where the
// exact motion puts it at the run's time, in km and in pixels at the current scale.
class ReadoutIntegrationErrorTest : public ReadoutFixture {
    Q_OBJECT

    void pauseAtPlotPoint(int points) { runToStep(*window, onStep, steps + points * 40); }

private slots:
    void initTestCase() {
        keepDataAndConfigApart();
        QLocale::setDefault(QLocale::c());
    }
    void init() {
        QFile::remove(ViewOptions::filePath());
        makeWiredWindows();
        window->orbitReadoutAction->setChecked(true);
        QCoreApplication::processEvents();
    }
    void cleanup() { closeWindow(); }

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
        QVERIFY(settle(*window));
        const Shown zoomed = figuresOf(readout->integrationErrorText(), "B");
        QCOMPARE(zoomed.km, b.km);
        QVERIFY2(std::fabs(zoomed.pixels - 2 * b.pixels) <= 0.1, qPrintable(readout->integrationErrorText()));
    }
};

QTEST_MAIN(ReadoutIntegrationErrorTest)
#include "readout_integration_error_qtest.moc"
