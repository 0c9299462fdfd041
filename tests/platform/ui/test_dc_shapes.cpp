#include <algorithm>
#include <climits>
#include <cmath>
#include <set>

#include "UiTestSupport.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

std::set<std::pair<int, int>> LinePixels(CPoint a, CPoint b) {
    MemCanvas c(64, 64);
    c.dc.MoveTo(a);
    c.dc.LineTo(b);
    std::set<std::pair<int, int>> s;
    for (const CPoint& p : c.Ink()) s.insert({p.x, p.y});
    return s;
}

// Endpoints covering every octant, exact diagonals, and slopes with ties.
const std::pair<CPoint, CPoint> kLines[] = {
    {CPoint(10, 10), CPoint(14, 12)}, {CPoint(10, 10), CPoint(12, 14)}, {CPoint(10, 10), CPoint(8, 14)},
    {CPoint(10, 10), CPoint(6, 12)},  {CPoint(30, 30), CPoint(26, 28)}, {CPoint(30, 30), CPoint(28, 26)},
    {CPoint(30, 30), CPoint(32, 26)}, {CPoint(30, 30), CPoint(34, 28)}, {CPoint(5, 40), CPoint(60, 47)},
    {CPoint(3, 3), CPoint(20, 20)},   {CPoint(50, 2), CPoint(41, 61)},  {CPoint(7, 33), CPoint(58, 30)},
};

}  // namespace

