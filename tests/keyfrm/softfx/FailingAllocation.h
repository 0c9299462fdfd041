// Test helper: makes the program's allocations fail on demand, to drive the out-of-memory
// paths (the replaced global operator new lives in FailingAllocation.cpp).
#pragma once

namespace kfxtest {

/// While alive, the first `allowed` allocations succeed and every later one throws
/// std::bad_alloc; the destructor lets allocations succeed again.
class FailingAllocation {
public:
    explicit FailingAllocation(long allowed);
    ~FailingAllocation();
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;
    /// True when an allocation was refused while this guard was alive.
    bool Refused() const;
};

}  // namespace kfxtest
