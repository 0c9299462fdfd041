// The numeric edit driven as a person drives it: mouse drags, keys and typing through the
// headless screen, with the parent recording every notification.
#include <cmath>

#include "kivbase/gui/CKivAquaEdit.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/UiTestSupport.h"

namespace {

constexpr int kEditId = 100;

struct Notification {
    int id;
    UINT code;
    HWND from;
};

// Records the WM_COMMAND notifications it gets from its controls.
class EditParent : public RecordingWnd {
public:
    std::vector<Notification> notes;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_COMMAND) notes.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
        return RecordingWnd::WindowProc(msg, wParam, lParam);
    }
    std::vector<UINT> Codes() const {
        std::vector<UINT> codes;
        for (const auto& n : notes) codes.push_back(n.code);
        return codes;
    }
};

class AquaEdit : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(parent.CreateTop(CRect(10, 10, 210, 110)));
        AquaEdit_Describ d = KivAquaEditDescrib(L"X ", kEditId);
        ASSERT_TRUE(edit.AutoCreate(&parent, CRect(20, 20, 120, 40), d));
        KivScreen::Get().PaintAll();
    }
    // A point inside the value box, in screen coordinates.
    CPoint ValuePoint() const {
        CRect r;
        edit.GetWindowRect(&r);
        return CPoint(r.right - 10, r.top + r.Height() / 2);
    }
    EditParent parent;
    CKivAquaEdit edit;
};

using Codes = std::vector<UINT>;

}  // namespace

TEST_F(AquaEdit, TakesItsDescription) {
    EXPECT_EQ(edit.GetDlgCtrlID(), kEditId);
    EXPECT_EQ(edit.GetParent(), &parent);
    EXPECT_EQ(edit.GetMin(), -1000.0);
    EXPECT_EQ(edit.GetMax(), 1000.0);
    EXPECT_EQ(edit.GetValue(), 0.0);
    EXPECT_EQ(edit.GetDisplayText(), CString(L"0"));
    EXPECT_FALSE(edit.AutoCreate(&parent, CRect(), KivAquaEditDescrib(nullptr, 1))) << "already created";
    CKivAquaEdit orphan;
    EXPECT_FALSE(orphan.AutoCreate(nullptr, CRect(), KivAquaEditDescrib(nullptr, 1)));
}

TEST_F(AquaEdit, ValuesFromTheHostAreClampedAndOnlyReportedOnRequest) {
    edit.SetValue(2500.0, 0);
    EXPECT_EQ(edit.GetValue(), 1000.0);
    edit.SetValue(-7.25, 0);
    EXPECT_EQ(edit.GetValue(), -7.25) << "the host's value is kept as given";
    EXPECT_EQ(edit.GetDisplayText(), CString(L"-7"));
    EXPECT_TRUE(parent.notes.empty());
    edit.SetValue(std::nan(""), 1);
    EXPECT_EQ(edit.GetValue(), -7.25) << "NaN is refused";
    edit.SetValue(3.0, 1);
    EXPECT_EQ(parent.Codes(), (Codes{CEN_VALUE_CHANGING, CEN_VALUE_CHANGED}));
    edit.SetValue(3.0, 1);
    EXPECT_EQ(parent.notes.size(), 2u) << "no change, no notification";
    EXPECT_EQ(parent.notes[0].id, kEditId);
    EXPECT_EQ(parent.notes[0].from, edit.m_hWnd);

    edit.SetRange(255.0, 10.0);
    EXPECT_EQ(edit.GetMin(), 10.0);
    EXPECT_EQ(edit.GetMax(), 255.0);
    EXPECT_EQ(edit.GetValue(), 10.0) << "pulled into the new range";
    edit.SetRange(std::nan(""), 5.0);
    EXPECT_EQ(edit.GetMin(), 10.0);
}

