#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "child_process.h"
#include "main_window_fixture.h"
#include "scratch_mount.h"
#include "settings_file/temporary_files.h"
#include "test_settings_viewer.h"
#include "ui/common/data_folder.h"
#include "ui/common/platform_dialogs.h"

namespace {

// Runs check on the modal dialog that the next call opens, then closes it.
void whenModalOpens(const std::function<void(QWidget*)>& check) {
    QTimer::singleShot(0, qApp, [check] {
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

    // The box that waits for another copy: modal (so it holds a run still), its text as given, polling until
    // the lock is taken.
    void theWaitingBoxClosesOnceTheLockIsTaken() {
        QtPlatformDialogs dialogs;
        const QString text =
            QStringLiteral("Waiting for another copy of Tulvane that is writing /a/b.tv0") + QChar(0x2026);
        QString shownText;
        bool modal = false;
        bool cancelOffered = false;
        int polls = 0;
        const bool taken = dialogs.waitForOtherCopy(nullptr, text, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                modal = true;
                shownText = box->text().remove(QChar(0x200B)).remove(QChar(0x2060));
                cancelOffered = box->button(QMessageBox::Cancel) && box->buttons().size() == 1;
            }
            return ++polls == 3;
        });
        QVERIFY(taken);
        QCOMPARE(polls, 3);
        QVERIFY(modal);
        QVERIFY(cancelOffered);
        QCOMPARE(shownText, text);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void cancellingTheWaitingBoxGivesUp() {
        QtPlatformDialogs dialogs;
        QTimer::singleShot(0, this, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton);
        });
        int polls = 0;
        QVERIFY(!dialogs.waitForOtherCopy(nullptr, QStringLiteral("Waiting"), [&] {
            ++polls;
            return false;
        }));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void aWarningHasTheWarningIcon() {
        QtPlatformDialogs dialogs;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        whenModalOpens([&](QWidget* box) { icon = qobject_cast<QMessageBox*>(box)->icon(); });
        dialogs.showWarning(nullptr, QStringLiteral("The data folder cannot be used."));
        QCOMPARE(icon, QMessageBox::Warning);
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

// Where each file dialog of the program starts, and the data folder's check at start. A dialog asked to start
// in a folder that is not there would open in the working directory.
class DialogStartFoldersTest : public MainWindowFixture {
    Q_OBJECT

    QTemporaryDir home;
    QByteArray savedHome;

    // The window as the program starts it: the viewer beside it, then the data folder checked once.
    void startProgram() {
        makeWindow();
        window->setSettingsViewer(new TestSettingsViewer(*records, *dialogs, window->dataDir(), window));
        showWindow({640, 480});
        DataFolder::checkAtStart(*dialogs, window, window->dataDir());
    }

    // Opens every file dialog of the program once (each cancelled): the folder each was asked to start in,
    // by its title.
    QMap<QString, QString> startFolders() {
        const std::size_t from = dialogs->shown.size();
        dialogs->inputAnswers.push_back(QStringLiteral("label"));
        window->saveSettingsAction->trigger();
        window->savedSettingsAction->trigger();
        window->backgroundPictureAction->trigger();
        runAndPauseAt(20);
        window->exportPictureAction->trigger();
        window->exportTrackAction->trigger();
        QMap<QString, QString> folders;
        for (std::size_t i = from; i < dialogs->shown.size(); ++i) {
            const auto& s = dialogs->shown[i];
            if (s.kind == QStringLiteral("open") || s.kind == QStringLiteral("save"))
                folders[s.text] = s.file.initialDir;
        }
        return folders;
    }

    static QMap<QString, QString> expected(const QString& classic, const QString& pictures,
                                           const QString& documents) {
        return {{QStringLiteral("Saving Settings"), classic},
                {QStringLiteral("Viewing Saved Settings"), classic},
                {QStringLiteral("Selecting JPEG Background"), classic},
                {QStringLiteral("Export Picture"), pictures},
                {QStringLiteral("Export Track"), documents}};
    }

    static QString staleName(pid_t pid) {
        return QString::fromStdString(".s.tv0.tulvane-" + TemporaryFiles::bootId() + "-" +
                                      std::to_string(pid) + "-abc123.tmp");
    }

    static pid_t goneProcess() {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(0);
        ::waitpid(child, nullptr, 0);
        return child;
    }

private slots:
    void init() {
        QVERIFY(home.isValid());
        savedHome = qgetenv("HOME");
        qputenv("HOME", home.path().toLocal8Bit());
    }
    void cleanup() {
        closeWindow();
        qputenv("HOME", savedHome);
        qunsetenv("XDG_DATA_HOME");
        for (const QString& name :
             QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            QDir(home.filePath(name)).removeRecursively() || QFile::remove(home.filePath(name));
    }

    void classicDialogsStartInTheDataFolderOrElseAtHome_data() {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QString>("reason");  // empty: usable
        QTest::newRow("usable") << "usable" << QString();
        QTest::newRow("XDG_DATA_HOME is a file")
            << "data home is a file" << QString::fromLocal8Bit(strerror(ENOTDIR));
        QTest::newRow("Tulvane is a file") << "folder is a file" << QString::fromLocal8Bit(strerror(ENOTDIR));
        QTest::newRow("read-only mount") << "read-only" << QString::fromLocal8Bit(strerror(EROFS));
        QTest::newRow("read-only mount, folder already there")
            << "read-only with folder" << QString::fromLocal8Bit(strerror(EROFS));
    }

    void classicDialogsStartInTheDataFolderOrElseAtHome() {
        QFETCH(QString, setUp);
        QFETCH(QString, reason);
        QTemporaryDir scratch;
        QString xdgDataHome = scratch.filePath(QStringLiteral("data"));
        std::unique_ptr<ScratchMount> mount;
        if (setUp == "data home is a file") {
            QVERIFY(QFile(xdgDataHome).open(QIODevice::WriteOnly));
        } else if (setUp == "folder is a file") {
            QVERIFY(QDir().mkpath(xdgDataHome));
            QVERIFY(QFile(xdgDataHome + "/Tulvane").open(QIODevice::WriteOnly));
        } else if (setUp.startsWith("read-only")) {
            mount = std::make_unique<ScratchMount>();
            if (!mount->ok()) QSKIP(mount->why().c_str());
            xdgDataHome = QString::fromStdString(mount->path());
            if (setUp.endsWith("with folder")) QVERIFY(QDir().mkpath(xdgDataHome + "/Tulvane"));
            if (!mount->makeReadOnly()) QSKIP(mount->why().c_str());
        } else {
            QVERIFY(QDir().mkpath(xdgDataHome + "/Tulvane"));
        }
        // What writers left: one killed, one still at work.
        const QString folder = xdgDataHome + "/Tulvane/";
        const QString gone = folder + staleName(goneProcess());
        const QString live = folder + staleName(::getpid());
        if (reason.isEmpty()) {
            QVERIFY(QFile(gone).open(QIODevice::WriteOnly));
            QVERIFY(QFile(live).open(QIODevice::WriteOnly));
        }
        qputenv("XDG_DATA_HOME", xdgDataHome.toLocal8Bit());

        startProgram();
        QCOMPARE(window->dataDir(), folder);
        const auto folders = startFolders();
        if (reason.isEmpty()) {
            QVERIFY(dialogs->texts("warning").isEmpty());
            QVERIFY(!QFile::exists(gone));
            QVERIFY(QFile::exists(live));
        } else {
            QCOMPARE(dialogs->texts("warning").size(), 1);
            const QString warning = dialogs->texts("warning").first();
            QVERIFY2(warning.startsWith("The data folder " + folder + " cannot be used: " + reason + "."),
                     qPrintable(warning));
        }
        QCOMPARE(folders,
                 expected(reason.isEmpty() ? folder : QDir::homePath(), QDir::homePath(), QDir::homePath()));
        QCOMPARE(QDir::homePath(), home.path());
    }

    // Root writes anywhere but on a read-only mount; an ordinary user is refused a folder that is not theirs.
    void aFolderThisUserCannotWriteIsUnusable() {
        QTemporaryDir scratch;
        QVERIFY(::chmod(QFile::encodeName(scratch.path()).constData(), 0755) == 0);
        const QString xdgDataHome = scratch.filePath(QStringLiteral("data"));
        QVERIFY(QDir().mkpath(xdgDataHome + "/Tulvane"));
        QVERIFY(::chmod(QFile::encodeName(xdgDataHome + "/Tulvane").constData(), 0755) == 0);
        const QString denied = QString::fromLocal8Bit(strerror(EACCES));
        const int status = exitStatusOfChild([&] {
            if (!dropToNobody()) return CannotDropPrivileges;
            if (DataFolder::problem(xdgDataHome + "/Tulvane/") != denied) return 1;
            if (DataFolder::problem(xdgDataHome + "/Other/") != denied) return 2;
            return DataFolder::classicStartFolder(xdgDataHome + "/Tulvane/") == QDir::homePath() ? 0 : 3;
        });
        if (status == CannotDropPrivileges) QSKIP("cannot become an ordinary user (not running as root)");
        QCOMPARE(status, 0);
    }

    // A picture starts among the pictures, else the documents; a table among the documents; else at home.
    void exportsStartAmongThePicturesOrTheDocuments_data() {
        QTest::addColumn<QStringList>("made");
        QTest::addColumn<QString>("pictures");
        QTest::addColumn<QString>("documents");
        QTest::newRow("pictures and documents") << QStringList{"Pictures", "Documents"} << "Pictures"
                                                << "Documents";
        QTest::newRow("documents only") << QStringList{"Documents"} << "Documents"
                                        << "Documents";
        QTest::newRow("pictures only") << QStringList{"Pictures"} << "Pictures"
                                       << "";
        QTest::newRow("neither") << QStringList{} << ""
                                 << "";
    }

    void exportsStartAmongThePicturesOrTheDocuments() {
        QFETCH(QStringList, made);
        QFETCH(QString, pictures);
        QFETCH(QString, documents);
        for (const QString& m : made) QVERIFY(QDir(home.path()).mkdir(m));
        QTemporaryDir xdgDataHome;
        qputenv("XDG_DATA_HOME", xdgDataHome.path().toLocal8Bit());
        startProgram();
        const auto at = [this](const QString& f) { return f.isEmpty() ? home.path() : home.filePath(f); };
        QCOMPARE(startFolders(), expected(window->dataDir(), at(pictures), at(documents)));
    }
};

int main(int argc, char* argv[]) {
    // Before anything reads the settings paths: the folder where Qt would write QtProject.conf.
    QTemporaryDir configHome;
    if (!configHome.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    PlatformDialogsTest test(configHome);
    DialogStartFoldersTest startFolders;
    return QTest::qExec(&test, argc, argv) | QTest::qExec(&startFolders, argc, argv);
}

#include "platform_dialogs_qtest.moc"
