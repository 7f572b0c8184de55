#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <string>

#include "core/run.h"

namespace {

// Folds every byte of CurState at every plot point into one 64-bit FNV-1a digest.
class DigestHost : public RunHost {
public:
    explicit DigestHost(const SimRecords& records) : records_(records) {}
    void drawBody(const TVector&, Body) override {}
    void showElapsed(const std::string&) override {}
    void sleepMs(std::int32_t) override {}
    bool pumpEvents(std::int32_t) override { return false; }
    std::int32_t quietSteps() override { return quiet; }
    void plotCounted(std::int32_t) override {
        for (std::uint8_t byte : records_.CurState.bytes) digest = (digest ^ byte) * 0x100000001B3ull;
    }
    std::uint64_t digest = 0xCBF29CE484222325ull;
    std::int32_t quiet = 0;

private:
    const SimRecords& records_;
};

struct TrajectoryCase {
    const char* name;
    std::function<void(TState&)> settings;
    std::int32_t points;
    std::uint64_t digest;
};

void PrintTo(const TrajectoryCase& c, std::ostream* os) {
    *os << c.name;
}

class Trajectory : public ::testing::TestWithParam<TrajectoryCase> {};

// The digests were taken from the integrator before its step was rebuilt for speed: any change of
// operation, order or rounding anywhere along these runs changes them.
// The same whether the host pumps after every step, after a few, or only at plot points.
TEST_P(Trajectory, IsTheSameToTheLastBit) {
    for (const std::int32_t quiet : {0, 6, INT32_MAX - 1}) {
        SimRecords r;
        GetParam().settings(r.CurSettings);
        r.CurState = r.CurSettings;
        r.SimState = Running;
        DigestHost host(r);
        host.quiet = quiet;
        ASSERT_EQ(::Run(r, host, 0, GetParam().points), GetParam().points);
        EXPECT_EQ(host.digest, GetParam().digest) << std::hex << "0x" << host.digest << " quiet " << quiet;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Records, Trajectory,
    ::testing::Values(
        TrajectoryCase{"defaults", [](TState&) {}, 3000, 0xdc451034f850a9ef},
        TrajectoryCase{"eccentric", [](TState& s) { s.setASpeed(5); }, 3000, 0xa50287766543842b},
        TrajectoryCase{"closepass",
                       [](TState& s) {
                           s.setASpeed(0.5L);
                           s.setADir(80);
                       },
                       3000, 0xa1fa4653ad847e13},
        TrajectoryCase{"nearlyradial",
                       [](TState& s) {
                           s.setASpeed(0.05L);
                           s.setADir(60);
                           s.setBSpeed(0);
                       },
                       3000, 0x4aa98ac9e9a8342b},
        TrajectoryCase{"equalmasses",
                       [](TState& s) {
                           s.setAMass(1e30L);
                           s.setBMass(1e30L);
                           s.setASpeed(0.3L);
                           s.setBSpeed(0.3L);
                           s.setADir(200);
                           s.setBDir(10);
                       },
                       3000, 0x5e17b7fe4d761266},
        TrajectoryCase{"hourly", [](TState& s) { s.setDT(3600); }, 3000, 0xa93925cc54767c58},
        TrajectoryCase{"yearly", [](TState& s) { s.setDT(31536000); }, 3000, 0x717f6247fd6a0d94},
        // 999 does not divide the step counter's wrap at 1,000,000 steps, which falls in point 1001.
        TrajectoryCase{"wrapwith999", [](TState& s) { s.setCpT(999); }, 1100, 0x2b2df315bbe2b4a1},
        TrajectoryCase{"backwards", [](TState& s) { s.setCpT(-40); }, 3000, 0x76c56b8dda7f3b56}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
