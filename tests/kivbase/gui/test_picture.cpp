// The picture helpers: the checkerboard behind transparent pixels and the bitmap header
// that draws a pixel block, checked through StretchDIBits as the colour preview uses them.
#include <gtest/gtest.h>

#include "kivbase/gui/KivPicture.h"

namespace {

DWORD At(const CKivMemBlock& b, int x, int y) { return b.GetAddress()[y * b.GetSize().cx + x].ToDWORD(); }

}  // namespace

TEST(PictureBack, CheckerboardStartsLightAndAlternatesBySquare) {
    CKivMemBlock b;
    ASSERT_TRUE(b.InitBlock(CSize(2 * kKivCheckerSquare + 3, kKivCheckerSquare + 2), nullptr, 0));
    ASSERT_EQ(KivPictureFillBack(&b, KIV_BACK_CHECKER, 0), 1);
    const DWORD light = kKivCheckerLight.ToDWORD(), dark = kKivCheckerDark.ToDWORD();
    struct Probe {
        int x, y;
        DWORD expected;
    };
    const int s = kKivCheckerSquare;
    for (const Probe& p : {Probe{0, 0, light}, Probe{s - 1, s - 1, light}, Probe{s, 0, dark}, Probe{2 * s, 0, light},
                           Probe{2 * s + 2, 0, light}, Probe{0, s, dark}, Probe{s, s, light}, Probe{2 * s + 2, s + 1, dark}})
        EXPECT_EQ(At(b, p.x, p.y), p.expected) << p.x << "," << p.y;
    EXPECT_EQ(kKivCheckerLight.alpha, 255);
    EXPECT_EQ(kKivCheckerDark.alpha, 255) << "the background is opaque";

    ASSERT_EQ(KivPictureFillBack(&b, KIV_BACK_WHITE, 0), 1);
    EXPECT_EQ(At(b, s, 0), light);
    EXPECT_EQ(KivPictureFillBack(&b, 7, 0), 0) << "unknown background";
    CKivMemBlock empty;
    EXPECT_EQ(KivPictureFillBack(&empty, KIV_BACK_CHECKER, 0), 0);
    EXPECT_EQ(KivPictureFillBack(nullptr, KIV_BACK_CHECKER, 0), 0);
}

TEST(PictureBack, BitmapHeaderDrawsABlockTopRowFirst) {
    constexpr int w = 3, h = 2;
    CKivMemBlock b;
    ASSERT_TRUE(b.InitBlock(CSize(w, h), nullptr, 0));
    b.ClearBlock(nullptr, {0, 0, 255, 255});          // red
    const RECT bottomRow{0, 1, w, 2};
    b.ClearBlock(&bottomRow, {255, 0, 0, 255});       // blue
    BITMAPINFO info;
    ASSERT_EQ(KivPublicInitBmpInfo(&info, w, h), 1);
    EXPECT_EQ(info.bmiHeader.biWidth, w);
    EXPECT_EQ(info.bmiHeader.biBitCount, 32);
    EXPECT_EQ(info.bmiHeader.biSizeImage, static_cast<DWORD>(w * h * 4));

    CDC dc;
    CBitmap bmp;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&dc, w, h));
    dc.SelectObject(&bmp);
    ASSERT_EQ(dc.StretchDIBits(0, 0, w, h, 0, 0, w, h, b.GetAddress(), &info, DIB_RGB_COLORS, SRCCOPY), h);
    EXPECT_EQ(dc.GetPixel(2, 0), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(0, 1), RGB(0, 0, 255)) << "the block's second row is drawn below its first";

    BITMAPINFO untouched{};
    untouched.bmiHeader.biWidth = 77;
    EXPECT_EQ(KivPublicInitBmpInfo(&untouched, 0, 5), 0);
    EXPECT_EQ(KivPublicInitBmpInfo(&untouched, 1 << 15, 1 << 15), 0) << "beyond what a block holds";
    EXPECT_EQ(untouched.bmiHeader.biWidth, 77);
    EXPECT_EQ(KivPublicInitBmpInfo(nullptr, 3, 3), 0);
}
