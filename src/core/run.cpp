#include "core/run.h"

namespace {

// The host as the loop's sink: the sleep comes between a plot point's crosses and its count.
class SleepingSink : public PlotSink {
public:
    SleepingSink(RunHost& host, std::int32_t delay) : host_(host), delay_(delay) {}
    void drawBody(const TVector& NewPos, Body body) override { host_.drawBody(NewPos, body); }
    void plotCounted(std::int32_t plotCounter) override {
        if (delay_ > 0) host_.sleepMs(delay_);
        host_.plotCounted(plotCounter);
    }

private:
    RunHost& host_;
    std::int32_t delay_;
};

}  // namespace

std::int32_t Run(SimRecords& records, RunHost& host, std::int32_t Delay, std::int32_t Count) {
    RunLoop loop(records, Count, host.decimalSeparator());
    SleepingSink sink(host, Delay);
    loop.enter(sink);
    bool outsideCodeRan = false;
    while (records.SimState == Running) {
        const RunSlice slice =
            loop.advance(static_cast<std::int64_t>(host.quietSteps()) + 1, sink, outsideCodeRan);
        // The host's own code at a plot point is outside code too.
        outsideCodeRan = slice.kind != RunSlice::Budget;
        if (outsideCodeRan) {
            if (Count == 0) host.showElapsed(slice.daysText);
            if (slice.kind == RunSlice::ReplayEnd) break;
        }
        if (host.pumpEvents(static_cast<std::int32_t>(slice.steps))) outsideCodeRan = true;
    }
    return loop.plotCounter();
}
