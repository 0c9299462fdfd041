// Where the curve window draws one keyframe, so that a drag repaints only what it moved: a
// mouse move would otherwise send the whole window to the display.
#include <algorithm>

#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXCurveWalk.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"

namespace {

// The dotted curve evaluates every frame in view, but at most this many per pixel column:
// beyond that the dots of a column overlap anyway, and a tiny scale must not make painting
// walk billions of frames.
constexpr std::int64_t kMaxDotsPerColumn = 16;

}  // namespace

CKivFXInsKeyFrmWnd::DotWalk CKivFXInsKeyFrmWnd::CurveDots() const {
    CRect client;
    if (m_hWnd) GetClientRect(&client);
    DotWalk walk;
    walk.in = GetStoryIn();
    walk.out = GetStoryOut();
    const std::int64_t frames = walk.out - walk.in + 1;
    const std::int64_t budget = std::max<std::int64_t>(1, client.Width()) * kMaxDotsPerColumn;
    walk.stride = frames > budget ? (frames + budget - 1) / budget : 1;
    return walk;
}

KivRegion CKivFXInsKeyFrmWnd::GetKeyFrmFootprint(int index) const {
    CRect client;
    if (m_hWnd) GetClientRect(&client);
    return KivFXKeyFrmFootprint(
        m_pKFList, index, client, [this](CKivFXValueKeyFrm* k, CPoint* out) { CalcuBezierPoints(out, k); },
        [&](KivRegion& area, const CKivFXValueKeyFrm& k, int count) {
            if (count == 1) {
                // A lone keyframe's value is drawn as a line across the client.
                const int y = ValueToPixelY(k.Value);
                area.Add(CRect(client.left, y, client.right, y + 1));
            } else {
                AddCurveFootprint(area, index, k);
            }
        });
}

void CKivFXInsKeyFrmWnd::AddCurveFootprint(KivRegion& area, int index, const CKivFXValueKeyFrm& keyframe) const {
    const DotWalk walk = CurveDots();
    // A keyframe decides the value of the frames between the nearest keyframes before and
    // after it in time; the first and the last also the flat ends. That holds while the
    // keyframes stand in time order; otherwise any frame may depend on it.
    std::int64_t from = walk.in, to = walk.out;
    bool inOrder = true, seenLater = false;
    int previous = 0, i = 0;
    bool first = true;
    for (POSITION pos = m_pKFList->GetHeadPosition(); pos; ++i) {
        const CObject* o = m_pKFList->GetNext(pos);
        if (!o || !o->IsKindOf(RUNTIME_CLASS(CKivFXValueKeyFrm))) continue;
        const int f = static_cast<const CKivFXValueKeyFrm*>(o)->Frame;
        if (!first && f < previous) inOrder = false;
        first = false;
        previous = f;
        if (i < index && f < keyframe.Frame) from = f;
        if (i > index && f > keyframe.Frame && !seenLater) {
            to = f;
            seenLater = true;
        }
    }
    if (!inOrder) {
        from = walk.in;
        to = walk.out;
    }
    from = std::max(from, walk.in);
    to = std::min(to, walk.out);
    if (from > to) return;
    KivFXBandedArea bands(area);
    // The first frame at or after `from` on the walk's lattice, so the dots are the painted ones.
    const std::int64_t start = walk.in + (from - walk.in + walk.stride - 1) / walk.stride * walk.stride;
    for (std::int64_t f = start; f <= to; f += walk.stride) {
        const int frame = static_cast<int>(f);
        const int x = FrameToPixelX(frame, 0), y = ValueToPixelY(m_view.Of(*m_pKFList).InsValue(frame));
        bands.Add(CRect(x, y, x + 1, y + 1));
    }
}

KivRegion CKivFXInsKeyFrmWnd::DraggedFootprint() const {
    return GetKeyFrmFootprint(m_pKFList && DraggedKF() ? m_pKFList->GetFXKeyFrmIndex(DraggedKF()) : -1);
}

void CKivFXInsKeyFrmWnd::RepaintDragged(const KivRegion& before) {
    KivRegion changed = before;
    changed.Add(DraggedFootprint());
    for (const CRect& r : changed.Rects()) InvalidateRect(&r, TRUE);
    UpdateWindow();
}
