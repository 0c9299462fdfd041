// The curve dialog as a host creates and sets it up: construction, creation from its
// template, the first message, the exact mapping between frames, locations, values and
// pixels, the margins, and the ranges where a plain division would fail.
#include <cfloat>
#include <climits>
#include <cmath>

#include "CurveDialogTestSupport.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "platform/ui/Dialog.h"

using CurveDialogSetup = CurveDialogTest;

TEST_F(CurveDialogSetup, ConstructionGivesTheInitialStateAndCreationTheTemplate) {
    CKivFXInsKeyFrmDlg plain;
    EXPECT_EQ(plain.GetKeyFrmList(), nullptr);
    EXPECT_EQ(plain.GetStoryIn(), 0);
    EXPECT_EQ(plain.GetStoryOut(), 100);
    EXPECT_EQ(plain.GetTopValue(), 1000.0f);
    EXPECT_EQ(plain.GetBottomValue(), -1000.0f);
    EXPECT_EQ(plain.GetHMargin(), 15u);
    EXPECT_EQ(plain.GetVMargin(), 15u);
    EXPECT_TRUE(plain.IsShowScale());
    EXPECT_EQ(plain.GetDragKind(), CKivFXInsKeyFrmDlg::kDragNone);
    EXPECT_EQ(plain.m_nIDTemplate, 130u);
    auto t = MakeDlgTrack({{0.5, 20.0f}});
    CKivFXInsKeyFrmDlg withTrack(t.get());
    EXPECT_EQ(withTrack.GetKeyFrmList(), t.get());
    EXPECT_EQ(withTrack.GetTopValue(), 1000.0f) << "the range comes only with SetRange or UpKeyFrmList";

    EXPECT_STREQ(plain.GetRuntimeClass()->m_lpszClassName, "CKivFXInsKeyFrmDlg");
    EXPECT_EQ(plain.GetRuntimeClass()->m_pBaseClass, RUNTIME_CLASS(CKivAquaBaseDlg));
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CKivFXInsKeyFrmDlg)->CreateObject());
    EXPECT_NE(dynamic_cast<CKivFXInsKeyFrmDlg*>(made.get()), nullptr);

    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 300, 200)));
    ASSERT_NE(dlg.Create(&host), 0);
    EXPECT_EQ(dlg.GetParent(), &host);
    EXPECT_FALSE(dlg.IsWindowVisible()) << "the host shows it";
    EXPECT_EQ(dlg.Create(&host), 0) << "already created";
    CRect r;
    dlg.GetClientRect(&r);
    CRect units(0, 0, 199, 100);
    dlg.MapDialogRect(&units);
    EXPECT_EQ(r.Size(), units.Size()) << "199 x 100 dialog units of 10-point Times New Roman";
    EXPECT_EQ(dlg.GetToolTip().GetParent(), &dlg);
    EXPECT_FALSE(dlg.GetToolTip().IsWindowVisible()) << "the tip is created hidden";
}

TEST_F(CurveDialogSetup, TheFirstMessageCarriesTheValueAndBothFlagsZero) {
    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 300, 200)));
    auto t = MakeDlgTrack({{0.0, -50.0f}, {0.5, 50.0f}}, 0);
    dlg.SetSignID(9);
    dlg.SetRange(AquaEdit_Type_Percent, 10, 30, t.get());
    ASSERT_NE(dlg.Create(&host), 0);
    ASSERT_EQ(host.modifies.size(), 1u);
    const InsKFDlgModifyInfo& m = host.modifies[0];
    EXPECT_EQ(host.modifyWParams[0], 0u);
    EXPECT_EQ(m.fValue, -50.0f) << "the value at the current frame, story in";
    EXPECT_EQ(m.dLocation, 0.0);
    EXPECT_EQ(m.nSignID, 9);
    EXPECT_EQ(m.bOnKeyFrm, 1);
    EXPECT_EQ(m.bFrameChanged, 0);
    EXPECT_EQ(m.bTrackChanged, 0);
    // Enter and Escape never end it.
    dlg.ShowWindow(SW_SHOW);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    EXPECT_TRUE(dlg.IsWindowVisible());
    dlg.DestroyWindow();

    CKivFXInsKeyFrmDlg orphan;
    EXPECT_NE(orphan.Create(&host), 0) << "no track: nothing to tell, and nothing fails";
    EXPECT_EQ(host.modifies.size(), 1u);
}

