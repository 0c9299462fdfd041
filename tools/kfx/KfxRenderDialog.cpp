// The curve dialog drawn on the headless screen for `kfx render --editor curve-dialog` and
// the demo.
#include <algorithm>
#include <memory>

#include "KfxProject.h"
#include "KfxRender.h"
#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "platform/ui/WindowSystem.h"

namespace {

// The story range of a track whose keyframes span no frames.
constexpr int kDefaultIn = 0;
constexpr int kDefaultOut = 100;

}  // namespace

std::pair<int, int> KfxStoryRangeOf(const CKivObList& track, const KfxDialogView& view) {
    if (view.range) return *view.range;
    bool any = false;
    int lo = 0, hi = 0;
    for (POSITION pos = track.GetHeadPosition(); pos;) {
        const CObject* o = track.GetNext(pos);
        if (!o || !o->IsKindOf(RUNTIME_CLASS(CKivFXInsValueKeyFrm))) continue;
        const int frame = static_cast<const CKivFXInsValueKeyFrm*>(o)->Frame;
        lo = any ? std::min(lo, frame) : frame;
        hi = any ? std::max(hi, frame) : frame;
        any = true;
    }
    if (!any || hi <= lo) return {kDefaultIn, kDefaultOut};
    return {lo, hi};
}

namespace {

// A frame-based track as the dialog would hold it placed by location: each keyframe at the
// location of its Frame in the story range, its handles' frame offsets as the locations
// they cover. The copy is the caller's.
std::unique_ptr<CKivFXInsKeyFrmList> ByLocation(const CKivFXInsKeyFrmList& track, int in, int out) {
    auto copy = std::make_unique<CKivFXInsKeyFrmList>();
    copy->MinValue = track.MinValue;
    copy->MaxValue = track.MaxValue;
    copy->DefValue = track.DefValue;
    copy->InsMode = track.InsMode;
    copy->CtrlMode = track.CtrlMode;
    copy->SetBaseOnFrame(0);
    const KivFXStoryRange range{in, out};
    const double span = out > in ? static_cast<double>(out) - in : 1.0;
    for (int i = 0; i < track.GetKeyFrmCount(); ++i)
        if (const CKivFXValueKeyFrm* k = track.GetFXKeyFrm(i)) {
            std::unique_ptr<CKivObject> made(k->MakeCopy());
            auto* key = dynamic_cast<CKivFXValueKeyFrm*>(made.get());
            if (!key) throw KfxError("cannot copy the track to draw it");
            key->Location = range.GetLocation(k->Frame);
            key->PtFore.PosOffset /= span;
            key->PtAfter.PosOffset /= span;
            copy->AddTail(key);
            made.release();
        }
    KivFXKeyFrmTaxisList(copy.get());
    return copy;
}

}  // namespace

void KfxRenderCurveDialog(CKivFXInsKeyFrmList& shown, const KfxDialogView& view, const std::string& png) {
    const auto [in, out] = KfxStoryRangeOf(shown, view);
    std::unique_ptr<CKivFXInsKeyFrmList> converted;
    if (shown.IsBaseOnFrame()) converted = ByLocation(shown, in, out);
    CKivFXInsKeyFrmList& track = converted ? *converted : shown;
    const CRect area(0, 0, view.size.cx, view.size.cy);
    CWnd host;
    KfxCreateDrawingHost(host, view.size);
    CKivFXInsKeyFrmDlg dialog(&host);
    dialog.SetRange(AquaEdit_Type_Number, in, out, &track);
    if (!dialog.Create(&host)) throw KfxError("cannot create the curve dialog");
    dialog.MoveWindow(&area, FALSE);
    dialog.UpTimeLine(std::clamp(view.frame, std::min(in, out), std::max(in, out)));
    dialog.ShowWindow(SW_SHOW);
    KfxSaveScreen(png);
}
