#include "core/run_session.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "core/run.h"

namespace {

// What a user or a handler does. In-call acts happen after a number of steps of the run or replay under way
// (atStep >= 0); the others when the run stands still, in the order given. Acts at one step are served in one
// pass, one after the other, as two clicks queued together are.
enum class Act { Start, Pause, Resume, Reset, Replay, Fail, Exit };

struct Event {
    Act act;
    long atStep = -1;
};

struct Script {
    const char* name;
    std::function<void(TState&)> setUp;
    std::vector<Event> events;
};

struct Cross {
    TVector pos;
    std::int32_t body;
    bool operator==(const Cross& o) const {
        return std::memcmp(&pos.u, &o.pos.u, 10) == 0 && std::memcmp(&pos.v, &o.pos.v, 10) == 0 &&
               body == o.body;
    }
};

// What the run looked like after each act, and everything it drew and said.
struct Outcome {
    struct Snapshot {
        std::int32_t simState;
        std::int32_t plotCount;
        TState curState;
        bool exitDue;
        bool operator==(const Snapshot& o) const {
            return simState == o.simState && plotCount == o.plotCount && curState == o.curState &&
                   exitDue == o.exitDue;
        }
    };
    std::vector<Snapshot> snapshots;
    std::vector<Cross> crosses;
    std::vector<std::string> elapsed;
    std::vector<std::string> errors;
};

// Both bodies at one point: the next step divides by zero.
void spoil(SimRecords& r) {
    r.CurState.setBPos(r.CurState.APos());
}

// The window as it drove Run before runs were sessions: a live call or a replay is one Run, the acts during
// it are served from its pump after every step, and a Pause ends it with its count.
class ReferenceWindow : public RunHost {
public:
    explicit ReferenceWindow(const Script& script) : script_(script) { script.setUp(r_.CurSettings); }

    Outcome play() {
        while (next_ < script_.events.size()) {
            const Event e = script_.events[next_++];
            betweenCalls(e.act);
        }
        return out_;
    }

    void drawBody(const TVector& p, Body b) override { out_.crosses.push_back({p, b}); }
    void showElapsed(const std::string& t) override { out_.elapsed.push_back(t); }
    void sleepMs(std::int32_t) override {}
    bool pumpEvents(std::int32_t steps) override {
        callSteps_ += steps;
        while (next_ < script_.events.size() && script_.events[next_].atStep == callSteps_) {
            const Act act = script_.events[next_++].act;
            if (act == Act::Pause) {
                r_.SimState = Paused;
                pausePending_ = true;
                return true;
            }
            if (act == Act::Fail) spoil(r_);
            if (act == Act::Exit) exit_ = true;
            snapshot();
        }
        return true;
    }

private:
    // The window's state table: a move from any other state does nothing.
    bool allowed(Act act) const {
        switch (act) {
            case Act::Start:
                return r_.SimState == Ready;
            case Act::Pause:
                return r_.SimState == Running;
            case Act::Resume:
            case Act::Reset:
            case Act::Replay:
                return r_.SimState == Paused;
            default:
                return true;
        }
    }

    void betweenCalls(Act act) {
        if (!allowed(act)) {
            snapshot();
            return;
        }
        switch (act) {
            case Act::Start:
                r_.CurState = r_.CurSettings;
                r_.PlotCount = 0;
                r_.SimState = Running;
                call(0);
                break;
            case Act::Resume:
                r_.SimState = Running;
                call(0);
                break;
            case Act::Pause:
                r_.SimState = Paused;
                snapshot();
                break;
            case Act::Reset:
                r_.SimState = Ready;
                snapshot();
                break;
            case Act::Replay: {
                r_.CurState = r_.CurSettings;
                const std::int32_t n = r_.PlotCount;
                r_.PlotCount = 0;
                r_.SimState = Running;
                if (n > 0) {
                    call(n);
                } else {
                    drawBody(r_.CurState.APos(), BodyA);
                    drawBody(r_.CurState.BPos(), BodyB);
                    r_.SimState = Paused;
                    snapshot();
                }
                break;
            }
            case Act::Fail:
                spoil(r_);
                snapshot();
                break;
            case Act::Exit:
                exit_ = true;
                snapshot();
                break;
        }
    }

    void call(std::int32_t count) {
        callSteps_ = 0;
        pausePending_ = false;
        inCall_ = true;
        try {
            const std::int32_t result = ::Run(r_, *this, 0, count);
            r_.PlotCount = result;
            if (count > 0) r_.SimState = Paused;
        } catch (const std::exception& e) {
            out_.errors.push_back(e.what());
            if (count > 0) r_.SimState = Paused;
        }
        inCall_ = false;
        snapshot();
    }

