// The position dialog's mouse: hit testing, and the five drags (current-frame marker, a
// keyframe's time square, its position, its fore and after handle with their coupling).
#include <cmath>

#include "keyfrm/editors/CKivFXPosiKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

namespace {

// The frame tip sits this far below the time strip's bottom line.
constexpr int kTipBelowStrip = 25;
constexpr float kRightAngle = 1.57079637f;  // pi / 2 in single precision

// v limited to [lo, hi], the low end winning when the two are inverted; a NaN (from a range
// that is not a number) keeps the value it had.
float ClampAxis(float v, float lo, float hi, float before) {
    if (v > hi) v = hi;
    if (v < lo) v = lo;
    return std::isnan(v) ? before : v;
}

// A handle's length in the X-Y plane, in position units (in double, so no square overflows).
float HandleLength(const SKivFXPosiHandle& h) {
    return static_cast<float>(std::sqrt(static_cast<double>(h.X) * h.X + static_cast<double>(h.Y) * h.Y));
}

}  // namespace

BOOL CKivFXPosiKeyFrmDlg::IsHitTimeRuler(CPoint point) const { return GetTimeRulerRect().PtInRect(point); }

CKivFXPosiKeyFrm* CKivFXPosiKeyFrmDlg::IsHitTimeNote(CPoint point) const {
    for (CKivFXPosiKeyFrm* k : KeyFrames())
        if (GetTimeNoteRect(k).PtInRect(point)) return k;
    return nullptr;
}

CKivFXPosiKeyFrm* CKivFXPosiKeyFrmDlg::IsHitKeyFrm(CPoint point, int part) const {
    // Only what the X-Y view shows can be grabbed.
    if (!m_pKFList || !m_rcXY.PtInRect(point)) return nullptr;
    const std::vector<CKivFXPosiKeyFrm*> keys = KeyFrames();
    const int count = static_cast<int>(keys.size());
    for (int i = 0; i < count; ++i) {
        if (!KivFXPartShown(i, count, part, m_pKFList->InsMode)) continue;
        CKivFXPosiKeyFrm* k = keys[static_cast<size_t>(i)];
        const CRect r = GetKeyFrmRect(k, part);
        if (!r.IsRectEmpty() && r.PtInRect(point)) return k;
    }
    return nullptr;
}

void CKivFXPosiKeyFrmDlg::OnLButtonDown(UINT, CPoint point) {
    if (m_bDragging) {
        Default();
        return;
    }
    CKivFXPosiKeyFrm* hit = nullptr;
    if (IsHitTimeRuler(point)) {
        m_bDragging = TRUE;
        BeginDragTL(point);
    } else if ((hit = IsHitTimeNote(point))) {
        m_bDragging = TRUE;
        m_pDragKF = hit;
        BeginDragTLNote(point);
    } else if ((hit = IsHitKeyFrm(point, kKivFXPartAfterPt))) {
        m_bDragging = TRUE;
        m_pDragKF = hit;
        BeginDragKFAfterPt(point);
    } else if ((hit = IsHitKeyFrm(point, kKivFXPartForePt))) {
        m_bDragging = TRUE;
        m_pDragKF = hit;
        BeginDragKFForePt(point);
    } else if ((hit = IsHitKeyFrm(point, kKivFXPartKeyFrm))) {
        m_bDragging = TRUE;
        m_pDragKF = hit;
        BeginDragKF(point);
    }
    if (m_bDragging) {
        if (m_nDragKind != kDragTimeLine) SelectDragged();
        SetCapture();
    } else {
        if (m_pKFList) m_pKFList->UnSelectKF();
        RepaintNow();
    }
    Default();
}

void CKivFXPosiKeyFrmDlg::SelectDragged() {
    if (!m_pKFList || !m_pDragKF) return;
    m_pKFList->SetSelectKF(m_pDragKF, 1);
    const CRect square = GetKeyFrmRect(m_pDragKF, kKivFXPartKeyFrm);
    const CRect note = GetTimeNoteRect(m_pDragKF);
    InvalidateRect(&square, TRUE);
    InvalidateRect(&note, TRUE);
    UpdateWindow();
}

// The host may destroy the dialog while it handles the message a handler sends: default
// processing then has no window to run for.
void CKivFXPosiKeyFrmDlg::OnMouseMove(UINT, CPoint point) {
    const HWND self = m_hWnd;
    if (m_bDragging) Drag(point);
    if (IsWindow(self)) Default();
}

void CKivFXPosiKeyFrmDlg::OnLButtonUp(UINT, CPoint) {
    const HWND self = m_hWnd;
    if (m_bDragging) EndDrag();
    if (IsWindow(self)) Default();
}

