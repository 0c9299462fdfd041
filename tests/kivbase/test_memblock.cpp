// Pixel blocks: set-up limits, fills, and copies with clipping, blending and fields,
// checked pixel by pixel on small blocks.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "kivbase/KivMemBlock.h"

namespace {

constexpr tagCOLOR32 kRed{0, 0, 255, 255};
constexpr tagCOLOR32 kBlue{255, 0, 0, 255};
constexpr tagCOLOR32 kNone{0, 0, 0, 0};

// A block whose pixel (x, y) is the colour 0xFF00YYXX, so every pixel is recognisable.
void FillNumbered(CKivMemBlock& b, int w, int h) {
    ASSERT_TRUE(b.InitBlock(CSize(w, h), nullptr, 0));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.GetAddress()[y * w + x] = tagCOLOR32::FromDWORD(0xFF000000u | (y << 8) | x);
}

DWORD At(const CKivMemBlock& b, int x, int y) { return b.GetAddress()[y * b.GetSize().cx + x].ToDWORD(); }

// The block as rows of packed colours, for whole-picture comparisons.
std::vector<std::vector<DWORD>> Rows(const CKivMemBlock& b) {
    std::vector<std::vector<DWORD>> rows(b.GetSize().cy);
    for (int y = 0; y < b.GetSize().cy; ++y)
        for (int x = 0; x < b.GetSize().cx; ++x) rows[y].push_back(At(b, x, y));
    return rows;
}

TEST(MemBlock, InitBlockRefusesBadSizesAndKeepsTheOldBlock) {
    CKivMemBlock b;
    EXPECT_EQ(b.GetAddress(), nullptr);
    const tagCOLOR32 init[6] = {kRed, kBlue, kRed, kBlue, kRed, kNone};
    ASSERT_NE(b.InitBlock(CSize(3, 2), init, 0), 0);
    EXPECT_EQ(b.GetSize(), CSize(3, 2));
    EXPECT_EQ(At(b, 1, 0), kBlue.ToDWORD());
    EXPECT_EQ(At(b, 2, 1), 0u);

    for (const CSize bad : {CSize(0, 5), CSize(5, -1), CSize(INT_MAX, INT_MAX), CSize(1 << 15, 1 << 14)})
        EXPECT_EQ(b.InitBlock(bad, nullptr, 0), 0) << bad.cx << " x " << bad.cy;
    EXPECT_EQ(b.GetSize(), CSize(3, 2)) << "a refused size leaves the block as it was";
    EXPECT_EQ(At(b, 0, 0), kRed.ToDWORD());

    ASSERT_NE(b.InitBlock(CSize(2, 2), nullptr, 0), 0);
    EXPECT_EQ(Rows(b), (std::vector<std::vector<DWORD>>{{0, 0}, {0, 0}})) << "no initial pixels: all zero";
    b.Close();
    EXPECT_EQ(b.GetAddress(), nullptr);
    EXPECT_EQ(b.GetSize(), CSize(0, 0));
    b.Close();
}

TEST(MemBlock, ClearBlockFillsTheClippedRectangle) {
    CKivMemBlock b;
    ASSERT_TRUE(b.InitBlock(CSize(3, 2), nullptr, 0));
    b.ClearBlock(nullptr, kBlue);
    const RECT r{2, -5, 10, 1};
    b.ClearBlock(&r, kRed);
    const DWORD B = kBlue.ToDWORD(), R = kRed.ToDWORD();
    EXPECT_EQ(Rows(b), (std::vector<std::vector<DWORD>>{{B, B, R}, {B, B, B}}));
    const RECT outside{5, 5, 9, 9};
    b.ClearBlock(&outside, kNone);
    EXPECT_EQ(At(b, 2, 0), R);
    CKivMemBlock empty;
    empty.ClearBlock(nullptr, kRed);
}

TEST(MemBlock, CopyClipsAgainstBothBlocks) {
    CKivMemBlock src;
    FillNumbered(src, 4, 3);
    CKivMemBlock dst;
    ASSERT_TRUE(dst.InitBlock(CSize(3, 3), nullptr, 0));
    // Source rectangle starts left of and above the source; destination overhangs right.
    ASSERT_EQ(dst.Copy(CPoint(1, 0), &src, CRect(-1, -1, 3, 2), MIXMODE_COPY, 1, KIV_FIELD_FRAME), 1);
    // (-1,-1) is outside the source, so source (0,0) lands one right and one down of (1,0).
    EXPECT_EQ(Rows(dst), (std::vector<std::vector<DWORD>>{
                             {0, 0, 0},
                             {0, 0, 0xFF000000u},
                             {0, 0, 0xFF000100u}}));

    ASSERT_TRUE(dst.InitBlock(CSize(3, 3), nullptr, 0));
    ASSERT_EQ(dst.Copy(-2, -1, &src, CRect(0, 0, 4, 3), MIXMODE_COPY, 1, KIV_FIELD_FRAME), 1);
    EXPECT_EQ(Rows(dst), (std::vector<std::vector<DWORD>>{
                             {0xFF000102u, 0xFF000103u, 0},
                             {0xFF000202u, 0xFF000203u, 0},
                             {0, 0, 0}})) << "negative destination clips the source's left and top";

    const auto before = Rows(dst);
    EXPECT_EQ(dst.Copy(3, 0, &src, CRect(0, 0, 4, 3), MIXMODE_COPY, 1, KIV_FIELD_FRAME), 1);
    EXPECT_EQ(dst.Copy(INT_MIN, INT_MAX, &src, CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), MIXMODE_COPY, 1, KIV_FIELD_FRAME), 1);
    EXPECT_EQ(dst.Copy(0, 0, &src, CRect(3, 0, 1, 2), MIXMODE_COPY, 1, KIV_FIELD_FRAME), 1) << "inverted rectangle";
    EXPECT_EQ(Rows(dst), before) << "nothing inside both blocks: nothing written";

