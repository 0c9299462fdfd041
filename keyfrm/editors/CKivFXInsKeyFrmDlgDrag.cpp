// The curve dialog's mouse: hit testing, and the four drags (current-frame marker,
// keyframe in both directions, fore and after handle with their coupling).
#include <cmath>

#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

BOOL CKivFXInsKeyFrmDlg::IsHitTimeRuler(CPoint point) const { return GetTimeRulerRect().PtInRect(point); }

CKivFXValueKeyFrm* CKivFXInsKeyFrmDlg::IsHitKeyFrm(CPoint point, int part) const {
    if (!m_pKFList) return nullptr;
    const int count = m_pKFList->GetKeyFrmCount();
    for (int i = 0; i < count; ++i) {
        if (!KivFXPartShown(i, count, part, m_pKFList->InsMode)) continue;
        CKivFXValueKeyFrm* k = m_pKFList->GetFXKeyFrm(i);
        if (!k) continue;
        const CRect r = GetKeyFrmRect(k, part);
        if (!r.IsRectEmpty() && r.PtInRect(point)) return k;
    }
    return nullptr;
}

void CKivFXInsKeyFrmDlg::OnLButtonDown(UINT, CPoint point) {
    SetFocus();
    if (m_bDragging) {
        Default();
        return;
    }
    if (IsHitTimeRuler(point)) {
        m_bDragging = TRUE;
        BeginDragTL(point);
    } else if (CKivFXValueKeyFrm* hit = IsHitKeyFrm(point, kKivFXPartAfterPt)) {
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
        if (m_nDragKind == kDragKeyFrm && m_pKFList) {
            m_pKFList->SetSelectKF(m_pDragKF, 1);
            const CRect square = GetKeyFrmRect(m_pDragKF, kKivFXPartKeyFrm);
            InvalidateRect(&square, TRUE);
            UpdateWindow();
        }
        SetCapture();
    } else {
        if (m_pKFList) m_pKFList->UnSelectKF();
        RepaintNow();
    }
    Default();
}

// The host may destroy the dialog while it handles a message sent from a handler: default
// processing then has no window to run for.
void CKivFXInsKeyFrmDlg::OnMouseMove(UINT, CPoint point) {
    const HWND self = m_hWnd;
    if (m_bDragging) Drag(point);
    if (IsWindow(self)) Default();
}

void CKivFXInsKeyFrmDlg::OnLButtonUp(UINT, CPoint) {
    const HWND self = m_hWnd;
    if (m_bDragging) EndDrag();
    if (IsWindow(self)) Default();
}

void CKivFXInsKeyFrmDlg::BeginDragTL(CPoint point) {
    m_ptLast = point;
    m_nDragKind = kDragTimeLine;
    if (m_bShowScale) {
        CRect client;
        GetClientRect(&client);
        KivFXShowFrameTip(m_parts.toolTip, *this, m_nCurFrame, CPoint(point.x, client.bottom));
    }
    SetFocus();
}

void CKivFXInsKeyFrmDlg::BeginDragKF(CPoint point) {
    m_ptLast = point;
    m_nDragKind = kDragKeyFrm;
}

void CKivFXInsKeyFrmDlg::BeginDragKFForePt(CPoint point) {
    m_ptLast = point;
    m_nDragKind = kDragForePt;
    if (m_pKFList && m_pDragKF && KivFXDragCtrlMode(m_pKFList->CtrlMode) == kCtrlModeLinkage)
        m_nHandleLength = HandlePixelLength(*m_pDragKF, kKivFXPartAfterPt);
}

void CKivFXInsKeyFrmDlg::BeginDragKFAfterPt(CPoint point) {
    m_ptLast = point;
    m_nDragKind = kDragAfterPt;
    if (m_pKFList && m_pDragKF && KivFXDragCtrlMode(m_pKFList->CtrlMode) == kCtrlModeLinkage)
        m_nHandleLength = HandlePixelLength(*m_pDragKF, kKivFXPartForePt);
}

CSize CKivFXInsKeyFrmDlg::HandleExtent(const CKivFXValueKeyFrm& k, int part) const {
    const CPoint key = PartPoint(k, kKivFXPartKeyFrm);
    const CPoint handle = PartPoint(k, part);
    return CSize(handle.x - key.x, handle.y - key.y);
}

int CKivFXInsKeyFrmDlg::HandlePixelLength(const CKivFXValueKeyFrm& k, int part) const {
    const CSize e = HandleExtent(k, part);
    return KivTruncToInt(std::sqrt(static_cast<double>(e.cx) * e.cx + static_cast<double>(e.cy) * e.cy));
}

bool CKivFXInsKeyFrmDlg::DraggedKFAlive() const {
    return m_pKFList && m_pDragKF && m_pKFList->GetFXKeyFrmIndex(m_pDragKF) >= 0;
}

void CKivFXInsKeyFrmDlg::Drag(CPoint point) {
    if (m_nDragKind == kDragTimeLine) {
        DragTL(point);
        SendToModifyMsg(0, 1);
        return;
    }
    // The host may have removed the keyframe while it was dragged: the drag ends quietly.
    if (!DraggedKFAlive()) {
        CancelDrag();
        return;
    }
    switch (m_nDragKind) {
        case kDragKeyFrm: DragKF(point); break;
        case kDragForePt: DragKFForePt(point); break;
        case kDragAfterPt: DragKFAfterPt(point); break;
        default: break;
    }
    SendToModifyMsg(0, 0);
}

