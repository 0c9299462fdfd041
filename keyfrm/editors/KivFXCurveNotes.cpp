#include "keyfrm/editors/KivFXCurveNotes.h"

#include <algorithm>
#include <cmath>

#include "keyfrm/editors/KivFXCurveWalk.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

namespace {

constexpr float kRightAngle = 1.57079637f;  // pi / 2 in single precision

}  // namespace

int KivFXNoteKind(int index, int count, int insMode) {
    if (!KivFXIsBezier(insMode) || count < 2) return kKivFXNoteNoHandles;
    if (index == 0) return kKivFXNoteHead;
    if (index == count - 1) return kKivFXNoteTail;
    return kKivFXNoteInner;
}

bool KivFXPartShown(int index, int count, int part, int insMode) {
    if (part == kKivFXPartKeyFrm) return true;
    const int kind = KivFXNoteKind(index, count, insMode);
    if (kind == kKivFXNoteNoHandles) return false;
    if (part == kKivFXPartForePt) return kind != kKivFXNoteHead;
    return kind != kKivFXNoteTail;
}


namespace {

bool ShowsFore(int kind) { return kind != kKivFXNoteNoHandles && kind != kKivFXNoteHead; }
bool ShowsAfter(int kind) { return kind != kKivFXNoteNoHandles && kind != kKivFXNoteTail; }

}  // namespace

void KivFXDrawKeyFrmNote(CDC& dc, const CPoint points[3], bool selected, int kind) {
    CPen pen(PS_SOLID, 1, kKivFXNotePenColor);
    KivSaveDC saved(dc);
    dc.SelectObject(&pen);
    const bool showFore = ShowsFore(kind);
    const bool showAfter = ShowsAfter(kind);
    if (showFore) {
        dc.MoveTo(points[0]);
        dc.LineTo(points[1]);
    }
    if (showAfter) {
        dc.MoveTo(points[1]);
        dc.LineTo(points[2]);
    }
    const CRect key = KivFXNoteRect(points[1]);
    dc.FillSolidRect(&key, selected ? kKivFXSelectedKeyFrmColor : kKivFXKeyFrmColor);
    if (showFore) {
        const CRect fore = KivFXNoteRect(points[0]);
        dc.FillSolidRect(&fore, kKivFXForePtColor);
    }
    if (showAfter) {
        const CRect after = KivFXNoteRect(points[2]);
        dc.FillSolidRect(&after, kKivFXAfterPtColor);
    }
}

CRect KivFXLineBounds(CPoint a, CPoint b) {
    return CRect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
}

void KivFXAddNoteFootprint(KivRegion& area, const CPoint points[3], int kind, const CRect& clip) {
    area.Add(KivFXNoteRect(points[1]));
    if (ShowsFore(kind)) {
        KivFXAddLineFootprint(area, points[0], points[1], clip);
        area.Add(KivFXNoteRect(points[0]));
    }
    if (ShowsAfter(kind)) {
        KivFXAddLineFootprint(area, points[1], points[2], clip);
        area.Add(KivFXNoteRect(points[2]));
    }
}

void KivFXCoupleHandles(const SKivFXBezierHandle& m, SKivFXBezierHandle& o, bool foreMoved, int ctrlMode,
                        const KivFXHandleScale& scale) {
    const KivFXCtrlMode mode = KivFXDragCtrlMode(ctrlMode);
    if (mode == kCtrlModeNone) return;
    if (mode == kCtrlModeSymmetry) {
        o.ValueOffset = -m.ValueOffset;
        o.PosOffset = -m.PosOffset;
        return;
    }
    if ((m.ValueOffset == 0.0f && m.PosOffset == 0.0) || scale.length == 0) return;
    const double posSign = foreMoved ? 1.0 : -1.0;  // the opposite handle's side
    const float valueSign = m.ValueOffset > 0.0f ? -1.0f : 1.0f;
    if (m.ValueOffset == 0.0f) {
        o.ValueOffset = 0.0f;
        o.PosOffset = posSign * scale.posOfPixels(scale.length);
    } else if (m.PosOffset == 0.0) {
        o.PosOffset = 0.0;
        KivStoreFinite(o.ValueOffset, valueSign * scale.valueOfPixels(scale.length));
    } else {
        const float dx = std::fabs(static_cast<float>(scale.movedExtent.cx));
        const float dy = std::fabs(static_cast<float>(scale.movedExtent.cy));
        // A handle with no horizontal pixel extent stands upright.
        const float angle = dx == 0.0f ? kRightAngle : std::atan(dy / dx);
        const float length = static_cast<float>(scale.length);
        o.PosOffset = posSign * scale.posOfPixels(KivTruncToInt(std::cos(angle) * length));
        KivStoreFinite(o.ValueOffset, valueSign * scale.valueOfPixels(KivTruncToInt(std::sin(angle) * length)));
    }
}
