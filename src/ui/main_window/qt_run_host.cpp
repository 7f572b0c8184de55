#include "ui/main_window/qt_run_host.h"

#include <algorithm>

#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QThread>

#include "ui/main_window/main_window.h"
#include "ui/main_window/plot_surface.h"
#include "ui/main_window/view_aids.h"

QtRunHost::QtRunHost(MainWindow& form) : form_(form), separator_(QLocale().decimalPoint().toStdString()) {
    clock_.start();
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
    schedule_.slept();
}

bool QtRunHost::pumpEvents(std::int32_t steps) {
    // Counted before the pump: a replay served inside it restarts the clock.
    form_.viewAids_->stepsPumped(steps);
    atPlotPoint_ = plottedThisStep_;
    plottedThisStep_ = false;
    bool ran = false;
    if (form_.pumpEveryStep || schedule_.afterSteps(steps, [this] { return clock_.nsecsElapsed(); })) {
        QCoreApplication::processEvents();
        schedule_.pumped(clock_.nsecsElapsed());
        ran = true;
    }
    if (form_.afterStepHook) {
        form_.afterStepHook();
        ran = true;
    }
    if (ran) form_.endSupersededLoop();
    return ran;
}

std::int32_t QtRunHost::quietSteps() {
    // The test hooks look at every step.
    if (form_.pumpEveryStep || form_.afterStepHook) return 0;
    return static_cast<std::int32_t>(std::min<std::int64_t>(schedule_.quietSteps(), AnyNumberOfSteps));
}

void QtRunHost::plotCounted(std::int32_t plotCounter) {
    form_.viewAids_->plotPointReached();
    if (!form_.runFrames_.empty()) form_.runFrames_.back().liveCount = plotCounter;
    form_.track_.add(plotCounter, form_.r_.CurState);
    plottedThisStep_ = true;
}
