#include "KfxCurveDialogSlot.h"

#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"

namespace {

// The dialog takes this share (in percent) of the editor's height, the curve window the rest.
constexpr int kDialogSharePercent = 60;

}  // namespace

bool KfxCurveDialogSlot::Create(CWnd& host, CKivObList& track, const KfxEditTime& time) {
    KfxPlaceOnStory(track, time);
    auto* curve = static_cast<CKivFXInsKeyFrmList*>(&track);
    m_dialog.SetRange(AquaEdit_Type_Number, time.storyIn, time.storyOut, curve);
    m_dialog.SetSignID(kDialogSignId);
    if (!m_dialog.Create(&host) || !KfxCurveSlot::Create(host, track, time)) return false;
    m_dialog.UpTimeLine(time.frame);
    m_dialog.ShowWindow(SW_SHOW);
    return true;
}

void KfxCurveDialogSlot::Layout(const CRect& area) {
    const int split = area.top + area.Height() * kDialogSharePercent / 100;
    const CRect top(area.left, area.top, area.right, split);
    m_dialog.MoveWindow(&top, TRUE);
    KfxCurveSlot::Layout(CRect(area.left, split, area.right, area.bottom));
}

KfxEditorNotice KfxCurveDialogSlot::Route(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == 0 || msg != KivFXEditorMessages().modifyFromInsKFDlg) {
        KfxEditorNotice notice = KfxCurveSlot::Route(msg, wParam, lParam);
        // The curve window changed what the dialog draws: a move of a drag only the dragged
        // keyframe's value or handles, anything else possibly every keyframe's look.
        const auto* move = msg == KivFXEditorMessages().modifyFromInsKFWnd ? reinterpret_cast<const InsKFWndModifyInfo*>(lParam) : nullptr;
        if (notice.handled && m_dialog.m_hWnd) {
            if (move && move->ucPhase == kInsKFWndDragging)
                m_dialog.UpKeyFrm(move->nIndex);
            else
                m_dialog.Invalidate(TRUE);
        }
        return notice;
    }
    KfxEditorNotice notice;
    const auto* info = reinterpret_cast<const InsKFDlgModifyInfo*>(lParam);
    if (!info || info->nSignID != kDialogSignId) return notice;
    notice.handled = true;
    notice.finished = info->bTrackChanged != 0;
    notice.frameMoved = info->bFrameChanged != 0;
    notice.frame = m_dialog.GetCurFrame();
    KfxFramesForSaving(*m_track, m_time);
    if (notice.frameMoved) {
        m_time.frame = notice.frame;
        m_window.UpdateTimeLine(notice.frame);
    }
    if (notice.finished)
        notice.detail = L"curve changed in the dialog";
    else if (notice.frameMoved)
        notice.detail = L"current frame moved in the dialog";
    else if (m_dialog.GetDragKind() == CKivFXInsKeyFrmDlg::kDragKeyFrm)
        notice.detail = L"dragging a keyframe in the dialog";
    if (!notice.frameMoved || notice.finished) m_window.FlushWindow();
    return notice;
}

void KfxCurveDialogSlot::SetTime(const KfxEditTime& time) {
    KfxCurveSlot::SetTime(time);
    m_dialog.UpTimeLine(time.frame);
}

bool KfxCurveDialogSlot::SendValues(const std::vector<double>& values) {
    if (!m_track || values.empty() || IsBusy()) return false;
    m_dialog.SendCurKFValue(static_cast<float>(values[0]), 0);
    KfxFramesForSaving(*m_track, m_time);
    m_window.FlushWindow();
    return KivFXKeyFrmIsPoint(m_time.Location(), m_track) != 0;
}

bool KfxCurveDialogSlot::IsBusy() const { return m_dialog.IsDragging() || KfxCurveSlot::IsBusy(); }

bool KfxCurveDialogSlot::DragsIn(const CWnd* w) const { return w == &m_dialog || KfxCurveSlot::DragsIn(w); }

void KfxCurveDialogSlot::TrackRestored() {
    // A restored snapshot may be the file as opened, before its keyframes were placed.
    KfxPlaceOnStory(*m_track, m_time);
    KfxCurveSlot::TrackRestored();
    m_dialog.UpKeyFrmList(AquaEdit_Type_Number, m_track);
}

bool KfxCurveDialogSlot::Wheel(CWnd* under, CPoint screenPt, int steps, bool shift) {
    if (!KfxIsWithin(under, m_dialog)) return KfxCurveSlot::Wheel(under, screenPt, steps, shift);
    if (!shift) KfxZoomDialog(m_dialog, steps);
    return !shift;
}

bool KfxCurveDialogSlot::WouldDrag(const CWnd* under, CPoint screenPt) const {
    if (under != &m_dialog) return KfxCurveSlot::WouldDrag(under, screenPt);
    CPoint p = screenPt;
    m_dialog.ScreenToClient(&p);
    if (m_dialog.IsHitTimeRuler(p)) return true;
    for (int part : kKfxDragParts)
        if (m_dialog.IsHitKeyFrm(p, part)) return true;
    return false;
}

std::vector<std::pair<std::wstring, std::wstring>> KfxCurveDialogSlot::MouseHelp() const {
    return {{L"Dialog: drag a keyframe", L"its frame and value"},
            {L"Dialog: drag the marker on top", L"the current frame"},
            {L"Dialog: right-click", L"add or delete keyframes, move the frame, interpolation, zoom"},
            {L"Curve window: drag a keyframe", L"up or down: its value"},
            {L"Curve window: drag a handle", L"the shape of the Bezier curve around it"}};
}

std::vector<CPoint> KfxCurveDialogSlot::GripPoints() const {
    std::vector<CPoint> points = KeyFramePoints();
    if (!m_track || !m_dialog.m_hWnd) return points;
    for (int i = 0; i < m_track->GetKeyFrmCount(); ++i) {
        CPoint p = m_dialog.GetKeyFrmRect(m_track->GetFXKeyFrm(i), 0).CenterPoint();
        m_dialog.ClientToScreen(&p);
        points.push_back(p);
    }
    return points;
}
