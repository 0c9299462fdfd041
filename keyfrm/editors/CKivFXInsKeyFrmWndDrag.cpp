// The curve window's mouse editing: hit testing, the keyframe and handle drags, and the
// coupling of a keyframe's two handles (linkage keeps the opposite handle's pixel length,
// symmetry mirrors it exactly).
#include <cmath>

#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"
#include "platform/ui/WeakWnd.h"

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

KivFXDragController CKivFXInsKeyFrmWnd::MakeDrag() {
    using Drag = KivFXDragController;
    std::vector<Drag::Kind> kinds(kDragAfterPt + 1);
    KivFXAddPartDragKinds(*this, kinds);
    Drag::Hooks hooks;
    hooks.track = [this] { return m_pKFList; };
    hooks.grabbed = [this](int) {
        KivFXSelectAlone(*this, *m_pKFList, *DraggedKF(), [this](CKivFXValueKeyFrm& k) {
            const CRect square = GetKeyFrmRect(&k, kPartKeyFrm);
            InvalidateRect(&square, TRUE);
        });
        m_nDragIndex = m_pKFList->GetFXKeyFrmIndex(DraggedKF());
    };
    hooks.tell = [this](Drag::Phase phase, int) {
        SendToModifyMsg(phase == Drag::Phase::started ? kInsKFWndDragStarted
                        : phase == Drag::Phase::moved ? kInsKFWndDragging
                                                      : kInsKFWndDragEnded);
    };
    hooks.ended = [this](int) {
        if (CKivFXValueKeyFrm* k = DraggedKF()) k->SetSelect(0);
        RepaintNow();
    };
    hooks.cancelled = [this](int) {
        m_nDragIndex = -1;
        m_nHandleLength = 0;
    };
    return Drag(*this, std::move(kinds), std::move(hooks));
}

void CKivFXInsKeyFrmWnd::OnLButtonDown(UINT, CPoint point) {
    // Without a track there is nothing to select or drag.
    if (!m_pKFList || m_drag.IsDragging()) {
        Default();
        return;
    }
    const KivWeakWnd alive(*this);
    const auto hit = [this](CPoint p, int part) { return IsHitKeyFrm(p, part); };
    if (!KivFXPressOnPart(m_drag, point, hit, {kDragKeyFrm, kDragForePt, kDragAfterPt})) {
        m_pKFList->UnSelectKF();
        RepaintNow();
    }
    if (alive) Default();
}

void CKivFXInsKeyFrmWnd::OnMouseMove(UINT, CPoint point) {
    const KivWeakWnd alive(*this);
    if (m_drag.IsDragging()) Drag(point);
    if (alive) Default();
}

void CKivFXInsKeyFrmWnd::OnLButtonUp(UINT, CPoint) {
    const KivWeakWnd alive(*this);
    if (m_drag.IsDragging()) EndDrag();
    if (alive) Default();
}

void CKivFXInsKeyFrmWnd::BeginDragKF(CPoint) {}

void CKivFXInsKeyFrmWnd::BeginDragKFForePt(CPoint) {
    if (m_pKFList && KivFXDragCtrlMode(m_pKFList->CtrlMode) == kCtrlModeLinkage) {
        const CSize e = HandleExtent(*DraggedKF(), kPartAfterPt);
        m_nHandleLength = KivTruncToInt(std::sqrt(static_cast<double>(e.cx) * e.cx + static_cast<double>(e.cy) * e.cy));
    }
}

void CKivFXInsKeyFrmWnd::BeginDragKFAfterPt(CPoint) {
    if (m_pKFList && KivFXDragCtrlMode(m_pKFList->CtrlMode) == kCtrlModeLinkage) {
        const CSize e = HandleExtent(*DraggedKF(), kPartForePt);
        m_nHandleLength = KivTruncToInt(std::sqrt(static_cast<double>(e.cx) * e.cx + static_cast<double>(e.cy) * e.cy));
    }
}

void CKivFXInsKeyFrmWnd::Drag(CPoint point) { m_drag.Move(point); }

void CKivFXInsKeyFrmWnd::DragKF(CPoint point) {
    float v = PixelToValueY(point.y);
    // Into [bottom value, top value]; the bottom wins when the two are inverted.
    if (v > m_fTopValue) v = m_fTopValue;
    if (v < m_fBottomValue) v = m_fBottomValue;
    const KivRegion before = DraggedFootprint();
    DraggedKF()->Value = v;
    RepaintDragged(before);
}

void CKivFXInsKeyFrmWnd::DragKFForePt(CPoint point) {
    CKivFXValueKeyFrm& k = *DraggedKF();
    const KivRegion before = DraggedFootprint();
    int f = PixelToFrameX(point.x, 0);
    if (f > k.Frame) f = k.Frame;  // the fore handle never passes its keyframe
    KivStoreFinite(k.PtFore.ValueOffset, PixelToValueY(point.y) - k.Value);
    k.PtFore.PosOffset = static_cast<double>(f) - static_cast<double>(k.Frame);
    AdjustDragAfterPt();
    RepaintDragged(before);
}

void CKivFXInsKeyFrmWnd::DragKFAfterPt(CPoint point) {
    CKivFXValueKeyFrm& k = *DraggedKF();
    const KivRegion before = DraggedFootprint();
    int f = PixelToFrameX(point.x, 0);
    if (f < k.Frame) f = k.Frame;
    KivStoreFinite(k.PtAfter.ValueOffset, PixelToValueY(point.y) - k.Value);
    k.PtAfter.PosOffset = static_cast<double>(f) - static_cast<double>(k.Frame);
    AdjustDragForePt();
    RepaintDragged(before);
}

void CKivFXInsKeyFrmWnd::AdjustDragAfterPt() { AdjustOpposite(kPartForePt); }

void CKivFXInsKeyFrmWnd::AdjustDragForePt() { AdjustOpposite(kPartAfterPt); }

void CKivFXInsKeyFrmWnd::AdjustOpposite(int movedPart) {
    if (!DraggedKF() || !m_pKFList) return;
    CKivFXValueKeyFrm& k = *DraggedKF();
    const bool foreMoved = movedPart == kPartForePt;
    KivFXHandleScale scale;
    scale.length = m_nHandleLength;
    scale.movedExtent = HandleExtent(k, movedPart);
    scale.posOfPixels = [this](int n) { return FramesOfPixels(n); };
    scale.valueOfPixels = [this](int n) { return ValuesOfPixels(n); };
    KivFXCoupleHandles(foreMoved ? k.PtFore : k.PtAfter, foreMoved ? k.PtAfter : k.PtFore, foreMoved, m_pKFList->CtrlMode,
                       scale);
}

void CKivFXInsKeyFrmWnd::EndDrag() { m_drag.End(); }

void CKivFXInsKeyFrmWnd::EndDragKF() {}

void CKivFXInsKeyFrmWnd::EndDragKFForePt() { m_nHandleLength = 0; }

void CKivFXInsKeyFrmWnd::EndDragKFAfterPt() { m_nHandleLength = 0; }

void CKivFXInsKeyFrmWnd::CancelDrag() { m_drag.Cancel(false); }
