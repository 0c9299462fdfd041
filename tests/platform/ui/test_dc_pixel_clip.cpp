// Single pixels and solid fills honour every part of a DC's clip: the surface, the
// window's visible part and the clip a painter narrows.
#include "platform/ui/UiTestSupport.h"

TEST(DcPixelClip, PixelsAndFillsStayInsideTheClip) {
    const COLORREF red = RGB(255, 0, 0), white = RGB(255, 255, 255), blue = RGB(0, 0, 255);
    MemCanvas c(10, 10);
    const int unclipped = c.dc.SaveDC();
    c.dc.IntersectClipRect(2, 2, 8, 8);
    c.dc.ExcludeClipRect(4, 4, 6, 6);
    struct Case {
        int x, y;
        bool inside;
    };
    for (const Case& k : {Case{2, 2, true}, Case{7, 7, true}, Case{1, 5, false}, Case{8, 5, false}, Case{4, 4, false},
                          Case{5, 5, false}, Case{6, 5, true}, Case{-1, 0, false}, Case{10, 3, false}}) {
        EXPECT_EQ(c.dc.SetPixel(k.x, k.y, red), k.inside ? red : CLR_INVALID) << k.x << "," << k.y;
        EXPECT_EQ(c.dc.GetPixel(k.x, k.y), k.inside ? red : CLR_INVALID) << k.x << "," << k.y;
    }
    // A fill copies the colour (its top byte dropped) into the clip only.
    c.dc.FillSolidRect(0, 0, 10, 10, blue | 0xFF000000u);
    c.dc.RestoreDC(unclipped);
    int filled = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) filled += c.dc.GetPixel(x, y) == blue;
    EXPECT_EQ(filled, 36 - 4);
    EXPECT_EQ(c.dc.GetPixel(4, 4), white);
    EXPECT_EQ(c.dc.GetPixel(0, 0), white);
}

// Many fills in one call give the picture of the same fills one by one: in order where they
// overlap, through the viewport origin and a clip of several parts, the background colour
// left as the last fill's.
TEST(DcPixelClip, ManyFillsInOneCallMatchFillsOneByOne) {
    const COLORREF colors[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
    std::vector<CDC::SolidFill> fills;
    for (int i = 0; i < 40; ++i)
        fills.push_back({CRect(i % 9 - 2, i % 7 - 2, i % 9 + 1 + i % 3, i % 7 + 2), colors[i % 3]});
    fills.push_back({CRect(-1, 0, 8, 2), colors[0]});   // rows of 9 within one part of the clip
    fills.push_back({CRect(-3, 6, 11, 8), colors[2]});  // rows of 14 across parts
    fills.push_back({CRect(6, 6, 3, 3), colors[1]});  // not normalised
    MemCanvas one(12, 12), many(12, 12);
    for (MemCanvas* c : {&one, &many}) {
        c->dc.SetViewportOrg(2, 1);
        c->dc.IntersectClipRect(-1, 0, 8, 9);
        c->dc.ExcludeClipRect(2, 2, 4, 5);
    }
    for (const CDC::SolidFill& f : fills) one.dc.FillSolidRect(&f.rect, f.color);
    many.dc.FillSolidRects(fills.data(), fills.size());
    EXPECT_EQ(many.dc.GetBkColor(), colors[1]);
    EXPECT_EQ(many.Pixels(), one.Pixels());
    EXPECT_FALSE(many.Ink().empty());
}
