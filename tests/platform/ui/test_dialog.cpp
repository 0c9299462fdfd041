#include "UiTestSupport.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Resources.h"

namespace {

KivDialogTemplate ColourTemplate() {
    KivDialogTemplate t;
    t.style = WS_CHILD | DS_SETFONT;
    t.cx = 215;
    t.cy = 148;
    t.pointSize = 10;
    t.faceName = L"Times New Roman";
    t.items = {{1000, L"Static", L"Static", 0, 0, 10, 5, 100, 100},
               {1065, L"Static", L"", WS_VISIBLE | SS_BLACKFRAME, 0, 155, 6, 45, 14}};
    return t;
}

class TestDialog : public CDialog {
public:
    int inits = 0, oks = 0, cancels = 0;
    bool controlsExistedAtInit = false;
    BOOL OnInitDialog() override {
        ++inits;
        controlsExistedAtInit = GetDlgItem(1000) && GetDlgItem(1065);
        return CDialog::OnInitDialog();
    }
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
};

}  // namespace

using Dialogs = UiTest;

TEST_F(Dialogs, ControlsArePlacedInDialogUnitsOfTheTemplateFont) {
    CWnd host;
    ASSERT_TRUE(host.Create(nullptr, nullptr, WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
    TestDialog dlg;
    ASSERT_TRUE(dlg.CreateIndirect(ColourTemplate(), &host));
    EXPECT_EQ(dlg.inits, 1);
    EXPECT_TRUE(dlg.controlsExistedAtInit);

    // Base units measured independently through a DC with the same font.
    CFont font;
    font.CreateFontIndirect(&static_cast<const LOGFONTW&>(KivMakeLogFont(L"Times New Roman", -13)));
    MemCanvas c(4, 4);
    c.dc.SelectObject(&font);
    const CSize alphabet = c.dc.GetTextExtent(CString(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const CSize base((alphabet.cx / 26 + 1) / 2, alphabet.cy);
    EXPECT_EQ(dlg.GetBaseUnits(), base);
    EXPECT_EQ(base, CSize(7, 15)) << "Liberation Serif at 13 pixels, like the old 10-point Times New Roman";

    auto px = [&](int dlu, int unit, int per) { return (dlu * unit * 2 + per) / (2 * per); };
    CRect client;
    dlg.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, px(215, base.cx, 4), px(148, base.cy, 8)));
    CRect preview;
    dlg.GetDlgItem(1065)->GetWindowRect(&preview);
    dlg.ScreenToClient(&preview);
    EXPECT_EQ(preview, CRect(px(155, base.cx, 4), px(6, base.cy, 8), px(200, base.cx, 4), px(20, base.cy, 8)));
    EXPECT_EQ(dlg.GetDlgItem(1065)->GetFont(), dlg.GetFont()) << "controls get the dialog font";
    EXPECT_FALSE(dlg.GetDlgItem(1000)->IsWindowVisible());
    EXPECT_FALSE(dlg.IsWindowVisible()) << "the template has no WS_VISIBLE";

    dlg.ShowWindow(SW_SHOW);
    KivScreen::Get().PaintAll();
    CRect frame;
    dlg.GetDlgItem(1065)->GetWindowRect(&frame);
    EXPECT_EQ(KivScreen::Get().GetPixel(frame.left, frame.top), GetSysColor(COLOR_WINDOWFRAME)) << "black frame static";
    EXPECT_EQ(KivScreen::Get().GetPixel(frame.left + 2, frame.top + 2), GetSysColor(COLOR_BTNFACE)) << "dialog face";

    // A frame is hollow: what the dialog draws inside it stays when the frame repaints.
    CRect inside(frame);
    dlg.ScreenToClient(&inside);
    CClientDC dc(&dlg);
    dc.FillSolidRect(&inside, RGB(0, 128, 0));
    dlg.Invalidate(FALSE);
    dlg.ValidateRect(nullptr);
    dlg.GetDlgItem(1065)->Invalidate(TRUE);
    KivScreen::Get().PaintAll();
    EXPECT_EQ(KivScreen::Get().GetPixel(frame.left + 2, frame.top + 2), RGB(0, 128, 0));
    EXPECT_EQ(KivScreen::Get().GetPixel(frame.left, frame.top), GetSysColor(COLOR_WINDOWFRAME));
}

TEST_F(Dialogs, EnterAndEscapeReachOnOkAndOnCancel) {
    TestDialog dlg;
    KivDialogTemplate t = ColourTemplate();
    t.style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    ASSERT_TRUE(dlg.CreateIndirect(t, nullptr));
    EXPECT_TRUE(dlg.IsWindowVisible());
    dlg.SetFocus();
    KivScreen::Get().KeyDown(VK_RETURN);
    KivScreen::Get().KeyDown(VK_ESCAPE);
    EXPECT_EQ(dlg.oks, 1);
    EXPECT_EQ(dlg.cancels, 1);
    EXPECT_TRUE(dlg.IsWindowVisible()) << "these handlers do not close the dialog";
    CDialog plain;
    ASSERT_TRUE(plain.CreateIndirect(t, nullptr));
    plain.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_FALSE(plain.IsWindowVisible()) << "the default OnCancel ends the modeless dialog by hiding it";
    EXPECT_EQ(plain.GetEndResult(), static_cast<int>(IDCANCEL));
    EXPECT_EQ(plain.DoModal(), -1);
}

TEST_F(Dialogs, UnknownControlClassFailsCreation) {
    KivDialogTemplate t = ColourTemplate();
    t.items.push_back({5, L"NoSuchControl", L"", 0, 0, 0, 0, 10, 10});
    CDialog dlg;
    EXPECT_FALSE(dlg.CreateIndirect(t, nullptr));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(Dialogs, ResourcesFollowTheChosenLanguageWithEnglishFallback) {
    KivResourceModule module;
    const HINSTANCE h = module.GetHandle();
    module.AddString(32777, L"Add Key Frame");
    module.AddString(32777, L"\u6dfb\u52a0\u5173\u952e\u5e27", kLangChineseSimplified);
    module.AddString(32778, L"Delete All Key Frames");
    module.AddDialog(130, ColourTemplate());
    CString s;
    EXPECT_TRUE(KivLoadString(h, 32777, s));
    EXPECT_EQ(s, CString(L"Add Key Frame"));
    KivSetResourceLanguage(kLangChineseSimplified);
    EXPECT_TRUE(KivLoadString(h, 32777, s));
    EXPECT_EQ(s, CString(L"\u6dfb\u52a0\u5173\u952e\u5e27"));
    EXPECT_TRUE(KivLoadString(h, 32778, s));
    EXPECT_EQ(s, CString(L"Delete All Key Frames")) << "missing in Chinese, taken from English";
    KivSetResourceLanguage(kLangChineseTraditional);
    EXPECT_TRUE(KivLoadString(h, 32777, s));
    EXPECT_EQ(s, CString(L"Add Key Frame"));
    KivSetResourceLanguage(kLangEnglish);

    wchar_t buf[4];
    EXPECT_EQ(LoadStringW(h, 32777, buf, 4), 3);
    EXPECT_EQ(std::wstring(buf), L"Add");
    EXPECT_EQ(LoadStringW(h, 1, buf, 4), 0);
    EXPECT_TRUE(KivLoadString(nullptr, 32778, s)) << "no module: every module is searched";

    CWnd host;
    ASSERT_TRUE(host.Create(nullptr, nullptr, WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0));
    CDialog orphan;
    EXPECT_FALSE(orphan.Create(h, 130, nullptr)) << "a child dialog needs its parent";
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(h, 130, &host));
    EXPECT_NE(dlg.GetDlgItem(1065), nullptr);
    CDialog missing;
    EXPECT_FALSE(missing.Create(h, 131, &host));
}

TEST(ResourceModules, AModuleThatEndsTakesItsResourcesAlong) {
    HINSTANCE h;
    {
        KivResourceModule module;
        h = module.GetHandle();
        module.AddString(1, L"one");
        EXPECT_TRUE(module.AddBitmap(25001, 2, 1, {RGB(1, 2, 3), RGB(4, 5, 6)}));
        EXPECT_FALSE(module.AddBitmap(25002, 2, 2, {RGB(1, 2, 3)})) << "pixel count must match the size";
        CBitmap bmp;
        ASSERT_TRUE(bmp.LoadBitmap(h, 25001));
        BITMAP info{};
        bmp.GetBitmap(&info);
        EXPECT_EQ(info.bmWidth, 2);
        EXPECT_EQ(KivColorFromPixel(bmp.Surface()->At(1, 0)), RGB(4, 5, 6));
    }
    CString s;
    EXPECT_FALSE(KivLoadString(h, 1, s));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(DialogUnits, MulDivRoundsHalfAwayFromZero) {
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(10, 96, 72), 13);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(1 << 30, 4, 8), 1 << 29) << "no overflow in the product";
}
