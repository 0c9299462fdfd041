// Whole pictures of the colour dialog compared pixel for pixel with the PNGs in golden/
// (see golden/README.md for when and how to regenerate them).
#include <filesystem>

#include "ColourDialogTestSupport.h"
#include "support/GoldenPng.h"

namespace {

const std::filesystem::path kGoldenDir = std::filesystem::path(KIVFX_SOURCE_DIR) / "tests/keyfrm/editors/golden";

// Red, half-transparent green and blue over the range, as in the demo project.
std::unique_ptr<CKivFXColor32KeyFrmList> GoldenTrack() {
    return MakeColourTrack({{0.0, 255, 0, 0, 255}, {0.5, 0, 200, 0, 128}, {1.0, 0, 0, 255, 255}});
}

}  // namespace

TEST_F(ColourDialogTest, GoldenLaidOutWhileAKeyframeIsDragged) {
    Open(GoldenTrack(), 0.3);
    Press(CPoint(StripX(0.5), kStripMiddle));
    Move(CPoint(StripX(0.65), kStripMiddle));
    KivScreen::Get().PaintAll();
    ExpectScreenMatchesGolden(kGoldenDir / "colour-dialog-drag.png");
    Release(CPoint(StripX(0.65), kStripMiddle));
}

using ColourDialogGolden = UiTest;

TEST_F(ColourDialogGolden, TemplateSizeOnAKeyframe) {
    auto track = GoldenTrack();
    ColourHost host;
    CKivFXClr32KeyFrmDlg dlg(track.get());
    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 1, 1)));
    ASSERT_TRUE(dlg.Create(&host));
    CRect r;
    dlg.GetWindowRect(&r);
    KivScreen::Get().Resize(r.Width(), r.Height());
    host.MoveWindow(0, 0, r.Width(), r.Height());
    dlg.ShowWindow(SW_SHOW);
    KivScreen::Get().PaintAll();
    ExpectScreenMatchesGolden(kGoldenDir / "colour-dialog-template.png");
    dlg.DestroyWindow();
}
