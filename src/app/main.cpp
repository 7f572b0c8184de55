#include <QApplication>
#include <QIcon>

#include "app/orbit_readout_wiring.h"
#include "core/sim_records.h"
#include "ui/common/platform_dialogs.h"
#include "ui/initial_state/initial_state_dialog.h"
#include "ui/main_window/main_window.h"
#include "ui/orbit_readout/orbit_readout_window.h"
#include "ui/settings_viewer/settings_viewer.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tulvane"));
    // Ties the windows to the installed tulvane.desktop entry, so docks and task bars show its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tulvane"));
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
    mainWindow.showMaximized();
    // After the main window, so that a readout remembered open appears above it.
    wireOrbitReadout(mainWindow, initialStateDialog, orbitReadout);
    return QApplication::exec();
}