    void snapshot() { out_.snapshots.push_back({r_.SimState, r_.PlotCount, r_.CurState, exit_ && !inCall_}); }

    const Script& script_;
    SimRecords r_;
    Outcome out_;
    std::size_t next_ = 0;
    long callSteps_ = 0;
    bool pausePending_ = false;
    bool inCall_ = false;
    bool exit_ = false;
};

// The same acts on a session, advanced in slices of at most `chunk` steps.
class SessionDriver : public PlotSink {
public:
    SessionDriver(const Script& script, std::int64_t chunk) : script_(script), session_(r_), chunk_(chunk) {
        script.setUp(r_.CurSettings);
    }

    Outcome play() {
        while (next_ < script_.events.size()) {
            const Event e = script_.events[next_++];
            act(e.act);
        }
        return out_;
    }

    void drawBody(const TVector& p, Body b) override { out_.crosses.push_back({p, b}); }

    const RunSession& session() const { return session_; }

private:
    void act(Act a) {
        bool drive = false;
        switch (a) {
            case Act::Start:
                drive = session_.start();
                break;
            case Act::Resume:
                drive = session_.resume();
                break;
            case Act::Replay:
                drive = session_.replay();
                break;
            case Act::Pause:
                session_.pause();
                break;
            case Act::Reset:
                session_.reset();
                break;
            case Act::Fail:
                spoil(r_);
                break;
            case Act::Exit:
                session_.requestExit();
                break;
        }
        if (drive) {
            callSteps_ = 0;
            advanceWhileActive();
        }
        snapshot();
    }

    void advanceWhileActive() {
        while (session_.active()) {
            std::int64_t budget = chunk_;
            if (next_ < script_.events.size() && script_.events[next_].atStep >= 0)
                budget = std::min<std::int64_t>(budget, script_.events[next_].atStep - callSteps_);
            const SessionSlice slice = session_.advance(budget, *this);
            callSteps_ += slice.steps;
            if (slice.kind == SessionSlice::PlotPoint && !session_.replaying())
                out_.elapsed.push_back(slice.daysText);
            if (slice.kind == SessionSlice::Failed) out_.errors.push_back(slice.failure);
            // Acts due at this step, served one after another; a Pause ends the call at once.
            while (session_.active() && next_ < script_.events.size() &&
                   script_.events[next_].atStep == callSteps_) {
                const Act a = script_.events[next_++].act;
                if (a == Act::Pause) {
                    session_.pause();
                    break;
                }
                act(a);
            }
        }
    }

    void snapshot() {
        out_.snapshots.push_back({r_.SimState, r_.PlotCount, r_.CurState, session_.exitDue()});
    }

