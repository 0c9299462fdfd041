// The curve dialog's right-button menu in each state, answered as a person would choose,
// and its fifteen commands (chosen or sent by the host as WM_COMMAND) with the messages
// each sends.
#include <algorithm>

#include "CurveDialogTestSupport.h"
#include "keyfrm/editors/KivFXEditorResources.h"

namespace {

using Ids = std::vector<UINT>;
using Flags = std::vector<std::pair<int, int>>;

struct MenuSeen {
    Ids ids, checked;
};

}  // namespace

class CurveDialogMenu : public CurveDialogTest {
protected:
    /// Right-clicks at a client point; the handler records the menu and answers choose.
    MenuSeen RightClick(UINT choose = 0, CPoint client = CPoint(100, 100)) {
        MenuSeen seen;
        KivSetPopupMenuHandler([&](const CMenu& menu, CPoint) {
            for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
                seen.ids.push_back(menu.GetMenuItemID(i));
                if (menu.GetMenuState(static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) seen.checked.push_back(seen.ids.back());
            }
            return choose;
        });
        KivScreen::Get().MouseDown(Screen(client), MK_RBUTTON);
        KivScreen::Get().MouseUp(Screen(client), MK_RBUTTON);
        KivSetPopupMenuHandler(nullptr);
        return seen;
    }
};

TEST_F(CurveDialogMenu, TheMenuOffersWhatTheStateAllows) {
    constexpr UINT kStart = ID_MENU_TO_START, kTail = ID_MENU_TO_TAIL, kFwd = ID_MENU_FORWARD_ONE_FRAME,
                   kBack = ID_MENU_BACK_ONE_FRAME, kAdd = ID_MENU_ADD_KF, kDelSel = ID_MENU_DEL_SEL_KF,
                   kDelAll = ID_MENU_DEL_ALL_KF, kLin = ID_MENU_INS_LINE_MODE, kBez = ID_MENU_INS_BEZIER_MODE,
                   kNone = ID_MENU_INS_NONE_CTRL, kLink = ID_MENU_INS_LINKAGE_CTRL, kSym = ID_MENU_INS_SYMMETRY_CTRL,
                   kIn = ID_MENU_SHOW_ZOOM_IN, kOutZ = ID_MENU_SHOW_ZOOM_OUT, kRec = ID_MENU_SHOW_RECOVER;
    struct Case {
        const char* what;
        std::function<void(CKivFXInsKeyFrmDlg&, CKivFXInsKeyFrmList&)> set;
        Ids ids;
        Ids checked;
    };
    const Case cases[] = {
        {"at story in, linear, no keyframes", [](auto&, auto& t) { t.DeleteAll(); t.InsMode = 0; },
         {kTail, kBack, 0, kAdd, 0, kLin, kBez, 0, kIn}, {kLin}},
        {"inside the range, a keyframe elsewhere selected, Bezier with linkage",
         [](auto& d, auto& t) {
             d.UpTimeLine(30);
             t.SetSelectKF(t.GetFXKeyFrm(0), 1);
             t.CtrlMode = 1;
         },
         {kStart, kTail, kFwd, kBack, 0, kAdd, kDelSel, kDelAll, 0, kLin, kBez, 0, kNone, kLink, kSym, 0, kIn},
         {kBez, kLink}},
        {"at story out on a keyframe, an unknown coupling reads as symmetry",
         [](auto& d, auto& t) {
             d.UpTimeLine(99);
             t.CtrlMode = 9;
         },
         {kStart, kFwd, 0, kDelAll, 0, kLin, kBez, 0, kNone, kLink, kSym, 0, kIn}, {kBez, kSym}},
        {"an unknown interpolation kind offers no kind items", [](auto&, auto& t) { t.InsMode = 3; },
         {kTail, kBack, 0, kAdd, kDelAll, 0, 0, kIn}, {}},
        {"margins grown", [](auto& d, auto&) { d.SendMessage(WM_COMMAND, ID_MENU_SHOW_ZOOM_IN, 0); },
         {kTail, kBack, 0, kAdd, kDelAll, 0, kLin, kBez, 0, kNone, kLink, kSym, 0, kIn, kOutZ, kRec}, {kBez, kNone}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dlg.DestroyWindow();
        host.DestroyWindow();
        Open(MakeDlgTrack({{0.5, 10.0f}, {1.0, 20.0f}}));
        c.set(dlg, *track);
        const MenuSeen seen = RightClick();
        EXPECT_EQ(seen.ids, c.ids);
        EXPECT_EQ(seen.checked, c.checked);
    }
}

TEST_F(CurveDialogMenu, WithoutATrackOnlyFrameAndMarginCommandsAreOfferedAndNothingIsSent) {
    Open(nullptr);
    dlg.UpTimeLine(10);
    const MenuSeen seen = RightClick(ID_MENU_TO_START);
    EXPECT_EQ(seen.ids, (Ids{ID_MENU_TO_START, ID_MENU_TO_TAIL, ID_MENU_FORWARD_ONE_FRAME, ID_MENU_BACK_ONE_FRAME, 0,
                             ID_MENU_SHOW_ZOOM_IN}));
    EXPECT_EQ(dlg.GetCurFrame(), 0) << "the command was carried out";
    for (UINT id = ID_MENU_FORWARD_ONE_FRAME; id <= ID_MENU_SHOW_RECOVER; ++id) Command(id);
    Press(Screen(CPoint(100, 60)));
    Release(Screen(CPoint(100, 60)));
    EXPECT_TRUE(host.modifies.empty()) << "no track: no message";
}

TEST_F(CurveDialogMenu, CommandsChangeWhatTheySayAndSendTheirMessages) {
    struct Case {
        const char* what;
        int startFrame;
        int insMode;
        UINT id;
        int frameAfter;
        int keysAfter;
        int insModeAfter;
        Flags flags;
    };
    // The track: keyframes at 0.5 (selected) and 1.0; the dialog's range is 0 to 99.
    const Case cases[] = {
        {"to start", 40, 1, ID_MENU_TO_START, 0, 2, 1, {{0, 1}}},
        {"to start when there", 0, 1, ID_MENU_TO_START, 0, 2, 1, {}},
        {"to tail", 40, 1, ID_MENU_TO_TAIL, 99, 2, 1, {{0, 1}}},
        {"forward goes toward story in", 40, 1, ID_MENU_FORWARD_ONE_FRAME, 39, 2, 1, {{0, 1}}},
        {"forward at story in", 0, 1, ID_MENU_FORWARD_ONE_FRAME, 0, 2, 1, {}},
        {"back goes toward story out", 40, 1, ID_MENU_BACK_ONE_FRAME, 41, 2, 1, {{0, 1}}},
        {"back at story out", 99, 1, ID_MENU_BACK_ONE_FRAME, 99, 2, 1, {}},
        {"add", 20, 1, ID_MENU_ADD_KF, 20, 3, 1, {{1, 0}}},
        {"delete selected", 20, 1, ID_MENU_DEL_SEL_KF, 20, 1, 1, {{1, 0}}},
        {"delete all", 20, 1, ID_MENU_DEL_ALL_KF, 20, 0, 1, {{1, 0}}},
        {"linear", 20, 1, ID_MENU_INS_LINE_MODE, 20, 2, 0, {{1, 0}}},
        {"linear when linear", 20, 0, ID_MENU_INS_LINE_MODE, 20, 2, 0, {}},
        {"Bezier", 20, 0, ID_MENU_INS_BEZIER_MODE, 20, 2, 1, {{1, 0}}},
        {"Bezier when Bezier", 20, 1, ID_MENU_INS_BEZIER_MODE, 20, 2, 1, {}},
        {"a coupling", 20, 1, ID_MENU_INS_LINKAGE_CTRL, 20, 2, 1, {}},
    };
    for (const Case& c : cases) {
        for (bool fromMenu : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.what << (fromMenu ? " (chosen from the menu)" : " (sent by the host)"));
            dlg.DestroyWindow();
            host.DestroyWindow();
            Open(MakeDlgTrack({{0.5, 10.0f}, {1.0, 20.0f}}, c.insMode));
            track->SetSelectKF(Key(0), 1);
            dlg.UpTimeLine(c.startFrame);
            if (fromMenu) {
                // A command the menu does not offer cannot be chosen; the host may still send it.
                const MenuSeen seen = RightClick(c.id);
                if (std::find(seen.ids.begin(), seen.ids.end(), c.id) == seen.ids.end()) Command(c.id);
            } else {
                Command(c.id);
            }
            EXPECT_EQ(dlg.GetCurFrame(), c.frameAfter);
            EXPECT_EQ(track->GetKeyFrmCount(), c.keysAfter);
            EXPECT_EQ(track->InsMode, c.insModeAfter);
            EXPECT_EQ(host.Flags(), c.flags);
            for (const InsKFDlgModifyInfo& m : host.modifies) {
                EXPECT_EQ(m.nSignID, kSignId);
                EXPECT_EQ(m.dLocation, c.frameAfter / 99.0);
                EXPECT_EQ(m.fValue, track->InsValue(m.dLocation));
            }
        }
    }
}

