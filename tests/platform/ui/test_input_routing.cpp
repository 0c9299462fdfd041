// Input seen first by PreTranslateMessage up the parents, the modifiers as GetKeyState
// reads them, maximized windows following the screen, and the screen's changed area that
// presenters copy.
#include <algorithm>

#include "platform/ui/UiTestSupport.h"

namespace {

/// Keeps the messages named in `keep` and records every message it is shown first.
class Filter : public RecordingWnd {
public:
    std::vector<UINT> keep;
    std::vector<MSG> seen;
    BOOL PreTranslateMessage(MSG* msg) override {
        seen.push_back(*msg);
        return std::find(keep.begin(), keep.end(), msg->message) != keep.end();
    }
};

}  // namespace

using InputRouting = UiTest;

TEST_F(InputRouting, ParentsSeeInputFirstAndMayKeepIt) {
    struct Case {
        const char* what;
        std::vector<UINT> keptByParent;
        UINT sent;
        bool childGetsIt;
    };
    const Case cases[] = {
        {"a key nobody keeps", {}, WM_KEYDOWN, true},
        {"a key the parent keeps", {WM_KEYDOWN}, WM_KEYDOWN, false},
        {"a character the parent keeps", {WM_CHAR}, WM_CHAR, false},
        {"a press the parent keeps", {WM_LBUTTONDOWN}, WM_LBUTTONDOWN, false},
        {"a press when the parent keeps only keys", {WM_KEYDOWN}, WM_LBUTTONDOWN, true},
    };
    for (const Case& c : cases) {
        Filter parent;
        Filter child;
        ASSERT_TRUE(parent.CreateTop(CRect(0, 0, 100, 100)));
        ASSERT_TRUE(child.CreateChild(&parent, CRect(10, 10, 50, 50)));
        parent.keep = c.keptByParent;
        child.SetFocus();
        KivScreen& screen = KivScreen::Get();
        if (c.sent == WM_KEYDOWN) screen.KeyDown(VK_F1);
        if (c.sent == WM_CHAR) screen.Char(L'a');
        if (c.sent == WM_LBUTTONDOWN) screen.MouseDown(CPoint(20, 30));
        screen.MouseUp(CPoint(20, 30));
        ASSERT_FALSE(parent.seen.empty()) << c.what;
        EXPECT_EQ(parent.seen.front().message, c.sent) << c.what;
        EXPECT_EQ(parent.seen.front().hwnd, child.m_hWnd) << c.what << ": the message names the window it goes to";
        ASSERT_FALSE(child.seen.empty()) << c.what << ": the window it goes to looks first";
        EXPECT_EQ(child.Count(c.sent) == 1, c.childGetsIt) << c.what;
        if (c.sent == WM_LBUTTONDOWN) {
            EXPECT_EQ(parent.seen.front().pt.x, 20) << c.what << ": screen coordinates";
            EXPECT_EQ(child.Last(WM_LBUTTONUP) ? GET_Y_LPARAM(child.Last(WM_LBUTTONUP)->lParam) : -1, 20) << c.what;
        }
    }
}

TEST_F(InputRouting, AWindowThatGoesAwayWhileLookingGetsNothing) {
    class Closer : public Filter {
    public:
        CWnd* victim = nullptr;
        BOOL PreTranslateMessage(MSG*) override {
            victim->DestroyWindow();
            return FALSE;
        }
    };
    Closer parent;
    RecordingWnd child;
    ASSERT_TRUE(parent.CreateTop(CRect(0, 0, 100, 100)));
    ASSERT_TRUE(child.CreateChild(&parent, CRect(10, 10, 50, 50)));
    parent.victim = &child;
    child.SetFocus();
    KivScreen::Get().KeyDown(VK_LEFT);
    EXPECT_EQ(child.m_hWnd, nullptr);
    EXPECT_EQ(child.Count(WM_KEYDOWN), 0);
}

