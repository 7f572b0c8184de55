#include <QtTest>
#include <functional>
#include <string>

#include "marking_translator.h"
#include "ui/orbit_readout/readout_text.h"

using Format = std::function<std::string(std::string_view sep)>;
Q_DECLARE_METATYPE(Format)

// The readout's units and thresholds: km with AU from 0.1 AU, days with years from one year, the user's
// decimal separator, and a dash where a value has no meaning.
class ReadoutTextTest : public QObject {
    Q_OBJECT

private slots:
    void texts_data() {
        QTest::addColumn<Format>("format");
        QTest::addColumn<QString>("dot");
        QTest::addColumn<QString>("comma");
        const auto row = [](const char* name, const Format& f, const char* dot, const char* comma) {
            QTest::newRow(name) << f << QString::fromUtf8(dot) << QString::fromUtf8(comma);
        };
        constexpr Extended AstronomicalUnit = 149597870700.0L;
        row(
            "distance below 0.1 AU", [](auto sep) { return distanceText(1.4735e10L, sep); }, "1.4735E+07 km",
            "1,4735E+07 km");
        row(
            "distance at 0.1 AU", [=](auto sep) { return distanceText(0.1L * AstronomicalUnit, sep); },
            "1.4960E+07 km (0.1000 AU)", "1,4960E+07 km (0,1000 AU)");
        row(
            "distance just below 0.1 AU",
            [=](auto sep) { return distanceText(0.0999L * AstronomicalUnit, sep); }, "1.4945E+07 km",
            "1,4945E+07 km");
        row(
            "negative semi-major axis", [](auto sep) { return distanceText(-9.9429e11L, sep); },
            "-9.9429E+08 km (-6.646 AU)", "-9,9429E+08 km (-6,646 AU)");
        row(
            "small distance", [](auto sep) { return distanceText(6378137.0L, sep); }, "6378.1 km",
            "6378,1 km");
        row(
            "no distance", [](auto sep) { return distanceText(std::nullopt, sep); }, "\u2014", "\u2014");
        row(
            "days below a year", [](auto sep) { return durationText(364.0L * 86400, sep); }, "364.00 days",
            "364,00 days");
        row(
            "a year", [](auto sep) { return durationText(365.25L * 86400, sep); },
            "365.25 days (1.000 years)", "365,25 days (1,000 years)");
        row(
            "no period", [](auto sep) { return durationText(std::nullopt, sep); }, "\u2014", "\u2014");
        row(
            "speed", [](auto sep) { return speedText(31824.2L, sep); }, "31.824 km/s", "31,824 km/s");
        row(
            "energy", [](auto sep) { return energyText(-6.1139e38L, sep); }, "-6.114E+38 J", "-6,114E+38 J");
        row(
            "clockwise",
            [](auto sep) { return angularMomentumText(5.265e45L, RotationSense::Clockwise, sep); },
            "5.265E+45 kg\u00b7m\u00b2/s, clockwise", "5,265E+45 kg\u00b7m\u00b2/s, clockwise");
        row(
            "anticlockwise shows the magnitude",
            [](auto sep) { return angularMomentumText(-2.5e40L, RotationSense::Anticlockwise, sep); },
            "2.500E+40 kg\u00b7m\u00b2/s, anticlockwise", "2,500E+40 kg\u00b7m\u00b2/s, anticlockwise");
        row(
            "eccentricity", [](auto sep) { return eccentricityText(0.973L, sep); }, "0.97300", "0,97300");
        row(
            "large eccentricity", [](auto sep) { return eccentricityText(12.5L, sep); }, "12.500", "12,500");
        row(
            "drift gained", [](auto sep) { return driftText(0.75251L, sep); }, "+0.753", "+0,753");
        row(
            "drift lost", [](auto sep) { return driftText(-2.2e-6L, sep); }, "-2.20E-06", "-2,20E-06");
        row(
            "no drift", [](auto sep) { return driftText(std::nullopt, sep); }, "\u2014", "\u2014");
        row(
            "steps", [](auto) { return stepsText(27.4L); }, "27", "27");
    }
    void texts() {
        QFETCH(Format, format);
        QFETCH(QString, dot);
        QFETCH(QString, comma);
        QCOMPARE(QString::fromStdString(format(".")), dot);
        QCOMPARE(QString::fromStdString(format(",")), comma);
    }

    void warningOnlyBelowAHundredSteps_data() {
        QTest::addColumn<double>("steps");
        QTest::addColumn<QString>("warning");
        QTest::newRow("27") << 27.3
                            << "closest approach in 27 steps: expect the run to drift; a shorter plot "
                               "interval follows the orbit more closely";
        QTest::newRow("99.4") << 99.4
                              << "closest approach in 99 steps: expect the run to drift; a shorter plot "
                                 "interval follows the orbit more closely";
        QTest::newRow("100") << 100.0 << "";
    }
    void warningOnlyBelowAHundredSteps() {
        QFETCH(double, steps);
        QFETCH(QString, warning);
        OrbitReadout o;
        o.stepsAcrossPeriapsis = steps;
        QCOMPARE(QString::fromStdString(closeApproachWarning(o)), warning);
        o.stepsAcrossPeriapsis.reset();
        QVERIFY(closeApproachWarning(o).empty());
    }

