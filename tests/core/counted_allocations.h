#pragma once

#include <cstddef>

// The core tests' operator new (run_allocation_test.cpp) counts the allocations made while counting is on,
// and their bytes: a test can show that something touched the heap, or how much it took.
struct CountedAllocations {
    static bool on;
    static long count;
    static std::size_t bytes;

    // Counts from zero until the end of the scope.
    CountedAllocations() {
        count = 0;
        bytes = 0;
        on = true;
    }
    ~CountedAllocations() { on = false; }
    CountedAllocations(const CountedAllocations&) = delete;
    CountedAllocations& operator=(const CountedAllocations&) = delete;
};