TEST_F(AquaEdit, AVerticalDragChangesTheValueOnePerPixel) {
    KivScreen& screen = KivScreen::Get();
    const CPoint p = ValuePoint();
    screen.MouseDown(p);
    EXPECT_EQ(CWnd::GetCapture(), &edit);
    EXPECT_EQ(CWnd::GetFocus(), &edit);
    screen.MouseMove(CPoint(p.x + 30, p.y));
    EXPECT_TRUE(parent.notes.empty()) << "sideways moves change nothing";
    screen.MouseMove(CPoint(p.x, p.y - 5));
    EXPECT_EQ(edit.GetValue(), 5.0);
    screen.MouseMove(CPoint(p.x, p.y - 5));
    screen.MouseMove(CPoint(p.x, p.y + 3));
    EXPECT_EQ(edit.GetValue(), -3.0);
    EXPECT_EQ(parent.Codes(), (Codes{CEN_VALUE_CHANGING, CEN_VALUE_CHANGING}));
    screen.MouseUp(CPoint(p.x, p.y + 3));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(parent.Codes(), (Codes{CEN_VALUE_CHANGING, CEN_VALUE_CHANGING, CEN_VALUE_CHANGED}));

    parent.notes.clear();
    edit.SetRange(0.0, 10.0);
    screen.MouseDown(p);
    screen.MouseMove(CPoint(p.x, p.y - 500));
    EXPECT_EQ(edit.GetValue(), 10.0) << "clamped to the range";
    screen.MouseMove(CPoint(p.x, p.y));
    EXPECT_EQ(edit.GetValue(), 0.0);
    screen.MouseUp(p);
    EXPECT_EQ(parent.Codes(), (Codes{CEN_VALUE_CHANGING, CEN_VALUE_CHANGING})) << "back where it started: no end";
}

TEST_F(AquaEdit, ArrowPageHomeAndEndKeysStepTheValue) {
    KivScreen& screen = KivScreen::Get();
    screen.MouseDown(ValuePoint());
    screen.MouseUp(ValuePoint());
    screen.KeyDown(VK_UP);
    EXPECT_EQ(edit.GetValue(), 1.0);
    EXPECT_EQ(parent.Codes(), (Codes{CEN_VALUE_CHANGING, CEN_VALUE_CHANGED})) << "each key press is a finished change";
    screen.KeyDown(VK_PRIOR);
    EXPECT_EQ(edit.GetValue(), 11.0);
    screen.KeyDown(VK_NEXT);
    screen.KeyDown(VK_DOWN);
    EXPECT_EQ(edit.GetValue(), 0.0);
    screen.KeyDown(VK_END);
    EXPECT_EQ(edit.GetValue(), 1000.0);
    const size_t before = parent.notes.size();
    screen.KeyDown(VK_UP);
    EXPECT_EQ(parent.notes.size(), before) << "nothing sent at the end of the range";
    screen.KeyDown(VK_HOME);
    EXPECT_EQ(edit.GetValue(), -1000.0);
}

