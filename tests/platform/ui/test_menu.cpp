#include "UiTestSupport.h"
#include "platform/ui/Resources.h"

namespace {

constexpr UINT kLinear = 32779, kBezier = 32780, kNone = 32781, kLinkage = 32782;

void BuildCurveMenu(CMenu& menu) {
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenuW(MF_STRING, kLinear, L"Linear Interpolation");
    menu.AppendMenuW(MF_STRING | MF_CHECKED, kBezier, L"Bezier Interpolation");
    menu.AppendMenuW(MF_SEPARATOR);
    menu.AppendMenuW(MF_STRING | MF_CHECKED, kNone, L"Bin None Control");
    menu.AppendMenuW(MF_STRING | MF_GRAYED, kLinkage, L"Bin Linkage Control");
}

}  // namespace

using Menus = UiTest;

TEST_F(Menus, ItemsSeparatorsChecksAndStrings) {
    CMenu menu;
    BuildCurveMenu(menu);
    EXPECT_EQ(menu.GetMenuItemCount(), 5);
    EXPECT_EQ(menu.GetMenuItemID(0), kLinear);
    EXPECT_EQ(menu.GetMenuItemID(2), 0u) << "separator";
    EXPECT_EQ(menu.GetMenuItemID(5), kMenuNoItem);
    EXPECT_EQ(menu.GetMenuState(kBezier, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(menu.GetMenuState(0, MF_BYPOSITION) & MF_CHECKED, 0u);
    EXPECT_EQ(menu.GetMenuState(2, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    EXPECT_EQ(menu.GetMenuState(12345, MF_BYCOMMAND), kMenuNoItem);
    CString text;
    const int length = menu.GetMenuString(3, text, MF_BYPOSITION);
    EXPECT_EQ(length, text.GetLength());
    EXPECT_EQ(text, CString(L"Bin None Control"));
    EXPECT_EQ(menu.CheckMenuItem(kBezier, MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(menu.GetMenuState(kBezier, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_EQ(menu.GetMenuItemCount(), -1);
    EXPECT_FALSE(menu.AppendMenuW(MF_STRING, 1, L"x")) << "a destroyed menu takes nothing";
}

TEST_F(Menus, TrackPopupMenuAsksTheHandlerAndSendsTheCommand) {
    RecordingWnd owner;
    ASSERT_TRUE(owner.CreateTop(CRect(0, 0, 50, 50)));
    CMenu menu;
    BuildCurveMenu(menu);

    EXPECT_FALSE(menu.TrackPopupMenu(0, 10, 20, &owner)) << "without a handler nothing is chosen";
    EXPECT_EQ(owner.Count(WM_COMMAND), 0);

    CPoint seen;
    std::vector<UINT> ids;
    KivSetPopupMenuHandler([&](const CMenu& m, CPoint pt) {
        seen = pt;
        for (int i = 0; i < m.GetMenuItemCount(); ++i) ids.push_back(m.GetMenuItemID(i));
        return kLinear;
    });
    EXPECT_TRUE(menu.TrackPopupMenu(0, 10, 20, &owner));
    EXPECT_EQ(seen, CPoint(10, 20));
    EXPECT_EQ(ids, (std::vector<UINT>{kLinear, kBezier, 0, kNone, kLinkage}));
    ASSERT_EQ(owner.Count(WM_COMMAND), 1);
    EXPECT_EQ(LOWORD(owner.Last(WM_COMMAND)->wParam), kLinear);
    EXPECT_EQ(HIWORD(owner.Last(WM_COMMAND)->wParam), 0);

    KivSetPopupMenuHandler([](const CMenu&, CPoint) { return kNone; });
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner), static_cast<BOOL>(kNone));
    EXPECT_EQ(owner.Count(WM_COMMAND), 1) << "TPM_RETURNCMD sends nothing";

    for (UINT bogus : {kLinkage, 999u, 0u}) {
        KivSetPopupMenuHandler([bogus](const CMenu&, CPoint) { return bogus; });
        EXPECT_FALSE(menu.TrackPopupMenu(0, 0, 0, &owner)) << bogus << ": grayed, absent or no choice";
    }
    EXPECT_EQ(owner.Count(WM_COMMAND), 1);
}

TEST_F(Menus, MenuResourcesLoadWithPopupsOwnedByTheirParent) {
    KivResourceModule module;
    module.AddMenu(1011, {{MF_POPUP, 0, L"Interpolation Dialog", {{0, 32775, L"To Start", {}}, {MF_SEPARATOR, 0, L"", {}}}}});
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(module.GetHandle(), 1011));
    EXPECT_EQ(bar.GetMenuState(0, MF_BYPOSITION), MF_POPUP | (2u << 8));
    CMenu* sub = bar.GetSubMenu(0);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->GetMenuItemID(0), 32775u);
    CString text;
    bar.GetMenuString(32775, text, MF_BYCOMMAND);
    EXPECT_EQ(text, CString(L"To Start")) << "by command searches submenus";
    const HMENU subHandle = sub->m_hMenu;
    bar.DestroyMenu();
    EXPECT_EQ(CMenu::FromHandle(subHandle), nullptr) << "the popup went with its parent";
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(module.GetHandle(), 1));
}
