// The curve dialog's mouse: hit testing, and the four drags (current-frame marker,
// keyframe in both directions, fore and after handle with their coupling).
#include <cmath>

#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"
#include "platform/ui/WeakWnd.h"

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

KivFXDragController CKivFXInsKeyFrmDlg::MakeDrag() {
    using Drag = KivFXDragController;
    std::vector<Drag::Kind> kinds(kDragAfterPt + 1);
    kinds[kDragTimeLine] = {false, [this](CPoint p) { BeginDragTL(p); }, [this](CPoint p) { DragTL(p); }, [this] { EndDragTL(); }};
    KivFXAddPartDragKinds(*this, kinds);
    Drag::Hooks hooks;
    hooks.track = [this] { return m_pKFList; };
    hooks.grabbed = [this](int kind) {
        // Only a keyframe drag selects; its handles are dragged without.
        if (kind != kDragKeyFrm || !m_pKFList) return;
        KivFXSelectAlone(*this, *m_pKFList, *DraggedKF(), [this](CKivFXValueKeyFrm& k) {
            const CRect square = GetKeyFrmRect(&k, kKivFXPartKeyFrm);
            InvalidateRect(&square, TRUE);
        });
    };
    hooks.tell = [this](Drag::Phase phase, int kind) { KivFXTellDialogHost(*this, phase, kind == kDragTimeLine); };
    hooks.ending = [this](int) { RepaintNow(); };
    hooks.cancelled = [this](int kind) {
        if (kind == kDragTimeLine) m_parts.HideToolTip();
        m_nHandleLength = 0;
    };
    return Drag(*this, std::move(kinds), std::move(hooks));
}

void CKivFXInsKeyFrmDlg::OnLButtonDown(UINT, CPoint point) {
    SetFocus();
    if (m_drag.IsDragging()) {
        Default();
        return;
    }
    const KivWeakWnd alive(*this);
    if (IsHitTimeRuler(point)) {
        m_drag.Press(kDragTimeLine, point);
    } else if (!KivFXPressOnPart(m_drag, point, [this](CPoint p, int part) { return IsHitKeyFrm(p, part); },
                                 {kDragKeyFrm, kDragForePt, kDragAfterPt})) {
        if (m_pKFList) m_pKFList->UnSelectKF();
        RepaintNow();
    }
    if (alive) Default();
}

// The host may destroy the dialog while it handles a message sent from a handler: default
// processing then has no window to run for.
void CKivFXInsKeyFrmDlg::OnMouseMove(UINT, CPoint point) {
    const KivWeakWnd alive(*this);
    if (m_drag.IsDragging()) Drag(point);
    if (alive) Default();
}

void CKivFXInsKeyFrmDlg::OnLButtonUp(UINT, CPoint) {
    const KivWeakWnd alive(*this);
    if (m_drag.IsDragging()) EndDrag();
    if (alive) Default();
}

void CKivFXInsKeyFrmDlg::BeginDragTL(CPoint point) {
    if (m_bShowScale) {
        CRect client;
        GetClientRect(&client);
        KivFXShowFrameTip(m_parts.toolTip, *this, m_nCurFrame, CPoint(point.x, client.bottom));
    }
    SetFocus();
}

void CKivFXInsKeyFrmDlg::BeginDragKF(CPoint) {}

void CKivFXInsKeyFrmDlg::BeginDragKFForePt(CPoint) {
    if (m_pKFList && KivFXDragCtrlMode(m_pKFList->CtrlMode) == kCtrlModeLinkage)
        m_nHandleLength = HandlePixelLength(*DraggedKF(), kKivFXPartAfterPt);
}

