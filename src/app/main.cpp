#include <unistd.h>
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/accuracy_lab_wiring.h"
#include "app/graphs_wiring.h"
#include "app/orbit_readout_wiring.h"
#include "core/sim_records.h"
#include "ui/accuracy_lab/accuracy_lab_window.h"
#include "ui/common/data_folder.h"
#include "ui/common/platform_dialogs.h"
#include "ui/common/program_translators.h"
#include "ui/graphs/graphs_dock.h"
#include "ui/initial_state/initial_state_dialog.h"
#include "ui/main_window/main_window.h"
#include "ui/orbit_readout/orbit_readout_window.h"
#include "ui/settings_viewer/settings_viewer.h"

namespace {

//: tulvane --help, on the terminal. Keep the options (FILE.TV0, --record N, --help, --version, -platform
//: NAME, -display DISPLAY) as they are, each with its text on one line; the manual page is made from the
//: English text.
constexpr const char* Usage = QT_TRANSLATE_NOOP(
    "CommandLine",
    "Usage: tulvane [--help] [--version] [Qt options] [FILE.TV0 [--record N]]\n"
    "Simulates two point masses under their mutual Newtonian gravity, in a window: set each body's start,\n"
    "run, pause, zoom and re-centre the plot, and keep settings in .TV0 files.\n"
    "  FILE.TV0    settings file to show in the settings viewer, at its first record\n"
    "  --record N  make record N of FILE.TV0 (counted from 1) current instead, and start Ready\n"
    "  --help      print this help and exit\n"
    "  --version   print the version and exit\n"
    "Qt's own options, such as -platform NAME and -display DISPLAY, are passed to Qt.\n"
    "Exit status: 0 when the program ends, 1 when no display can be opened, 2 for bad arguments.\n");

// The command line's texts in the user's language. --help and a missing display are answered before the
// application object exists, which installed translators need: the catalogue is read here on its own.
class CommandLineTexts {
public:
    CommandLineTexts() {
        const QString language = ProgramTranslators::languageFor(QLocale());
        if (language.isEmpty()) return;
        // One that does not load leaves the texts English.
        [[maybe_unused]] const bool loaded = catalogue_.load(ProgramTranslators::catalogue(language));
    }
    // A text marked with QT_TRANSLATE_NOOP("CommandLine", ...), translated where the catalogue has it.
    QString operator()(const char* source) const {
        const QString translated = catalogue_.translate("CommandLine", source);
        return translated.isEmpty() ? QString::fromUtf8(source) : translated;
    }

private:
    QTranslator catalogue_;
};

// Answers --help and --version before a QApplication exists, so that they work without a display (the
// manual page is generated from them at build time). Returns the exit status, or -1 to start the program.
int answerInformationOption(int argc, char* argv[], const CommandLineTexts& texts) {
    for (int i = 1; i < argc; ++i) {
        QByteArray text;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            text = texts(Usage).toLocal8Bit();
        } else if (std::strcmp(argv[i], "--version") == 0) {
            text = "tulvane " TULVANE_VERSION "\n";
        } else if (std::strcmp(argv[i], "--") == 0) {
            break;
        }
        if (!text.isEmpty())
            return std::fputs(text.constData(), stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
    }
    return -1;
}

// Where the settings file named on the command line leads: nowhere, the viewer, or a record made current.
struct FileArguments {
    QString file;
    std::int64_t record = 0;  // 0: show the file in the viewer
};

int usageError(const CommandLineTexts& texts, const QString& text) {
    //: Under a refused command line.
    const QString hint =
        texts(QT_TRANSLATE_NOOP("CommandLine", "Try 'tulvane --help' for more information."));
    std::fprintf(stderr, "tulvane: %s\n%s\n", text.toLocal8Bit().constData(), hint.toLocal8Bit().constData());
    return 2;
}

// The program's own arguments, from what QApplication left of argv. Returns the exit status of a usage
// error, or -1.
int parseFileArguments(int argc, char* argv[], FileArguments& out, const CommandLineTexts& texts) {
    bool optionsEnded = false;
    bool haveFile = false;
    const char* recordText = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--record") {
            if (i + 1 >= argc)
                return usageError(texts,
                                  texts(QT_TRANSLATE_NOOP("CommandLine", "--record needs a record number")));
            recordText = argv[++i];
        } else if (!optionsEnded && arg.rfind("--record=", 0) == 0) {
            recordText = argv[i] + 9;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            //: %1 is the option as given, "--bogus".
            return usageError(texts, texts(QT_TRANSLATE_NOOP("CommandLine", "unknown option %1"))
                                         .arg(QString::fromLocal8Bit(argv[i])));
        } else if (!haveFile) {
            if (arg.empty())
                return usageError(
                    texts, texts(QT_TRANSLATE_NOOP("CommandLine", "the settings file's name is empty")));
            out.file = QFile::decodeName(argv[i]);
            haveFile = true;
        } else {
            return usageError(
                texts, texts(QT_TRANSLATE_NOOP("CommandLine", "only one settings file can be opened")));
        }
    }
    if (recordText) {
        if (!haveFile)
            return usageError(texts,
                              texts(QT_TRANSLATE_NOOP("CommandLine", "--record needs a settings file")));
        char* end = nullptr;
        errno = 0;
        const long long n = std::strtoll(recordText, &end, 10);
        if (*recordText < '0' || *recordText > '9' || *end != '\0' || errno != 0 || n < 1)
            //: %1 is what followed --record, "0" or "2x".
            return usageError(
                texts, texts(QT_TRANSLATE_NOOP("CommandLine",
                                               "--record needs a record number counted from 1, not \"%1\""))
                           .arg(QString::fromLocal8Bit(recordText)));
        out.record = n;
    }
    return -1;
}

