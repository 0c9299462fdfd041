// The curve window's right-button menu, answered by the test as a person would choose, and
// the interpolation and control-mode commands with the messages they send.
#include "CurveWindowTestSupport.h"
#include "keyfrm/editors/KivFXEditorResources.h"

namespace {

struct MenuItem {
    UINT id;
    bool checked;
    CString text;
};

// Remembers what the menu held and where it was shown, and answers with one command.
struct MenuAnswer {
    UINT choose = 0;
    int asked = 0;
    CPoint where;
    std::vector<MenuItem> items;
    void Install() {
        KivSetPopupMenuHandler([this](const CMenu& menu, CPoint pt) {
            ++asked;
            where = pt;
            items.clear();
            for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
                CString text;
                menu.GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
                items.push_back({menu.GetMenuItemID(i), (menu.GetMenuState(static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0, text});
            }
            return choose;
        });
    }
    std::vector<UINT> Ids() const {
        std::vector<UINT> ids;
        for (const auto& i : items) ids.push_back(i.id);
        return ids;
    }
    std::vector<UINT> Checked() const {
        std::vector<UINT> ids;
        for (const auto& i : items)
            if (i.checked) ids.push_back(i.id);
        return ids;
    }
};

using Ids = std::vector<UINT>;

}  // namespace

class CurveMenu : public CurveWindowTest {
protected:
    void RightClick(UINT choose, CPoint client = CPoint(30, 30)) {
        answer.choose = choose;
        KivScreen::Get().MouseDown(wnd.Screen(client), MK_RBUTTON);
        KivScreen::Get().MouseUp(wnd.Screen(client), MK_RBUTTON);
    }
    MenuAnswer answer;
};

TEST_F(CurveMenu, LinearModeOffersTheTwoKindsWithLinearChecked) {
    Open(MakeTrack({{10, 0.0f}, {40, 50.0f}}, 0));
    answer.Install();
    RightClick(0, CPoint(30, 40));
    ASSERT_EQ(answer.asked, 1);
    EXPECT_EQ(answer.where, CPoint(kLeft + 30, kTop + 40)) << "shown at the click, in screen coordinates";
    EXPECT_EQ(answer.Ids(), (Ids{ID_MENU_INS_LINE_MODE, ID_MENU_INS_BEZIER_MODE}));
    EXPECT_EQ(answer.Checked(), (Ids{ID_MENU_INS_LINE_MODE}));
    EXPECT_EQ(answer.items[0].text, CString(L"Linear Interpolation")) << "texts from the library's string table";
    EXPECT_EQ(answer.items[1].text, CString(L"Bezier Interpolation"));
    EXPECT_TRUE(host.insModes.empty()) << "dismissed: nothing changes";
}

TEST_F(CurveMenu, BezierModeAddsTheControlModesWithTheCurrentOneChecked) {
    Open(MakeTrack({{10, 0.0f}, {40, 50.0f}}, 1, 2));
    answer.Install();
    RightClick(0);
    EXPECT_EQ(answer.Ids(), (Ids{ID_MENU_INS_LINE_MODE, ID_MENU_INS_BEZIER_MODE, 0, ID_MENU_INS_NONE_CTRL,
                                 ID_MENU_INS_LINKAGE_CTRL, ID_MENU_INS_SYMMETRY_CTRL}));
    EXPECT_EQ(answer.Checked(), (Ids{ID_MENU_INS_BEZIER_MODE, ID_MENU_INS_SYMMETRY_CTRL}));
    track->CtrlMode = 7;
    RightClick(0);
    EXPECT_EQ(answer.Checked(), (Ids{ID_MENU_INS_BEZIER_MODE, ID_MENU_INS_SYMMETRY_CTRL})) << "any other mode checks symmetry";
    track->CtrlMode = 0;
    RightClick(0);
    EXPECT_EQ(answer.Checked(), (Ids{ID_MENU_INS_BEZIER_MODE, ID_MENU_INS_NONE_CTRL}));
    track->InsMode = 5;
    RightClick(0);
    EXPECT_TRUE(answer.items.empty()) << "an interpolation kind the window does not set offers nothing";

    KivSetResourceLanguage(kLangChineseSimplified);
    track->InsMode = 1;
    RightClick(0);
    KivSetResourceLanguage(kLangEnglish);
    ASSERT_EQ(answer.items.size(), 6u);
    EXPECT_EQ(answer.items[0].text, CString(L"\u7ebf\u6027\u63d2\u503c")) << "the host's language";
}

TEST_F(CurveMenu, SwitchingTheKindSendsTheKindInForceBeforeAndNothingWhenUnchanged) {
    Open(MakeTrack({{10, 0.0f}, {40, 50.0f}}, 0));
    answer.Install();
    const int paints = wnd.paints;
    RightClick(ID_MENU_INS_BEZIER_MODE);
    EXPECT_EQ(track->InsMode, 1);
    ASSERT_EQ(host.insModes.size(), 1u);
    EXPECT_EQ(host.insModes[0].wParam, static_cast<WPARAM>(kSignId));
    EXPECT_EQ(host.insModes[0].lParam, 0) << "0 after a switch to Bezier";
    EXPECT_GT(wnd.paints, paints) << "the curve is redrawn";
    RightClick(ID_MENU_INS_BEZIER_MODE);
    EXPECT_EQ(host.insModes.size(), 1u) << "the kind already in force sends nothing";
    RightClick(ID_MENU_INS_LINE_MODE);
    EXPECT_EQ(track->InsMode, 0);
    ASSERT_EQ(host.insModes.size(), 2u);
    EXPECT_EQ(host.insModes[1].lParam, 1) << "1 after a switch to linear";
    EXPECT_TRUE(host.ctrlModes.empty());
}

TEST_F(CurveMenu, ControlModeCommandsAlwaysSendTheModeInForceBefore) {
    Open(MakeTrack({{10, 0.0f}, {40, 50.0f}}, 1, 1));
    answer.Install();
    const int paints = wnd.paints;
    RightClick(ID_MENU_INS_LINKAGE_CTRL);
    RightClick(ID_MENU_INS_SYMMETRY_CTRL);
    RightClick(ID_MENU_INS_NONE_CTRL);
    EXPECT_EQ(track->CtrlMode, 0);
    ASSERT_EQ(host.ctrlModes.size(), 3u);
    EXPECT_EQ(host.ctrlModes[0].lParam, 1) << "the mode already in force is still reported";
    EXPECT_EQ(host.ctrlModes[1].lParam, 1);
    EXPECT_EQ(host.ctrlModes[2].lParam, 2);
    for (const auto& m : host.ctrlModes) EXPECT_EQ(m.wParam, static_cast<WPARAM>(kSignId));
    EXPECT_EQ(wnd.paints, paints) << "no repaint for a control mode";
    EXPECT_TRUE(host.insModes.empty());
}

TEST_F(CurveMenu, WithoutATrackThereIsNoMenuAndCommandsDoNothing) {
    Open(nullptr);
    answer.Install();
    RightClick(ID_MENU_INS_BEZIER_MODE);
    EXPECT_EQ(answer.asked, 0);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_MENU_INS_BEZIER_MODE, 0));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_MENU_INS_SYMMETRY_CTRL, 0));
    EXPECT_TRUE(host.insModes.empty());
    EXPECT_TRUE(host.ctrlModes.empty());
}
