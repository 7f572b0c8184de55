#include "core/run_session.h"

#include <algorithm>

#include "core/app_error.h"

// Keeps every plot point of the run as it is drawn.
class RunSession::Tracking : public PlotSink {
public:
    Tracking(RunSession& session, PlotSink& sink) : session_(session), sink_(sink) {}
    void drawBody(const TVector& NewPos, Body body) override { sink_.drawBody(NewPos, body); }
    void plotCounted(std::int32_t plotCounter) override {
        session_.track_.add(plotCounter, session_.r_.CurState);
        sink_.plotCounted(plotCounter);
    }

private:
    RunSession& session_;
    PlotSink& sink_;
};

namespace {

// The fields a replay's trajectory and crosses depend on, apart from the scale a zoom changes. The label,
// the save date and the viewer's mark may change (a save while paused) without changing the run.
bool sameRunSettings(TState a, TState b) {
    for (TState* s : {&a, &b}) {
        s->setSf(0);
        s->setSaveDT(0);
        s->setAction(0);
        std::fill(s->bytes.begin() + TStateLayout::RecLabel,
                  s->bytes.begin() + TStateLayout::RecLabel + 1 + TStateLayout::LabelCapacity, 0);
    }
    return a == b;
}

std::string textOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

}  // namespace

RunSession::RunSession(SimRecords& records) : r_(records) {}

void RunSession::makeReady() {
    loop_.reset();
    r_.SimState = Ready;
}

void RunSession::startTrack() {
    track_.start(r_.CurSettings);
    trackStart_ = r_.CurSettings;
    trackMatchesReplay_ = true;
    stepsTaken_ = 0;
}

void RunSession::beginCall(std::int32_t count) {
    loop_.emplace(r_, count, separator_);
}

bool RunSession::start() {
    if (r_.SimState != Ready) return false;
    r_.CurState = r_.CurSettings;
    startTrack();
    r_.PlotCount = 0;
    r_.SimState = Running;
    beginCall(0);
    return true;
}

bool RunSession::pause() {
    if (r_.SimState != Running || replaying()) return false;
    r_.SimState = Paused;
    if (loop_) r_.PlotCount = loop_->plotCounter();
    loop_.reset();
    return true;
}

bool RunSession::resume() {
    if (r_.SimState != Paused || active()) return false;
    // A resume restarts the step counter: later plot points fall where a replay puts them only when the pause
    // came right after a plot point and the counter's wrap keeps the rhythm.
    const std::int32_t cpT = r_.CurState.cpT();
    if (!atPlotPoint_ || cpT == 0 || RunLoop::StepCounterWrap % cpT != 0) trackMatchesReplay_ = false;
    r_.SimState = Running;
    beginCall(0);
    return true;
}

bool RunSession::reset() {
    if (r_.SimState != Paused || active()) return false;
    r_.SimState = Ready;
    return true;
}

bool RunSession::replay() {
    if (r_.SimState != Paused || active()) return false;
    r_.CurState = r_.CurSettings;
    startTrack();
    const std::int32_t n = r_.PlotCount;
    r_.PlotCount = 0;
    r_.SimState = Running;
    // A replay of no plot point draws only the start marks: no step, so no step's error either.
    marksOnly_ = n <= 0;
    beginCall(marksOnly_ ? 1 : n);
    return true;
}

bool RunSession::keptPointsMatchReplay() const {
    return trackMatchesReplay_ && track_.holdsEveryPointTo(r_.PlotCount) &&
           sameRunSettings(trackStart_, r_.CurSettings);
}

void RunSession::restoreFromKeptPoints() {
    const std::int32_t n = r_.PlotCount;
    // What a replay leaves: the start record at the new scale, stepped on to the last plot point.
    TState end = r_.CurSettings;
    track_.restoreInto(static_cast<std::size_t>(n), end);
    r_.CurState = end;
    if (n > 0) r_.NextState = end;
    trackStart_ = r_.CurSettings;
    stepsTaken_ = static_cast<std::int64_t>(n) * r_.CurSettings.cpT();
    atPlotPoint_ = true;
    r_.SimState = Paused;
}

SessionSlice RunSession::advance(std::int64_t maxSteps, PlotSink& sink) {
    SessionSlice out;
    if (!loop_) return out;
    const bool replay = loop_->replay();
    try {
        if (marksOnly_) {
            marksOnly_ = false;
            sink.drawBody(r_.CurState.APos(), BodyA);
            sink.drawBody(r_.CurState.BPos(), BodyB);
            loop_.reset();
            r_.SimState = Paused;
            out.kind = SessionSlice::ReplayEnd;
            return out;
        }
        Tracking tracking(*this, sink);
        const RunSlice slice = loop_->advance(maxSteps, tracking);
        out.steps = slice.steps;
        stepsTaken_ += slice.steps;
        atPlotPoint_ = loop_->atPlotPoint();
        out.daysText = slice.daysText;
        switch (slice.kind) {
            case RunSlice::Budget:
                out.kind = SessionSlice::Budget;
                break;
            case RunSlice::PlotPoint:
                out.kind = SessionSlice::PlotPoint;
                break;
            case RunSlice::ReplayEnd:
                r_.PlotCount = loop_->plotCounter();
                loop_.reset();
                r_.SimState = Paused;
                out.kind = SessionSlice::ReplayEnd;
                break;
        }
    } catch (...) {
        // The points kept up to the failure are not a replay's, and the call is over: a live run keeps
        // PlotCount as it was when the call began and stays Running; a replay stands Paused.
        marksOnly_ = false;
        loop_.reset();
        trackMatchesReplay_ = false;
        if (replay) r_.SimState = Paused;
        out.kind = SessionSlice::Failed;
        out.error = std::current_exception();
        out.failure = textOf(out.error);
    }
    return out;
}
