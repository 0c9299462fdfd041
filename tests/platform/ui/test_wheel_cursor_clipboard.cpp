// The wheel, the middle button, the cursor query and the clipboard's text: the general pieces
// a presenter feeds and a host answers.
#include "UiTestSupport.h"
#include "platform/ui/Clipboard.h"

namespace {

// Answers WM_SETCURSOR with a fixed shape (unset: leaves it to the parent).
class CursorWnd : public RecordingWnd {
public:
    KivCursor answer = KivCursor::unset;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_SETCURSOR) {
            messages.push_back({msg, wParam, lParam});
            return static_cast<LRESULT>(answer);
        }
        return RecordingWnd::WindowProc(msg, wParam, lParam);
    }
};

}  // namespace

using WheelAndCursor = UiTest;

TEST_F(WheelAndCursor, TheWheelGoesToTheWindowUnderThePointerNotTheCapture) {
    RecordingWnd parent, child, holder;
    ASSERT_TRUE(parent.CreateTop(CRect(10, 10, 210, 210)));
    ASSERT_TRUE(child.CreateChild(&parent, CRect(10, 10, 60, 60)));
    ASSERT_TRUE(holder.CreateChild(&parent, CRect(100, 100, 150, 150)));
    KivScreen& screen = KivScreen::Get();
    holder.SetCapture();
    screen.SetModifiers(MK_SHIFT);
    screen.MouseWheel(CPoint(30, 30), -2 * WHEEL_DELTA);
    screen.SetModifiers(0);
    ReleaseCapture();
    ASSERT_EQ(child.Count(WM_MOUSEWHEEL), 1);
    EXPECT_EQ(holder.Count(WM_MOUSEWHEEL), 0);
    const RecordedMessage* m = child.Last(WM_MOUSEWHEEL);
    EXPECT_EQ(static_cast<short>(HIWORD(static_cast<DWORD_PTR>(m->wParam))), -2 * WHEEL_DELTA) << "signed turn";
    EXPECT_EQ(LOWORD(static_cast<DWORD_PTR>(m->wParam)), MK_SHIFT);
    EXPECT_EQ(CPoint(GET_X_LPARAM(m->lParam), GET_Y_LPARAM(m->lParam)), CPoint(30, 30)) << "screen coordinates";
    screen.MouseWheel(CPoint(300, 230), WHEEL_DELTA);  // over no window: nothing, no crash

    screen.MouseDown(CPoint(30, 30), MK_MBUTTON);
    screen.MouseUp(CPoint(30, 30), MK_MBUTTON);
    EXPECT_EQ(child.Count(WM_MBUTTONDOWN), 1);
    EXPECT_EQ(child.Count(WM_MBUTTONUP), 1);
    EXPECT_EQ(child.Last(WM_MBUTTONDOWN)->wParam & MK_MBUTTON, MK_MBUTTON);
    EXPECT_EQ(child.Last(WM_MBUTTONUP)->wParam & MK_MBUTTON, 0u) << "released";
}

TEST_F(WheelAndCursor, TheCursorIsAskedFromTheDeepestWindowUpToTheFirstThatAnswers) {
    CursorWnd top, middle, leaf;
    ASSERT_TRUE(top.CreateTop(CRect(0, 0, 200, 200)));
    ASSERT_TRUE(middle.CreateChild(&top, CRect(0, 0, 100, 100)));
    ASSERT_TRUE(leaf.CreateChild(&middle, CRect(0, 0, 50, 50)));
    KivScreen& screen = KivScreen::Get();
    EXPECT_EQ(screen.CursorAt(CPoint(10, 10)), KivCursor::arrow) << "none answers: the arrow";
    EXPECT_EQ(leaf.Count(WM_SETCURSOR) + middle.Count(WM_SETCURSOR) + top.Count(WM_SETCURSOR), 3);
    top.answer = KivCursor::move;
    EXPECT_EQ(screen.CursorAt(CPoint(10, 10)), KivCursor::move) << "the parent answers for its children";
    middle.answer = KivCursor::text;
    EXPECT_EQ(screen.CursorAt(CPoint(10, 10)), KivCursor::text) << "the nearer window wins";
    EXPECT_EQ(reinterpret_cast<HWND>(middle.Last(WM_SETCURSOR)->wParam), leaf.m_hWnd) << "wParam: the window under the pointer";
    EXPECT_EQ(screen.CursorAt(CPoint(150, 150)), KivCursor::move);
    EXPECT_EQ(screen.CursorAt(CPoint(300, 230)), KivCursor::arrow) << "off every window";
}

TEST(Clipboard, TextStaysInTheProcessUntilAHandlerTakesOver) {
    KivSetClipboardHandler({});
    EXPECT_TRUE(KivSetClipboardText("caf\xc3\xa9"));
    EXPECT_EQ(KivGetClipboardText(), std::optional<std::string>("caf\xc3\xa9"));
    std::string external;
    KivClipboardHandler previous = KivSetClipboardHandler(
        {[&](const std::string& t) { return external = t, true; }, [&]() -> std::optional<std::string> { return external; }});
    EXPECT_FALSE(previous.set) << "the process's own clipboard has no handler";
    KivSetClipboardText("other");
    EXPECT_EQ(external, "other");
    KivSetClipboardHandler({});
    EXPECT_EQ(KivGetClipboardText(), std::optional<std::string>("caf\xc3\xa9")) << "the process's own text is back";
}
