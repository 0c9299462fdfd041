#include "UiTestSupport.h"

namespace {

std::vector<UINT> Sequence(const RecordingWnd& w) {
    std::vector<UINT> out;
    for (const auto& m : w.messages) out.push_back(m.msg);
    return out;
}

class RefusingWnd : public CWnd {
protected:
    int OnCreate(LPCREATESTRUCT) override { return -1; }
};

// Logs destruction order into a shared list.
class DestroyLogWnd : public CWnd {
public:
    DestroyLogWnd(std::vector<int>& log, int tag) : m_log(log), m_tag(tag) {}
    std::vector<int>& m_log;
    int m_tag;

protected:
    void OnDestroy() override { m_log.push_back(m_tag); }
    void PostNcDestroy() override { m_log.push_back(100 + m_tag); }
};

class CommandParent : public RecordingWnd {
public:
    UINT lastId = 0;
    int lastCode = -1;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override {
        if (id == 7) {
            lastId = id;
            lastCode = code;
            return TRUE;
        }
        return RecordingWnd::OnCmdMsg(id, code, extra, info);
    }
};

}  // namespace

using WindowTree = UiTest;

TEST_F(WindowTree, CreationSendsCreateSizeMoveAndLinksTheTree) {
    RecordingWnd top, child;
    ASSERT_TRUE(top.CreateTop(CRect(10, 20, 110, 100)));
    ASSERT_TRUE(child.CreateChild(&top, CRect(5, 6, 45, 36), 42));
    EXPECT_EQ(Sequence(child), (std::vector<UINT>{WM_CREATE, WM_SIZE, WM_MOVE}));
    EXPECT_EQ(child.Last(WM_SIZE)->lParam, MAKELPARAM(40, 30));
    EXPECT_EQ(child.GetParent(), &top);
    EXPECT_EQ(top.GetDlgItem(42), &child);
    EXPECT_EQ(top.GetDlgItem(43), nullptr);
    CRect r;
    child.GetWindowRect(&r);
    EXPECT_EQ(r, CRect(15, 26, 55, 56));
    CPoint p(1, 2);
    child.ClientToScreen(&p);
    EXPECT_EQ(p, CPoint(16, 28));
    child.ScreenToClient(&p);
    EXPECT_EQ(p, CPoint(1, 2));
    EXPECT_FALSE(child.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 1, 1), &top, 1)) << "already created";
}

TEST_F(WindowTree, CreationFailuresLeaveNoWindow) {
    CWnd orphan, unknown;
    EXPECT_FALSE(orphan.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), nullptr, 1)) << "a child needs a parent";
    EXPECT_FALSE(unknown.Create(L"NoSuchClass", nullptr, WS_POPUP, CRect(0, 0, 10, 10), nullptr, 1));
    RefusingWnd refusing;
    EXPECT_FALSE(refusing.Create(nullptr, nullptr, WS_POPUP, CRect(0, 0, 10, 10), nullptr, 1));
    EXPECT_EQ(refusing.m_hWnd, nullptr);
}

TEST_F(WindowTree, DestroyTellsParentBeforeChildrenAndEndsHandles) {
    std::vector<int> log;
    DestroyLogWnd top(log, 1), child(log, 2);
    ASSERT_TRUE(top.Create(nullptr, nullptr, WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &top, 3));
    const HWND childHandle = child.m_hWnd;
    ASSERT_TRUE(top.DestroyWindow());
    EXPECT_EQ(log, (std::vector<int>{1, 2, 102, 101}));
    EXPECT_FALSE(IsWindow(childHandle));
    EXPECT_EQ(child.m_hWnd, nullptr);
    EXPECT_EQ(SendMessageW(childHandle, WM_USER), 0) << "a stale handle reaches nothing";
    EXPECT_FALSE(top.DestroyWindow());
}

TEST_F(WindowTree, FontIsKeptByHandleThroughSetFontAndGetFont) {
    RecordingWnd w;
    ASSERT_TRUE(w.CreateTop(CRect(0, 0, 20, 20)));
    auto font = std::make_unique<CFont>();
    font->CreatePointFont(90, L"System Fonts");
    w.SetFont(font.get());
    EXPECT_EQ(w.GetFont(), font.get());
    EXPECT_EQ(w.Count(WM_SETFONT), 1);
    font.reset();
    EXPECT_EQ(w.GetFont(), nullptr) << "a deleted font is not handed out";
}

TEST_F(WindowTree, KeyboardGoesToTheFocus) {
    RecordingWnd a, b;
    ASSERT_TRUE(a.CreateTop(CRect(0, 0, 20, 20)));
    ASSERT_TRUE(b.CreateTop(CRect(30, 0, 50, 20)));
    EXPECT_EQ(a.SetFocus(), nullptr);
    EXPECT_EQ(b.SetFocus(), &a);
    EXPECT_EQ(a.Count(WM_KILLFOCUS), 1);
    EXPECT_EQ(b.Count(WM_SETFOCUS), 1);
    KivScreen::Get().KeyDown(VK_LEFT);
    KivScreen::Get().Char(L'x');
    ASSERT_NE(b.Last(WM_KEYDOWN), nullptr);
    EXPECT_EQ(b.Last(WM_KEYDOWN)->wParam, VK_LEFT);
    EXPECT_EQ(b.Last(WM_CHAR)->wParam, static_cast<WPARAM>(L'x'));
    EXPECT_EQ(a.Count(WM_KEYDOWN), 0);
    b.DestroyWindow();
    EXPECT_EQ(CWnd::GetFocus(), nullptr);
    KivScreen::Get().KeyDown(VK_RIGHT);
    EXPECT_EQ(a.Count(WM_KEYDOWN), 0);
}

