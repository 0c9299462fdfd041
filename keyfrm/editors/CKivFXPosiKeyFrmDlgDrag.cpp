// The position dialog's mouse: hit testing, and the five drags (current-frame marker, a
// keyframe's time square, its position, its fore and after handle with their coupling).
#include <algorithm>
#include <cmath>

#include "keyfrm/editors/CKivFXPosiKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"
#include "platform/ui/WeakWnd.h"

namespace {

// The frame tip sits this far below the time strip's bottom line.
constexpr int kTipBelowStrip = 25;
constexpr float kRightAngle = 1.57079637f;  // pi / 2 in single precision

// A handle's length in the X-Y plane, in position units (in double, so no square overflows).
float HandleLength(const SKivFXPosiHandle& h) {
    return KivToFloat(std::sqrt(static_cast<double>(h.X) * h.X + static_cast<double>(h.Y) * h.Y));
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

KivFXDragController CKivFXPosiKeyFrmDlg::MakeDrag() {
    using Drag = KivFXDragController;
    std::vector<Drag::Kind> kinds(kDragAfterPt + 1);
    kinds[kDragTimeLine] = {false, [this](CPoint p) { BeginDragTL(p); }, [this](CPoint p) { DragTL(p); }, [this] { EndDragTL(); }};
    kinds[kDragTimeNote] = {true, [this](CPoint p) { BeginDragTLNote(p); }, [this](CPoint p) { DragTLNote(p); },
                            [this] { EndDragTLNote(); }};
    KivFXAddPartDragKinds(*this, kinds);
    Drag::Hooks hooks;
    hooks.track = [this] { return m_pKFList; };
    hooks.grabbed = [this](int kind) {
        if (kind == kDragTimeLine || !m_pKFList) return;
        KivFXSelectAlone(*this, *m_pKFList, *DraggedKF(), [this](CKivFXPosiKeyFrm& k) {
            const CRect square = GetKeyFrmRect(&k, kKivFXPartKeyFrm);
            const CRect note = GetTimeNoteRect(&k);
            InvalidateRect(&square, TRUE);
            InvalidateRect(&note, TRUE);
        });
    };
    hooks.tell = [this](Drag::Phase phase, int kind) { KivFXTellDialogHost(*this, phase, kind == kDragTimeLine); };
    hooks.ending = [this](int) { RepaintNow(); };
    hooks.cancelled = [this](int kind) {
        if (kind == kDragTimeLine || kind == kDragTimeNote) m_parts.HideToolTip();
        m_fHandleLength = 0.0f;
    };
    return Drag(*this, std::move(kinds), std::move(hooks));
}

void CKivFXPosiKeyFrmDlg::OnLButtonDown(UINT, CPoint point) {
    if (m_drag.IsDragging()) {
        Default();
        return;
    }
    const KivWeakWnd alive(*this);
    CKivFXPosiKeyFrm* hit = nullptr;
    if (IsHitTimeRuler(point)) {
        m_drag.Press(kDragTimeLine, point);
    } else if ((hit = IsHitTimeNote(point))) {
        m_drag.Press(kDragTimeNote, point, hit);
    } else if (!KivFXPressOnPart(m_drag, point, [this](CPoint p, int part) { return IsHitKeyFrm(p, part); },
                                 {kDragKeyFrm, kDragForePt, kDragAfterPt})) {
        if (m_pKFList) m_pKFList->UnSelectKF();
        RepaintNow();
    }
    if (alive) Default();
}

// The host may destroy the dialog while it handles the message a handler sends: default
// processing then has no window to run for.
void CKivFXPosiKeyFrmDlg::OnMouseMove(UINT, CPoint point) {
    const KivWeakWnd alive(*this);
    if (m_drag.IsDragging()) Drag(point);
    if (alive) Default();
}

void CKivFXPosiKeyFrmDlg::OnLButtonUp(UINT, CPoint) {
    const KivWeakWnd alive(*this);
    if (m_drag.IsDragging()) EndDrag();
    if (alive) Default();
}

void CKivFXPosiKeyFrmDlg::BeginDragTL(CPoint point) {
    if (m_bShowScale)
        KivFXShowFrameTip(m_parts.toolTip, *this, m_nCurFrame, CPoint(point.x, m_rcTimeStrip.bottom + kTipBelowStrip));
    SetFocus();
}

void CKivFXPosiKeyFrmDlg::BeginDragTLNote(CPoint point) {
    if (m_bShowScale)
        KivFXShowFrameTip(m_parts.toolTip, *this, PixelToFrame(point.x), CPoint(point.x, m_rcTimeStrip.bottom + kTipBelowStrip));
    SetFocus();
}

void CKivFXPosiKeyFrmDlg::BeginDragKF(CPoint) {}

void CKivFXPosiKeyFrmDlg::BeginDragKFForePt(CPoint) {
    if (m_pKFList && KivFXDragCtrlMode(m_pKFList->CtrlMode) == kCtrlModeLinkage)
        m_fHandleLength = HandleLength(DraggedKF()->After);
}

void CKivFXPosiKeyFrmDlg::BeginDragKFAfterPt(CPoint) {
    if (m_pKFList && KivFXDragCtrlMode(m_pKFList->CtrlMode) == kCtrlModeLinkage)
        m_fHandleLength = HandleLength(DraggedKF()->Fore);
}

void CKivFXPosiKeyFrmDlg::Drag(CPoint point) { m_drag.Move(point); }

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
    SetFocus();
}

void CKivFXPosiKeyFrmDlg::DragTLNote(CPoint point) {
    const int frame = m_range.Clamp(PixelToFrame(point.x));
    if (m_bShowScale)
        KivFXShowFrameTip(m_parts.toolTip, *this, frame, CPoint(point.x, m_rcTimeStrip.bottom + kTipBelowStrip));
    KivFXPlaceDraggedKF(m_pKFList, DraggedKF(), frame, m_range, point.x == m_drag.Last().x);
    InvalidateStripAndXY();
}

void CKivFXPosiKeyFrmDlg::DragKF(CPoint point) {
    CKivFXPosiKeyFrm& k = *DraggedKF();
    InvalidateDraggedXY();
    // The track's range, not the zoomed view: a zoomed-in view never narrows where a
    // keyframe may go.
    k.PosiX = KivClampOrKeep(PixelToValueX(point.x), m_fMinX, m_fMaxX, k.PosiX);
    k.PosiY = KivClampOrKeep(PixelToValueY(point.y), m_fMinY, m_fMaxY, k.PosiY);
    InvalidateDraggedXY();
    UpdateWindow();
}

void CKivFXPosiKeyFrmDlg::DragKFForePt(CPoint point) { DragHandle(point, true); }

void CKivFXPosiKeyFrmDlg::DragKFAfterPt(CPoint point) { DragHandle(point, false); }

void CKivFXPosiKeyFrmDlg::DragHandle(CPoint point, bool fore) {
    CKivFXPosiKeyFrm& k = *DraggedKF();
    InvalidateDraggedXY();
    // Handles have no limits: only the keyframe's own position keeps to the track's range.
    SKivFXPosiHandle& h = fore ? k.Fore : k.After;
    KivStoreFinite(h.X, PixelToValueX(point.x) - k.PosiX);
    KivStoreFinite(h.Y, PixelToValueY(point.y) - k.PosiY);
    if (fore)
        AdjustDragAfterPt();
    else
        AdjustDragForePt();
    InvalidateDraggedXY();
    UpdateWindow();
}

void CKivFXPosiKeyFrmDlg::InvalidateDraggedXY() {
    if (!m_hWnd) return;
    const std::vector<CKivFXPosiKeyFrm*> keys = KeyFrames();
    const auto at = std::find(keys.begin(), keys.end(), DraggedKF());
    if (!m_pKFList || at == keys.end()) return InvalidateXY();
    const auto j = static_cast<std::size_t>(at - keys.begin());
    const XYMap map = MapXY();
    const KivFXNotePoints points = NotePointsOf(**at, map);
    // Only the path's segments into and out of the keyframe change shape: the dots of any
    // other stay where they were, inside their own boxes.
    std::vector<CRect> areas;
    if (keys.size() >= 2) {
        if (!PathHasBoxes(keys)) return InvalidateXY();
        if (j > 0) areas.push_back(SegmentBox(NotePointsOf(*keys[j - 1], map), points));
        if (j + 1 < keys.size()) areas.push_back(SegmentBox(points, NotePointsOf(*keys[j + 1], map)));
    }
    // The note: its squares and handle lines lie within 2 pixels of its points' box.
    CRect note(points[1].x, points[1].y, points[1].x + 1, points[1].y + 1);
    for (const CPoint& p : points) note.UnionRect(note, CRect(p.x, p.y, p.x + 1, p.y + 1));
    note.InflateRect(2, 2);
    areas.push_back(note);
    for (CRect& r : areas)
        if (r.IntersectRect(r, m_rcXY)) InvalidateRect(&r, TRUE);
    InvalidateCurPosi();
}

void CKivFXPosiKeyFrmDlg::AdjustDragAfterPt() { AdjustOpposite(true); }

void CKivFXPosiKeyFrmDlg::AdjustDragForePt() { AdjustOpposite(false); }

void CKivFXPosiKeyFrmDlg::AdjustOpposite(bool foreMoved) {
    CKivFXPosiKeyFrm* k = DraggedKF();
    if (!k || !m_pKFList) return;
    const SKivFXPosiHandle& m = foreMoved ? k->Fore : k->After;
    SKivFXPosiHandle& o = foreMoved ? k->After : k->Fore;
    // Coupling works in position units on X and Y; Z offsets are the host's and stay. The
    // curve editors' KivFXCoupleHandles measures whole pixels, which would round this
    // dialog's lengths and change the handles its drags have always stored.
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
            KivStoreFinite(o.X, m.X > 0.0f ? -x : x);
            KivStoreFinite(o.Y, m.Y > 0.0f ? -y : y);
            return;
        }
        default: return;
    }
}

void CKivFXPosiKeyFrmDlg::EndDrag() { m_drag.End(); }

void CKivFXPosiKeyFrmDlg::EndDragTL() { m_parts.HideToolTip(); }

void CKivFXPosiKeyFrmDlg::EndDragTLNote() { m_parts.HideToolTip(); }

void CKivFXPosiKeyFrmDlg::EndDragKF() {}

void CKivFXPosiKeyFrmDlg::EndDragKFForePt() { m_fHandleLength = 0.0f; }

void CKivFXPosiKeyFrmDlg::EndDragKFAfterPt() { m_fHandleLength = 0.0f; }

void CKivFXPosiKeyFrmDlg::CancelDrag() { m_drag.Cancel(false); }

void CKivFXPosiKeyFrmDlg::OnRButtonDown(UINT, CPoint point) {
    const KivWeakWnd alive(*this);
    CreateMenu(point);
    if (alive) Default();
}