TEST_F(AquaEdit, TypedValuesAreEnteredWithEnterInsideADialog) {
    KivDialogTemplate t;
    t.style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    t.cx = 100;
    t.cy = 40;
    t.items = {{kEditId, L"Static", L"", WS_VISIBLE, 0, 5, 5, 60, 12}};
    struct Dlg : CDialog {
        int oks = 0;
        std::vector<UINT> codes;
        void OnOK() override { ++oks; }
        BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override {
            if (id == kEditId) codes.push_back(static_cast<UINT>(code) & 0xFFFF);
            return CDialog::OnCmdMsg(id, code, extra, info);
        }
    } dlg;
    ASSERT_TRUE(dlg.CreateIndirect(t, nullptr));
    CKivAquaEdit typed;
    ASSERT_TRUE(typed.CreateNormalEdit(&dlg, kEditId, AquaEdit_Precision_1));
    EXPECT_EQ(dlg.GetDlgItem(kEditId), &typed) << "the edit takes the placeholder's id";
    typed.SetFocus();
    KivScreen& screen = KivScreen::Get();
    for (wchar_t c : std::wstring(L"12.46")) screen.Char(c);
    EXPECT_TRUE(typed.IsTyping());
    EXPECT_EQ(typed.GetDisplayText(), CString(L"12.46"));
    EXPECT_EQ(typed.GetValue(), 0.0) << "not entered yet";
    screen.KeyDown(VK_RETURN);
    EXPECT_EQ(dlg.oks, 0) << "Enter finishes the typing instead of reaching OnOK";
    EXPECT_DOUBLE_EQ(typed.GetValue(), 12.5) << "rounded to the one decimal shown";
    EXPECT_EQ(dlg.codes, (Codes{CEN_VALUE_CHANGING, DEN_VALUE_ENTERED, CEN_VALUE_CHANGED}));
    screen.KeyDown(VK_RETURN);
    EXPECT_EQ(dlg.oks, 1) << "without typing Enter is the dialog's again";

    dlg.codes.clear();
    for (wchar_t c : std::wstring(L"7-")) screen.Char(c);
    screen.KeyDown(VK_RETURN);
    EXPECT_DOUBLE_EQ(typed.GetValue(), 12.5) << "text that is not a number changes nothing";
    screen.Char(L'9');
    screen.KeyDown(VK_ESCAPE);
    EXPECT_FALSE(typed.IsTyping());
    EXPECT_TRUE(dlg.codes.empty());
    screen.Char(L'4');
    screen.KeyDown(VK_BACK);
    screen.Char(L'5');
    dlg.SetFocus();
    EXPECT_DOUBLE_EQ(typed.GetValue(), 5.0) << "leaving the edit enters what was typed";
    EXPECT_EQ(dlg.codes, (Codes{CEN_VALUE_CHANGING, DEN_VALUE_ENTERED, CEN_VALUE_CHANGED}));
    EXPECT_FALSE(CKivAquaEdit().CreateNormalEdit(&dlg, 999, AquaEdit_Precision_0)) << "no placeholder of that id";
    EXPECT_TRUE(typed.GetLabel().IsEmpty()) << "an empty placeholder gives no label";
}

TEST_F(AquaEdit, ThePlaceholdersTextBecomesTheLabel) {
    KivDialogTemplate t;
    t.style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    t.cx = 100;
    t.cy = 40;
    t.items = {{kEditId, L"Static", L" Blue ", 0, 0, 5, 5, 60, 12}};
    CDialog dlg;
    ASSERT_TRUE(dlg.CreateIndirect(t, nullptr));
    CKivAquaEdit blue;
    ASSERT_TRUE(blue.CreateNormalEdit(&dlg, kEditId, AquaEdit_Precision_0));
    EXPECT_EQ(blue.GetLabel(), CString(L"Blue"));
    EXPECT_TRUE(blue.IsWindowVisible()) << "shown although its placeholder was hidden";
}

TEST_F(AquaEdit, TheKeyframeStateIsDrawnOnAnotherBackground) {
    CRect r;
    edit.GetWindowRect(&r);
    const CPoint inside(r.left + r.Width() / 2, r.top + 3);  // inside the value box, clear of the text
    const COLORREF normal = KivScreen::Get().GetPixel(inside.x, inside.y);
    EXPECT_EQ(normal, RGB(255, 255, 255));
    edit.SetValueState(CKivAquaEdit::CE_VALUE_KEYFRAME);
    KivScreen::Get().PaintAll();
    const COLORREF keyed = KivScreen::Get().GetPixel(inside.x, inside.y);
    EXPECT_NE(keyed, normal);
    EXPECT_EQ(edit.GetValueState(), CKivAquaEdit::CE_VALUE_KEYFRAME);
    edit.SetValueState(CKivAquaEdit::CE_VALUE_NORMAL);
    KivScreen::Get().PaintAll();
    EXPECT_EQ(KivScreen::Get().GetPixel(inside.x, inside.y), normal);
}
