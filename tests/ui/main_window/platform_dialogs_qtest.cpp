#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "ui/common/platform_dialogs.h"

namespace {

// Runs check on the modal dialog that the next call opens, then closes it.
void whenModalOpens(const std::function<void(QWidget*)>& check) {
    QTimer::singleShot(0, [check] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        check(modal);
        if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
    });
}

// The label's text laid out as the label lays it out: every line within its width and all lines within its
// height.
QString clippedLines(const QLabel& label) {
    const qreal width = label.contentsRect().width();
    QTextLayout layout(label.text(), label.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    QStringList clipped;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        height += line.height();
        const QString shown = label.text().mid(line.textStart(), line.textLength());
        if (line.naturalTextWidth() > width + 0.5) clipped << shown;
        // A path starting at a line's end would be cut off from its first folder.
        const QString trimmed = QString(shown).remove(QChar(0x200B)).remove(QChar(0x2060)).trimmed();
        if (trimmed == QStringLiteral("/") || trimmed.endsWith(QStringLiteral(" /")))
            clipped << QStringLiteral("a line ending in a lone /: ") + shown;
    }
    layout.endLayout();
    if (height > label.contentsRect().height() + 0.5)
        clipped << QStringLiteral("text %1 px high in a label of %2")
                       .arg(height)
                       .arg(label.contentsRect().height());
    return clipped.join(QStringLiteral(" | "));
}

}  // namespace

// The Qt side of the program's dialogs: message boxes show all of a long text, and Qt's file dialogs leave no
// settings file behind.
class PlatformDialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir& configHome_;

public:
    explicit PlatformDialogsTest(QTemporaryDir& configHome) : configHome_(configHome) {}

private slots:
    void messageBoxesShowLongWordsAndPathsWhole_data() {
        QTest::addColumn<QString>("text");
        const QString path = QStringLiteral(
            "/home/somebody-with-a-long-name/.local/share/Tulvane/orbits-of-the-binary-star-catalogue-2026/"
            "slingshot-past-body-b-with-the-heavier-star-and-a-long-name.tv0");
        QTest::newRow("save confirmation") << QStringLiteral(
                                                  "The current state settings, labled "
                                                  "Slingshot_past_body_B_at_the_closest_approach_of_the_two_"
                                                  "stars_and_then_out_again, were saved to ") +
                                                  path + QStringLiteral(".");
        QTest::newRow("the longest label of wide letters")
            << QStringLiteral("The current state settings, labled ") + QString(100, QLatin1Char('M')) +
                   QStringLiteral(", were saved to ") + path + QStringLiteral(".");
        QTest::newRow("a path alone") << path;
        QTest::newRow("an error with a file name")
            << QStringLiteral("EInOutError error raised with message: Invalid file name - ") + path;
        QTest::newRow("short words only")
            << QStringLiteral("Tulvane simulates solutions for the two-body problem.");
    }

    void messageBoxesShowLongWordsAndPathsWhole() {
        QFETCH(QString, text);
        QtPlatformDialogs dialogs;
        QString clipped = QStringLiteral("no box");
        QString copied;
        whenModalOpens([&](QWidget* box) {
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            clipped = clippedLines(*label);
            // A copy of the text is the text itself, ready to be pasted.
            label->setSelection(0, int(label->text().size()));
            QTest::keyClick(label, Qt::Key_C, Qt::ControlModifier);
            copied = QGuiApplication::clipboard()->text();
        });
        dialogs.showMessage(nullptr, text);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped));
        QVERIFY2(copied.contains(text), qPrintable(copied));
        QVERIFY(!copied.contains(QChar(0x200B)) && !copied.contains(QChar(0x2060)));
    }

    void aFileDialogWritesNoToolkitSettings() {
        QtPlatformDialogs dialogs;
        PlatformDialogs::FileOptions options;
        options.title = QStringLiteral("Saving Settings");
        options.nameFilter = QStringLiteral("Tulvane files (*.TV0)");
        options.initialDir = QDir::tempPath();
        bool opened = false;
        whenModalOpens([&](QWidget* dialog) { opened = qobject_cast<QFileDialog*>(dialog) != nullptr; });
        QString name;
        QVERIFY(!dialogs.saveFile(nullptr, options, name));
        QVERIFY(opened);
        const QStringList left = QDir(configHome_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(", ")));
    }

    void aSettingsFileOpenedByItsPathStillWorks() {
        QtPlatformDialogs dialogs;
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("view-options.ini"));
        {
            QSettings settings(file, QSettings::IniFormat);
            settings.setValue(QStringLiteral("view/readout"), true);
        }
        QSettings again(file, QSettings::IniFormat);
        QCOMPARE(again.value(QStringLiteral("view/readout")).toBool(), true);
    }
};

int main(int argc, char* argv[]) {
    // Before anything reads the settings paths: the folder where Qt would write QtProject.conf.
    QTemporaryDir configHome;
    if (!configHome.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    PlatformDialogsTest test(configHome);
    return QTest::qExec(&test, argc, argv);
}

#include "platform_dialogs_qtest.moc"
