#include "UiTestSupport.h"

namespace {

// Takes the capture on the left button and gives it back on release.
class DragWnd : public RecordingWnd {
protected:
    void OnLButtonDown(UINT, CPoint) override { SetCapture(); }
    void OnLButtonUp(UINT, CPoint) override { ReleaseCapture(); }
};

CPoint PointOf(const RecordedMessage* m) { return CPoint(GET_X_LPARAM(m->lParam), GET_Y_LPARAM(m->lParam)); }

}  // namespace

using MouseRouting = UiTest;

TEST_F(MouseRouting, TheTopmostWindowUnderThePointGetsTheClickInClientCoordinates) {
    RecordingWnd parent, low, high, hidden;
    ASSERT_TRUE(parent.CreateTop(CRect(10, 10, 210, 210)));
    ASSERT_TRUE(low.CreateChild(&parent, CRect(10, 10, 60, 60)));
    ASSERT_TRUE(high.CreateChild(&parent, CRect(40, 40, 90, 90)));
    ASSERT_TRUE(hidden.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 200, 200), &parent, 9));
    KivScreen& screen = KivScreen::Get();
    screen.MouseDown(CPoint(65, 65));
    ASSERT_EQ(high.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(low.Count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(PointOf(high.Last(WM_LBUTTONDOWN)), CPoint(15, 15));
    EXPECT_EQ(high.Last(WM_LBUTTONDOWN)->wParam, MK_LBUTTON);
    screen.MouseUp(CPoint(65, 65));
    low.BringWindowToTop();
    screen.MouseDown(CPoint(65, 65), MK_RBUTTON);
    EXPECT_EQ(low.Count(WM_RBUTTONDOWN), 1);
    screen.MouseUp(CPoint(65, 65), MK_RBUTTON);
    screen.MouseDown(CPoint(150, 150));
    EXPECT_EQ(parent.Count(WM_LBUTTONDOWN), 1) << "hidden windows are skipped";
    screen.MouseUp(CPoint(150, 150));
    low.EnableWindow(FALSE);
    screen.MouseDown(CPoint(25, 25));
    EXPECT_EQ(parent.Count(WM_LBUTTONDOWN), 2) << "a disabled child passes the click to its parent";
    EXPECT_EQ(screen.WindowFromPoint(CPoint(5, 5)), nullptr);
}

TEST_F(MouseRouting, ADragThatLeavesTheWindowKeepsReachingIt) {
    DragWnd target;
    RecordingWnd other;
    ASSERT_TRUE(target.CreateTop(CRect(10, 10, 60, 60)));
    ASSERT_TRUE(other.CreateTop(CRect(100, 10, 200, 110)));
    KivScreen& screen = KivScreen::Get();
    screen.MouseDown(CPoint(20, 20));
    EXPECT_EQ(CWnd::GetCapture(), &target);
    screen.MouseMove(CPoint(150, 50));
    screen.MouseMove(CPoint(2, 3));
    EXPECT_EQ(other.Count(WM_MOUSEMOVE), 0);
    ASSERT_EQ(target.Count(WM_MOUSEMOVE), 2);
    EXPECT_EQ(PointOf(target.Last(WM_MOUSEMOVE)), CPoint(-8, -7)) << "negative client coordinates survive";
    EXPECT_EQ(target.Last(WM_MOUSEMOVE)->wParam, MK_LBUTTON);
    screen.MouseUp(CPoint(150, 50));
    EXPECT_EQ(target.Count(WM_LBUTTONUP), 1);
    EXPECT_EQ(target.Count(WM_CAPTURECHANGED), 1);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    screen.MouseMove(CPoint(150, 50));
    EXPECT_EQ(other.Count(WM_MOUSEMOVE), 1) << "without capture the window under the point gets moves";
    EXPECT_EQ(other.Last(WM_MOUSEMOVE)->wParam, 0u);

    screen.MouseDown(CPoint(20, 20));
    target.DestroyWindow();
    EXPECT_EQ(CWnd::GetCapture(), nullptr) << "destroying the capture window ends the capture";
    screen.MouseUp(CPoint(150, 50));
    EXPECT_EQ(other.Count(WM_LBUTTONUP), 1);
}
