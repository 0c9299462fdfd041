// A 1-pixel line drawn through a clip of several rectangles lights exactly the pixels of the
// unclipped line that lie inside the clip, each once: a window repainting a few rectangles
// of itself must give the picture of a full repaint there.
#include "platform/ui/UiTestSupport.h"

TEST(DcLineClip, AClipOfSeveralRectanglesKeepsExactlyTheLinesOwnPixels) {
    constexpr int kSide = 40;
    const COLORREF ink = RGB(30, 140, 220), white = RGB(255, 255, 255);
    struct Case {
        CPoint a, b;
    };
    // Every octant, both axes, a line leaving the canvas and one starting outside it.
    const Case lines[] = {{{2, 3}, {37, 11}},  {{37, 11}, {2, 3}},   {{5, 2}, {13, 38}},  {{13, 38}, {5, 2}},
                          {{2, 35}, {36, 6}},  {{36, 6}, {2, 35}},   {{30, 1}, {9, 39}},  {{9, 39}, {30, 1}},
                          {{0, 20}, {40, 20}}, {{20, 39}, {20, 0}}, {{-10, 5}, {50, 30}}, {{15, -20}, {25, 60}}};
    for (int rop : {R2_COPYPEN, R2_XORPEN}) {
        for (const Case& line : lines) {
            MemCanvas full(kSide, kSide), clipped(kSide, kSide);
            for (MemCanvas* c : {&full, &clipped}) {
                CPen pen(PS_SOLID, 1, ink);
                KivSaveDC saved(c->dc);
                c->dc.SelectObject(&pen);
                c->dc.SetROP2(rop);
                if (c == &clipped) {
                    // Three bands with holes: a clip of several rectangles, as after a drag.
                    c->dc.IntersectClipRect(4, 0, 36, kSide);
                    c->dc.ExcludeClipRect(10, 8, 20, 30);
                    c->dc.ExcludeClipRect(24, 0, 28, 16);
                }
                c->dc.MoveTo(line.a);
                c->dc.LineTo(line.b);
            }
            for (int y = 0; y < kSide; ++y)
                for (int x = 0; x < kSide; ++x) {
                    const bool inClip = x >= 4 && x < 36 && !(x >= 10 && x < 20 && y >= 8 && y < 30) && !(x >= 24 && x < 28 && y < 16);
                    const COLORREF expected = inClip ? full.dc.GetPixel(x, y) : white;
                    ASSERT_EQ(clipped.dc.GetPixel(x, y), expected)
                        << "rop " << rop << ", line (" << line.a.x << "," << line.a.y << ")-(" << line.b.x << "," << line.b.y
                        << ") at " << x << "," << y;
                }
        }
    }
}

TEST(DcLineClip, EveryChangeOfTheClipReachesTheNextDrawing) {
    const COLORREF ink = RGB(200, 0, 0);
    MemCanvas c(20, 20);
    CPen pen(PS_SOLID, 1, ink);
    c.dc.SelectObject(&pen);
    auto row = [&](int y) {
        c.dc.MoveTo(0, y);
        c.dc.LineTo(20, y);
        int inked = 0;
        for (int x = 0; x < 20; ++x) inked += c.dc.GetPixel(x, y) == ink;
        return inked;
    };
    const int whole = c.dc.SaveDC();
    EXPECT_EQ(row(1), 20) << "no clip";
    c.dc.IntersectClipRect(5, 0, 15, 20);
    EXPECT_EQ(row(2), 10) << "narrowed";
    c.dc.ExcludeClipRect(8, 0, 10, 20);
    EXPECT_EQ(row(3), 8) << "with a hole";
    c.dc.RestoreDC(whole);
    EXPECT_EQ(row(4), 20) << "restored";
    CBitmap other;
    other.CreateCompatibleBitmap(&c.dc, 6, 6);
    c.dc.SelectObject(&other);
    EXPECT_EQ(row(5), 6) << "another bitmap, its own size";
}
