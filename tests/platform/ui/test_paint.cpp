#include "UiTestSupport.h"

namespace {
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// Paints a rectangle far larger than itself: what shows must be cut to its own area.
class OverflowWnd : public RecordingWnd {
public:
    using RecordingWnd::RecordingWnd;

protected:
    void OnPaint() override {
        CPaintDC dc(this);
        dc.FillSolidRect(-500, -500, 2000, 2000, m_fill);
    }
};

COLORREF At(int x, int y) { return KivScreen::Get().GetPixel(x, y); }
}  // namespace

using Painting = UiTest;

TEST_F(Painting, UpdateWindowPaintsOnlyWhatIsInvalid) {
    RecordingWnd w(kRed);
    ASSERT_TRUE(w.CreateTop(CRect(10, 10, 60, 50)));
    w.UpdateWindow();
    EXPECT_EQ(w.Count(WM_PAINT), 1) << "a new visible window is invalid";
    EXPECT_EQ(At(10, 10), kRed);
    w.UpdateWindow();
    EXPECT_EQ(w.Count(WM_PAINT), 1) << "nothing invalid, no paint";

    const CRect part(5, 6, 15, 16);
    w.InvalidateRect(&part, FALSE);
    w.UpdateWindow();
    EXPECT_EQ(w.Count(WM_PAINT), 2);
    EXPECT_EQ(w.lastPaintRect, part);
    EXPECT_EQ(w.Count(WM_ERASEBKGND), 1) << "invalidating without erase sends no WM_ERASEBKGND";
    w.Invalidate();
    w.UpdateWindow();
    EXPECT_EQ(w.Count(WM_ERASEBKGND), 2);

    w.ShowWindow(SW_HIDE);
    w.Invalidate();
    w.UpdateWindow();
    EXPECT_EQ(w.Count(WM_PAINT), 3) << "a hidden window does not paint";
}

TEST_F(Painting, ChildrenPaintClippedIntoTheirRectangles) {
    OverflowWnd parent(kRed), child(kBlue);
    ASSERT_TRUE(parent.CreateTop(CRect(20, 20, 120, 100)));
    ASSERT_TRUE(child.CreateChild(&parent, CRect(10, 10, 40, 30)));
    KivScreen::Get().PaintAll();
    EXPECT_EQ(At(30, 30), kBlue);
    EXPECT_EQ(At(59, 49), kBlue);
    EXPECT_EQ(At(60, 49), kRed) << "the child's overflow is cut at its right edge";
    EXPECT_EQ(At(29, 29), kRed);
    EXPECT_EQ(At(19, 19), At(0, 0)) << "the parent's overflow is cut at the parent";

    // Repainting the parent alone overwrites the child unless the parent clips children.
    parent.Invalidate();
    parent.UpdateWindow();
    EXPECT_EQ(At(30, 30), kRed);
    KivScreen::Get().PaintAll();
    EXPECT_EQ(At(30, 30), kBlue) << "the child was invalidated with its parent";

    parent.ModifyStyle(0, WS_CLIPCHILDREN);
    parent.Invalidate();
    parent.UpdateWindow();
    EXPECT_EQ(At(30, 30), kBlue) << "WS_CLIPCHILDREN keeps the parent out of the child";
    EXPECT_EQ(child.Count(WM_PAINT), 2);
}

TEST_F(Painting, SiblingsAboveAreNotOverpaintedAndUncoveredAreasRepaint) {
    OverflowWnd parent(kRed), low(kBlue), high(kGreen);
    ASSERT_TRUE(parent.CreateTop(CRect(0, 0, 200, 200)));
    ASSERT_TRUE(low.CreateChild(&parent, CRect(10, 10, 60, 60)));
    ASSERT_TRUE(high.CreateChild(&parent, CRect(40, 40, 90, 90)));
    KivScreen::Get().PaintAll();
    low.Invalidate();
    low.UpdateWindow();
    EXPECT_EQ(At(50, 50), kGreen) << "the upper sibling keeps its pixels";
    high.ShowWindow(SW_HIDE);
    KivScreen::Get().PaintAll();
    EXPECT_EQ(At(50, 50), kBlue);
    EXPECT_EQ(At(80, 80), kRed) << "what the hidden window covered is repainted";
    parent.MoveWindow(100, 0, 50, 50);
    KivScreen::Get().PaintAll();
    const COLORREF desktop = At(319, 239);
    EXPECT_EQ(At(10, 10), desktop) << "the moved window's old place shows the desktop";
    EXPECT_EQ(parent.Last(WM_SIZE)->lParam, MAKELPARAM(50, 50));
}

TEST_F(Painting, ClientDcDrawsAtOnceWithinTheVisiblePart) {
    RecordingWnd w(kRed), cover(kGreen);
    ASSERT_TRUE(w.CreateTop(CRect(0, 0, 50, 50)));
    ASSERT_TRUE(cover.CreateTop(CRect(25, 0, 75, 50)));
    KivScreen::Get().PaintAll();
    CDC* dc = w.GetDC();
    ASSERT_NE(dc, nullptr);
    dc->FillSolidRect(0, 0, 50, 50, kBlue);
    EXPECT_EQ(At(10, 10), kBlue);
    EXPECT_EQ(At(30, 10), kGreen) << "the window above is not drawn on";
    EXPECT_EQ(w.ReleaseDC(dc), 1);
    EXPECT_EQ(w.ReleaseDC(dc), 0);
}

TEST_F(Painting, ValidationAndTheUpdateRectangle) {
    RecordingWnd w(kRed);
    ASSERT_TRUE(w.CreateTop(CRect(0, 0, 50, 50)));
    w.ValidateRect(nullptr);
    CRect r;
    EXPECT_FALSE(w.GetUpdateRect(&r));
    const CRect a(1, 2, 10, 12), b(30, 30, 40, 45);
    w.InvalidateRect(&a, FALSE);
    w.InvalidateRect(&b, FALSE);
    EXPECT_TRUE(w.GetUpdateRect(&r));
    EXPECT_EQ(r, CRect(1, 2, 40, 45));
    w.ValidateRect(&a);
    EXPECT_TRUE(w.GetUpdateRect(&r));
    EXPECT_EQ(r, b);
    const CRect outside(60, 60, 70, 70);
    w.ValidateRect(nullptr);
    w.InvalidateRect(&outside);
    EXPECT_FALSE(w.GetUpdateRect(&r)) << "parts outside the client area are dropped";
}

TEST_F(Painting, MoveWithoutRepaintLeavesThePixels) {
    RecordingWnd w(kRed);
    ASSERT_TRUE(w.CreateTop(CRect(0, 0, 50, 50)));
    KivScreen::Get().PaintAll();
    w.MoveWindow(100, 0, 50, 50, FALSE);
    KivScreen::Get().PaintAll();
    EXPECT_EQ(At(10, 10), kRed) << "without repaint nothing is invalidated";
    EXPECT_EQ(w.Count(WM_MOVE), 2);
}
