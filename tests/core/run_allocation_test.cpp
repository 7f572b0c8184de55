#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "core/run.h"
#include "counted_allocations.h"

// The replaced operator new below takes its memory from malloc, so free is its match. GCC 12 cannot see that
// once the sanitizers change its inlining, and warns about every delete it inlines into this file.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

bool CountedAllocations::on = false;
long CountedAllocations::count = 0;
std::size_t CountedAllocations::bytes = 0;

void* operator new(std::size_t n) {
    if (CountedAllocations::on) {
        ++CountedAllocations::count;
        CountedAllocations::bytes += n;
    }
    if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

class QuietHost : public RunHost {
public:
    void drawBody(const TVector&, Body) override { ++draws; }
    void showElapsed(const std::string&) override {}
    void sleepMs(std::int32_t) override {}
    bool pumpEvents(std::int32_t) override { return false; }
    long draws = 0;
};

// The step runs thousands of times a second for hours: it must not touch the heap.
TEST(RunAllocation, ReplayAllocatesNothing) {
    SimRecords r;
    r.CurState = r.CurSettings;
    r.SimState = Running;
    QuietHost host;
    std::int32_t n = 0;
    {
        const CountedAllocations counting;
        n = ::Run(r, host, 0, 250);
    }
    EXPECT_EQ(n, 250);
    EXPECT_EQ(host.draws, 502);
    EXPECT_EQ(CountedAllocations::count, 0);
}

}  // namespace