TEST_F(InputRouting, ModifierKeysAreHeldUntilReleased) {
    KivScreen& screen = KivScreen::Get();
    screen.SetModifiers(0);
    struct Step {
        void (KivScreen::*press)(UINT);
        UINT vk;
        bool control, shift;
    };
    const Step steps[] = {
        {&KivScreen::KeyDown, VK_CONTROL, true, false}, {&KivScreen::KeyDown, VK_SHIFT, true, true},
        {&KivScreen::KeyDown, 'Z', true, true},         {&KivScreen::KeyUp, VK_CONTROL, false, true},
        {&KivScreen::KeyUp, VK_SHIFT, false, false},
    };
    for (const Step& s : steps) {
        (screen.*s.press)(s.vk);
        EXPECT_EQ(GetKeyState(VK_CONTROL) < 0, s.control) << s.vk;
        EXPECT_EQ(GetKeyState(VK_SHIFT) < 0, s.shift) << s.vk;
        EXPECT_EQ(GetKeyState('Z'), 0) << "other keys read as up";
    }
    screen.SetModifiers(MK_CONTROL);
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    screen.SetModifiers(0);
}

TEST_F(InputRouting, MaximizedWindowsCoverTheScreenAndFollowItsSize) {
    RecordingWnd big, plain;
    ASSERT_TRUE(big.CreateTop(CRect(5, 5, 20, 20), WS_MAXIMIZE));
    ASSERT_TRUE(plain.CreateTop(CRect(5, 5, 20, 20)));
    CRect r;
    big.GetWindowRect(&r);
    EXPECT_EQ(r, CRect(0, 0, 320, 240));
    KivScreen::Get().Resize(500, 300);
    big.GetWindowRect(&r);
    EXPECT_EQ(r, CRect(0, 0, 500, 300));
    ASSERT_NE(big.Last(WM_SIZE), nullptr);
    EXPECT_EQ(big.Last(WM_SIZE)->lParam, MAKELPARAM(500, 300));
    plain.GetWindowRect(&r);
    EXPECT_EQ(r, CRect(5, 5, 20, 20)) << "other windows stay where they are";
}

TEST_F(InputRouting, TheChangedAreaCoversWhatWasPaintedSinceItWasTaken) {
    KivScreen& screen = KivScreen::Get();
    screen.Resize(320, 240);
    EXPECT_EQ(screen.TakeChangedArea(), CRect(0, 0, 320, 240)) << "a resize changes everything";
    screen.PaintAll();
    screen.TakeChangedArea();
    EXPECT_TRUE(screen.TakeChangedArea().IsRectEmpty()) << "taken means forgotten";

    RecordingWnd a, b;
    ASSERT_TRUE(a.CreateTop(CRect(10, 10, 50, 40)));
    ASSERT_TRUE(b.CreateTop(CRect(100, 100, 120, 150)));
    screen.PaintAll();
    screen.TakeChangedArea();
    const CRect part(5, 5, 15, 12);
    a.InvalidateRect(&part);
    screen.PaintAll();
    EXPECT_EQ(screen.TakeChangedArea(), CRect(15, 15, 25, 22)) << "only the invalid part, on the screen";
    a.InvalidateRect(&part);
    b.Invalidate();
    screen.PaintAll();
    EXPECT_EQ(screen.TakeChangedArea(), CRect(15, 15, 120, 150)) << "the bounds of both";
    screen.PaintAll();
    EXPECT_TRUE(screen.TakeChangedArea().IsRectEmpty()) << "painting nothing changes nothing";

    // As rectangles: both parts, not the space between them.
    a.InvalidateRect(&part);
    b.Invalidate();
    screen.PaintAll();
    const std::vector<CRect> rects = screen.TakeChangedRects();
    long area = 0;
    for (const CRect& r : rects) area += static_cast<long>(r.Width()) * r.Height();
    EXPECT_EQ(area, 10 * 7 + 20 * 50) << "each part once";
    for (CPoint p : {CPoint(15, 15), CPoint(24, 21), CPoint(100, 100), CPoint(119, 149)})
        EXPECT_TRUE(std::any_of(rects.begin(), rects.end(), [&](const CRect& r) { return r.PtInRect(p) != FALSE; }))
            << p.x << "," << p.y;
    EXPECT_TRUE(screen.TakeChangedRects().empty()) << "taken means forgotten";
}
