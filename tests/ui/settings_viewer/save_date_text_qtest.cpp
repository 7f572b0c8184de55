#include <QtTest>

#include "ui/settings_viewer/save_date_text.h"

class SaveDateTextTest : public QObject {
    Q_OBJECT

private slots:
    // Long time formats as locales give them: the zone field goes, with its brackets and separator, while
    // quoted text (which may contain the letter t) stays.
    void zoneFieldsAreRemovedFromTimeFormats_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zone last") << "h:mm:ss AP t"
                                   << "h:mm:ss AP";
        QTest::newRow("zone first") << "t HH:mm:ss"
                                    << "HH:mm:ss";
        QTest::newRow("zone in parentheses") << "'Klock' H.mm:ss (t)"
                                             << "'Klock' H.mm:ss";
        QTest::newRow("zone in brackets") << "APh:mm:ss [t]"
                                          << "APh:mm:ss";
        QTest::newRow("zone after a comma") << "h:mm:ss AP, t"
                                            << "h:mm:ss AP";
        QTest::newRow("quoted letters kept") << "HH 'h' mm 'min' ss 's' t"
                                             << "HH 'h' mm 'min' ss 's'";
        QTest::newRow("quoted t kept") << "'at' HH:mm:ss tttt"
                                       << "'at' HH:mm:ss";
        QTest::newRow("quoted text after the zone") << "H:mm:ss t 'Uhr'"
                                                    << "H:mm:ss 'Uhr'";
        QTest::newRow("no zone") << "HH:mm:ss"
                                 << "HH:mm:ss";
    }

    void zoneFieldsAreRemovedFromTimeFormats() {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(TimeFormatWithoutZone(format), expected);
    }

    void noLocaleShowsTheZoneInItsTimeText() {
        const QTime time(12, 0, 7);
        const QString zone = QLocale::c().toString(time, QStringLiteral("t"));
        QVERIFY(!zone.isEmpty());
        for (const QLocale& l :
             QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            // Qt's own long form names the zone, so the check below can tell.
            QVERIFY(l.toString(time, l.timeFormat(QLocale::LongFormat)).contains(zone));
            const QString text = DateTimeText(45000.5 + 7.0 / 86400, l);
            QVERIFY2(!text.contains(zone), qPrintable(l.name() + ": " + text));
            QVERIFY2(
                text.startsWith(l.toString(QDate(2023, 3, 15), l.dateFormat(QLocale::ShortFormat)) + " "),
                qPrintable(l.name() + ": " + text));
        }
    }
};

QTEST_MAIN(SaveDateTextTest)
#include "save_date_text_qtest.moc"