TEST_F(CurveDialogMenu, AnAddedKeyframeLiesOnTheCurveAndIsSelectedAlone) {
    Open(MakeDlgTrack({{0.0, -40.0f}, {1.0, 60.0f}}, 0));
    track->SetSelectKF(Key(1), 1);
    dlg.UpTimeLine(33);
    Command(ID_MENU_ADD_KF);
    ASSERT_EQ(track->GetKeyFrmCount(), 3);
    CKivFXValueKeyFrm* added = Key(1);
    EXPECT_EQ(added->Location, 33.0 / 99.0);
    EXPECT_NEAR(added->Value, -40.0f + 100.0f / 3.0f, 1e-4f);
    EXPECT_TRUE(added->IsSelect());
    EXPECT_FALSE(Key(2)->IsSelect());
    ASSERT_EQ(host.modifies.size(), 1u);
    EXPECT_EQ(host.modifies[0].bOnKeyFrm, 1) << "the current frame now sits on a keyframe";
    const MenuSeen seen = RightClick();
    EXPECT_EQ(std::count(seen.ids.begin(), seen.ids.end(), ID_MENU_ADD_KF), 0) << "nothing more to add there";

    host.modifies.clear();
    dlg.SendCurKFValue(5.0f, 1);
    EXPECT_EQ(added->Value, 5.0f) << "the host's value goes into the keyframe at the current frame";
    ASSERT_EQ(host.Flags(), (Flags{{1, 0}}));
    EXPECT_EQ(host.modifies[0].fValue, 5.0f);
    dlg.SendCurKFValue(6.0f, 0);
    EXPECT_EQ(host.modifies.size(), 1u) << "without notify nothing is sent";
}
