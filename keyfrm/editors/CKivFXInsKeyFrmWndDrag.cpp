// The curve window's mouse editing: hit testing, the keyframe and handle drags, and the
// coupling of a keyframe's two handles (linkage keeps the opposite handle's pixel length,
// symmetry mirrors it exactly).
#include <cmath>

#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

CKivFXValueKeyFrm* CKivFXInsKeyFrmWnd::IsHitKeyFrm(CPoint point, int part) const {
    if (!m_pKFList) return nullptr;
    const int count = m_pKFList->GetKeyFrmCount();
    if (count == 0) return nullptr;
    for (int i = 0; i < count; ++i) {
        // The first keyframe has no fore handle, the last no after handle; a lone keyframe neither.
        if (!KivFXPartShown(i, count, part, m_pKFList->InsMode)) continue;
        CKivFXValueKeyFrm* k = m_pKFList->GetFXKeyFrm(i);
        if (!k) continue;
        const CRect r = GetKeyFrmRect(k, part);
        if (!r.IsRectEmpty() && r.PtInRect(point)) return k;
    }
    return nullptr;
}

void CKivFXInsKeyFrmWnd::OnLButtonDown(UINT, CPoint point) {
    // Without a track there is nothing to select or drag.
    if (!m_pKFList || m_bDragging) {
        Default();
        return;
    }
    if (CKivFXValueKeyFrm* hit = IsHitKeyFrm(point, kPartAfterPt)) {
        m_bDragging = TRUE;
        m_pDragKF = hit;
        BeginDragKFAfterPt(point);
    } else if ((hit = IsHitKeyFrm(point, kPartForePt))) {
        m_bDragging = TRUE;
        m_pDragKF = hit;
        BeginDragKFForePt(point);
    } else if ((hit = IsHitKeyFrm(point, kPartKeyFrm))) {
        m_bDragging = TRUE;
        m_pDragKF = hit;
        BeginDragKF(point);
    }
    const HWND self = m_hWnd;
    if (m_bDragging) {
        // Selecting the dragged keyframe alone clears every other selection: their squares
        // are repainted too, or they would stay drawn as selected until the next full paint.
        const int count = m_pKFList->GetKeyFrmCount();
        for (int i = 0; i < count; ++i) {
            CKivFXValueKeyFrm* other = m_pKFList->GetFXKeyFrm(i);
            if (!other || other == m_pDragKF || !other->IsSelect()) continue;
            const CRect was = GetKeyFrmRect(other, kPartKeyFrm);
            InvalidateRect(&was, TRUE);
        }
        m_pKFList->SetSelectKF(m_pDragKF, 1);
        const CRect square = GetKeyFrmRect(m_pDragKF, kPartKeyFrm);
        InvalidateRect(&square, TRUE);
        UpdateWindow();
        m_nDragIndex = m_pKFList->GetFXKeyFrmIndex(m_pDragKF);
        SendToModifyMsg(kInsKFWndDragStarted);
        if (!IsWindow(self)) return;
        // The parent may have ended the drag (by attaching another track) while it was told.
        if (m_bDragging) SetCapture();
    } else {
        m_pKFList->UnSelectKF();
        RepaintNow();
    }
    Default();
}

void CKivFXInsKeyFrmWnd::OnMouseMove(UINT, CPoint point) {
    if (m_bDragging) Drag(point);
    Default();
}

void CKivFXInsKeyFrmWnd::OnLButtonUp(UINT, CPoint) {
    if (m_bDragging) EndDrag();
    Default();
}

void CKivFXInsKeyFrmWnd::BeginDragKF(CPoint) { m_nDragKind = kDragKeyFrm; }

void CKivFXInsKeyFrmWnd::BeginDragKFForePt(CPoint) {
    m_nDragKind = kDragForePt;
    if (m_pKFList && m_pDragKF && KivFXDragCtrlMode(m_pKFList->CtrlMode) == kCtrlModeLinkage) {
        const CSize e = HandleExtent(*m_pDragKF, kPartAfterPt);
        m_nHandleLength = KivTruncToInt(std::sqrt(static_cast<double>(e.cx) * e.cx + static_cast<double>(e.cy) * e.cy));
    }
}

void CKivFXInsKeyFrmWnd::BeginDragKFAfterPt(CPoint) {
    m_nDragKind = kDragAfterPt;
    if (m_pKFList && m_pDragKF && KivFXDragCtrlMode(m_pKFList->CtrlMode) == kCtrlModeLinkage) {
        const CSize e = HandleExtent(*m_pDragKF, kPartForePt);
        m_nHandleLength = KivTruncToInt(std::sqrt(static_cast<double>(e.cx) * e.cx + static_cast<double>(e.cy) * e.cy));
    }
}

