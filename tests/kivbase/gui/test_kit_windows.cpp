// The kit's tool tip, skinned dialog, auto-maker and module resource helpers.
#include "kivbase/gui/CKivAquaAutoMaker.h"
#include "kivbase/gui/CKivAquaBaseDlg.h"
#include "kivbase/gui/CKivModuleRC.h"
#include "kivbase/gui/CKivToolTipDlg.h"
#include "platform/ui/Resources.h"
#include "platform/ui/UiTestSupport.h"

namespace {

constexpr UINT kTemplateId = 130;
constexpr UINT kPlaceholderId = 1005;
constexpr UINT kAddKeyFrame = 32777;
constexpr UINT kBitmapId = 25001;

KivDialogTemplate ChildTemplate() {
    KivDialogTemplate t;
    t.style = WS_CHILD | DS_SETFONT;
    t.cx = 199;
    t.cy = 100;
    t.pointSize = 10;
    t.faceName = L"Times New Roman";
    t.items = {{kPlaceholderId, L"Static", L"Static", 0, 0, 10, 10, 40, 12}};
    return t;
}

class KitDialog : public CKivAquaBaseDlg {
public:
    explicit KitDialog(CWnd* parent) : CKivAquaBaseDlg(kTemplateId, parent) {}
    CKivAquaAutoMaker maker;
    CKivToolTipDlg tip;
    int inits = 0;
    BOOL OnInitDialog() override {
        ++inits;
        maker.AutoMake(this);
        CKivAquaBaseDlg::OnInitDialog();
        tip.Create(this);
        tip.ShowWindow(SW_HIDE);
        return TRUE;
    }
};

}  // namespace

using KitWindows = UiTest;

TEST_F(KitWindows, TheToolTipShowsItsTextWhereItIsPut) {
    RecordingWnd owner;
    ASSERT_TRUE(owner.CreateTop(CRect(0, 0, 100, 100)));
    CKivToolTipDlg tip;
    ASSERT_TRUE(tip.Create(&owner));
    EXPECT_FALSE(tip.Create(&owner));
    EXPECT_FALSE(tip.IsWindowVisible()) << "created hidden";
    EXPECT_EQ(tip.GetParent(), &owner) << "owned, not a child";
    tip.SetToolTipText(L"125");
    tip.UpdateTip(CPoint(150, 120));
    tip.ShowWindow(SW_SHOWNA);
    KivScreen& screen = KivScreen::Get();
    screen.PaintAll();
    CRect r;
    tip.GetWindowRect(&r);
    EXPECT_EQ(r.TopLeft(), CPoint(150, 120));
    EXPECT_GT(r.Width(), 10);
    EXPECT_EQ(screen.GetPixel(r.left, r.top), RGB(0, 0, 0)) << "frame";
    EXPECT_EQ(screen.GetPixel(r.left + 1, r.top + 1), RGB(255, 255, 225)) << "tip background";
    int ink = 0;
    for (int y = r.top + 1; y < r.bottom - 1; ++y)
        for (int x = r.left + 1; x < r.right - 1; ++x) ink += screen.GetPixel(x, y) != RGB(255, 255, 225);
    EXPECT_GT(ink, 10) << "the text is drawn";

    tip.SetToolTipText(L"125000");
    CRect wider;
    tip.GetWindowRect(&wider);
    EXPECT_GT(wider.Width(), r.Width()) << "sized to its text";
    tip.UpdateTip(CPoint(10000, -40));
    tip.GetWindowRect(&r);
    EXPECT_EQ(r.right, screen.GetWidth()) << "kept on the screen";
    EXPECT_EQ(r.top, 0);
    owner.DestroyWindow();
    EXPECT_EQ(tip.m_hWnd, nullptr) << "goes with its owner";
}

