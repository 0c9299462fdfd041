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
