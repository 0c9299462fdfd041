// Demo part: the project's first scalar track drawn by the curve window into
// curve-window.png and by the curve dialog into curve-dialog.png next to the project files.
#include "KfxDemoParts.h"
#include "KfxProject.h"
#include "KfxRender.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"

namespace {

// The current-frame line sits inside the demo track's frames 0 to 100.
constexpr int kDemoFrame = 40;

}  // namespace

void KfxDemoEditors(KfxDemoContext& demo) {
    CKivFXInsKeyFrmList* track = KfxFindScalarTrack(demo.project, 0);
    if (!track) return demo.Fail("the project has no scalar track for the curve window");
    const std::string png = (demo.dir / "curve-window.png").string();
    KfxCurveView view;
    view.frame = kDemoFrame;
    try {
        KfxRenderCurveWindow(*track, view, png);
    } catch (const KfxError& e) {
        return demo.Fail(e.what());
    }
    demo.Report("curve window: " + std::to_string(track->GetKeyFrmCount()) + " keyframes drawn into " + png);

    const std::string dialogPng = (demo.dir / "curve-dialog.png").string();
    KfxDialogView dialogView;
    dialogView.frame = kDemoFrame;
    try {
        KfxRenderCurveDialog(*track, dialogView, dialogPng);
    } catch (const KfxError& e) {
        return demo.Fail(e.what());
    }
    demo.Report("curve dialog: " + std::to_string(track->GetKeyFrmCount()) + " keyframes drawn into " + dialogPng);
}