TEST_F(KitWindows, TheBaseDialogIsMadeFromItsModulesTemplate) {
    KivResourceModule module;
    module.AddDialog(kTemplateId, ChildTemplate());
    RecordingWnd host;
    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 320, 240)));
    KitDialog dlg(&host);
    dlg.maker.AddEdit(KivAquaEditDescrib(L"R", kPlaceholderId));
    EXPECT_EQ(dlg.DlgCreate(module.GetHandle(), &host, 131), 0) << "no such template";
    ASSERT_EQ(dlg.DlgCreate(module.GetHandle(), &host, kTemplateId), 1);
    EXPECT_EQ(dlg.DlgCreate(module.GetHandle(), &host, kTemplateId), 0) << "already created";
    EXPECT_EQ(dlg.inits, 1);
    EXPECT_EQ(dlg.GetResourceHandle(), module.GetHandle());
    EXPECT_EQ(dlg.ThisWnd(), &dlg);
    CRect title;
    EXPECT_FALSE(dlg.VyGetTitleRect(title)) << "a child dialog has no title strip";
    EXPECT_TRUE(title.IsRectEmpty());

    CKivAquaEdit* edit = dlg.maker.GetEdit(kPlaceholderId);
    ASSERT_NE(edit, nullptr) << "the auto-maker replaced the placeholder";
    EXPECT_EQ(dlg.GetDlgItem(kPlaceholderId), edit);
    EXPECT_NE(dlg.tip.m_hWnd, nullptr);
    EXPECT_FALSE(dlg.tip.IsWindowVisible());

    dlg.ShowWindow(SW_SHOW);
    KivScreen::Get().PaintAll();
    CRect client;
    dlg.GetWindowRect(&client);
    const CPoint corner(client.left + 2, client.bottom - 2);
    EXPECT_EQ(KivScreen::Get().GetPixel(corner.x, corner.y), GetSysColor(COLOR_BTNFACE)) << "the skin's face";
    dlg.VyOnLock(TRUE);
    EXPECT_TRUE(dlg.VyIsLocked());
    dlg.VyOnLock(FALSE);
    EXPECT_FALSE(dlg.VyIsLocked());
}

TEST_F(KitWindows, ACaptionedDialogHasATitleStripWithACloseBox) {
    KivDialogTemplate t = ChildTemplate();
    t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT;
    t.caption = L"Curve";
    KivResourceModule module;
    module.AddDialog(kTemplateId, t);
    KitDialog dlg(nullptr);
    ASSERT_EQ(dlg.DlgCreate(module.GetHandle(), nullptr, kTemplateId), 1);
    CRect title, close;
    ASSERT_TRUE(dlg.VyGetTitleRect(title));
    EXPECT_EQ(title.Height(), CVyFrameSkin::kTitleHeight);
    ASSERT_TRUE(dlg.VyGetTitleItemRect(0, close));
    EXPECT_FALSE(dlg.VyGetTitleItemRect(1, close));
    dlg.VyGetTitleItemRect(0, close);
    EXPECT_TRUE(title.PtInRect(close.TopLeft()));
    KivScreen::Get().PaintAll();
    CRect onScreen;
    dlg.GetWindowRect(&onScreen);
    EXPECT_EQ(KivScreen::Get().GetPixel(onScreen.left + 1, onScreen.top + 1), RGB(10, 36, 106)) << "title strip";
}

TEST_F(KitWindows, MenuItemsAndBitmapsComeFromTheModule) {
    KivResourceModule module;
    module.AddString(kAddKeyFrame, L"Add Key Frame");
    ASSERT_TRUE(module.AddBitmap(kBitmapId, 2, 1, {RGB(1, 2, 3), RGB(4, 5, 6)}));
    const HINSTANCE h = module.GetHandle();
    CMenu menu;
    EXPECT_EQ(CKivModuleRC::AppendMenuW(h, &menu, kAddKeyFrame, 0), 0) << "a menu without a handle";
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_EQ(CKivModuleRC::AppendMenuW(h, &menu, kAddKeyFrame, MF_CHECKED), 1);
    EXPECT_EQ(CKivModuleRC::AppendMenuW(h, &menu, 4242, 0), 0) << "no text, no item";
    EXPECT_EQ(CKivModuleRC::AppendMenuW(h, nullptr, kAddKeyFrame, 0), 0);
    ASSERT_EQ(menu.GetMenuItemCount(), 1);
    CString text;
    menu.GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, CString(L"Add Key Frame"));
    EXPECT_EQ(menu.GetMenuState(kAddKeyFrame, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(CKivModuleRC::LoadStringW(h, kAddKeyFrame), CString(L"Add Key Frame"));

    CBitmap bmp;
    EXPECT_EQ(CKivModuleRC::LoadBitmapW(h, 9999, bmp), 0);
    EXPECT_EQ(bmp.m_hObject, nullptr);
    ASSERT_EQ(CKivModuleRC::LoadBitmapW(h, kBitmapId, bmp), 1);
    ASSERT_EQ(CKivModuleRC::LoadBitmapW(h, kBitmapId, bmp), 1) << "loading again replaces the bitmap";
    EXPECT_EQ(KivColorFromPixel(bmp.Surface()->At(1, 0)), RGB(4, 5, 6));
}
