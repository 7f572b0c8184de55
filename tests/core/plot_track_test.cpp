#include "core/plot_track.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

#include "core/run.h"
#include "counted_allocations.h"

namespace {

// A record whose kept fields all tell which plot point it is: field f of point n holds n * 10 + f; body A's
// speed also tells which run computed it, by a mark of a fraction added.
TState pointRecord(std::int64_t n, Extended runMark = 0) {
    TState s = defaultSettings();
    const Extended base = static_cast<Extended>(n) * 10;
    s.setAPos({base + 0, base + 1});
    s.setBPos({base + 2, base + 3});
    s.setASpeed(base + 4 + runMark);
    s.setADir(base + 5);
    s.setBSpeed(base + 6);
    s.setBDir(base + 7);
    return s;
}

std::int64_t pointOf(const PlotTrack& t, std::size_t i) {
    return static_cast<std::int64_t>(t.positionA(i).u / 10);
}

// Offers plot points up to last, each record telling its number and run.
void addTo(PlotTrack& t, std::int64_t last, Extended runMark = 0) {
    for (std::int64_t n = t.lastPlotIndex() + 1; n <= last; ++n) t.add(n, pointRecord(n, runMark));
}

PlotTrack trackTo(std::int64_t last, std::size_t capacity = PlotTrack::DefaultCapacity) {
    PlotTrack t(capacity);
    t.start(pointRecord(0));
    addTo(t, last);
    return t;
}

// Whether every kept point holds the plot point its index names, of the run marked so, down to the last
// field: the first point found wrong, or -1.
std::int64_t firstWrongPoint(const PlotTrack& t, Extended runMark = 0) {
    for (std::size_t i = 0; i < t.size(); ++i) {
        const std::int64_t n = t.plotIndexAt(i);
        const Extended base = static_cast<Extended>(n) * 10;
        if (pointOf(t, i) != n || t.directionB(i) != base + 7 || (n > 0 && t.speedA(i) != base + 4 + runMark))
            return n;
    }
    return -1;
}

constexpr std::size_t ChunkBytes = PlotTrack::ChunkPoints * PlotTrack::PointBytes;

// Records every plot point of a run into a track, as the window does.
class TrackingHost : public RunHost {
public:
    TrackingHost(SimRecords& r, PlotTrack& t) : r_(r), t_(t) {}
    void drawBody(const TVector&, Body) override {}
    void showElapsed(const std::string&) override {}
    void sleepMs(std::int32_t) override {}
    bool pumpEvents(std::int32_t) override { return false; }
    void plotCounted(std::int32_t n) override {
        t_.add(n, r_.CurState);
        states.push_back(r_.CurState);
    }
    std::vector<TState> states;

private:
    SimRecords& r_;
    PlotTrack& t_;
};

}  // namespace

TEST(PlotTrack, KeepsTheRunsOwnValuesToTheLastBit) {
    SimRecords r;
    r.CurState = r.CurSettings;
    r.SimState = Running;
    PlotTrack track;
    track.start(r.CurState);
    TrackingHost host(r, track);
    ASSERT_EQ(::Run(r, host, 0, 300), 300);

    ASSERT_EQ(track.size(), 301u);
    EXPECT_TRUE(track.holdsEveryPointTo(300));
    for (std::size_t i = 1; i < track.size(); ++i) {
        // A record rebuilt from the start and the kept point is the record the run held at that point.
        TState rebuilt = r.CurSettings;
        track.restoreInto(i, rebuilt);
        ASSERT_EQ(rebuilt, host.states[i - 1]) << "plot point " << i;
    }
    TState start = pointRecord(99);
    track.restoreInto(0, start);
    EXPECT_EQ(start, r.CurSettings);
}

TEST(PlotTrack, AnyBitPatternComesBackUnchanged) {
    // Damaged records can hold NaNs with payloads and non-canonical patterns; a point keeps them as bytes.
    TState s = defaultSettings();
    for (std::size_t off : {TStateLayout::APos, TStateLayout::BDir}) {
        const std::uint8_t pattern[10] = {1, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x7F};  // a signalling NaN
        std::memcpy(&s.bytes[off], pattern, 10);
    }
    PlotTrack track;
    track.start(s);
    TState back = defaultSettings();
    track.restoreInto(0, back);
    EXPECT_EQ(back, s);
}

