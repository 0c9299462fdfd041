// The coordinate window as a host creates and uses it: its three edits built on creation and
// laid out from the right on every size, values in and out, its background, and the edits'
// notifications passed on to the host as the window's own.
#include "keyfrm/editors/CKivFXPosiValueWnd.h"
#include "platform/ui/UiTestSupport.h"

namespace {

constexpr UINT kOwnId = 77;

struct Note {
    UINT id, code;
    HWND from;
    bool operator==(const Note&) const = default;
};

class ValueHost : public RecordingWnd {
public:
    std::vector<Note> notes;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_COMMAND) notes.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
        return RecordingWnd::WindowProc(msg, wParam, lParam);
    }
};

class PosiValueWnd : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, 320, 100), WS_CLIPCHILDREN));
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 310, 34), &host, kOwnId));
        host.notes.clear();
    }
    void TearDown() override {
        wnd.DestroyWindow();
        host.DestroyWindow();
        UiTest::TearDown();
    }
    CRect PlaceOf(UINT id) const {
        CRect r;
        wnd.GetDlgItem(static_cast<int>(id))->GetWindowRect(&r);
        wnd.ScreenToClient(&r);
        return r;
    }
    ValueHost host;
    CKivFXPosiValueWnd wnd;
};

}  // namespace

TEST_F(PosiValueWnd, ItsEditsAreBuiltOnCreationAndLaidOutFromTheRight) {
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CKivFXPosiValueWnd)->CreateObject());
    EXPECT_NE(dynamic_cast<CKivFXPosiValueWnd*>(made.get()), nullptr);
    EXPECT_EQ(wnd.GetBackColor(), RGB(0, 0, 0));
    struct Layout {
        int width, height;
        CRect x, y, z;
    };
    for (const Layout& l : {Layout{300, 24, {233, 0, 298, 24}, {168, 0, 233, 24}, {103, 0, 168, 24}},
                            Layout{100, 10, {33, 0, 98, 10}, {-32, 0, 33, 10}, {-97, 0, -32, 10}}}) {
        wnd.MoveWindow(10, 10, l.width, l.height);
        EXPECT_EQ(PlaceOf(CKivFXPosiValueWnd::kIdX), l.x) << l.width;
        EXPECT_EQ(PlaceOf(CKivFXPosiValueWnd::kIdY), l.y) << l.width;
        EXPECT_EQ(PlaceOf(CKivFXPosiValueWnd::kIdZ), l.z) << l.width;
    }
    for (UINT id : {CKivFXPosiValueWnd::kIdX, CKivFXPosiValueWnd::kIdY, CKivFXPosiValueWnd::kIdZ}) {
        auto* edit = dynamic_cast<CKivAquaEdit*>(wnd.GetDlgItem(static_cast<int>(id)));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->GetMin(), -1000.0);
        EXPECT_EQ(edit->GetMax(), 1000.0);
    }

    wnd.SetValue(12.0, -34.0, 5000.0);
    double x = 0, y = 0, z = 0;
    wnd.GetValue(x, y, z);
    EXPECT_EQ(x, 12.0);
    EXPECT_EQ(y, -34.0);
    EXPECT_EQ(z, 1000.0) << "held in the edit's range";
    wnd.SetValueState(CKivAquaEdit::CE_VALUE_KEYFRAME);
    EXPECT_EQ(wnd.EditZ().GetValueState(), CKivAquaEdit::CE_VALUE_KEYFRAME);
    EXPECT_TRUE(host.notes.empty()) << "values set by the host are not reported back";

    wnd.MoveWindow(10, 10, 300, 24);
    wnd.SetBackColor(RGB(10, 20, 30));
    wnd.Invalidate();
    KivScreen::Get().PaintAll();
    EXPECT_EQ(KivScreen::Get().GetPixel(10 + 1, 10 + 12), RGB(10, 20, 30)) << "left of the edits";
}

TEST_F(PosiValueWnd, TheEditsNotificationsReachTheHostAsTheWindows) {
    struct Case {
        UINT id, code;
        bool forwarded;
    };
    for (const Case& c : {Case{100, 0xCE01, true}, Case{200, 0xCE02, true}, Case{300, 0xDE01, true}, Case{100, 0x0300, false},
                          Case{400, 0xCE01, false}, Case{0, 0xCE02, false}}) {
        host.notes.clear();
        wnd.SendMessage(WM_COMMAND, MAKEWPARAM(c.id, c.code), 0);
        const std::vector<Note> expected =
            c.forwarded ? std::vector<Note>{{kOwnId, c.code, wnd.m_hWnd}} : std::vector<Note>{};
        EXPECT_EQ(host.notes, expected) << c.id << " " << c.code;
    }
    // A change made in an edit arrives as the window's own.
    host.notes.clear();
    wnd.EditY().SetValue(42.0, 1);
    const std::vector<Note> expected = {{kOwnId, CEN_VALUE_CHANGING, wnd.m_hWnd}, {kOwnId, CEN_VALUE_CHANGED, wnd.m_hWnd}};
    EXPECT_EQ(host.notes, expected);
}
