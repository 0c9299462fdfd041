// Replaces the global allocation functions with malloc-based ones that can be told to fail
// and that count what they hand out. Every form of new and delete is replaced together, so
// allocations and releases always pair up (sanitizers check that they do); aligned forms
// stay the runtime's own.
#include "support/FailingAllocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

constexpr long kNeverFail = -1;
std::atomic<long> g_allowed{kNeverFail};
std::atomic<bool> g_refused{false};
std::atomic<long> g_attempts{0};
std::atomic<long> g_live{0};
std::atomic<bool> g_measuring{false};
std::atomic<std::size_t> g_largest{0};

void NoteSize(std::size_t size) {
    if (!g_measuring) return;
    std::size_t seen = g_largest.load();
    while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
}

void* Allocate(std::size_t size) {
    ++g_attempts;
    NoteSize(size);
    long left = g_allowed.load();
    while (left > 0 && !g_allowed.compare_exchange_weak(left, left - 1)) {
    }
    if (left == 0) {
        g_refused = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1)) {
        ++g_live;
        return p;
    }
    throw std::bad_alloc();
}

void Release(void* p) noexcept {
    if (!p) return;
    --g_live;
    std::free(p);
}

}  // namespace

namespace kfxtest {

FailingAllocation::FailingAllocation(long allowed) : m_attemptsAtStart(g_attempts.load()) {
    g_refused = false;
    g_allowed = allowed < 0 ? kNeverFail : allowed;
}

FailingAllocation::~FailingAllocation() { g_allowed = kNeverFail; }

bool FailingAllocation::Refused() const { return g_refused; }

long FailingAllocation::Attempts() const { return g_attempts.load() - m_attemptsAtStart; }

long LiveAllocations() { return g_live.load(); }

LargestAllocation::LargestAllocation() {
    g_largest = 0;
    g_measuring = true;
}

LargestAllocation::~LargestAllocation() { g_measuring = false; }

std::size_t LargestAllocation::Bytes() const { return g_largest.load(); }

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
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
