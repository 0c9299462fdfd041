#include <gtest/gtest.h>

#include <random>
#include <set>

#include "platform/ui/Region.h"

namespace {

constexpr int kField = 24;  // the rectangles live on a 24 x 24 field

using PixelSet = std::set<std::pair<int, int>>;

PixelSet PixelsOf(const CRect& r) {
    PixelSet s;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) s.insert({x, y});
    return s;
}

PixelSet PixelsOf(const KivRegion& region) {
    PixelSet s;
    size_t total = 0;
    for (const CRect& r : region.Rects()) {
        const PixelSet p = PixelsOf(r);
        total += p.size();
        s.insert(p.begin(), p.end());
    }
    EXPECT_EQ(total, s.size()) << "the rectangles of a region never overlap";
    return s;
}

}  // namespace

TEST(Region, RandomAddSubtractIntersectMatchPixelSets) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-2, kField);
    auto randomRect = [&] {
        int l = coord(rng), r = coord(rng), t = coord(rng), b = coord(rng);
        return CRect(std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b));
    };
    for (int round = 0; round < 200; ++round) {
        KivRegion region;
        PixelSet expected;
        for (int step = 0; step < 8; ++step) {
            const CRect r = randomRect();
            const PixelSet p = PixelsOf(r);
            switch (rng() % 3) {
                case 0:
                    region.Add(r);
                    expected.insert(p.begin(), p.end());
                    break;
                case 1:
                    region.Subtract(r);
                    for (const auto& px : p) expected.erase(px);
                    break;
                default: {
                    region.Intersect(r);
                    PixelSet kept;
                    for (const auto& px : expected)
                        if (p.count(px)) kept.insert(px);
                    expected.swap(kept);
                }
            }
            ASSERT_EQ(PixelsOf(region), expected) << "round " << round << " step " << step;
            for (int probe = 0; probe < 4; ++probe) {
                const int x = coord(rng), y = coord(rng);
                ASSERT_EQ(region.Contains(x, y), expected.count({x, y}) == 1);
            }
        }
    }
}

TEST(Region, BoundsAndRegionIntersection) {
    KivRegion a(CRect(0, 0, 10, 10));
    a.Add(CRect(20, 5, 30, 8));
    EXPECT_EQ(a.Bounds(), CRect(0, 0, 30, 10));
    KivRegion b(CRect(5, 5, 25, 6));
    a.Intersect(b);
    EXPECT_EQ(PixelsOf(a).size(), 10u) << "5 pixels from each part";
    a.Offset(1, 1);
    EXPECT_TRUE(a.Contains(6, 6));
    EXPECT_EQ(KivRegion().Bounds(), CRect());
}
