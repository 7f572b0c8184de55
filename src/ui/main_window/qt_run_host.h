#pragma once

#include <QElapsedTimer>
#include <string>

#include "core/pump_schedule.h"
#include "core/run.h"

class MainWindow;

// The run loop's view of the main window: crosses on the plot surface, the elapsed labels, a real sleep,
// and the Qt event pump, run about once a millisecond (and always right after a sleep) because a pump costs
// as much as a whole integration step.
class QtRunHost : public RunHost {
public:
    explicit QtRunHost(MainWindow& form);

    void drawBody(const TVector& NewPos, std::int32_t Body) override;
    void showElapsed(const std::string& daysText) override;
    void sleepMs(std::int32_t ms) override;
    bool pumpEvents(std::int32_t steps) override;
    std::int32_t quietSteps() override;
    void plotCounted(std::int32_t plotCounter) override;
    std::string decimalSeparator() const override { return separator_; }

    // Whether the step the loop last finished (or, inside its event pump, is serving events after) ended on
    // a plot point.
    bool pausedAtPlotPoint() const { return atPlotPoint_; }
    // Called when Run has returned: a replay ends on its last plot point without a pump.
    void settleAfterRun() {
        if (plottedThisStep_) atPlotPoint_ = true;
        plottedThisStep_ = false;
    }

private:
    MainWindow& form_;
    QElapsedTimer clock_;
    PumpSchedule schedule_;
    std::string separator_;
    bool plottedThisStep_ = false;
    bool atPlotPoint_ = true;
};