void CKivFXInsKeyFrmDlg::DragTL(CPoint point) {
    m_nCurFrame = m_range.Clamp(PixelToFrameX(point.x));
    CRect client;
    GetClientRect(&client);
    if (m_bShowScale) KivFXShowFrameTip(m_parts.toolTip, *this, m_nCurFrame, CPoint(point.x, client.bottom));
    InvalidateTimeStrip(m_ptLast.x);
    InvalidateTimeStrip(point.x);
    UpdateWindow();
    m_ptLast = point;
    {
        CClientDC dc(this);
        DrawKeyFrmLine(&dc);
        DrawKeyFrmArray(&dc);
    }
    SetFocus();
}

void CKivFXInsKeyFrmDlg::DragKF(CPoint point) {
    const int frame = m_range.Clamp(PixelToFrameX(point.x));
    float v = PixelToValueY(point.y);
    // Into [bottom value, top value]; the bottom wins when the two are inverted.
    if (v > m_fTopValue) v = m_fTopValue;
    if (v < m_fBottomValue) v = m_fBottomValue;
    m_pDragKF->Value = v;
    KivFXPlaceDraggedKF(m_pKFList, m_pDragKF, frame, m_range, point.x == m_ptLast.x);
    RepaintNow();
    m_ptLast = point;
}

void CKivFXInsKeyFrmDlg::DragKFForePt(CPoint point) {
    CKivFXValueKeyFrm& k = *m_pDragKF;
    const double at = HandleUnitsAt(point.x), key = HandleUnitsOf(k);
    k.PtFore.ValueOffset = PixelToValueY(point.y) - k.Value;
    k.PtFore.PosOffset = std::min(at, key) - key;
    AdjustDragAfterPt();
    RepaintNow();
    m_ptLast = point;
}

void CKivFXInsKeyFrmDlg::DragKFAfterPt(CPoint point) {
    CKivFXValueKeyFrm& k = *m_pDragKF;
    const double at = HandleUnitsAt(point.x), key = HandleUnitsOf(k);
    k.PtAfter.ValueOffset = PixelToValueY(point.y) - k.Value;
    k.PtAfter.PosOffset = std::max(at, key) - key;
    AdjustDragForePt();
    RepaintNow();
    m_ptLast = point;
}

void CKivFXInsKeyFrmDlg::AdjustDragAfterPt() { AdjustOpposite(kKivFXPartForePt); }

void CKivFXInsKeyFrmDlg::AdjustDragForePt() { AdjustOpposite(kKivFXPartAfterPt); }

void CKivFXInsKeyFrmDlg::AdjustOpposite(int movedPart) {
    if (!m_pDragKF || !m_pKFList) return;
    CKivFXValueKeyFrm& k = *m_pDragKF;
    const bool foreMoved = movedPart == kKivFXPartForePt;
    KivFXHandleScale scale;
    scale.length = m_nHandleLength;
    scale.movedExtent = HandleExtent(k, movedPart);
    // Offsets in the handles' unit for pixel counts, measured from the plot's origin.
    scale.posOfPixels = [this](int n) { return std::fabs(HandleUnitsAt(n) - HandleUnitsAt(0)); };
    scale.valueOfPixels = [this](int n) { return std::fabs(PixelToValueY(n) - PixelToValueY(0)); };
    KivFXCoupleHandles(foreMoved ? k.PtFore : k.PtAfter, foreMoved ? k.PtAfter : k.PtFore, foreMoved, m_pKFList->CtrlMode,
                       scale);
}

void CKivFXInsKeyFrmDlg::EndDrag() {
    const int kind = m_nDragKind;
    switch (kind) {
        case kDragTimeLine: EndDragTL(); break;
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

void CKivFXInsKeyFrmDlg::EndDragTL() {
    m_parts.HideToolTip();
    CClientDC dc(this);
    DrawKeyFrmLine(&dc);
    DrawKeyFrmArray(&dc);
}

void CKivFXInsKeyFrmDlg::EndDragKF() { m_pDragKF = nullptr; }

void CKivFXInsKeyFrmDlg::EndDragKFForePt() {
    m_pDragKF = nullptr;
    m_nHandleLength = 0;
}

void CKivFXInsKeyFrmDlg::EndDragKFAfterPt() {
    m_pDragKF = nullptr;
    m_nHandleLength = 0;
}

void CKivFXInsKeyFrmDlg::CancelDrag() {
    if (m_nDragKind == kDragTimeLine) m_parts.HideToolTip();
    m_bDragging = FALSE;
    m_nDragKind = kDragNone;
    m_pDragKF = nullptr;
    m_nHandleLength = 0;
    if (m_hWnd && GetCapture() == this) ReleaseCapture();
}

void CKivFXInsKeyFrmDlg::OnRButtonDown(UINT, CPoint point) {
    const HWND self = m_hWnd;
    SetFocus();
    CreateMenu(point);
    if (IsWindow(self)) Default();
}
