// Demo part: the project's first scalar track drawn by the curve window into
// curve-window.png and by the curve dialog into curve-dialog.png, its first position track by
// the position dialog into position-dialog.png, and its first colour track by the colour
// dialog into colour-dialog.png, next to the project files.
#include "KfxDemoParts.h"
#include "KfxProject.h"
#include "KfxRender.h"
#include "keyfrm/tracks/CKivFXColor32KeyFrmList.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"

namespace {

// The current-frame line sits inside the demo track's frames 0 to 100.
constexpr int kDemoFrame = 40;
// The colour dialog's current location, between the demo ramp's first two keyframes.
constexpr double kDemoLocation = 0.3;

void DemoColourDialog(KfxDemoContext& demo) {
    auto* track = static_cast<CKivFXColor32KeyFrmList*>(KfxFindObjectOf(demo.project, RUNTIME_CLASS(CKivFXColor32KeyFrmList), 0));
    if (!track) return demo.Fail("the project has no colour track for the colour dialog");
    const std::string png = (demo.dir / "colour-dialog.png").string();
    KfxColourView view;
    view.location = kDemoLocation;
    try {
        KfxRenderColourDialog(*track, view, png);
    } catch (const KfxError& e) {
        return demo.Fail(e.what());
    }
    demo.Report("colour dialog: " + std::to_string(track->GetKeyFrmCount()) + " keyframes drawn into " + png);
}
// The position dialog's picture: the current position partway along the demo path, in a
// view of the path's shape.
constexpr int kDemoPathFrame = 70;
constexpr int kDemoPathWidth = 480;
constexpr int kDemoPathHeight = 400;

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

    CKivFXPosiKeyFrmList* path = KfxFindPositionTrack(demo.project, 0);
    if (!path) return demo.Fail("the project has no position track for the position dialog");
    const std::string pathPng = (demo.dir / "position-dialog.png").string();
    KfxDialogView pathView;
    pathView.size = CSize(kDemoPathWidth, kDemoPathHeight);
    pathView.frame = kDemoPathFrame;
    try {
        KfxRenderPositionDialog(*path, pathView, pathPng);
    } catch (const KfxError& e) {
        return demo.Fail(e.what());
    }
    demo.Report("position dialog: " + std::to_string(path->GetKeyFrmCount()) + " keyframes drawn into " + pathPng);

    DemoColourDialog(demo);
}