// Qt's messages until QApplication stands: a platform plugin that cannot reach a display ends in a fatal
// message (an abort), after warnings that name the plugins. The user gets one line instead, and status 1.
// Any other message is held and passed on once the application exists.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage> heldMessages;
// The line for a start without a display, made before the handler may need it.
QByteArray noDisplayLine;

void startupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin"))) {
        [[maybe_unused]] const ssize_t written =
            ::write(STDERR_FILENO, noDisplayLine.constData(), static_cast<std::size_t>(noDisplayLine.size()));
        ::_exit(1);
    }
    if (type == QtFatalMsg) {
        previousHandler(type, context, message);
        return;
    }
    heldMessages.push_back({type, QByteArray(context.category ? context.category : "default"), message});
}

void releaseStartupMessages() {
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& m : heldMessages) {
        QMessageLogContext context;
        context.category = m.category.constData();
        previousHandler(m.type, context, m.text);
    }
    heldMessages.clear();
}

}  // namespace

int main(int argc, char* argv[]) {
    const CommandLineTexts texts;
    if (const int status = answerInformationOption(argc, argv, texts); status >= 0) return status;
    // Under a file-size limit a write then fails with EFBIG, reported as a full disk, instead of the signal
    // ending the program and taking unsaved settings with it.
    std::signal(SIGXFSZ, SIG_IGN);
    noDisplayLine =
        "tulvane: " +
        texts(QT_TRANSLATE_NOOP("CommandLine", "cannot open a display: set DISPLAY or WAYLAND_DISPLAY"))
            .toLocal8Bit() +
        '\n';
    previousHandler = qInstallMessageHandler(startupMessageHandler);
    QApplication app(argc, argv);
    releaseStartupMessages();
    FileArguments fileArguments;
    if (const int status = parseFileArguments(argc, argv, fileArguments, texts); status >= 0) return status;
    // The user's language, for the windows and for Qt's own dialogs, before any window is made.
    ProgramTranslators::install();
    QApplication::setApplicationName(QStringLiteral("Tulvane"));
    // Ties the windows to the installed desktop entry, so docks and task bars show its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TULVANE_APP_ID));
    // The icon is built into the program: no search of the install prefix, and no SVG plugin needed.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tulvane.png")));
    // The program ends through the main window, even while the initial-state dialog is open.
    QApplication::setQuitOnLastWindowClosed(false);

    SimRecords records;
    QtPlatformDialogs dialogs;
    MainWindow mainWindow(records, dialogs);
    InitialStateDialog initialStateDialog(
        records, [&mainWindow](const TVector& p, Body body) { mainWindow.drawBody(p, body); }, &mainWindow);
    mainWindow.setInitialStateDialog(&initialStateDialog);
    SettingsViewer settingsViewer(records, dialogs, mainWindow.dataDir(), &mainWindow);
    mainWindow.setSettingsViewer(&settingsViewer);
    OrbitReadoutWindow orbitReadout(records, &mainWindow);
    AccuracyLabWindow accuracyLab(records, dialogs, &mainWindow);
    auto* graphs = new GraphsDock(&mainWindow);  // the main window owns its docks
    mainWindow.showMaximized();
    // After the main window, so that a readout remembered open appears above it.
    wireOrbitReadout(mainWindow, initialStateDialog, orbitReadout);
    wireAccuracyLab(mainWindow, accuracyLab);
    wireGraphs(mainWindow, orbitReadout, *graphs);
    // Once the windows are up, so that a warning about the folder stands above them.
    QTimer::singleShot(0, &mainWindow, [&] {
        DataFolder::checkAtStart(dialogs, &mainWindow, mainWindow.dataDir());
        if (!fileArguments.file.isEmpty())
            mainWindow.openSettingsFile(fileArguments.file, fileArguments.record);
    });
    return QApplication::exec();
}
