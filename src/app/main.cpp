#include <unistd.h>
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QTimer>

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
#include "ui/graphs/graphs_dock.h"
#include "ui/initial_state/initial_state_dialog.h"
#include "ui/main_window/main_window.h"
#include "ui/orbit_readout/orbit_readout_window.h"
#include "ui/settings_viewer/settings_viewer.h"

namespace {

constexpr const char* Usage =
    "Usage: tulvane [--help] [--version] [Qt options] [FILE.TV0 [--record N]]\n"
    "Simulates two point masses under their mutual Newtonian gravity, in a window: set each body's start,\n"
    "run, pause, zoom and re-centre the plot, and keep settings in .TV0 files.\n"
    "  FILE.TV0    settings file to show in the settings viewer, at its first record\n"
    "  --record N  make record N of FILE.TV0 (counted from 1) current instead, and start Ready\n"
    "  --help      print this help and exit\n"
    "  --version   print the version and exit\n"
    "Qt's own options, such as -platform NAME and -display DISPLAY, are passed to Qt.\n"
    "Exit status: 0 when the program ends, 1 when no display can be opened, 2 for bad arguments.\n";

// Answers --help and --version before a QApplication exists, so that they work without a display (the
// manual page is generated from them at build time). Returns the exit status, or -1 to start the program.
int answerInformationOption(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const char* text = nullptr;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            text = Usage;
        } else if (std::strcmp(argv[i], "--version") == 0) {
            text = "tulvane " TULVANE_VERSION "\n";
        } else if (std::strcmp(argv[i], "--") == 0) {
            break;
        }
        if (text) return std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
    }
    return -1;
}

// Where the settings file named on the command line leads: nowhere, the viewer, or a record made current.
struct FileArguments {
    QString file;
    std::int64_t record = 0;  // 0: show the file in the viewer
};

int usageError(const std::string& text) {
    std::fprintf(stderr, "tulvane: %s\nTry 'tulvane --help' for more information.\n", text.c_str());
    return 2;
}

// The program's own arguments, from what QApplication left of argv. Returns the exit status of a usage
// error, or -1.
int parseFileArguments(int argc, char* argv[], FileArguments& out) {
    bool optionsEnded = false;
    bool haveFile = false;
    const char* recordText = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--record") {
            if (i + 1 >= argc) return usageError("--record needs a record number");
            recordText = argv[++i];
        } else if (!optionsEnded && arg.rfind("--record=", 0) == 0) {
            recordText = argv[i] + 9;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else if (!haveFile) {
            if (arg.empty()) return usageError("the settings file's name is empty");
            out.file = QFile::decodeName(argv[i]);
            haveFile = true;
        } else {
            return usageError("only one settings file can be opened");
        }
    }
    if (recordText) {
        if (!haveFile) return usageError("--record needs a settings file");
        char* end = nullptr;
        errno = 0;
        const long long n = std::strtoll(recordText, &end, 10);
        if (*recordText < '0' || *recordText > '9' || *end != '\0' || errno != 0 || n < 1)
            return usageError(std::string("--record needs a record number counted from 1, not \"") +
                              recordText + "\"");
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

void startupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin"))) {
        static const char line[] = "tulvane: cannot open a display: set DISPLAY or WAYLAND_DISPLAY\n";
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line, sizeof line - 1);
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
    if (const int status = answerInformationOption(argc, argv); status >= 0) return status;
    // Under a file-size limit a write then fails with EFBIG, reported as a full disk, instead of the signal
    // ending the program and taking unsaved settings with it.
    std::signal(SIGXFSZ, SIG_IGN);
    previousHandler = qInstallMessageHandler(startupMessageHandler);
    QApplication app(argc, argv);
    releaseStartupMessages();
    FileArguments fileArguments;
    if (const int status = parseFileArguments(argc, argv, fileArguments); status >= 0) return status;
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