TEST(DcLines, LineLeavesOutItsLastPoint) {
    EXPECT_EQ(LinePixels(CPoint(2, 5), CPoint(8, 5)),
              (std::set<std::pair<int, int>>{{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}}));
    EXPECT_EQ(LinePixels(CPoint(4, 9), CPoint(4, 6)), (std::set<std::pair<int, int>>{{4, 9}, {4, 8}, {4, 7}}));
    EXPECT_EQ(LinePixels(CPoint(0, 0), CPoint(3, 3)), (std::set<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_TRUE(LinePixels(CPoint(9, 9), CPoint(9, 9)).empty()) << "a line to its own start draws nothing";
}

TEST(DcLines, EachStepIsTheNearestPixelAndTiesFollowTheOctant) {
    for (const auto& [a, b] : kLines) {
        const auto pixels = LinePixels(a, b);
        const int dx = b.x - a.x, dy = b.y - a.y;
        const bool xMajor = std::abs(dx) > std::abs(dy);
        const int len = std::max(std::abs(dx), std::abs(dy));
        ASSERT_EQ(static_cast<int>(pixels.size()), len) << "one pixel per major step";
        for (const auto& [x, y] : pixels) {
            const double t = xMajor ? double(x - a.x) / dx : double(y - a.y) / dy;
            const double ideal = xMajor ? a.y + t * dy : a.x + t * dx;
            EXPECT_LE(std::abs((xMajor ? y : x) - ideal), 0.5) << "line " << a.x << "," << a.y << " to " << b.x << "," << b.y;
        }
    }
    // Ties: the first octant keeps the pixel nearer the start, so (1, 0) and (3, 1).
    EXPECT_EQ(LinePixels(CPoint(0, 0), CPoint(4, 2)), (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
}

TEST(DcLines, ALineAndItsReverseLightTheSamePixels) {
    for (const auto& [a, b] : kLines) {
        auto forward = LinePixels(a, b), backward = LinePixels(b, a);
        forward.insert({b.x, b.y});
        backward.insert({a.x, a.y});
        EXPECT_EQ(forward, backward) << "line " << a.x << "," << a.y << " to " << b.x << "," << b.y;
    }
}

TEST(DcShapes, RectangleOutlineAndFillLeaveOutRightAndBottom) {
    MemCanvas c(12, 12);
    CBrush red(kRed);
    c.dc.SelectObject(&red);
    c.dc.Rectangle(2, 2, 7, 6);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 2 && y < 6;
            const bool edge = inside && (x == 2 || x == 6 || y == 2 || y == 5);
            const COLORREF want = !inside ? kWhite : (edge ? kBlack : kRed);
            ASSERT_EQ(c.dc.GetPixel(x, y), want) << x << "," << y;
        }
    MemCanvas n(12, 12);
    n.dc.SelectObject(&red);
    n.dc.SelectStockObject(NULL_PEN);
    n.dc.Rectangle(2, 2, 7, 6);
    EXPECT_EQ(n.Ink().size(), 12u) << "without a pen the fill is one pixel smaller: 4 x 3";
    EXPECT_EQ(n.dc.GetPixel(5, 4), kRed);
    EXPECT_EQ(n.dc.GetPixel(6, 4), kWhite);
}

TEST(DcShapes, FillsFramesAnd3dRectsStayInsideTheRectangle) {
    MemCanvas c(12, 12);
    CBrush black(kBlack);
    const CRect r(1, 1, 5, 4);
    c.dc.FillRect(&r, &black);
    EXPECT_EQ(c.dc.GetPixel(4, 3), kBlack);
    EXPECT_EQ(c.dc.GetPixel(5, 3), kWhite);
    EXPECT_EQ(c.dc.GetPixel(4, 4), kWhite);

    MemCanvas f(12, 12);
    f.dc.Draw3dRect(2, 2, 5, 4, RGB(0, 0, 255), RGB(0, 255, 0));
    EXPECT_EQ(f.dc.GetPixel(2, 2), RGB(0, 0, 255)) << "top-left corner";
    EXPECT_EQ(f.dc.GetPixel(5, 2), RGB(0, 0, 255)) << "top row up to the last column";
    EXPECT_EQ(f.dc.GetPixel(6, 2), RGB(0, 255, 0)) << "the right column owns the top-right corner";
    EXPECT_EQ(f.dc.GetPixel(2, 5), RGB(0, 255, 0)) << "the bottom row owns the bottom-left corner";
    EXPECT_EQ(f.dc.GetPixel(7, 2), kWhite);
    EXPECT_EQ(f.dc.GetPixel(2, 6), kWhite);
    EXPECT_EQ(f.dc.GetPixel(4, 3), kWhite) << "inside untouched";
    EXPECT_EQ(f.dc.GetBkColor(), RGB(0, 255, 0)) << "the fills leave the background colour set";

    MemCanvas fr(12, 12);
    const CRect box(3, 3, 8, 7);
    fr.dc.FrameRect(&box, &black);
    EXPECT_EQ(fr.Ink().size(), 14u) << "a 5 x 4 frame has 14 pixels";
}

TEST(DcShapes, EllipseFitsItsBoxAndTouchesEachSide) {
    MemCanvas c(40, 40);
    c.dc.Ellipse(5, 8, 25, 20);
    const auto ink = c.Ink();
    ASSERT_FALSE(ink.empty());
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (const CPoint& p : ink) {
        minX = std::min<int>(minX, p.x), maxX = std::max<int>(maxX, p.x);
        minY = std::min<int>(minY, p.y), maxY = std::max<int>(maxY, p.y);
    }
    EXPECT_EQ(CRect(minX, minY, maxX + 1, maxY + 1), CRect(5, 8, 25, 20));
    for (const CPoint& p : ink) EXPECT_NE(c.dc.GetPixel(29 - p.x, p.y), kWhite) << "mirror symmetric";
    EXPECT_EQ(c.dc.GetPixel(15, 14), kWhite) << "the white brush fills the inside";
}

TEST(DcShapes, XorDrawnTwiceRestoresThePicture) {
    MemCanvas c(48, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) c.dc.SetPixel(x, y, RGB(x * 5, y * 5, (x + y) * 2));
    const auto before = c.Pixels();
    CPen wide(PS_SOLID, 3, RGB(190, 190, 190));
    CBrush brush(RGB(12, 200, 99));
    const POINT poly[] = {{2, 40}, {20, 3}, {45, 44}, {10, 20}};
    auto draw = [&] {
        c.dc.SetROP2(R2_XORPEN);
        c.dc.MoveTo(1, 1);
        c.dc.LineTo(40, 30);
        c.dc.Polyline(poly, 4);
        c.dc.SelectObject(&brush);
        c.dc.Rectangle(5, 5, 30, 20);
        c.dc.Ellipse(10, 12, 44, 40);
        KivSelectObject pen(c.dc, wide);
        c.dc.MoveTo(3, 44);
        c.dc.LineTo(44, 8);
        c.dc.Rectangle(20, 25, 40, 45);
    };
    draw();
    EXPECT_NE(c.Pixels(), before);
    draw();
    EXPECT_EQ(c.Pixels(), before);
}

TEST(DcShapes, WidePenCoversItsWidthAndBothEnds) {
    MemCanvas c(30, 30);
    CPen pen(PS_SOLID, 3, kBlack);
    c.dc.SelectObject(&pen);
    c.dc.MoveTo(5, 10);
    c.dc.LineTo(20, 10);
    for (int y = 7; y <= 13; ++y) EXPECT_EQ(c.dc.GetPixel(12, y) == kBlack, y >= 9 && y <= 11) << y;
    EXPECT_EQ(c.dc.GetPixel(20, 10), kBlack) << "wide lines have round ends and include the last point";
    CPen dashed;
    EXPECT_FALSE(dashed.CreatePen(PS_DASH, 1, kBlack)) << "dashed pens are refused, not drawn solid";
}

TEST(DcState, SaveRestoreAndClipping) {
    MemCanvas c(20, 20);
    CPen red(PS_SOLID, 1, kRed);
    const int level = c.dc.SaveDC();
    c.dc.SelectObject(&red);
    c.dc.SetROP2(R2_NOT);
    c.dc.IntersectClipRect(0, 0, 10, 10);
    c.dc.FillSolidRect(0, 0, 20, 20, RGB(1, 2, 3));
    EXPECT_EQ(c.dc.GetPixel(9, 9), RGB(1, 2, 3));
    EXPECT_EQ(c.dc.GetPixel(10, 10), CLR_INVALID) << "outside the clip";
    ASSERT_TRUE(c.dc.RestoreDC(level));
    EXPECT_EQ(c.dc.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(c.dc.GetPixel(10, 10), kWhite) << "clip restored; the fill never reached here";
    CPen* restored = c.dc.GetCurrentPen();
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->Data().color, kBlack);
    EXPECT_FALSE(c.dc.RestoreDC(level)) << "a level can be restored once";

    // A pen deleted while selected keeps drawing safely; asking for it gives null.
    auto temp = std::make_unique<CPen>(PS_SOLID, 1, RGB(0, 0, 255));
    c.dc.SelectObject(temp.get());
    temp.reset();
    c.dc.MoveTo(0, 15);
    c.dc.LineTo(5, 15);
    EXPECT_EQ(c.dc.GetPixel(2, 15), RGB(0, 0, 255));
    EXPECT_EQ(c.dc.GetCurrentPen(), nullptr);
}

TEST(DcBlit, BitBltStretchDIBitsAndDrawState) {
    MemCanvas src(8, 8), dst(16, 16);
    src.dc.SetPixel(1, 2, kRed);
    ASSERT_TRUE(dst.dc.BitBlt(4, 4, 8, 8, &src.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(dst.dc.GetPixel(5, 6), kRed);
    ASSERT_TRUE(dst.dc.BitBlt(4, 4, 8, 8, &src.dc, 0, 0, SRCINVERT));
    EXPECT_EQ(dst.dc.GetPixel(5, 6), kBlack) << "xor with itself";
    EXPECT_FALSE(dst.dc.BitBlt(0, 0, 2, 2, nullptr, 0, 0, SRCCOPY)) << "no source";

    // A 2 x 2 bottom-up DIB: the first row in memory is the bottom row.
    const unsigned char bits[] = {0, 0, 255, 0, 0, 255, 0, 0,    // bottom: red, green
                                  255, 0, 0, 0, 0, 0, 0, 0};     // top: blue, black
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    MemCanvas s(8, 8);
    EXPECT_EQ(s.dc.StretchDIBits(0, 0, 4, 4, 0, 0, 2, 2, bits, &info, DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(s.dc.GetPixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(s.dc.GetPixel(3, 1), kBlack);
    EXPECT_EQ(s.dc.GetPixel(1, 3), kRed);
    EXPECT_EQ(s.dc.GetPixel(2, 2), RGB(0, 255, 0));
    EXPECT_EQ(s.dc.GetPixel(4, 4), kWhite) << "nothing beyond the destination";
    // The source rectangle's y counts from the bottom row of a bottom-up DIB.
    EXPECT_EQ(s.dc.StretchDIBits(6, 6, 1, 1, 0, 1, 1, 1, bits, &info, DIB_RGB_COLORS, SRCCOPY), 1);
    EXPECT_EQ(s.dc.GetPixel(6, 6), RGB(0, 0, 255));
    info.bmiHeader.biBitCount = 8;
    EXPECT_EQ(s.dc.StretchDIBits(0, 0, 4, 4, 0, 0, 2, 2, bits, &info, DIB_RGB_COLORS, SRCCOPY), 0);

    MemCanvas d(10, 10);
    ASSERT_TRUE(d.dc.DrawState(CPoint(3, 3), CSize(0, 0), &src.bmp, DST_BITMAP | DSS_NORMAL));
    EXPECT_EQ(d.dc.GetPixel(4, 5), kRed);
    EXPECT_FALSE(d.dc.DrawState(CPoint(0, 0), CSize(0, 0), &src.bmp, DST_BITMAP | 0x20)) << "disabled look unsupported";
}

TEST(DcBlit, BitmapBytesAreBlueGreenRedAndOverlappingCopiesWork) {
    CBitmap bmp;
    const unsigned char bits[] = {1, 2, 3, 0, 4, 5, 6, 0};
    ASSERT_TRUE(bmp.CreateBitmap(2, 1, 1, 32, bits));
    EXPECT_EQ(KivColorFromPixel(bmp.Surface()->At(0, 0)), RGB(3, 2, 1));
    unsigned char back[8] = {};
    EXPECT_EQ(bmp.GetBitmapBits(sizeof back, back), 8u);
    EXPECT_EQ(std::vector<unsigned char>(back, back + 8), std::vector<unsigned char>(bits, bits + 8));
    CBitmap bad;
    EXPECT_FALSE(bad.CreateBitmap(2, 1, 1, 24, bits));
    EXPECT_FALSE(bad.CreateCompatibleBitmap(nullptr, 0, 5));

    MemCanvas c(10, 1);
    for (int x = 0; x < 10; ++x) c.dc.SetPixel(x, 0, RGB(x, 0, 0));
    ASSERT_TRUE(c.dc.BitBlt(2, 0, 6, 1, &c.dc, 0, 0, SRCCOPY));
    for (int x = 2; x < 8; ++x) EXPECT_EQ(c.dc.GetPixel(x, 0), RGB(x - 2, 0, 0)) << "copied as it was before the copy";

    CDC fresh;
    ASSERT_TRUE(fresh.CreateCompatibleDC(nullptr));
    EXPECT_EQ(fresh.SetPixel(0, 0, kRed), CLR_INVALID) << "nothing to draw on before a bitmap is selected";
}

TEST(DcBlit, HugeBlocksOnlyTouchWhatTheDestinationShows) {
    MemCanvas src(4, 4), dst(8, 8);
    src.dc.FillSolidRect(0, 0, 4, 4, kRed);
    EXPECT_TRUE(dst.dc.BitBlt(-1000000, -1000000, 2000000, 2000000, &src.dc, -1000000, -1000000, SRCCOPY));
    EXPECT_EQ(dst.dc.GetPixel(3, 3), kRed);
    EXPECT_EQ(dst.dc.GetPixel(4, 4), kWhite) << "beyond the source nothing is copied";
    EXPECT_TRUE(dst.dc.PatBlt(0, 0, 1 << 26, 1 << 26, BLACKNESS));
    EXPECT_EQ(dst.dc.GetPixel(7, 7), kBlack);
    EXPECT_FALSE(dst.dc.BitBlt(0, 0, 1 << 30, 1, &src.dc, 0, 0, SRCCOPY)) << "beyond the coordinate space";
}

TEST(DcState, ExtremeCoordinatesAreHarmless) {
    MemCanvas c(8, 8);
    c.dc.SetViewportOrg(INT_MAX, INT_MIN);
    EXPECT_EQ(c.dc.GetPixel(INT_MAX, INT_MAX), CLR_INVALID);
    c.dc.FillSolidRect(INT_MAX - 1, 0, INT_MAX, 5, kRed);
    c.dc.TextOut(INT_MAX, INT_MAX, CString(L"x"));
    c.dc.SetViewportOrg(0, 0);
    EXPECT_TRUE(c.Ink().empty());
    EXPECT_FALSE(c.dc.LineTo(INT_MAX, 0));
}

TEST(DcBlit, AMemoryDcIsMadeAgainAfterDeleteDcWithTheDefaultState) {
    CDC dc;
    CBitmap first, second;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(first.CreateCompatibleBitmap(&dc, 4, 4));
    dc.SelectObject(&first);
    dc.SetROP2(R2_XORPEN);
    CPen red(PS_SOLID, 1, kRed);
    dc.SelectObject(&red);
    EXPECT_FALSE(dc.CreateCompatibleDC(nullptr)) << "in use";
    ASSERT_TRUE(dc.DeleteDC());
    EXPECT_EQ(dc.m_hDC, nullptr);
    EXPECT_EQ(dc.SetPixel(0, 0, kRed), CLR_INVALID) << "an ended DC draws nothing";

    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    EXPECT_NE(dc.m_hDC, nullptr);
    EXPECT_EQ(CDC::FromHandle(dc.m_hDC), &dc);
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN) << "the new DC starts from the defaults";
    ASSERT_TRUE(second.CreateCompatibleBitmap(&dc, 6, 3));
    dc.SelectObject(&second);
    dc.MoveTo(0, 1);
    dc.LineTo(6, 1);
    EXPECT_EQ(dc.GetPixel(5, 1), kBlack) << "the default black pen, copied";
    EXPECT_EQ(KivColorFromPixel(first.Surface()->At(0, 1)), kBlack) << "the first bitmap is left as it was";
}

TEST(DcBlit, BitmapBitsMoveWholePixelsAndAPartialLastOne) {
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateBitmap(3, 1, 1, 32, nullptr));
    const unsigned char bits[] = {1, 2, 3, 99, 4, 5, 6, 99, 7, 8};
    EXPECT_EQ(bmp.SetBitmapBits(sizeof bits, bits), 10u);
    EXPECT_EQ(KivColorFromPixel(bmp.Surface()->At(0, 0)), RGB(3, 2, 1)) << "the fourth byte is not kept";
    EXPECT_EQ(KivColorFromPixel(bmp.Surface()->At(1, 0)), RGB(6, 5, 4));
    EXPECT_EQ(KivColorFromPixel(bmp.Surface()->At(2, 0)), RGB(0, 8, 7)) << "only the bytes given change";
    const unsigned char more[16] = {};
    EXPECT_EQ(bmp.SetBitmapBits(1000, more), 12u) << "no further than the bitmap";
}

TEST(DcBlit, PlainCopiesFollowTheClipAndTheSourcesEdges) {
    MemCanvas src(10, 8), dst(16, 12);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) src.dc.SetPixel(x, y, RGB(x * 20, y * 20, 7));
    dst.dc.ExcludeClipRect(5, 5, 8, 7);  // a hole: the clip becomes several rectangles
    dst.dc.SetViewportOrg(1, 0);
    ASSERT_TRUE(dst.dc.BitBlt(-1, 2, 14, 9, &src.dc, -2, 1, SRCCOPY));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            // Surface x = logical + 1; the block starts at logical (-1, 2), so at surface (0, 2),
            // and reads the source from (-2, 1).
            const int sx = x - 2, sy = y - 2 + 1;
            const bool inBlock = x < 14 && y >= 2 && y < 11;
            const bool inHole = x >= 5 && x < 8 && y >= 5 && y < 7;  // set before the viewport moved
            const bool fromSource = inBlock && !inHole && sx >= 0 && sx < 10 && sy >= 0 && sy < 8;
            const COLORREF expected = fromSource ? RGB(sx * 20, sy * 20, 7) : kWhite;
            ASSERT_EQ(KivColorFromPixel(dst.bmp.Surface()->At(x, y)), expected) << x << "," << y;
        }
}
