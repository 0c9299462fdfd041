// The position dialog as a host creates and sets it up: construction, creation from its
// template, the first message and its 48 bytes, the layout and the exact mapping both ways,
// show limit, the video size, and the ranges and clients where a plain division would fail.
#include <array>
#include <climits>
#include <cmath>
#include <cstring>

#include "PosiDialogTestSupport.h"
#include "keyfrm/core/KivFXKeyFrmModule.h"

using PosiDialogSetup = PosiDialogTest;

TEST_F(PosiDialogSetup, ConstructionGivesTheInitialStateAndCreationTheTemplate) {
    CKivFXPosiKeyFrmDlg plain;
    EXPECT_EQ(plain.GetKeyFrmList(), nullptr);
    EXPECT_EQ(plain.GetStoryOut(), 100);
    EXPECT_EQ(plain.GetMinZ(), -1000.0f);
    EXPECT_EQ(plain.GetHMargin(), 20u);
    EXPECT_TRUE(plain.IsShowScale() && plain.IsShowLimit());
    EXPECT_EQ(plain.GetZoomScale(), 0.5f);
    EXPECT_EQ(plain.GetXViewMin(), -360.0f) << "the view starts as the 720 x 576 video frame";
    EXPECT_EQ(plain.GetYViewTop(), 288.0f);
    EXPECT_EQ(plain.m_nIDTemplate, 132u);
    EXPECT_EQ(plain.GetRuntimeClass()->m_pBaseClass, RUNTIME_CLASS(CKivAquaBaseDlg));
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CKivFXPosiKeyFrmDlg)->CreateObject());
    EXPECT_NE(dynamic_cast<CKivFXPosiKeyFrmDlg*>(made.get()), nullptr);

    const auto tmpl = KivFindDialog(KivFXKeyFrmGetModuleHandle(), IDD_POSI_KEYFRM_DLG);
    const auto curve = KivFindDialog(KivFXKeyFrmGetModuleHandle(), IDD_INS_KEYFRM_DLG);
    ASSERT_TRUE(tmpl.has_value() && curve.has_value());
    EXPECT_EQ(tmpl->style, WS_CHILD | DS_SETFONT) << "a child, shown by the host";
    EXPECT_TRUE(tmpl->pointSize == curve->pointSize && tmpl->faceName == curve->faceName);

    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 320, 300)));
    ASSERT_NE(dlg.Create(&host), 0);
    EXPECT_EQ(dlg.GetParent(), &host);
    EXPECT_FALSE(dlg.IsWindowVisible()) << "the host shows it";
    EXPECT_EQ(dlg.Create(&host), 0) << "already created";
    CRect client;
    dlg.GetClientRect(&client);
    CRect units(0, 0, kPosiDialogWidthDlu, kPosiDialogHeightDlu);
    dlg.MapDialogRect(&units);
    EXPECT_EQ(client.Size(), units.Size());
    EXPECT_NEAR(static_cast<double>(dlg.GetXYRect().Width()) / dlg.GetXYRect().Height(), 1.25, 0.02)
        << "shaped like a 720 x 576 frame";
    EXPECT_FALSE(dlg.GetToolTip().IsWindowVisible()) << "the tip is created hidden";
}

TEST_F(PosiDialogSetup, TheFirstMessageCarriesTheCurrentPositionInFortyEightBytes) {
    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 320, 300)));
    auto t = MakePosiTrack({{0.0, 10.0f, 20.0f, 30.0f}, {1.0, 50.0f, 60.0f, 70.0f}}, 0);
    dlg.SetSignID(4, 5, 6);
    dlg.SetRange(10, 30, t.get());
    ASSERT_NE(dlg.Create(&host), 0);
    ASSERT_EQ(host.modifies.size(), 1u);
    // Read as bytes, as a host in another language would.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&host.modifies[0]);
    auto f32 = [&](size_t at) { float v; std::memcpy(&v, bytes + at, 4); return v; };
    auto i32 = [&](size_t at) { int v; std::memcpy(&v, bytes + at, 4); return v; };
    double location;
    std::memcpy(&location, bytes + 24, 8);
    EXPECT_EQ((std::array{f32(0), f32(4), f32(8)}), (std::array{10.0f, 20.0f, 30.0f})) << "the position at story in";
    EXPECT_EQ((std::array{i32(12), i32(16), i32(20)}), (std::array{4, 5, 6})) << "the sign ids";
    EXPECT_EQ(location, 0.0);
    EXPECT_EQ((std::array{i32(32), i32(36), i32(40)}), (std::array{1, 0, 0})) << "on a keyframe, no change";
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    dlg.ShowWindow(SW_SHOW);
    EXPECT_TRUE(dlg.IsWindowVisible()) << "Escape never closes it";
}