TEST(PlotTrack, ThinsToEveryOtherPointWhenFull) {
    PlotTrack track(8);
    track.start(pointRecord(0));
    for (std::int64_t n = 1; n <= 40; ++n) track.add(n, pointRecord(n));

    // Full at 0..7 (stride 1), then 0,2,..14 (stride 2), then 0,4,..28 (stride 4), then 0,8,...,40.
    EXPECT_TRUE(track.thinned());
    EXPECT_EQ(track.stride(), 8);
    ASSERT_EQ(track.size(), 6u);
    for (std::size_t i = 0; i < track.size(); ++i) {
        EXPECT_EQ(track.plotIndexAt(i), static_cast<std::int64_t>(8 * i));
        EXPECT_EQ(pointOf(track, i), static_cast<std::int64_t>(8 * i));
        EXPECT_EQ(track.directionB(i), static_cast<Extended>(80 * i + 7));
    }
    EXPECT_EQ(track.lastPlotIndex(), 40);
    EXPECT_FALSE(track.holdsEveryPointTo(40));
}

// However the run's length falls against the stride, the track ends at the run's last plot point: a
// timeline or an exported table of a thinned run reaches where the run is.
TEST(PlotTrack, AThinnedTrackEndsAtTheLastPlotPoint) {
    for (const std::int64_t last : {40, 41, 44, 47, 63, 64, 65}) {
        PlotTrack track(8);
        track.start(pointRecord(0));
        for (std::int64_t n = 1; n <= last; ++n) track.add(n, pointRecord(n));
        const std::int64_t stride = track.stride();
        const std::size_t onStride = static_cast<std::size_t>(last / stride) + 1;
        const std::size_t expected = onStride + (last % stride != 0 ? 1 : 0);
        const PlotTrack copy = track;
        for (const PlotTrack* t : std::initializer_list<const PlotTrack*>{&track, &copy}) {
            ASSERT_EQ(t->size(), expected) << "last " << last;
            for (std::size_t i = 0; i + 1 < t->size(); ++i)
                EXPECT_EQ(pointOf(*t, i), stride * std::int64_t(i));
            const std::size_t end = t->size() - 1;
            EXPECT_EQ(t->plotIndexAt(end), last);
            EXPECT_EQ(pointOf(*t, end), last);
            TState s = defaultSettings();
            t->restoreInto(end, s);
            EXPECT_EQ(s.BDir(), static_cast<Extended>(last * 10 + 7));
        }
    }
}

TEST(PlotTrack, KnowsWhetherItHoldsEveryPoint) {
    PlotTrack track;
    EXPECT_FALSE(track.holdsEveryPointTo(0));
    track.start(pointRecord(0));
    EXPECT_TRUE(track.holdsEveryPointTo(0));
    for (std::int64_t n = 1; n <= 5; ++n) track.add(n, pointRecord(n));
    EXPECT_TRUE(track.holdsEveryPointTo(5));
    EXPECT_TRUE(track.holdsEveryPointTo(3));
    EXPECT_FALSE(track.holdsEveryPointTo(6));

    // A point out of sequence (a count that jumped) is not taken: the track would no longer be the run's.
    track.add(9, pointRecord(9));
    EXPECT_EQ(track.size(), 6u);
    EXPECT_EQ(track.lastPlotIndex(), 5);

    track.clear();
    EXPECT_TRUE(track.empty());
    track.add(1, pointRecord(1));
    EXPECT_TRUE(track.empty()) << "points come only after a start";
}

TEST(PlotTrack, MillionPointsStayNearEightyBytesEach) {
    PlotTrack track;
    TState s = pointRecord(0);
    track.start(s);
    for (std::int64_t n = 1; n < 1000000; ++n) track.add(n, s);
    EXPECT_FALSE(track.thinned());
    EXPECT_LE(track.bytesUsed(), 1000000 * PlotTrack::PointBytes + 8192 * PlotTrack::PointBytes);
    track.add(1000000, s);
    EXPECT_TRUE(track.thinned()) << "the millionth-and-first point thins the track";
    EXPECT_EQ(track.size(), 500001u);
}

