#include "ui/main_window/qt_run_host.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QThread>

#include "ui/main_window/main_window.h"
#include "ui/main_window/plot_surface.h"

QtRunHost::QtRunHost(MainWindow& form) : form_(form), separator_(QLocale().decimalPoint().toStdString()) {
    sincePump_.start();
}

void QtRunHost::drawBody(const TVector& NewPos, std::int32_t Body) {
    form_.drawBody(NewPos, Body);
}

void QtRunHost::showElapsed(const std::string& daysText) {
    const QString text = QString::fromStdString(daysText);
    form_.elapsedLabel->setText(text);
    form_.elapsedUnitLabel->setText(QStringLiteral("days"));
    // Only a live run shows the elapsed time, so a replay emits nothing per point.
    emit form_.plotPointDrawn(text);
}

void QtRunHost::sleepMs(std::int32_t ms) {
    // Show the new crosses before the pause, not a sleep later.
    form_.plotSurface()->flush(true);
    QThread::msleep(static_cast<unsigned long>(ms));
    afterSleep_ = true;
}

bool QtRunHost::pumpEvents() {
    atPlotPoint_ = plottedThisStep_;
    plottedThisStep_ = false;
    bool ran = false;
    if (afterSleep_ || form_.pumpEveryStep || sincePump_.nsecsElapsed() >= 1'000'000) {
        QCoreApplication::processEvents();
        sincePump_.restart();
        afterSleep_ = false;
        ran = true;
    }
    if (form_.afterStepHook) {
        form_.afterStepHook();
        ran = true;
    }
    if (ran) form_.endSupersededLoop();
    return ran;
}

void QtRunHost::plotCounted(std::int32_t plotCounter) {
    if (!form_.runFrames_.empty()) form_.runFrames_.back().liveCount = plotCounter;
    form_.track_.add(plotCounter, form_.r_.CurState);
    plottedThisStep_ = true;
}
