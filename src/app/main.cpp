#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstring>

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
    "Usage: tulvane [--help] [--version] [Qt options]\n"
    "Simulates two point masses under their mutual Newtonian gravity, in a window: set each body's start,\n"
    "run, pause, zoom and re-centre the plot, and keep settings in .TV0 files.\n"
    "  --help      print this help and exit\n"
    "  --version   print the version and exit\n"
    "Qt's own options, such as -platform NAME and -display DISPLAY, are passed to Qt.\n";

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

}  // namespace

int main(int argc, char* argv[]) {
    if (const int status = answerInformationOption(argc, argv); status >= 0) return status;
    // Under a file-size limit a write then fails with EFBIG, reported as a full disk, instead of the signal
    // ending the program and taking unsaved settings with it.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
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
        records, [&mainWindow](const TVector& p, std::int32_t body) { mainWindow.drawBody(p, body); },
        &mainWindow);
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
    QTimer::singleShot(0, &mainWindow,
                       [&] { DataFolder::checkAtStart(dialogs, &mainWindow, mainWindow.dataDir()); });
    return QApplication::exec();
}