void CKivFXPosiKeyFrmDlg::BeginDragTL(CPoint point) {
    m_ptLast = point;
    m_nDragKind = kDragTimeLine;
    if (m_bShowScale)
        KivFXShowFrameTip(m_parts.toolTip, *this, m_nCurFrame, CPoint(point.x, m_rcTimeStrip.bottom + kTipBelowStrip));
    SetFocus();
}

void CKivFXPosiKeyFrmDlg::BeginDragTLNote(CPoint point) {
    m_ptLast = point;
    m_nDragKind = kDragTimeNote;
    if (m_bShowScale)
        KivFXShowFrameTip(m_parts.toolTip, *this, PixelToFrame(point.x), CPoint(point.x, m_rcTimeStrip.bottom + kTipBelowStrip));
    SetFocus();
}

void CKivFXPosiKeyFrmDlg::BeginDragKF(CPoint point) {
    m_ptLast = point;
    m_nDragKind = kDragKeyFrm;
}

void CKivFXPosiKeyFrmDlg::BeginDragKFForePt(CPoint point) {
    m_ptLast = point;
    m_nDragKind = kDragForePt;
    if (m_pKFList && m_pDragKF && KivFXDragCtrlMode(m_pKFList->CtrlMode) == kCtrlModeLinkage)
        m_fHandleLength = HandleLength(m_pDragKF->After);
}

void CKivFXPosiKeyFrmDlg::BeginDragKFAfterPt(CPoint point) {
    m_ptLast = point;
    m_nDragKind = kDragAfterPt;
    if (m_pKFList && m_pDragKF && KivFXDragCtrlMode(m_pKFList->CtrlMode) == kCtrlModeLinkage)
        m_fHandleLength = HandleLength(m_pDragKF->Fore);
}

bool CKivFXPosiKeyFrmDlg::DraggedKFAlive() const {
    return m_pKFList && m_pDragKF && m_pKFList->GetFXKeyFrmIndex(m_pDragKF) >= 0;
}

void CKivFXPosiKeyFrmDlg::Drag(CPoint point) {
    if (m_nDragKind == kDragTimeLine) {
        DragTL(point);
        SendToModifyMsg(0, 1);
        return;
    }
    // The host may have removed the keyframe while it was dragged: the drag ends quietly.
    if (!DraggedKFAlive()) {
        CancelDrag();
        RepaintNow();
        return;
    }
    switch (m_nDragKind) {
        case kDragTimeNote: DragTLNote(point); break;
        case kDragKeyFrm: DragKF(point); break;
        case kDragForePt: DragKFForePt(point); break;
        case kDragAfterPt: DragKFAfterPt(point); break;
        default: break;
    }
    SendToModifyMsg(0, 0);
}

void CKivFXPosiKeyFrmDlg::DragTL(CPoint point) {
    const int before = m_nCurFrame;
    m_nCurFrame = m_range.Clamp(PixelToFrame(point.x));
    if (m_bShowScale)
        KivFXShowFrameTip(m_parts.toolTip, *this, m_nCurFrame, CPoint(point.x, m_rcTimeStrip.bottom + kTipBelowStrip));
    // Around the marker's old and new places, wherever on it the mouse holds it.
    InvalidateMarker(FrameToPixel(before));
    InvalidateMarker(FrameToPixel(m_nCurFrame));
    InvalidateXY();
    UpdateWindow();
    m_ptLast = point;
    SetFocus();
}

void CKivFXPosiKeyFrmDlg::DragTLNote(CPoint point) {
    const int frame = m_range.Clamp(PixelToFrame(point.x));
    if (m_bShowScale)
        KivFXShowFrameTip(m_parts.toolTip, *this, frame, CPoint(point.x, m_rcTimeStrip.bottom + kTipBelowStrip));
    KivFXPlaceDraggedKF(m_pKFList, m_pDragKF, frame, m_range, point.x == m_ptLast.x);
    InvalidateStripAndXY();
    m_ptLast = point;
}

void CKivFXPosiKeyFrmDlg::DragKF(CPoint point) {
    CKivFXPosiKeyFrm& k = *m_pDragKF;
    // The track's range, not the zoomed view: a zoomed-in view never narrows where a
    // keyframe may go.
    k.PosiX = ClampAxis(PixelToValueX(point.x), m_fMinX, m_fMaxX, k.PosiX);
    k.PosiY = ClampAxis(PixelToValueY(point.y), m_fMinY, m_fMaxY, k.PosiY);
    RepaintXY();
    m_ptLast = point;
}

