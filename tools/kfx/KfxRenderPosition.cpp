// The position dialog drawn on the headless screen for `kfx render --editor position-dialog`
// and the demo.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "KfxCommands.h"
#include "KfxProject.h"
#include "KfxRender.h"
#include "keyfrm/editors/CKivFXPosiKeyFrmDlg.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "platform/ui/WindowSystem.h"

namespace {

// A frame-based track as the dialog would hold it placed by location: each keyframe at the
// location of its Frame in the story range (handles are offsets in space and stay). The copy
// is the caller's.
std::unique_ptr<CKivFXPosiKeyFrmList> ByLocation(const CKivFXPosiKeyFrmList& track, int in, int out) {
    auto copy = std::make_unique<CKivFXPosiKeyFrmList>();
    *copy = track;
    copy->SetBaseOnFrame(0);
    const KivFXStoryRange range{in, out};
    for (int i = 0; i < copy->GetKeyFrmCount(); ++i)
        if (CKivFXPosiKeyFrm* k = copy->GetFXKeyFrm(i)) k->Location = range.GetLocation(k->Frame);
    KivFXKeyFrmTaxisList(copy.get());
    return copy;
}

}  // namespace

void KfxRenderPositionDialog(CKivFXPosiKeyFrmList& shown, const KfxDialogView& view, const std::string& png) {
    const auto [in, out] = KfxStoryRangeOf(shown, view);
    std::unique_ptr<CKivFXPosiKeyFrmList> converted;
    if (shown.IsBaseOnFrame()) converted = ByLocation(shown, in, out);
    CKivFXPosiKeyFrmList& track = converted ? *converted : shown;
    const CRect area(0, 0, view.size.cx, view.size.cy);
    CWnd host;
    KfxCreateDrawingHost(host, view.size);
    CKivFXPosiKeyFrmDlg dialog(&host);
    dialog.SetRange(in, out, &track);
    if (!dialog.Create(&host)) throw KfxError("cannot create the position dialog");
    dialog.MoveWindow(&area, FALSE);
    dialog.UpTimeLine(std::clamp(view.frame, std::min(in, out), std::max(in, out)));
    dialog.ShowWindow(SW_SHOW);
    KfxSaveScreen(png);
}

int KfxRenderPosition(CObList& list, const std::string& file, int trackIndex, const KfxDialogView& view, const std::string& png) {
    CKivFXPosiKeyFrmList* track = KfxFindPositionTrack(list, trackIndex);
    if (!track) return KfxFail(file + ": no position track number " + std::to_string(trackIndex) + " in it");
    KfxRenderPositionDialog(*track, view, png);
    std::printf("%s: position track %d (%d keyframes) drawn into %s (%ldx%ld)\n", file.c_str(), trackIndex,
                track->GetKeyFrmCount(), png.c_str(), static_cast<long>(view.size.cx), static_cast<long>(view.size.cy));
    return kKfxOk;
}
