// The position dialog's menu tied to the zoom scale, its commands as a host sends them with
// the messages and repaints each makes, the path drawn between the first and the last
// keyframe only, and golden pictures.
#include <filesystem>
#include <set>

#include "PosiDialogTestSupport.h"
#include "support/GoldenPng.h"

namespace {

using Ids = std::vector<UINT>;
using Flags = std::vector<std::pair<int, int>>;
const std::filesystem::path kGoldenDir = std::filesystem::path(KIVFX_SOURCE_DIR) / "tests/keyfrm/editors/golden";

}  // namespace

class PosiDialogMenu : public PosiDialogTest {
protected:
    /// The ids a right-click at the view's centre offers; chooses nothing.
    Ids Offered() {
        Ids ids;
        KivSetPopupMenuHandler([&](const CMenu& menu, CPoint) {
            for (int i = 0; i < menu.GetMenuItemCount(); ++i) ids.push_back(menu.GetMenuItemID(i));
            return 0u;
        });
        KivScreen::Get().MouseDown(Screen(CPoint(120, 120)), MK_RBUTTON);
        KivScreen::Get().MouseUp(Screen(CPoint(120, 120)), MK_RBUTTON);
        KivSetPopupMenuHandler(nullptr);
        return ids;
    }
    static Ids ZoomItems(const Ids& ids) {
        Ids z;
        for (UINT id : ids)
            if (id == ID_MENU_SHOW_ZOOM_IN || id == ID_MENU_SHOW_ZOOM_OUT || id == ID_MENU_SHOW_RECOVER) z.push_back(id);
        return z;
    }
};

TEST_F(PosiDialogMenu, ZoomItemsFollowTheScaleWithinItsBounds) {
    Open(MakePosiTrack({{0.0, 0.0f, 0.0f}}, 0));
    const Ids all = Offered();
    const Ids expected = {ID_MENU_TO_TAIL, ID_MENU_BACK_ONE_FRAME, 0, ID_MENU_DEL_ALL_KF, 0, ID_MENU_INS_LINE_MODE,
                          ID_MENU_INS_BEZIER_MODE, 0, ID_MENU_SHOW_ZOOM_IN, ID_MENU_SHOW_ZOOM_OUT};
    EXPECT_EQ(all, expected) << "the curve dialog's blocks; no Recover at the initial scale";
    struct Step {
        UINT command;
        int times;
        float scale;
        Ids zoom;
    };
    const UINT in = ID_MENU_SHOW_ZOOM_IN, out = ID_MENU_SHOW_ZOOM_OUT, rec = ID_MENU_SHOW_RECOVER;
    for (const Step& s : {Step{out, 1, 0.45f, {in, out, rec}}, Step{out, 5, 0.35f, {in, rec}}, Step{in, 1, 0.4f, {in, out, rec}},
                          Step{rec, 1, 0.5f, {in, out}}, Step{in, 20, 1.0f, {in, out, rec}}, Step{in, 1, 1.0f, {in, out, rec}}}) {
        for (int i = 0; i < s.times; ++i) Command(s.command);
        EXPECT_FLOAT_EQ(dlg.GetZoomScale(), s.scale);
        EXPECT_GE(dlg.GetZoomScale(), CKivFXPosiKeyFrmDlg::kZoomMin);
        EXPECT_LE(dlg.GetZoomScale(), CKivFXPosiKeyFrmDlg::kZoomMax);
        EXPECT_EQ(ZoomItems(Offered()), s.zoom) << "at scale " << s.scale;
        EXPECT_FLOAT_EQ(dlg.GetXViewMax(), 1000.0f * s.scale);
        EXPECT_EQ(dlg.lastUpdate, dlg.GetXYRect()) << "a zoom repaints the view only";
    }
    EXPECT_TRUE(host.modifies.empty()) << "zooming tells nothing";
}