    // Each text is translated whole, its numbers filled in afterwards; the bare numbers are not translated.
    void translatedWhole_data() {
        QTest::addColumn<Format>("format");
        QTest::addColumn<QString>("translated");
        const auto row = [](const char* name, const Format& f, const QString& translated) {
            QTest::newRow(name) << f << translated;
        };
        const auto m = MarkingTranslator::marked;
        OrbitReadout ellipse;
        ellipse.kind = OrbitKind::Ellipse;
        ellipse.relativeEnergy = -6.114e38L;
        ellipse.eccentricity = 0.973L;
        ellipse.period = 1356.6L * 86400;
        ellipse.stepsAcrossPeriapsis = 27.3L;
        OrbitReadout parabola = ellipse;
        parabola.kind = OrbitKind::Parabola;
        parabola.period.reset();
        OrbitReadout circle = ellipse;
        circle.kind = OrbitKind::Circle;
        row(
            "distance", [](auto sep) { return distanceText(6378137.0L, sep); }, m("6378.1 km"));
        row(
            "distance with AU", [](auto sep) { return distanceText(1.5e11L, sep); },
            m("1.5000E+08 km (1.003 AU)"));
        row(
            "days", [](auto sep) { return durationText(364.0L * 86400, sep); }, m("364.00 days"));
        row(
            "days with years", [](auto sep) { return durationText(365.25L * 86400, sep); },
            m("365.25 days (1.000 years)"));
        row(
            "speed", [](auto sep) { return speedText(31824.2L, sep); }, m("31.824 km/s"));
        row(
            "energy", [](auto sep) { return energyText(-6.1139e38L, sep); }, m("-6.114E+38 J"));
        row(
            "anticlockwise",
            [](auto sep) { return angularMomentumText(2.5e40L, RotationSense::Anticlockwise, sep); },
            m("2.500E+40 kg\u00b7m\u00b2/s, anticlockwise"));
        row(
            "no turning", [](auto sep) { return angularMomentumText(2.5e40L, RotationSense::None, sep); },
            m("2.500E+40 kg\u00b7m\u00b2/s"));
        row(
            "direction", [](auto sep) { return directionText(90.0L, sep); }, m("90.000\u00b0"));
        row(
            "kind", [=](auto) { return kindText(ellipse); }, m("bound ellipse"));
        row(
            "summary", [=](auto sep) { return summaryText(ellipse, sep); },
            m(m("bound ellipse") + ", e = 0.973, period 1356.6 days"));
        row(
            "summary without a period", [=](auto sep) { return summaryText(parabola, sep); },
            m(m("parabola: escape") + ", e = 0.973"));
        row(
            "summary without an eccentricity", [=](auto sep) { return summaryText(circle, sep); },
            m(m("bound circle") + ", period 1356.6 days"));
        row(
            "warning", [=](auto) { return closeApproachWarning(ellipse); },
            m("closest approach in 27 steps: expect the run to drift; a shorter plot interval follows the "
              "orbit "
              "more closely"));
        row(
            "eccentricity is a number", [](auto sep) { return eccentricityText(0.973L, sep); }, "0.97300");
        row(
            "drift is a number", [](auto sep) { return driftText(0.75251L, sep); }, "+0.753");
    }
    void translatedWhole() {
        QFETCH(Format, format);
        QFETCH(QString, translated);
        const MarkedTexts marked;
        QCOMPARE(QString::fromStdString(format(".")), translated);
    }

    void summaryOfTheStart() {
        OrbitReadout o;
        o.kind = OrbitKind::Ellipse;
        o.relativeEnergy = -6.114e38L;
        o.eccentricity = 0.97300L;
        o.period = 1356.6L * 86400;
        QCOMPARE(QString::fromStdString(summaryText(o, ",")),
                 QString("bound ellipse, e = 0,973, period 1356,6 days"));
        o.kind = OrbitKind::Hyperbola;
        o.eccentricity = 1.0154L;
        o.period.reset();
        QCOMPARE(QString::fromStdString(summaryText(o, ".")), QString("hyperbola: escape, e = 1.015"));
        o.kind = OrbitKind::None;
        o.whyNone = NoOrbitReason::BadMass;
        QCOMPARE(QString::fromStdString(summaryText(o, ".")),
                 QString("no orbit: a mass is zero or negative"));
    }
};

QTEST_MAIN(ReadoutTextTest)
#include "readout_text_qtest.moc"