TEST_F(CurveDialogSetup, MappingIsExact) {
    Open(MakeDlgTrack({}));
    EXPECT_EQ(dlg.GetPlotRect(), CRect(15, 15, 215, 115));
    EXPECT_EQ(dlg.GetFramesPerPixel(), 0.5f);
    EXPECT_EQ(dlg.GetValuePerPixel(), 2.0f);
    struct Case {
        int frame, x;
    };
    for (const Case& c : {Case{0, 15}, Case{1, 17}, Case{99, 213}, Case{-3, 9}, Case{150, 315}})
        EXPECT_EQ(dlg.FrameToPixelX(c.frame), c.x) << c.frame;
    // x = 16 is 0.5 frames: the half unit rounds up; x = 14 is -0.5: +0.5 truncates to 0.
    for (const Case& c : {Case{0, 15}, Case{1, 16}, Case{1, 17}, Case{0, 14}, Case{-1, 12}, Case{99, 213}})
        EXPECT_EQ(dlg.PixelToFrameX(c.x), c.frame) << "x " << c.x;
    EXPECT_EQ(dlg.GetLocation(33), 1.0 / 3.0);
    EXPECT_EQ(dlg.GetSBFrame(0.5), 50) << "49.5 + 0.5";
    EXPECT_EQ(dlg.LocationToPixelX(0.5), 115);
    EXPECT_EQ(dlg.PixelToLocationX(115), 50.0 / 99.0);
    EXPECT_EQ(dlg.ValueToPixelY(100.0f), 15);
    EXPECT_EQ(dlg.ValueToPixelY(-100.0f), 115);
    EXPECT_EQ(dlg.ValueToPixelY(1.0f), 65) << "49.5 rounds half away from zero";
    EXPECT_EQ(dlg.ValueToPixelY(101.0f), 14) << "-0.5 rounds to -1";
    EXPECT_EQ(dlg.PixelToValueY(15), 99.5f) << "the half unit is added to the value";
    EXPECT_EQ(dlg.PixelToValueY(65), 0.0f - 0.5f);
    EXPECT_EQ(dlg.GetTimeRulerRect(), CRect(8, 5, 23, 15)) << "15 x 10, bottom on the plot, centred on frame 0";
    auto k = MakeDlgTrack({{0.5, 0.0f, -0.1, 10.0f, 0.2, -20.0f}});
    CKivFXValueKeyFrm* key = k->GetFXKeyFrm(0);
    EXPECT_EQ(dlg.GetKeyFrmRect(key, 0), CRect(113, 63, 117, 67));
    EXPECT_EQ(dlg.GetKeyFrmRect(key, 1), CRect(93, 58, 97, 62)) << "location 0.4: frame 40";
    EXPECT_EQ(dlg.GetKeyFrmRect(key, 2), CRect(151, 73, 155, 77)) << "location 0.7: frame 69";
    EXPECT_TRUE(dlg.GetKeyFrmRect(nullptr, 0).IsRectEmpty());
}