// An export writes from a copy while the run goes on: the copy must share the points, not double them.
TEST(PlotTrackCopy, SharesThePointsAndCopiesAtMostOneChunkLater) {
    PlotTrack track = trackTo(100000);
    ASSERT_GT(track.bytesUsed(), 12 * ChunkBytes);
    std::size_t copied = 0;
    std::size_t grown = 0;
    {
        const CountedAllocations counting;
        const PlotTrack copy = track;
        copied = CountedAllocations::bytes;
        // The last chunk is partly filled and held by the copy: the next point goes to a chunk of the
        // track's own, which takes the points before it along, once.
        CountedAllocations::bytes = 0;
        addTo(track, 100100);
        grown = CountedAllocations::bytes;
        EXPECT_EQ(copy.size(), 100001u);
        EXPECT_EQ(firstWrongPoint(copy), -1);
    }
    EXPECT_LT(copied, 1024u) << "only the list of chunks is copied";
    EXPECT_GE(grown, ChunkBytes);
    EXPECT_LT(grown, ChunkBytes + 1024);
    EXPECT_EQ(track.size(), 100101u);
    EXPECT_EQ(firstWrongPoint(track), -1);
}

// Whatever the run does to its track after a copy was taken, the copy keeps the points it had, and the
// track goes on right.
TEST(PlotTrackCopy, KeepsItsPointsWhateverTheTrackDoesNext) {
    struct Case {
        const char* name;
        std::int64_t copyAt;
        std::function<void(PlotTrack&)> then;
        std::size_t sizeAfter;
        Extended trackMark = 0;
    };
    // Capacity 20000 spans three chunks; 19999 points leave the third partly filled.
    const auto upTo = [](std::int64_t last) { return [last](PlotTrack& t) { addTo(t, last); }; };
    const Case cases[] = {
        {"more points in the shared chunk", 19000, upTo(19999), 20000},
        {"thinning", 19999, upTo(20000), 10001},
        {"thinning twice, ending off the stride", 19999, upTo(60001), 15001 + 1},
        {"a thinned copy, thinned again", 20005, upTo(40003), 10001 + 1},
        // A replay computes the same points again: here they differ, so that a reused chunk would show.
        {"a replay from the start", 19999,
         [](PlotTrack& t) {
             t.start(pointRecord(0));
             addTo(t, 30000, 0.5L);
         },
         15001, 0.5L},
        {"cleared", 19999, [](PlotTrack& t) { t.clear(); }, 0},
    };
    for (const Case& c : cases) {
        PlotTrack track = trackTo(c.copyAt, 20000);
        const PlotTrack copy = track;
        const std::size_t size = copy.size();
        const std::int64_t stride = copy.stride();
        c.then(track);
        EXPECT_EQ(copy.size(), size) << c.name;
        EXPECT_EQ(copy.stride(), stride) << c.name;
        EXPECT_EQ(copy.lastPlotIndex(), c.copyAt) << c.name;
        EXPECT_EQ(copy.plotIndexAt(copy.size() - 1), c.copyAt) << c.name;
        EXPECT_EQ(firstWrongPoint(copy), -1) << c.name;
        EXPECT_EQ(track.size(), c.sizeAfter) << c.name;
        EXPECT_EQ(firstWrongPoint(track, c.trackMark), -1) << c.name;
    }
}

// Two copies that both go on (a copy is a track like any other) each keep their own new points.
TEST(PlotTrackCopy, TwoCopiesGrowApart) {
    PlotTrack first = trackTo(1000);
    PlotTrack second = first;
    addTo(first, 1100, 0.25L);
    addTo(second, 1100, 0.75L);
    ASSERT_EQ(first.size(), 1101u);
    ASSERT_EQ(second.size(), 1101u);
    EXPECT_EQ(first.speedA(1100), 11004.25L);
    EXPECT_EQ(second.speedA(1100), 11004.75L);
    EXPECT_EQ(first.speedA(1000), 10004.0L);
    EXPECT_EQ(second.speedA(1000), 10004.0L);
}

// The export's writer reads its copy on a thread of its own while the window's thread adds points and
// thins: the reader must see the points as they were, every time (and the thread sanitizer no race).
TEST(PlotTrackCopy, IsReadOnAnotherThreadWhileTheTrackGrowsAndThins) {
    PlotTrack track = trackTo(30000, 32768);
    const PlotTrack copy = track;
    std::atomic<bool> done{false};
    std::int64_t wrong = -1;
    int passes = 0;
    std::thread reader([&] {
        while ((!done || passes == 0) && wrong < 0) {
            wrong = firstWrongPoint(copy);
            ++passes;
        }
    });
    addTo(track, 300000);
    done = true;
    reader.join();
    EXPECT_EQ(wrong, -1) << "after " << passes << " passes";
    EXPECT_EQ(track.stride(), 16);
    EXPECT_EQ(firstWrongPoint(track), -1);
}
