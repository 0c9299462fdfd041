// Whole pictures of the curve window compared pixel for pixel with the PNGs in golden/
// (see golden/README.md for when and how to regenerate them).
#include <filesystem>

#include "CurveWindowTestSupport.h"
#include "support/GoldenPng.h"

namespace {

const std::filesystem::path kGoldenDir = std::filesystem::path(KIVFX_SOURCE_DIR) / "tests/keyfrm/editors/golden";
constexpr int kWidth = 320, kHeight = 160;

// Four keyframes over frames 0 to 100, values 0 to 100, with uneven handles.
std::unique_ptr<CKivFXInsKeyFrmList> GoldenTrack(int insMode) {
    auto t = MakeTrack({{0, 10.0f, 0, 0, 20, 40}, {30, 85.0f, -12, -5, 15, 10}, {65, 25.0f, -10, 20, 10, -20}, {100, 70.0f, -25, 0, 0, 0}},
                       insMode, 1);
    t->MinValue = 0.0f;
    t->MaxValue = 100.0f;
    t->DefValue = 40.0f;
    return t;
}

}  // namespace

class CurveGolden : public UiTest {
protected:
    void TearDown() override {
        wnd.DestroyWindow();
        host.DestroyWindow();
        UiTest::TearDown();
    }
    void Show(std::unique_ptr<CKivFXInsKeyFrmList> shown, int timeLine) {
        track = std::move(shown);
        KivScreen::Get().Resize(kWidth, kHeight);
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, kWidth, kHeight)));
        wnd.SetKeyFrmList(track.get());
        wnd.SetScrollPos(-5);
        wnd.SetPixelPreFrame(3.0);
        wnd.SetTimeLine(timeLine);
        ASSERT_TRUE(wnd.Create(WS_CHILD | WS_VISIBLE, &host, CRect(0, 0, kWidth, kHeight)));
        KivScreen::Get().PaintAll();
    }
    std::unique_ptr<CKivFXInsKeyFrmList> track;
    CurveHost host;
    TestCurveWnd wnd;
};

TEST_F(CurveGolden, BezierTrackWithASelectedKeyframe) {
    Show(GoldenTrack(1), 40);
    track->GetFXKeyFrm(2)->SetSelect(1);
    wnd.FlushWindow();
    ExpectScreenMatchesGolden(kGoldenDir / "curve-bezier.png");
}

TEST_F(CurveGolden, LinearTrack) {
    Show(GoldenTrack(0), 75);
    ExpectScreenMatchesGolden(kGoldenDir / "curve-linear.png");
}

TEST_F(CurveGolden, EmptyTrack) {
    Show(MakeTrack({}), 10);
    ExpectScreenMatchesGolden(kGoldenDir / "curve-empty.png");
}

TEST_F(CurveGolden, AfterDraggingAHandleWithLinkage) {
    Show(GoldenTrack(1), 40);
    CKivFXValueKeyFrm* k = track->GetFXKeyFrm(1);
    const CPoint fore = wnd.ScreenOfPart(k, CKivFXInsKeyFrmWnd::kPartForePt);
    KivScreen::Get().MouseDown(fore);
    KivScreen::Get().MouseMove(CPoint(fore.x - 20, fore.y - 25));
    KivScreen::Get().MouseUp(CPoint(fore.x - 20, fore.y - 25));
    KivScreen::Get().PaintAll();
    ExpectScreenMatchesGolden(kGoldenDir / "curve-linkage-drag.png");
}