TEST_F(CurveDialogSetup, MarginsAreClampedByTheClientAndTheScalesFollow) {
    Open(MakeDlgTrack({}));
    struct Case {
        int width, height;
        UINT hMargin, vMargin;  // after three "Zoom In"
    };
    // Three steps ask for 60; half the client less 30 limits it; a client under 60 pixels
    // leaves the asked margin (the unsigned limit wraps).
    for (const Case& c : {Case{400, 300, 60, 60}, Case{160, 150, 50, 45}, Case{50, 40, 60, 60}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        Command(ID_MENU_SHOW_RECOVER);
        dlg.MoveWindow(kLeft, kTop, c.width, c.height, FALSE);
        for (int i = 0; i < 3; ++i) Command(ID_MENU_SHOW_ZOOM_IN);
        EXPECT_EQ(dlg.GetHMargin(), c.hMargin);
        EXPECT_EQ(dlg.GetVMargin(), c.vMargin);
        const CRect plot = dlg.GetPlotRect();
        EXPECT_EQ(plot.left, static_cast<int>(c.hMargin));
        EXPECT_TRUE(std::isfinite(dlg.GetFramesPerPixel()) && dlg.GetFramesPerPixel() > 0.0f);
        EXPECT_TRUE(std::isfinite(dlg.GetValuePerPixel()) && dlg.GetValuePerPixel() > 0.0f);
    }
    Command(ID_MENU_SHOW_RECOVER);
    EXPECT_EQ(dlg.GetHMargin(), 15u);
    dlg.MoveWindow(kLeft, kTop, 400, 300, FALSE);
    Command(ID_MENU_SHOW_ZOOM_IN);
    Command(ID_MENU_SHOW_ZOOM_OUT);
    Command(ID_MENU_SHOW_ZOOM_OUT);
    EXPECT_EQ(dlg.GetHMargin(), 15u) << "never below the minimum";
}

TEST_F(CurveDialogSetup, StoryRangeAndCurrentFrameFromTheHost) {
    Open(MakeDlgTrack({{0.25, 5.0f}}));
    dlg.UpTimeLine(40);
    EXPECT_EQ(dlg.GetCurFrame(), 40);
    dlg.UpStoryInOut(50, 60);
    EXPECT_EQ(dlg.GetCurFrame(), 50) << "raised into the range";
    EXPECT_EQ(dlg.GetFramesPerPixel(), 11.0f / 200.0f) << "scales recomputed";
    dlg.UpStoryInOut(0, 20);
    EXPECT_EQ(dlg.GetCurFrame(), 20) << "lowered into the range";
    dlg.SetRange(5, 9);
    EXPECT_EQ(dlg.GetCurFrame(), 5);
    EXPECT_EQ(dlg.GetFramesPerPixel(), 21.0f / 200.0f) << "SetRange leaves the scales";
    auto other = MakeDlgTrack({});
    other->MaxValue = 7.0f;
    other->MinValue = -3.0f;
    other->DefValue = 1.0f;
    dlg.UpKeyFrmList(AquaEdit_Type_Degree, other.get());
    EXPECT_EQ(dlg.GetTopValue(), 7.0f);
    EXPECT_EQ(dlg.GetBottomValue(), -3.0f);
    EXPECT_EQ(dlg.GetDefValue(), 1.0f);
    EXPECT_EQ(dlg.GetEditType(), AquaEdit_Type_Degree);
    EXPECT_EQ(dlg.GetValuePerPixel(), 0.1f);
    ASSERT_EQ(host.modifies.size(), 1u) << "UpKeyFrmList tells the host";
    EXPECT_EQ(host.Flags()[0], std::make_pair(0, 0));
    dlg.UpKeyFrmList(AquaEdit_Type_Number, nullptr);
    EXPECT_EQ(dlg.GetKeyFrmList(), nullptr);
    EXPECT_EQ(host.modifies.size(), 1u) << "no track, no message";
    dlg.UpKeyFrmList(AquaEdit_Type_Number, track.get());
}

TEST_F(CurveDialogSetup, DegenerateRangesMapToFinitePixelsAndPaint) {
    Open(MakeDlgTrack({{0.0, -80.0f, 0, 0, 0.3, 50.0f}, {0.6, 90.0f, -0.2, 0.0f, 0.1, 0.0f}, {1.0, 0.0f}}));
    struct Case {
        const char* what;
        int in, out;
        float top, bottom;
        int width, height;
    };
    const Case cases[] = {
        {"story out below story in", 50, 10, 100.0f, -100.0f, 230, 130},
        {"story out one below story in", 50, 49, 100.0f, -100.0f, 230, 130},
        {"top equal to bottom", 0, 99, 5.0f, 5.0f, 230, 130},
        {"the widest value range", 0, 99, FLT_MAX, -FLT_MAX, 230, 130},
        {"the widest story range", INT_MIN, INT_MAX, 100.0f, -100.0f, 230, 130},
        {"a plot of no pixels", 0, 99, 100.0f, -100.0f, 30, 30},
        {"no client at all", 0, 99, 100.0f, -100.0f, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        track->MaxValue = c.top;
        track->MinValue = c.bottom;
        dlg.MoveWindow(kLeft, kTop, c.width, c.height, FALSE);
        dlg.SetRange(AquaEdit_Type_Number, c.in, c.out, track.get());
        dlg.CalcuPrePixel();
        EXPECT_TRUE(std::isfinite(dlg.GetFramesPerPixel()));
        EXPECT_TRUE(std::isfinite(dlg.GetValuePerPixel()) || c.top == FLT_MAX);
        for (int frame : {c.in, c.out, 0, INT_MIN, INT_MAX}) {
            const int x = dlg.FrameToPixelX(frame);
            EXPECT_LE(std::abs(x), (1 << 27) + 1000) << frame;
        }
        for (float v : {c.top, c.bottom, 0.0f, FLT_MAX, -FLT_MAX}) EXPECT_LE(std::abs(dlg.ValueToPixelY(v)), (1 << 27) + 1000);
        for (int p : {INT_MIN, -1, 0, 1, INT_MAX}) {
            (void)dlg.PixelToFrameX(p);
            EXPECT_FALSE(std::isnan(dlg.PixelToLocationX(p)));
            (void)dlg.PixelToValueY(p);
        }
        if (c.top == c.bottom) {
            EXPECT_EQ(dlg.ValueToPixelY(-1000.0f), 15) << "a flat range maps every value to the top";
        }
        dlg.Invalidate();
        KivScreen::Get().PaintAll();
        Press(Screen(CPoint(20, 20)));
        Move(Screen(CPoint(25, 40)));
        Release(Screen(CPoint(25, 40)));
    }
}