TEST_F(PosiDialogMenu, CommandsEditTheTrackAndTellTheHost) {
    Open(MakePosiTrack({{0.0, -300.0f, 100.0f}, {1.0, 300.0f, -100.0f}}, 0));
    const CRect strip = dlg.GetTimeStripRect();
    const CRect stripAndView(strip.left - 3, dlg.GetXYRect().top, strip.right + 3, strip.bottom + 3);
    using Check = std::function<void()>;
    struct Case {
        UINT id;
        Flags flags;
        Check check;
    };
    const Case cases[] = {
        {ID_MENU_BACK_ONE_FRAME, {{0, 1}}, [&] { EXPECT_EQ(dlg.GetCurFrame(), 1); }},
        {ID_MENU_TO_TAIL, {{0, 1}}, [&] { EXPECT_EQ(dlg.GetCurFrame(), 99); }},
        {ID_MENU_FORWARD_ONE_FRAME, {{0, 1}}, [&] { EXPECT_EQ(dlg.GetCurFrame(), 98); }},
        {ID_MENU_ADD_KF, {{1, 0}},
         [&] {
             ASSERT_EQ(track->GetKeyFrmCount(), 3);
             EXPECT_TRUE(Key(1)->IsSelect());
             EXPECT_EQ(Key(1)->Location, 98.0 / 99.0);
             EXPECT_EQ(host.modifies.back().bOnKeyFrm, 1);
             EXPECT_EQ(dlg.lastUpdate, stripAndView) << "the strip grown by 3 and the view";
         }},
        {ID_MENU_INS_BEZIER_MODE, {{1, 0}},
         [&] {
             EXPECT_EQ(track->InsMode, 1);
             EXPECT_EQ(dlg.lastUpdate, dlg.GetXYRect());
         }},
        {ID_MENU_INS_BEZIER_MODE, {}, [&] { EXPECT_EQ(track->InsMode, 1); }},
        {ID_MENU_DEL_SEL_KF, {{1, 0}}, [&] { EXPECT_EQ(track->GetKeyFrmCount(), 2); }},
        {ID_MENU_DEL_ALL_KF, {{1, 0}}, [&] { EXPECT_EQ(track->GetKeyFrmCount(), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        host.modifies.clear();
        dlg.lastUpdate.SetRectEmpty();
        Command(c.id);
        EXPECT_EQ(host.Flags(), c.flags);
        c.check();
    }
}

TEST_F(PosiDialogMenu, ThePathRunsOneDotPerFrameFromTheFirstToTheLastKeyframe) {
    // Story range 50 to 149: frame f at location (f - 50) / 99. The path runs along y = 0
    // from X -400 to 400 between locations 0.25 and 0.75 (frames 75 to 124).
    Open(MakePosiTrack({{0.25, -400.0f, 0.0f}, {0.75, 400.0f, 0.0f}}, 0), 50, 149);
    const COLORREF white = RGB(255, 255, 255);
    std::set<int> dots;
    for (int f = 75; f <= 124; ++f) {
        float x, y, z;
        track->InsValue(dlg.GetLocation(f), x, y, z);
        ASSERT_EQ(dlg.ValueToPixelY(y), 120);
        dots.insert(dlg.ValueToPixelX(x));
    }
    const CRect first = dlg.GetKeyFrmRect(Key(0), kKivFXPartKeyFrm), last = dlg.GetKeyFrmRect(Key(1), kKivFXPartKeyFrm);
    std::set<int> drawn;
    for (int x = dlg.GetXYRect().left; x < dlg.GetXYRect().right; ++x) {
        if (first.PtInRect(CPoint(x, 120)) || last.PtInRect(CPoint(x, 120))) continue;
        if (At(x, 120) == white) drawn.insert(x);
    }
    std::erase_if(dots, [&](int x) { return first.PtInRect(CPoint(x, 120)) || last.PtInRect(CPoint(x, 120)); });
    EXPECT_EQ(drawn, dots) << "a dot for each frame between the keyframes, and nothing else";
    EXPECT_GT(drawn.size(), 40u);
}

class PosiDialogGolden : public PosiDialogTest {
protected:
    void ShowGolden() {
        KivScreen::Get().Resize(300, 261);
        track = MakePosiTrack({{0.0, -350.0f, -150.0f, 0.0f, {}, {150.0f, 250.0f, 0.0f}},
                               {0.4, 50.0f, 200.0f, 0.0f, {-200.0f, 0.0f, 0.0f}, {200.0f, 0.0f, 0.0f}},
                               {1.0, 300.0f, -250.0f, 0.0f, {100.0f, 300.0f, 0.0f}, {}}},
                              1, 1);
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, 300, 261), WS_CLIPCHILDREN));
        dlg.SetRange(0, 60, track.get());
        ASSERT_NE(dlg.Create(&host), 0);
        dlg.MoveWindow(0, 0, 300, 261, FALSE);
        dlg.UpTimeLine(33);
        dlg.ShowWindow(SW_SHOW);
        KivScreen::Get().PaintAll();
    }
};

TEST_F(PosiDialogGolden, BezierPathWithASelectedKeyframe) {
    ShowGolden();
    track->SetSelectKF(track->GetFXKeyFrm(1), 1);
    dlg.Invalidate();
    KivScreen::Get().PaintAll();
    ExpectScreenMatchesGolden(kGoldenDir / "position-dialog-bezier.png");
}
