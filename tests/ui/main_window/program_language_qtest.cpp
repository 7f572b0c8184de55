#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <cstdio>
#include <cstring>

#include "main_window_fixture.h"
#include "ui/common/program_translators.h"

namespace {

// Run with this argument alone, the program prints the language its environment chooses and ends.
const char* const PrintLanguage = "--print-language";

const char* const LocaleVariables[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

// What a button box of the toolkit's own calls Cancel.
QString cancelText() {
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    return box.button(QDialogButtonBox::Cancel)->text();
}

// What the toolkit's own file dialog, drawn by Qt itself, calls its Open button.
QString openText() {
    QFileDialog dialog(nullptr);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QList<QDialogButtonBox*> boxes = dialog.findChildren<QDialogButtonBox*>();
    if (boxes.size() != 1 || !boxes.front()->button(QDialogButtonBox::Open)) return {};
    return boxes.front()->button(QDialogButtonBox::Open)->text();
}

}  // namespace

// The program speaks the user's language where it has a catalogue of it, and English otherwise; Qt's own
// dialogs and buttons speak the same language.
class ProgramLanguageTest : public MainWindowFixture {
    Q_OBJECT

private slots:
    void initTestCase() { keepDataInDataHome(true); }

    void cleanup() {
        ProgramTranslators::uninstall();
        QLocale::setDefault(QLocale::system());
        if (window) closeWindow();
    }

    void firstLanguageWithACatalogueOrEnglishWins_data() {
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<QString>("language");
        QTest::newRow("German") << QStringList{"de-DE", "de"} << "de";
        QTest::newRow("French of Canada") << QStringList{"fr-CA"} << "fr";
        QTest::newRow("Swiss German, written as the environment has it")
            << QStringList{"de_CH.UTF-8"} << "de";
        QTest::newRow("English before German") << QStringList{"en-GB", "de-DE"} << "";
        QTest::newRow("Spanish has no catalogue, French has") << QStringList{"es-ES", "fr-FR"} << "fr";
        QTest::newRow("Spanish alone") << QStringList{"es-ES"} << "";
        QTest::newRow("the C locale") << QStringList{"C"} << "";
        QTest::newRow("none at all") << QStringList{} << "";
    }
    void firstLanguageWithACatalogueOrEnglishWins() {
        QFETCH(QStringList, preferred);
        QFETCH(QString, language);
        QCOMPARE(ProgramTranslators::languageFor(preferred), language);
    }

    // As the program starts: the locale from the environment, read by a process of its own.
    void environmentChoosesTheLanguage_data() {
        QTest::addColumn<QStringList>("variables");  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG; empty: unset
        QTest::addColumn<QString>("language");
        QTest::newRow("LANG German") << QStringList{"", "", "", "de_DE.UTF-8"} << "de";
        QTest::newRow("LANG French") << QStringList{"", "", "", "fr_FR.UTF-8"} << "fr";
        QTest::newRow("LANG English") << QStringList{"", "", "", "en_US.UTF-8"} << "";
        QTest::newRow("LANG C") << QStringList{"", "", "", "C.UTF-8"} << "";
        QTest::newRow("LC_MESSAGES over LANG") << QStringList{"", "", "fr_FR.UTF-8", "de_DE.UTF-8"} << "fr";
        QTest::newRow("LC_ALL over LC_MESSAGES") << QStringList{"", "de_DE.UTF-8", "fr_FR.UTF-8", ""} << "de";
        QTest::newRow("LANGUAGE over LANG") << QStringList{"fr:de", "", "", "de_DE.UTF-8"} << "fr";
        QTest::newRow("LANGUAGE's next choice") << QStringList{"es:de", "", "", "en_US.UTF-8"} << "de";
        QTest::newRow("LANGUAGE English first") << QStringList{"en:fr", "", "", "fr_FR.UTF-8"} << "";
    }
    void environmentChoosesTheLanguage() {
        QFETCH(QStringList, variables);
        QFETCH(QString, language);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (int i = 0; i < 4; ++i) {
            environment.remove(QString::fromLatin1(LocaleVariables[i]));
            if (!variables[i].isEmpty())
                environment.insert(QString::fromLatin1(LocaleVariables[i]), variables[i]);
        }
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(PrintLanguage)});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed(), language);
    }

    void qtsOwnTextsSpeakTheLanguage_data() {
        QTest::addColumn<QLocale::Language>("locale");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QString>("open");
        QTest::newRow("German") << QLocale::German << "Abbrechen"
                                << "&\u00D6ffnen";
        QTest::newRow("French") << QLocale::French << "Annuler"
                                << "&Ouvrir";
        QTest::newRow("English") << QLocale::English << "Cancel"
                                 << "&Open";
    }
    void qtsOwnTextsSpeakTheLanguage() {
        QFETCH(QLocale::Language, locale);
        QFETCH(QString, cancel);
        QFETCH(QString, open);
        QLocale::setDefault(QLocale(locale));
        const QString installed = ProgramTranslators::install();
        QCOMPARE(installed, locale == QLocale::English ? QString() : QLocale::languageToCode(locale));
        QCOMPARE(cancelText(), cancel);
        QCOMPARE(openText(), open);
    }

    void anotherLanguageReplacesTheFirst() {
        QCOMPARE(ProgramTranslators::install(QLocale(QLocale::German)), QString("de"));
        QCOMPARE(ProgramTranslators::install(QLocale(QLocale::French)), QString("fr"));
        QCOMPARE(cancelText(), QString("Annuler"));
        QCOMPARE(ProgramTranslators::install(QLocale(QLocale::English)), QString());
        QCOMPARE(cancelText(), QString("Cancel"));
    }

    void programsOwnMenusSpeakTheLanguage_data() {
        QTest::addColumn<QLocale::Language>("locale");
        QTest::addColumn<QString>("file");
        QTest::newRow("German") << QLocale::German << "&Datei";
        QTest::newRow("French") << QLocale::French << "&Fichier";
    }
    void programsOwnMenusSpeakTheLanguage() {
        QFETCH(QLocale::Language, locale);
        QFETCH(QString, file);
        QLocale::setDefault(QLocale(locale));
        QVERIFY(!ProgramTranslators::install().isEmpty());
        makeWindow();
        QCOMPARE(window->fileMenu->title(), file);
    }

    // Without a catalogue installed, every text is the English the sources hold.
    void englishIsTheSourceText() {
        QCOMPARE(ProgramTranslators::install(QLocale(QLocale::English, QLocale::UnitedStates)), QString());
        makeWindow();
        QCOMPARE(window->fileMenu->title(), QString("&File"));
        QCOMPARE(window->runButton->text(), QString("Run"));
    }
};

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], PrintLanguage) == 0) {
        QCoreApplication app(argc, argv);
        std::printf("%s\n", ProgramTranslators::languageFor(QLocale()).toLocal8Bit().constData());
        return 0;
    }
    QApplication app(argc, argv);
    ProgramLanguageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "program_language_qtest.moc"
