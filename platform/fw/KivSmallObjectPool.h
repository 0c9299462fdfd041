// The allocator behind the library's objects: a project holds keyframes by the hundred
// thousand and loads, samples and copies create them by the thousand, so blocks of one size
// come from per-thread free lists refilled from shared chunks instead of the general heap.
#pragma once

#include <cstddef>
#include <new>

/// Blocks up to this size are pooled; larger ones go to the global operator new.
inline constexpr std::size_t kKivPoolMaxBlock = 1024;

// What the inline ways of KivPoolAllocate and KivPoolFree look at; the rest of the pool is
// the library's own (KivSmallObjectPool.cpp).
namespace kiv_pool_detail {

inline constexpr std::size_t kGrain = 16;     // block sizes step by this, and align to it
inline constexpr std::size_t kSmallest = 32;  // room for a free batch's header
inline constexpr std::size_t kClasses = kKivPoolMaxBlock / kGrain;
inline constexpr unsigned kBatch = 128;               // blocks moved at once between a thread and the shared lists
inline constexpr unsigned kThreadKeeps = 2 * kBatch;  // a thread's list beyond this gives a batch back

// A free block; the first of a batch on the shared lists also heads the batch.
struct FreeBlock {
    FreeBlock* next;       // in its chain, null at the end
    FreeBlock* nextBatch;  // the shared list's next batch
    std::size_t count;     // blocks in this batch
};
static_assert(sizeof(FreeBlock) <= kSmallest && kKivPoolMaxBlock % kGrain == 0);

// A chain of free blocks with its length.
struct FreeList {
    FreeBlock* head;
    unsigned count;

    void Push(FreeBlock* b) {
        b->next = head;
        head = b;
        ++count;
    }
    FreeBlock* Pop() {
        FreeBlock* b = head;
        head = b->next;
        --count;
        // The block after is most likely cold; fetching it now overlaps the miss with
        // whatever the caller does with this one.
        if (head) __builtin_prefetch(head, 1);
        return b;
    }
};

// A thread's chains, one per size class.
struct ThreadCache {
    FreeList lists[kClasses];
};

inline std::size_t ClassOf(std::size_t size) { return ((size < kSmallest ? kSmallest : size) - 1) / kGrain; }

// The calling thread's chains, in one pointer-sized slot of initial-exec storage (a library
// opened at run time still finds room for it). Null before the thread's first pooled block,
// and always in builds that do not pool; once the thread is ending, a cache whose chains
// are all empty and full, so that the inline ways turn to the library for everything.
extern thread_local ThreadCache* t_cache __attribute__((tls_model("initial-exec")));

void* AllocateSlow(std::size_t size);
void FreeSlow(void* block, std::size_t size) noexcept;

}  // namespace kiv_pool_detail

/// A block of at least size bytes, aligned for any object of that size (16 bytes); throws
/// std::bad_alloc when no memory is left. Thread-safe. Inline for its common way: a block
/// from the thread's own chain.
inline void* KivPoolAllocate(std::size_t size) {
    using namespace kiv_pool_detail;
    if (size <= kKivPoolMaxBlock) [[likely]]
        if (ThreadCache* c = t_cache) [[likely]] {
            FreeList& l = c->lists[ClassOf(size)];
            if (l.head) [[likely]]
                return l.Pop();
        }
    return AllocateSlow(size);
}

/// Gives back a block from KivPoolAllocate; size must be the size asked for. Any thread may
/// give back a block another thread took. Pooled memory is kept for reuse by later objects
/// and not returned to the system before the process ends.
inline void KivPoolFree(void* block, std::size_t size) noexcept {
    using namespace kiv_pool_detail;
    if (!block) return;
    if (size <= kKivPoolMaxBlock) [[likely]]
        if (ThreadCache* c = t_cache) [[likely]] {
            FreeList& l = c->lists[ClassOf(size)];
            if (l.count < kThreadKeeps) [[likely]] {
                l.Push(static_cast<FreeBlock*>(block));
                return;
            }
        }
    FreeSlow(block, size);
}

/// False in builds where every block goes to the global operator new and delete (sanitizer
/// builds, so that they see every object's lifetime).
bool KivPoolIsPooling() noexcept;

/// The global operator delete, told the size when the compiler offers the sized form (some
/// compilers leave it off unless asked).
inline void KivGlobalDelete(void* block, std::size_t size) noexcept {
#if defined(__cpp_sized_deallocation)
    ::operator delete(block, size);
#else
    static_cast<void>(size);
    ::operator delete(block);
#endif
}

inline void KivGlobalDelete(void* block, std::size_t size, std::align_val_t al) noexcept {
#if defined(__cpp_sized_deallocation)
    ::operator delete(block, size, al);
#else
    static_cast<void>(size);
    ::operator delete(block, al);
#endif
}
