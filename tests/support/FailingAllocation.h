// Test helper: makes the program's allocations fail on demand, counts them, and keeps the
// number of live blocks and the largest request, to drive out-of-memory paths and to check
// that nothing leaks (the replaced global operator new lives in FailingAllocation.cpp; a
// program links it at most once).
#pragma once

#include <cstddef>

namespace kfxtest {

/// While alive, the first `allowed` allocations succeed and every later one throws
/// std::bad_alloc (a negative `allowed` never fails); the destructor lets allocations
/// succeed again.
class FailingAllocation {
public:
    explicit FailingAllocation(long allowed);
    ~FailingAllocation();
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;
    /// True when an allocation was refused while this guard was alive.
    bool Refused() const;
    /// Allocations asked for while this guard was alive, refused ones included.
    long Attempts() const;

private:
    long m_attemptsAtStart;
};

/// Blocks obtained through operator new and not yet deleted, in the whole program.
long LiveAllocations();

/// While alive, remembers the size of the largest single allocation asked for.
class LargestAllocation {
public:
    LargestAllocation();
    ~LargestAllocation();
    LargestAllocation(const LargestAllocation&) = delete;
    LargestAllocation& operator=(const LargestAllocation&) = delete;
    std::size_t Bytes() const;
};

}  // namespace kfxtest
