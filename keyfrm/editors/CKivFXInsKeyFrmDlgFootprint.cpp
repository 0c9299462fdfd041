// Where the curve dialog draws one keyframe, so that a change another editor makes to it
// repaints only what moved rather than the whole dialog.
#include <algorithm>

#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

namespace {

// The Bezier walk truncates each column's value; a pixel of slack around the control points
// keeps any rounding of the walk inside the rectangle.
constexpr int kBezierSlack = 1;

}  // namespace

KivRegion CKivFXInsKeyFrmDlg::GetKeyFrmFootprint(int index) const {
    CRect client;
    if (m_hWnd) GetClientRect(&client);
    KivRegion area;
    const int count = m_pKFList ? m_pKFList->GetKeyFrmCount() : 0;
    CKivFXValueKeyFrm* k = m_pKFList && index >= 0 && index < count ? m_pKFList->GetFXKeyFrm(index) : nullptr;
    if (!k) {
        area.Add(client);
        return area;
    }
    CPoint points[3];
    CalcuBezierPoints(points, k);
    KivFXAddNoteFootprint(area, points, KivFXNoteKind(index, count, m_pKFList->InsMode));
    // The curve as DrawKeyFrmLine draws it: a flat line for fewer than two keyframes, else
    // flat ends out to the story edges and one segment between neighbours in the list.
    const int left = FrameToPixelX(m_range.in);
    const int right = FrameToPixelX(m_range.out);
    const CKivFXValueKeyFrm* first = m_pKFList->GetFXKeyFrm(0);
    const CKivFXValueKeyFrm* last = m_pKFList->GetFXKeyFrm(count - 1);
    if (count < 2 || !first || !last) {
        const int y = ValueToPixelY(count == 1 && first ? first->Value : m_fDefValue);
        area.Add(KivFXLineBounds(CPoint(left, y), CPoint(right, y)));
    } else {
        if (k == first) area.Add(KivFXLineBounds(CPoint(left, points[1].y), points[1]));
        if (k == last) area.Add(KivFXLineBounds(points[1], CPoint(right, points[1].y)));
        const bool bezier = KivFXIsBezier(m_pKFList->InsMode);
        for (int a = index - 1; a <= index; ++a) {
            CKivFXValueKeyFrm* from = a >= 0 ? m_pKFList->GetFXKeyFrm(a) : nullptr;
            CKivFXValueKeyFrm* to = a + 1 < count ? m_pKFList->GetFXKeyFrm(a + 1) : nullptr;
            if (!from || !to) continue;
            CPoint p[4];
            CalcuBezierPoints(p, from, to);
            CRect segment = KivFXLineBounds(p[0], p[3]);
            if (bezier) {
                // The walk goes column by column from one keyframe to the other, its values
                // a Bezier of the four heights: they stay between the lowest and the highest.
                segment.top = std::min({segment.top, p[1].y, p[2].y}) - kBezierSlack;
                segment.bottom = std::max({segment.bottom, p[1].y + 1, p[2].y + 1}) + kBezierSlack;
            }
            area.Add(segment);
        }
    }
    area.Intersect(client);
    return area;
}

void CKivFXInsKeyFrmDlg::UpKeyFrm(int index) {
    if (!m_hWnd) return;
    if (index != m_followed.index || !m_followed.painted) {
        m_followed.index = index;
        m_followed.painted = false;
        Invalidate(TRUE);
        return;
    }
    KivRegion changed = m_followed.footprint;
    changed.Add(GetKeyFrmFootprint(index));
    for (const CRect& r : changed.Rects()) InvalidateRect(&r, TRUE);
}
