#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "platform/fw/KivSmallObjectPool.h"

namespace {

struct Block {
    unsigned char* p;
    std::size_t size;
    unsigned char mark;
};

Block Take(std::size_t size, unsigned char mark) {
    auto* p = static_cast<unsigned char*>(KivPoolAllocate(size));
    std::memset(p, mark, size);
    return {p, size, mark};
}

// True when nobody else wrote into the block while it was ours.
bool Intact(const Block& b) {
    return std::all_of(b.p, b.p + b.size, [&](unsigned char c) { return c == b.mark; });
}

void Give(const Block& b) { KivPoolFree(b.p, b.size); }

}  // namespace

TEST(SmallObjectPool, EverySizeGetsAnAlignedBlockOfItsOwn) {
    std::vector<Block> blocks;
    for (std::size_t size = 1; size <= kKivPoolMaxBlock + 100; size += 7)
        for (int i = 0; i < 3; ++i) blocks.push_back(Take(size, static_cast<unsigned char>(blocks.size())));
    for (const Block& b : blocks) {
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(b.p) % 16, 0u) << b.size;
        EXPECT_TRUE(Intact(b)) << "block of " << b.size << " bytes overlaps another";
    }
    for (const Block& b : blocks) Give(b);
    KivPoolFree(nullptr, 8);  // nothing to give back
}

TEST(SmallObjectPool, FreedBlocksAreReusedInsteadOfNewMemory) {
    if (!KivPoolIsPooling()) GTEST_SKIP() << "this build hands every block to the global allocator";
    // Twenty rounds of a thousand blocks: without reuse they would take twenty thousand
    // addresses; with it, the thousand and what the free lists held before.
    std::set<unsigned char*> seen;
    for (int round = 0; round < 20; ++round) {
        std::vector<Block> blocks;
        for (int i = 0; i < 1000; ++i) blocks.push_back(Take(120, static_cast<unsigned char>(round)));
        for (const Block& b : blocks) {
            EXPECT_TRUE(Intact(b));
            seen.insert(b.p);
            Give(b);
        }
    }
    EXPECT_LT(seen.size(), 1600u);
}

TEST(SmallObjectPool, BlocksCrossThreadsBothWays) {
    // Taken on one thread, given back on another, taken again after the first thread ended.
    std::vector<Block> blocks;
    std::thread maker([&] {
        for (int i = 0; i < 5000; ++i) blocks.push_back(Take(16 + (i % 5) * 40, static_cast<unsigned char>(i)));
    });
    maker.join();
    for (const Block& b : blocks) {
        ASSERT_TRUE(Intact(b));
        Give(b);
    }
    std::vector<Block> again;
    std::thread taker([&] {
        for (int i = 0; i < 5000; ++i) again.push_back(Take(16 + (i % 5) * 40, 0xA5));
    });
    taker.join();
    for (const Block& b : again) {
        EXPECT_TRUE(Intact(b));
        Give(b);
    }
}

TEST(SmallObjectPool, ConcurrentThreadsNeverShareABlock) {
    constexpr int kThreads = 4;
    std::atomic<int> damaged{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &damaged] {
            std::mt19937 random(static_cast<unsigned>(t));
            std::vector<Block> live;
            for (int step = 0; step < 40000; ++step) {
                if (live.empty() || random() % 3 != 0) {
                    live.push_back(Take(1 + random() % 300, static_cast<unsigned char>(t * 50 + step % 50)));
                } else {
                    const size_t at = random() % live.size();
                    if (!Intact(live[at])) ++damaged;
                    Give(live[at]);
                    live[at] = live.back();
                    live.pop_back();
                }
            }
            for (const Block& b : live) {
                if (!Intact(b)) ++damaged;
                Give(b);
            }
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(damaged.load(), 0);
}

namespace {

// Gives a block back and takes another while its thread ends, after the pool's own
// per-thread state may be gone.
std::atomic<int> g_lateBlocksIntact{0};

struct AtThreadEnd {
    Block held{};
    ~AtThreadEnd() {
        if (held.p) Give(held);
        const Block late = Take(64, 0x5A);
        if (Intact(late)) ++g_lateBlocksIntact;
        Give(late);
    }
};

}  // namespace

TEST(SmallObjectPool, ThreadEndingStillAllocatesAndFrees) {
    std::thread worker([] {
        static thread_local AtThreadEnd end;  // made before the thread's first pooled block
        end.held = Take(64, 0x11);
        std::vector<Block> some;
        for (int i = 0; i < 300; ++i) some.push_back(Take(64, 0x22));
        for (const Block& b : some) Give(b);
    });
    worker.join();
    EXPECT_EQ(g_lateBlocksIntact.load(), 1);
    // The blocks the ended thread kept went back to the shared lists: taking many now works
    // and gives intact blocks.
    std::vector<Block> after;
    for (int i = 0; i < 600; ++i) after.push_back(Take(64, 0x33));
    for (const Block& b : after) {
        EXPECT_TRUE(Intact(b));
        Give(b);
    }
}