TEST_F(PosiDialogSetup, LayoutAndMappingAreExactBothWays) {
    auto t = MakePosiTrack({{0.5, 100.0f, -200.0f, 0.0f, {-50.0f, 25.0f, 0.0f}, {}}});
    Open(std::move(t));
    EXPECT_EQ(dlg.GetTitleRect(), CRect(10, 0, 220, 20));
    EXPECT_EQ(dlg.GetXYRect(), CRect(20, 20, 220, 220));
    EXPECT_EQ(dlg.GetTimeStripRect(), CRect(20, 221, 220, 241));
    EXPECT_EQ(dlg.GetFramesPerPixel(), 0.5f);
    EXPECT_EQ(dlg.GetXValuePerPixel(), 5.0f);
    EXPECT_EQ(dlg.GetYValuePerPixel(), 5.0f);
    EXPECT_EQ(dlg.GetVideoRect(), CRect(48, 62, 192, 178)) << "+-360 and +-288 in a view of +-500";

    struct FrameCase { int frame, x; };
    for (const FrameCase& c : {FrameCase{0, 20}, FrameCase{1, 22}, FrameCase{99, 218}, FrameCase{-3, 14}})
        EXPECT_EQ(dlg.FrameToPixel(c.frame), c.x) << c.frame;
    struct PixelCase { int x, frame; };
    for (const PixelCase& c : {PixelCase{20, 0}, PixelCase{21, 1}, PixelCase{19, 0}, PixelCase{218, 99}, PixelCase{10, -4}})
        EXPECT_EQ(dlg.PixelToFrame(c.x), c.frame) << c.x;
    EXPECT_EQ(dlg.LocationToPixel(0.5), 120) << "location 0.5 is frame 50";
    EXPECT_EQ(dlg.PixelToLocation(120), 50.0 / 99.0);

    struct ValueCase { float v; int x, y; };
    for (const ValueCase& c : {ValueCase{-500.0f, 20, 220}, ValueCase{0.0f, 120, 120}, ValueCase{500.0f, 220, 20},
                               ValueCase{2.5f, 121, 120}, ValueCase{-502.5f, 19, 221}, ValueCase{2000.0f, 520, -280}}) {
        EXPECT_EQ(dlg.ValueToPixelX(c.v), c.x) << c.v;
        EXPECT_EQ(dlg.ValueToPixelY(c.v), c.y) << c.v;
    }
    // The half unit is added to the value: a pixel maps back half a unit past its value.
    EXPECT_EQ(dlg.PixelToValueX(20), -499.5f);
    EXPECT_EQ(dlg.PixelToValueX(120), 0.5f);
    EXPECT_EQ(dlg.PixelToValueY(20), 499.5f);
    EXPECT_EQ(dlg.PixelToValueY(220), -500.5f);

    CKivFXPosiKeyFrm* k = Key(0);
    EXPECT_EQ(dlg.GetKeyFrmRect(k, kKivFXPartKeyFrm), CRect(138, 158, 142, 162));
    EXPECT_EQ(dlg.GetKeyFrmRect(k, kKivFXPartForePt), CRect(128, 153, 132, 157));
    EXPECT_EQ(dlg.GetKeyFrmRect(k, kKivFXPartAfterPt), CRect(138, 158, 142, 162));
    EXPECT_EQ(dlg.GetKeyFrmRect(nullptr, 0), CRect());
    EXPECT_EQ(dlg.GetTimeNoteRect(k), CRect(117, 238, 123, 244));
    EXPECT_EQ(dlg.GetTimeNoteRect(nullptr), CRect());
    EXPECT_EQ(dlg.GetTimeRulerRect(), CRect(13, 221, 28, 231)) << "15 x 10, top on the strip, centred on frame 0";
}