void CKivFXInsKeyFrmDlg::BeginDragKFAfterPt(CPoint) {
    if (m_pKFList && KivFXDragCtrlMode(m_pKFList->CtrlMode) == kCtrlModeLinkage)
        m_nHandleLength = HandlePixelLength(*DraggedKF(), kKivFXPartForePt);
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

void CKivFXInsKeyFrmDlg::Drag(CPoint point) { m_drag.Move(point); }

void CKivFXInsKeyFrmDlg::DragTL(CPoint point) {
    m_nCurFrame = m_range.Clamp(PixelToFrameX(point.x));
    CRect client;
    GetClientRect(&client);
    if (m_bShowScale) KivFXShowFrameTip(m_parts.toolTip, *this, m_nCurFrame, CPoint(point.x, client.bottom));
    InvalidateTimeStrip(m_drag.Last().x);
    InvalidateTimeStrip(point.x);
    UpdateWindow();
    {
        CClientDC dc(this);
        DrawKeyFrmLine(&dc);
        DrawKeyFrmArray(&dc);
    }
    SetFocus();
}

int CKivFXInsKeyFrmDlg::DraggedIndex() const { return m_pKFList && DraggedKF() ? m_pKFList->GetFXKeyFrmIndex(DraggedKF()) : -1; }

void CKivFXInsKeyFrmDlg::RepaintDragged(int indexBefore, const KivRegion& before) {
    const int index = DraggedIndex();
    // A keyframe that changed place in the list joins its old neighbours to each other:
    // a curve segment neither footprint holds.
    if (index != indexBefore || index < 0) return RepaintNow();
    KivRegion changed = before;
    changed.Add(GetKeyFrmFootprint(index));
    for (const CRect& r : changed.Rects()) InvalidateRect(&r, TRUE);
    UpdateWindow();
}

void CKivFXInsKeyFrmDlg::DragKF(CPoint point) {
    const int frame = m_range.Clamp(PixelToFrameX(point.x));
    CKivFXValueKeyFrm* k = DraggedKF();
    const int index = DraggedIndex();
    const KivRegion before = GetKeyFrmFootprint(index);
    k->Value = KivClampOrKeep(PixelToValueY(point.y), m_fBottomValue, m_fTopValue, k->Value);
    KivFXPlaceDraggedKF(m_pKFList, k, frame, m_range, point.x == m_drag.Last().x);
    RepaintDragged(index, before);
}

void CKivFXInsKeyFrmDlg::DragKFForePt(CPoint point) {
    CKivFXValueKeyFrm& k = *DraggedKF();
    const int index = DraggedIndex();
    const KivRegion before = GetKeyFrmFootprint(index);
    const double at = HandleUnitsAt(point.x), key = HandleUnitsOf(k);
    KivStoreFinite(k.PtFore.ValueOffset, PixelToValueY(point.y) - k.Value);
    k.PtFore.PosOffset = std::min(at, key) - key;
    AdjustDragAfterPt();
    RepaintDragged(index, before);
}

void CKivFXInsKeyFrmDlg::DragKFAfterPt(CPoint point) {
    CKivFXValueKeyFrm& k = *DraggedKF();
    const int index = DraggedIndex();
    const KivRegion before = GetKeyFrmFootprint(index);
    const double at = HandleUnitsAt(point.x), key = HandleUnitsOf(k);
    KivStoreFinite(k.PtAfter.ValueOffset, PixelToValueY(point.y) - k.Value);
    k.PtAfter.PosOffset = std::max(at, key) - key;
    AdjustDragForePt();
    RepaintDragged(index, before);
}

void CKivFXInsKeyFrmDlg::AdjustDragAfterPt() { AdjustOpposite(kKivFXPartForePt); }

void CKivFXInsKeyFrmDlg::AdjustDragForePt() { AdjustOpposite(kKivFXPartAfterPt); }

void CKivFXInsKeyFrmDlg::AdjustOpposite(int movedPart) {
    if (!DraggedKF() || !m_pKFList) return;
    CKivFXValueKeyFrm& k = *DraggedKF();
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

void CKivFXInsKeyFrmDlg::EndDrag() { m_drag.End(); }

void CKivFXInsKeyFrmDlg::EndDragTL() {
    m_parts.HideToolTip();
    CClientDC dc(this);
    DrawKeyFrmLine(&dc);
    DrawKeyFrmArray(&dc);
}

void CKivFXInsKeyFrmDlg::EndDragKF() {}

void CKivFXInsKeyFrmDlg::EndDragKFForePt() { m_nHandleLength = 0; }

void CKivFXInsKeyFrmDlg::EndDragKFAfterPt() { m_nHandleLength = 0; }

void CKivFXInsKeyFrmDlg::CancelDrag() { m_drag.Cancel(false); }

void CKivFXInsKeyFrmDlg::OnRButtonDown(UINT, CPoint point) {
    const KivWeakWnd alive(*this);
    SetFocus();
    CreateMenu(point);
    if (alive) Default();
}