void CKivFXPosiKeyFrmDlg::DragKFForePt(CPoint point) { DragHandle(point, true); }

void CKivFXPosiKeyFrmDlg::DragKFAfterPt(CPoint point) { DragHandle(point, false); }

void CKivFXPosiKeyFrmDlg::DragHandle(CPoint point, bool fore) {
    CKivFXPosiKeyFrm& k = *m_pDragKF;
    // Handles have no limits: only the keyframe's own position keeps to the track's range.
    SKivFXPosiHandle& h = fore ? k.Fore : k.After;
    h.X = PixelToValueX(point.x) - k.PosiX;
    h.Y = PixelToValueY(point.y) - k.PosiY;
    if (fore)
        AdjustDragAfterPt();
    else
        AdjustDragForePt();
    RepaintXY();
    m_ptLast = point;
}

void CKivFXPosiKeyFrmDlg::AdjustDragAfterPt() { AdjustOpposite(true); }

void CKivFXPosiKeyFrmDlg::AdjustDragForePt() { AdjustOpposite(false); }

void CKivFXPosiKeyFrmDlg::AdjustOpposite(bool foreMoved) {
    if (!m_pDragKF || !m_pKFList) return;
    const SKivFXPosiHandle& m = foreMoved ? m_pDragKF->Fore : m_pDragKF->After;
    SKivFXPosiHandle& o = foreMoved ? m_pDragKF->After : m_pDragKF->Fore;
    // Coupling works in position units on X and Y; Z offsets are the host's and stay.
    switch (KivFXDragCtrlMode(m_pKFList->CtrlMode)) {
        case kCtrlModeSymmetry:
            o.X = -m.X;
            o.Y = -m.Y;
            return;
        case kCtrlModeLinkage: {
            if ((m.X == 0.0f && m.Y == 0.0f) || m_fHandleLength == 0.0f) return;
            // A handle with no X extent stands upright.
            const float angle = m.X == 0.0f ? kRightAngle : std::atan(std::fabs(m.Y) / std::fabs(m.X));
            const float x = std::cos(angle) * m_fHandleLength;
            const float y = std::sin(angle) * m_fHandleLength;
            o.X = m.X > 0.0f ? -x : x;
            o.Y = m.Y > 0.0f ? -y : y;
            return;
        }
        default: return;
    }
}

void CKivFXPosiKeyFrmDlg::EndDrag() {
    const int kind = m_nDragKind;
    // A keyframe the host removed during the drag ends it quietly.
    if (kind != kDragTimeLine && !DraggedKFAlive()) {
        CancelDrag();
        RepaintNow();
        return;
    }
    switch (kind) {
        case kDragTimeLine: EndDragTL(); break;
        case kDragTimeNote: EndDragTLNote(); break;
        case kDragKeyFrm: EndDragKF(); break;
        case kDragForePt: EndDragKFForePt(); break;
        case kDragAfterPt: EndDragKFAfterPt(); break;
        default: break;
    }
    m_bDragging = FALSE;
    m_nDragKind = kDragNone;
    if (GetCapture() == this) ReleaseCapture();
    RepaintNow();
    if (kind == kDragTimeLine)
        SendToModifyMsg(0, 1);
    else
        SendToModifyMsg(1, 0);
}

void CKivFXPosiKeyFrmDlg::EndDragTL() { m_parts.HideToolTip(); }

void CKivFXPosiKeyFrmDlg::EndDragTLNote() {
    m_pDragKF = nullptr;
    m_parts.HideToolTip();
}

void CKivFXPosiKeyFrmDlg::EndDragKF() { m_pDragKF = nullptr; }

void CKivFXPosiKeyFrmDlg::EndDragKFForePt() {
    m_pDragKF = nullptr;
    m_fHandleLength = 0.0f;
}

void CKivFXPosiKeyFrmDlg::EndDragKFAfterPt() {
    m_pDragKF = nullptr;
    m_fHandleLength = 0.0f;
}

void CKivFXPosiKeyFrmDlg::CancelDrag() {
    if (m_nDragKind == kDragTimeLine || m_nDragKind == kDragTimeNote) m_parts.HideToolTip();
    m_bDragging = FALSE;
    m_nDragKind = kDragNone;
    m_pDragKF = nullptr;
    m_fHandleLength = 0.0f;
    if (m_hWnd && GetCapture() == this) ReleaseCapture();
}

void CKivFXPosiKeyFrmDlg::OnRButtonDown(UINT, CPoint point) {
    const HWND self = m_hWnd;
    CreateMenu(point);
    if (IsWindow(self)) Default();
}
