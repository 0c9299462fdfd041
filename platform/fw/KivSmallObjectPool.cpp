#include "platform/fw/KivSmallObjectPool.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <new>

// Sanitizer builds hand every block to the global operator new, so that they see each
// object's lifetime (a pooled block freed twice or used after its object died would
// otherwise pass unnoticed).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KIV_POOL_PASS_THROUGH 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define KIV_POOL_PASS_THROUGH 1
#endif
#endif

namespace kiv_pool_detail {
thread_local ThreadCache* t_cache __attribute__((tls_model("initial-exec"))) = nullptr;
}  // namespace kiv_pool_detail

using namespace kiv_pool_detail;

#ifdef KIV_POOL_PASS_THROUGH

// t_cache stays null: every block comes here.
void* kiv_pool_detail::AllocateSlow(std::size_t size) { return ::operator new(size); }
void kiv_pool_detail::FreeSlow(void* block, std::size_t size) noexcept { KivGlobalDelete(block, size); }
bool KivPoolIsPooling() noexcept { return false; }

#else

namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;  // carved into blocks of one size
static_assert(kChunkBytes >= kKivPoolMaxBlock);

std::size_t BlockBytes(std::size_t cls) { return (cls + 1) * kGrain; }

// Free blocks shared by all threads, as whole batches so that a thread takes or gives
// one in constant time, and the chunk each size carves new blocks from. Never destroyed:
// objects may be deleted during static destruction, after any destructor of ours ran.
struct Shared {
    std::mutex lock;
    FreeBlock* batches[kClasses] = {};
    char* carve[kClasses] = {};  // next uncarved byte of the class's current chunk
    char* carveEnd[kClasses] = {};
};

Shared& TheShared() {
    static Shared* shared = new Shared;
    return *shared;
}

// The cache of every thread that is ending: empty and full, never written.
constexpr ThreadCache MakeGone() {
    ThreadCache gone{};
    for (FreeList& l : gone.lists) l.count = kThreadKeeps;
    return gone;
}
constinit ThreadCache g_gone = MakeGone();
ThreadCache* Gone() { return &g_gone; }

// Gives a thread's blocks back to the shared lists and frees its cache when the thread ends.
struct Flusher {
    bool armed = false;
    ~Flusher();
};
thread_local Flusher t_flusher;

// Hands the chain first..(null) of n blocks to the shared lists as one batch.
void GiveBack(Shared& s, std::size_t cls, FreeBlock* first, std::size_t n) {
    first->count = n;
    const std::scoped_lock hold(s.lock);
    first->nextBatch = s.batches[cls];
    s.batches[cls] = first;
}

Flusher::~Flusher() {
    ThreadCache* c = t_cache;
    t_cache = Gone();  // from here on the thread goes straight to the shared lists
    if (!c || c == Gone()) return;
    Shared& s = TheShared();
    for (std::size_t cls = 0; cls < kClasses; ++cls)
        if (c->lists[cls].head) GiveBack(s, cls, c->lists[cls].head, c->lists[cls].count);
    delete c;
}

// Fills an empty chain of the class: a shared batch when there is one, else new blocks
// carved from the class's chunk (a new chunk when it is used up).
void Refill(FreeList& l, std::size_t cls) {
    Shared& s = TheShared();
    const std::scoped_lock hold(s.lock);
    if (FreeBlock* batch = s.batches[cls]) {
        s.batches[cls] = batch->nextBatch;
        l.head = batch;
        l.count = static_cast<unsigned>(batch->count);
        return;
    }
    const std::size_t bytes = BlockBytes(cls);
    if (static_cast<std::size_t>(s.carveEnd[cls] - s.carve[cls]) < bytes) {
        char* chunk = static_cast<char*>(::operator new(kChunkBytes));  // kept for the life of the process
        s.carve[cls] = chunk;
        s.carveEnd[cls] = chunk + kChunkBytes - kChunkBytes % bytes;
    }
    // Carved from the top down, so that the chain hands the blocks out in rising addresses.
    const std::size_t n = std::min<std::size_t>(kBatch, static_cast<std::size_t>(s.carveEnd[cls] - s.carve[cls]) / bytes);
    for (std::size_t i = n; i-- > 0;) l.Push(reinterpret_cast<FreeBlock*>(s.carve[cls] + i * bytes));
    s.carve[cls] += n * bytes;
}

// The thread's cache, made on its first pooled allocation; null when the thread is ending
// or no memory is left for it.
ThreadCache* CacheForThisThread() {
    ThreadCache* c = t_cache;
    if (c) return c == Gone() ? nullptr : c;
    c = new (std::nothrow) ThreadCache{};
    if (!c) return nullptr;
    t_flusher.armed = true;  // registers the flush at thread end
    t_cache = c;
    return c;
}

// Without a thread cache: one block straight from the shared lists.
void* AllocateShared(std::size_t cls) {
    FreeList one{};
    Refill(one, cls);
    FreeBlock* b = one.Pop();
    if (one.head) GiveBack(TheShared(), cls, one.head, one.count);
    return b;
}

}  // namespace

// Everything but taking a block the thread's list has: a large block, the thread's first
// block, an empty list, a thread that is ending.
void* kiv_pool_detail::AllocateSlow(std::size_t size) {
    if (size > kKivPoolMaxBlock) return ::operator new(size);
    const std::size_t cls = ClassOf(size);
    ThreadCache* c = CacheForThisThread();
    if (!c) return AllocateShared(cls);
    FreeList& l = c->lists[cls];
    if (!l.head) Refill(l, cls);
    return l.Pop();
}

// Everything but keeping a block in a list with room: a large block, no cache yet, a thread
// that is ending, a list that is full.
void kiv_pool_detail::FreeSlow(void* block, std::size_t size) noexcept {
    if (size > kKivPoolMaxBlock) {
        KivGlobalDelete(block, size);
        return;
    }
    auto* b = static_cast<FreeBlock*>(block);
    const std::size_t cls = ClassOf(size);
    ThreadCache* c = t_cache;
    if (!c) c = CacheForThisThread();
    if (!c || c == Gone()) {
        // A thread that is ending (or has no memory for a cache) keeps nothing.
        b->next = nullptr;
        GiveBack(TheShared(), cls, b, 1);
        return;
    }
    FreeList& l = c->lists[cls];
    l.Push(b);
    if (l.count > kThreadKeeps) {
        // The most recently freed batch goes: walking it touches only warm blocks.
        FreeBlock* first = l.head;
        FreeBlock* last = first;
        for (unsigned i = 1; i < kBatch; ++i) last = last->next;
        l.head = last->next;
        l.count -= kBatch;
        last->next = nullptr;
        GiveBack(TheShared(), cls, first, kBatch);
    }
}

bool KivPoolIsPooling() noexcept { return true; }

#endif