TEST_F(PosiDialogSetup, WithoutShowLimitTheViewIsExactlyTheVideoFrameAndHasNoRedOutline) {
    Open(MakePosiTrack({}));
    const COLORREF red = RGB(200, 0, 0), cyan = RGB(0, 196, 196);
    EXPECT_EQ(At(48, 100), red) << "the video outline's left edge";
    EXPECT_EQ(At(20, 100), cyan) << "the X-Y frame";
    EXPECT_EQ(At(30, 30), RGB(120, 120, 120)) << "the dialog's own face";

    dlg.SetShowLimit(0);
    EXPECT_EQ(dlg.lastUpdate, dlg.GetXYRect()) << "only the view is repainted";
    EXPECT_EQ(dlg.GetXViewMin(), -360.0f);
    EXPECT_EQ(dlg.GetXViewMax(), 360.0f);
    EXPECT_EQ(dlg.GetYViewTop(), 288.0f);
    EXPECT_EQ(dlg.GetYViewBottom(), -288.0f);
    EXPECT_EQ(dlg.GetVideoRect(), dlg.GetXYRect());
    int redPixels = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) redPixels += At(x, y) == red;
    EXPECT_EQ(redPixels, 0);
    EXPECT_EQ(At(20, 100), cyan);

    // The video size is read at the next layout, not before.
    ASSERT_TRUE(CKivVideoStd::SetResSize(CSize(400, 300)));
    EXPECT_EQ(dlg.GetXViewMax(), 360.0f);
    dlg.MoveWindow(kLeft, kTop, kWidth, kHeight + 1);
    EXPECT_EQ(dlg.GetXViewMax(), 200.0f);
    EXPECT_EQ(dlg.GetYViewBottom(), -150.0f);
    dlg.SetShowLimit(1);
    EXPECT_EQ(dlg.GetXViewMax(), 500.0f) << "zoom scale x MaxX";
    EXPECT_EQ(dlg.GetVideoRect(), CRect(80, 90, 160, 151));
}

TEST_F(PosiDialogSetup, DegenerateRangesAndClientsMapWithoutDividingByZero) {
    struct Case {
        const char* what;
        float minX, maxX, minY, maxY;
        int in, out;
        CSize client;
        bool grabs = true;  // the keyframe shows and can be dragged
    };
    const Case cases[] = {
        {"empty X range", 100.0f, 100.0f, -1000.0f, 1000.0f, 0, 99, {240, 261}},
        {"empty Y range", -1000.0f, 1000.0f, 7.0f, 7.0f, 0, 99, {240, 261}},
        {"one-frame story range", -1000.0f, 1000.0f, -1000.0f, 1000.0f, 40, 40, {240, 261}},
        {"story out below in", -1000.0f, 1000.0f, -1000.0f, 1000.0f, 90, 10, {240, 261}},
        {"client too small", -1000.0f, 1000.0f, -1000.0f, 1000.0f, 0, 99, {30, 12}, false},
        {"no client at all", 100.0f, 100.0f, 7.0f, 7.0f, 5, 5, {0, 0}, false},
        {"ranges beyond float", -3e38f, 3e38f, -3e38f, 3e38f, INT_MIN, INT_MAX, {240, 261}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dlg.DestroyWindow();
        host.DestroyWindow();
        auto t = MakePosiTrack({{0.0, 0.0f, 0.0f}, {1.0, 50.0f, 50.0f}}, 0);
        t->MinX = c.minX;
        t->MaxX = c.maxX;
        t->MinY = c.minY;
        t->MaxY = c.maxY;
        Open(std::move(t), c.in, c.out);
        dlg.MoveWindow(kLeft, kTop, c.client.cx, c.client.cy);
        dlg.SetShowLimit(0);
        dlg.SetShowLimit(1);
        KivScreen::Get().PaintAll();
        EXPECT_TRUE(std::isfinite(dlg.GetFramesPerPixel()));
        EXPECT_TRUE(std::isfinite(dlg.GetXValuePerPixel()));
        EXPECT_TRUE(std::isfinite(dlg.GetYValuePerPixel()));
        if (c.minX == c.maxX) {
            EXPECT_EQ(dlg.ValueToPixelX(123.0f), dlg.GetXYRect().left) << "every X at the left edge";
        }
        if (c.minY == c.maxY) {
            EXPECT_EQ(dlg.ValueToPixelY(123.0f), dlg.GetXYRect().top) << "every Y at the top edge";
        }
        if (c.out <= c.in) {
            EXPECT_EQ(dlg.GetLocation(c.in + 1), 0.0);
        }
        (void)dlg.PixelToFrame(INT_MAX);
        (void)dlg.FrameToPixel(INT_MIN);
        // A drag over the degenerate view stays inside the track's range.
        const CRect key = dlg.GetKeyFrmRect(Key(1), kKivFXPartKeyFrm);
        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(key.left + 2, key.top + 2));
        EXPECT_EQ(dlg.GetDragKind() == CKivFXPosiKeyFrmDlg::kDragKeyFrm, c.grabs);
        dlg.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, 0));
        dlg.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
        if (!c.grabs) {
            EXPECT_EQ(Key(1)->PosiX, 50.0f) << "nothing shows, nothing moves";
            continue;
        }
        EXPECT_GE(Key(1)->PosiX, c.minX);
        EXPECT_LE(Key(1)->PosiX, c.maxX);
        EXPECT_GE(Key(1)->PosiY, c.minY);
        EXPECT_LE(Key(1)->PosiY, c.maxY);
    }
}
