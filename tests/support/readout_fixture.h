#pragma once

#include <QSize>
#include <QTemporaryDir>
#include <QtTest>

#include "app/orbit_readout_wiring.h"
#include "main_window_fixture.h"
#include "ui/orbit_readout/orbit_readout_window.h"

// The main window with the orbit readout as main() wires them; the main window owns the readout and the
// initial state dialog. The view options, where the readout's open state is kept, go to configHome.
class ReadoutFixture : public MainWindowFixture {
protected:
    QTemporaryDir configHome;
    OrbitReadoutWindow* readout = nullptr;

    // For initTestCase.
    void keepDataAndConfigApart() {
        QVERIFY(dataHome.isValid() && configHome.isValid());
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    }

    // The windows made, the main one shown at the given size unless it is empty, and wired.
    void makeWiredWindows(QSize size = {}) {
        makeWindow(true);
        readout = new OrbitReadoutWindow(*records, window);
        window->show();
        if (!size.isEmpty()) window->resize(size);
        wireOrbitReadout(*window, *initialStateDialog, *readout);
    }

    void dropWindow() override {
        MainWindowFixture::dropWindow();
        readout = nullptr;
    }
};
