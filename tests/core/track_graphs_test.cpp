#include "core/track_graphs.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/orbit_drift.h"
#include "core/orbit_readout.h"
#include "core/run_session.h"
#include "core/track_csv.h"

namespace {

bool sameBits(Extended a, Extended b) {
    return std::memcmp(&a, &b, 10) == 0;
}

// A live run of `points` plot points, its points kept in a store of `capacity`.
PlotTrack keptPointsOf(const TState& start, int points, std::size_t capacity) {
    class NoPlot : public PlotSink {
    public:
        void drawBody(const TVector&, Body) override {}
    } sink;
    SimRecords records;
    records.CurSettings = start;
    RunSession session(records);
    session.setKeptPointCapacity(capacity);
    session.start();
    for (int seen = 0; seen < points;)
        if (session.advance(1 << 20, sink).kind == SessionSlice::PlotPoint) ++seen;
    return session.keptPoints();
}

// Every value is what the readout and the drift gauge say of that kept point's state, to the last bit, also
// when the store has thinned the points out.
TEST(TrackGraphs, AreTheReadoutOfEveryKeptPoint) {
    TState start = defaultSettings();
    start.setDT(3600);
    for (const std::size_t capacity : {std::size_t{1000}, std::size_t{64}}) {
        SCOPED_TRACE(capacity);
        const PlotTrack track = keptPointsOf(start, 300, capacity);
        const TrackGraphs g = trackGraphs(track, start);
        ASSERT_EQ(g.days.size(), track.size());
        EXPECT_EQ(track.thinned(), capacity < 300);
        const OrbitReadout first = readOrbit(start);
        for (std::size_t i = 0; i < track.size(); ++i) {
            SCOPED_TRACE(i);
            TState s = start;
            track.restoreInto(i, s);
            const OrbitReadout o = readOrbit(s);
            EXPECT_TRUE(sameBits(g.separation[i], *o.separation));
            EXPECT_TRUE(sameBits(g.relativeSpeed[i], *o.relativeSpeed));
            EXPECT_TRUE(sameBits(g.energyDrift[i], *driftGauge(first, o).energy.value));
            EXPECT_TRUE(sameBits(g.days[i], plotPointDays(track.plotIndexAt(i), start.dT())));
        }
        EXPECT_EQ(g.energyDrift.front(), 0);
    }
}

TEST(TrackGraphs, NoPointsNoGraphs) {
    const TrackGraphs g = trackGraphs(PlotTrack(), defaultSettings());
    EXPECT_TRUE(g.days.empty() && g.separation.empty() && g.relativeSpeed.empty() && g.energyDrift.empty());
}

}  // namespace