    CKivMemBlock empty;
    EXPECT_EQ(dst.Copy(0, 0, &empty, CRect(0, 0, 1, 1), MIXMODE_COPY, 1, KIV_FIELD_FRAME), 0);
    EXPECT_EQ(dst.Copy(0, 0, nullptr, CRect(0, 0, 1, 1), MIXMODE_COPY, 1, KIV_FIELD_FRAME), 0);
    EXPECT_EQ(dst.Copy(0, 0, &src, CRect(0, 0, 1, 1), MIXMODE_COPY, 1, static_cast<KIV_ENUM_FIELD_TYPE>(7)), 0);
}

TEST(MemBlock, AlphaBlendMixesBySourceAlpha) {
    CKivMemBlock dst;
    const tagCOLOR32 back[4] = {{0, 0, 200, 255}, {0, 0, 200, 255}, {0, 0, 200, 255}, {10, 20, 30, 0}};
    ASSERT_TRUE(dst.InitBlock(CSize(4, 1), back, 0));
    CKivMemBlock src;
    const tagCOLOR32 front[4] = {{100, 50, 0, 255}, {100, 50, 0, 0}, {100, 50, 0, 128}, {100, 50, 0, 128}};
    ASSERT_TRUE(src.InitBlock(CSize(4, 1), front, 0));
    ASSERT_EQ(dst.Copy(0, 0, &src, CRect(0, 0, 4, 1), MIXMODE_ALPHABLEND, 1, KIV_FIELD_FRAME), 1);
    EXPECT_EQ(At(dst, 0, 0), 0xFF003264u) << "opaque source replaces";
    EXPECT_EQ(At(dst, 1, 0), 0xFFC80000u) << "transparent source leaves the target";
    // 128/255 of the source: blue 100*128/255 = 50.2 -> 50, green 25.1 -> 25,
    // red 200*127/255 = 99.6 -> 100; alpha stays 255 over an opaque target.
    EXPECT_EQ(At(dst, 2, 0), 0xFF641932u);
    // Over a transparent target alpha becomes the source's, colours still mix by it:
    // blue (100*128 + 10*127)/255 = 55.2 -> 55, green (50*128 + 20*127)/255 = 35.1 -> 35,
    // red 30*127/255 = 14.9 -> 15.
    EXPECT_EQ(At(dst, 3, 0), 0x800F2337u);
}

TEST(MemBlock, FieldsWriteAlternateRows) {
    CKivMemBlock src;
    FillNumbered(src, 1, 4);
    CKivMemBlock upper, lower;
    ASSERT_TRUE(upper.InitBlock(CSize(1, 4), nullptr, 0));
    ASSERT_TRUE(lower.InitBlock(CSize(1, 4), nullptr, 0));
    ASSERT_EQ(upper.Copy(0, 1, &src, CRect(0, 0, 1, 4), MIXMODE_COPY, 1, KIV_FIELD_UPPER), 1);
    ASSERT_EQ(lower.Copy(0, 1, &src, CRect(0, 0, 1, 4), MIXMODE_COPY, 1, KIV_FIELD_LOWER), 1);
    EXPECT_EQ(Rows(upper), (std::vector<std::vector<DWORD>>{{0}, {0}, {0xFF000100u}, {0}})) << "even target rows";
    EXPECT_EQ(Rows(lower), (std::vector<std::vector<DWORD>>{{0}, {0xFF000000u}, {0}, {0xFF000200u}})) << "odd target rows";
}

TEST(MemBlock, CopyWithinOneBlockHandlesOverlap) {
    for (const MIXMODE mode : {MIXMODE_COPY, MIXMODE_ALPHABLEND}) {
        CKivMemBlock b;
        FillNumbered(b, 3, 3);
        ASSERT_EQ(b.Copy(1, 1, &b, CRect(0, 0, 2, 2), mode, 1, KIV_FIELD_FRAME), 1);
        EXPECT_EQ(Rows(b), (std::vector<std::vector<DWORD>>{
                               {0xFF000000u, 0xFF000001u, 0xFF000002u},
                               {0xFF000100u, 0xFF000000u, 0xFF000001u},
                               {0xFF000200u, 0xFF000100u, 0xFF000101u}})) << "mode " << mode;
        ASSERT_EQ(b.Copy(0, 0, &b, CRect(1, 1, 3, 3), mode, 1, KIV_FIELD_FRAME), 1);
        EXPECT_EQ(At(b, 0, 0), 0xFF000000u);
        EXPECT_EQ(At(b, 1, 1), 0xFF000101u) << "mode " << mode;
    }
}

}  // namespace