void CKivFXInsKeyFrmWnd::Drag(CPoint point) {
    // The host may have removed the keyframe while it was dragged: the drag ends quietly.
    if (!m_pKFList || !m_pDragKF || m_pKFList->GetFXKeyFrmIndex(m_pDragKF) < 0) {
        CancelDrag();
        return;
    }
    switch (m_nDragKind) {
        case kDragKeyFrm: DragKF(point); break;
        case kDragForePt: DragKFForePt(point); break;
        case kDragAfterPt: DragKFAfterPt(point); break;
        default: break;
    }
    SendToModifyMsg(kInsKFWndDragging);
}

void CKivFXInsKeyFrmWnd::DragKF(CPoint point) {
    float v = PixelToValueY(point.y);
    // Into [bottom value, top value]; the bottom wins when the two are inverted.
    if (v > m_fTopValue) v = m_fTopValue;
    if (v < m_fBottomValue) v = m_fBottomValue;
    const KivRegion before = DraggedFootprint();
    m_pDragKF->Value = v;
    RepaintDragged(before);
}

void CKivFXInsKeyFrmWnd::DragKFForePt(CPoint point) {
    CKivFXValueKeyFrm& k = *m_pDragKF;
    const KivRegion before = DraggedFootprint();
    int f = PixelToFrameX(point.x, 0);
    if (f > k.Frame) f = k.Frame;  // the fore handle never passes its keyframe
    k.PtFore.ValueOffset = PixelToValueY(point.y) - k.Value;
    k.PtFore.PosOffset = static_cast<double>(f) - static_cast<double>(k.Frame);
    AdjustDragAfterPt();
    RepaintDragged(before);
}

void CKivFXInsKeyFrmWnd::DragKFAfterPt(CPoint point) {
    CKivFXValueKeyFrm& k = *m_pDragKF;
    const KivRegion before = DraggedFootprint();
    int f = PixelToFrameX(point.x, 0);
    if (f < k.Frame) f = k.Frame;
    k.PtAfter.ValueOffset = PixelToValueY(point.y) - k.Value;
    k.PtAfter.PosOffset = static_cast<double>(f) - static_cast<double>(k.Frame);
    AdjustDragForePt();
    RepaintDragged(before);
}

void CKivFXInsKeyFrmWnd::AdjustDragAfterPt() { AdjustOpposite(kPartForePt); }

void CKivFXInsKeyFrmWnd::AdjustDragForePt() { AdjustOpposite(kPartAfterPt); }

void CKivFXInsKeyFrmWnd::AdjustOpposite(int movedPart) {
    if (!m_pDragKF || !m_pKFList) return;
    CKivFXValueKeyFrm& k = *m_pDragKF;
    const bool foreMoved = movedPart == kPartForePt;
    KivFXHandleScale scale;
    scale.length = m_nHandleLength;
    scale.movedExtent = HandleExtent(k, movedPart);
    scale.posOfPixels = [this](int n) { return FramesOfPixels(n); };
    scale.valueOfPixels = [this](int n) { return ValuesOfPixels(n); };
    KivFXCoupleHandles(foreMoved ? k.PtFore : k.PtAfter, foreMoved ? k.PtAfter : k.PtFore, foreMoved, m_pKFList->CtrlMode,
                       scale);
}

void CKivFXInsKeyFrmWnd::EndDrag() {
    const HWND self = m_hWnd;
    switch (m_nDragKind) {
        case kDragKeyFrm: EndDragKF(); break;
        case kDragForePt: EndDragKFForePt(); break;
        case kDragAfterPt: EndDragKFAfterPt(); break;
        default: break;
    }
    m_bDragging = FALSE;
    m_nDragKind = kDragNone;
    // A keyframe the host removed during the drag is neither reported nor touched.
    if (m_pKFList && m_pDragKF && m_pKFList->GetFXKeyFrmIndex(m_pDragKF) < 0) m_pDragKF = nullptr;
    SendToModifyMsg(kInsKFWndDragEnded);
    if (!IsWindow(self)) return;
    if (m_pDragKF) m_pDragKF->SetSelect(0);
    m_pDragKF = nullptr;
    if (GetCapture() == this) ReleaseCapture();
    RepaintNow();
}

void CKivFXInsKeyFrmWnd::EndDragKF() {}

void CKivFXInsKeyFrmWnd::EndDragKFForePt() { m_nHandleLength = 0; }

void CKivFXInsKeyFrmWnd::EndDragKFAfterPt() { m_nHandleLength = 0; }

void CKivFXInsKeyFrmWnd::CancelDrag() {
    m_bDragging = FALSE;
    m_nDragKind = kDragNone;
    m_pDragKF = nullptr;
    m_nDragIndex = -1;
    m_nHandleLength = 0;
    if (m_hWnd && GetCapture() == this) ReleaseCapture();
}