    const Script& script_;
    SimRecords r_;
    RunSession session_;
    std::int64_t chunk_;
    Outcome out_;
    std::size_t next_ = 0;
    long callSteps_ = 0;
};

const auto defaults = [](TState&) {};

const Script Scripts[] = {
    {"PausedOnAPlotPointResumedAndReset",
     defaults,
     {{Act::Start}, {Act::Pause, 120}, {Act::Resume}, {Act::Pause, 80}, {Act::Reset}}},
    {"ResumedMidInterval", defaults, {{Act::Start}, {Act::Pause, 17}, {Act::Resume}, {Act::Pause, 63}}},
    {"PauseAndRunServedInOnePass",
     defaults,
     {{Act::Start}, {Act::Pause, 80}, {Act::Resume}, {Act::Pause, 120}}},
    {"PauseAndReplayServedInOnePass", defaults, {{Act::Start}, {Act::Pause, 160}, {Act::Replay}}},
    {"ExitDuringARunWaitsForThePause", defaults, {{Act::Start}, {Act::Exit, 5}, {Act::Pause, 90}}},
    {"ExitDuringAReplayWaitsForItsEnd",
     defaults,
     {{Act::Start}, {Act::Pause, 200}, {Act::Replay}, {Act::Exit, 30}}},
    {"FailurePartWayKeepsTheCountAndStaysRunning",
     defaults,
     {{Act::Start}, {Act::Pause, 85}, {Act::Resume}, {Act::Fail, 130}, {Act::Pause}, {Act::Reset}}},
    {"FailureInAReplayLeavesItPaused",
     [](TState& s) { s.setCpT(10); },
     {{Act::Start}, {Act::Pause, 100}, {Act::Replay}, {Act::Fail, 50}, {Act::Reset}}},
    {"CpTThatDoesNotDivideAMillion",
     [](TState& s) { s.setCpT(7); },
     {{Act::Start}, {Act::Pause, 1000003}, {Act::Resume}, {Act::Pause, 30}}},
    {"CpTZeroFailsAtOnce", [](TState& s) { s.setCpT(0); }, {{Act::Start}, {Act::Pause}}},
    {"ReplayOfNoPlotPoint", defaults, {{Act::Start}, {Act::Pause, 5}, {Act::Replay}}},
    {"MovesThatMatchNoStateChangeNothing",
     defaults,
     {{Act::Pause},
      {Act::Reset},
      {Act::Resume},
      {Act::Replay},
      {Act::Start},
      {Act::Pause, 40},
      {Act::Start}}},
};

class RunSessionScripts : public testing::TestWithParam<std::tuple<Script, std::int64_t>> {};

// However the session is sliced, every script ends as the window's loop ended it: the same states and counts
// after every act, the same records bit for bit, the same crosses, elapsed texts and errors.
TEST_P(RunSessionScripts, BehaveAsTheOneCallLoopDid) {
    const auto& [script, chunk] = GetParam();
    const Outcome expected = ReferenceWindow(script).play();
    const Outcome got = SessionDriver(script, chunk).play();
    ASSERT_EQ(got.snapshots.size(), expected.snapshots.size());
    for (std::size_t i = 0; i < got.snapshots.size(); ++i) {
        EXPECT_EQ(got.snapshots[i].simState, expected.snapshots[i].simState) << "after act " << i;
        EXPECT_EQ(got.snapshots[i].plotCount, expected.snapshots[i].plotCount) << "after act " << i;
        EXPECT_TRUE(got.snapshots[i].curState == expected.snapshots[i].curState) << "after act " << i;
        EXPECT_EQ(got.snapshots[i].exitDue, expected.snapshots[i].exitDue) << "after act " << i;
    }
    EXPECT_TRUE(got.crosses == expected.crosses)
        << got.crosses.size() << " crosses, expected " << expected.crosses.size();
    EXPECT_EQ(got.elapsed, expected.elapsed);
    EXPECT_EQ(got.errors, expected.errors);
}

INSTANTIATE_TEST_SUITE_P(Scripts, RunSessionScripts,
                         testing::Combine(testing::ValuesIn(Scripts), testing::Values(1, 7, 4096)),
                         [](const auto& p) {
                             return std::string(std::get<0>(p.param).name) + "_" +
                                    std::to_string(std::get<1>(p.param));
                         });

struct NullSink : PlotSink {
    void drawBody(const TVector&, Body) override {}
};

// The run's clock counts every step since the run's start across pauses, and a replay counts from its own
// start; a zoom that redraws the kept points sets it to the plot point's steps.
TEST(RunSession, CountsTheStepsOfTheRunAcrossPauses) {
    SimRecords r;
    RunSession s(r);
    NullSink sink;
    ASSERT_TRUE(s.start());
    s.advance(55, sink);  // stops at the plot point, 40
    s.advance(30, sink);
    EXPECT_EQ(s.stepsTaken(), 70);
    ASSERT_TRUE(s.pause());
    ASSERT_TRUE(s.resume());
    s.advance(40, sink);
    EXPECT_EQ(s.stepsTaken(), 110);
    ASSERT_TRUE(s.pause());
    EXPECT_EQ(r.PlotCount, 2);
    ASSERT_TRUE(s.replay());
    while (s.active()) s.advance(1000, sink);
    EXPECT_EQ(s.stepsTaken(), 80);
    ASSERT_TRUE(s.keptPointsMatchReplay());
    s.restoreFromKeptPoints();
    EXPECT_EQ(s.stepsTaken(), 80);
}

// A live run's kept points end where it paused; a resume between plot points, or with a cpT that does not
// divide the counter's wrap, makes them unlike a replay's.
TEST(RunSession, KnowsWhenItsKeptPointsAreAReplays) {
    struct Case {
        std::int32_t cpT;
        std::int64_t pauseAt;
        bool match;
    };
    for (const Case c : {Case{40, 80, true}, Case{40, 83, false}, Case{7, 70, false}, Case{8, 80, true}}) {
        SimRecords r;
        r.CurSettings.setCpT(c.cpT);
        RunSession s(r);
        NullSink sink;
        s.start();
        for (std::int64_t left = c.pauseAt; left > 0;) left -= s.advance(left, sink).steps;
        s.pause();
        s.resume();
        for (std::int64_t left = 3 * c.cpT; left > 0;) left -= s.advance(left, sink).steps;
        s.pause();
        EXPECT_EQ(s.keptPointsMatchReplay(), c.match) << "cpT " << c.cpT << ", paused at " << c.pauseAt;
    }
}

}  // namespace
