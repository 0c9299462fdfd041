// Replaces the global allocation functions with malloc-based ones that can be told to fail.
// Every form of new and delete is replaced together, so allocations and releases always
// pair up (sanitizers check that they do); aligned forms stay the runtime's own.
#include "FailingAllocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

constexpr long kNeverFail = -1;
std::atomic<long> g_allowed{kNeverFail};
std::atomic<bool> g_refused{false};

void* Allocate(std::size_t size) {
    long left = g_allowed.load();
    while (left > 0 && !g_allowed.compare_exchange_weak(left, left - 1)) {
    }
    if (left == 0) {
        g_refused = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

}  // namespace

namespace kfxtest {

FailingAllocation::FailingAllocation(long allowed) {
    g_refused = false;
    g_allowed = allowed;
}

FailingAllocation::~FailingAllocation() { g_allowed = kNeverFail; }

bool FailingAllocation::Refused() const { return g_refused; }

}  // namespace kfxtest

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