TEST_F(WindowTree, CommandsCarryTheirNotificationCode) {
    CommandParent parent;
    ASSERT_TRUE(parent.CreateTop(CRect(0, 0, 20, 20)));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(7, 0xCE01), 0);
    EXPECT_EQ(parent.lastId, 7u);
    EXPECT_EQ(parent.lastCode, 0xCE01);
    EXPECT_EQ(parent.SendMessage(WM_COMMAND, MAKEWPARAM(8, 0), 0), 0) << "unhandled commands fall to the default";
}

TEST(RegisteredMessages, SameNameSameIdFromC000) {
    const UINT a = RegisterWindowMessageW(L"WM_MODIFY_FROM_INSKFWND");
    const UINT b = RegisterWindowMessageW(L"WM_MODIFY_FROM_INSKFDLG");
    EXPECT_GE(a, 0xC000u);
    EXPECT_GE(b, 0xC000u);
    EXPECT_NE(a, b);
    EXPECT_EQ(RegisterWindowMessageW(L"WM_MODIFY_FROM_INSKFWND"), a);
    EXPECT_EQ(RegisterWindowMessageW(L"wm_modify_from_inskfwnd"), a) << "names compare without case";
    EXPECT_EQ(RegisterWindowMessageW(L""), 0u);
    EXPECT_EQ(RegisterWindowMessageW(nullptr), 0u);
}

namespace {
// Made before any window-system state exists and ended after main returns: their
// destructors must still find that state (checked by the sanitizer build at exit).
CFont g_lateFont;
CMenu g_lateMenu;
CWnd g_lateWnd;
}  // namespace

TEST(StaticLifetime, ObjectsEndingAfterMainStillWork) {
    EXPECT_TRUE(g_lateFont.CreatePointFont(90, L"Arial"));
    EXPECT_TRUE(g_lateMenu.CreatePopupMenu());
    EXPECT_TRUE(g_lateWnd.Create(nullptr, nullptr, WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    g_lateWnd.SetFont(&g_lateFont);
}

TEST_F(WindowTree, TextDoubleClicksAndDialogKeysForControlsThatWantThem) {
    RecordingWnd w;
    ASSERT_TRUE(w.CreateTop(CRect(0, 0, 40, 40)));
    w.SetWindowText(L"Curve");
    CString text;
    w.GetWindowText(text);
    EXPECT_EQ(text, CString(L"Curve"));
    EXPECT_EQ(w.GetWindowTextLength(), 5);
    KivScreen::Get().MouseDoubleClick(CPoint(5, 5));
    EXPECT_EQ(w.Count(WM_LBUTTONDBLCLK), 1);
    KivScreen::Get().MouseUp(CPoint(5, 5));
    w.SetFocus();
    KivScreen::Get().KeyDown(VK_RETURN);
    EXPECT_EQ(w.Count(WM_KEYDOWN), 1) << "outside a dialog Enter is an ordinary key";
}

TEST_F(WindowTree, UnreleasedDcsAndWrappersEndWithTheirOwners) {
    auto w = std::make_unique<RecordingWnd>();
    ASSERT_TRUE(w->CreateTop(CRect(0, 0, 40, 40)));
    ASSERT_NE(w->GetDC(), nullptr);  // never released: freed with the window
    CMenu menu;
    menu.CreatePopupMenu();
    CMenu sub;
    sub.CreatePopupMenu();
    ASSERT_TRUE(menu.AppendMenuW(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), L"More"));
    EXPECT_NE(menu.GetSubMenu(0), nullptr);
    EXPECT_EQ(menu.GetMenuItemID(0), kMenuNoItem) << "a popup item has no command id";
    w.reset();
    EXPECT_TRUE(menu.DestroyMenu());
}

TEST_F(WindowTree, ACommandThatDestroysItsOwnerEndsSafely) {
    class SelfDestroying : public CWnd {
    public:
        BOOL OnCmdMsg(UINT id, int, void*, AFX_CMDHANDLERINFO*) override {
            if (id != 5) return FALSE;
            DestroyWindow();
            return TRUE;
        }
    };
    SelfDestroying owner;
    ASSERT_TRUE(owner.Create(nullptr, nullptr, WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenuW(MF_STRING, 5, L"Close");
    KivSetPopupMenuHandler([](const CMenu&, CPoint) { return 5u; });
    EXPECT_TRUE(menu.TrackPopupMenu(0, 0, 0, &owner));
    EXPECT_EQ(owner.m_hWnd, nullptr);
    EXPECT_FALSE(menu.TrackPopupMenu(0, 0, 0, &owner)) << "the owner is gone: nothing is tracked";
}
