// Where the curve dialog draws one keyframe, so that a change another editor makes to it
// repaints only what moved rather than the whole dialog.
#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXCurveWalk.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

KivRegion CKivFXInsKeyFrmDlg::GetKeyFrmFootprint(int index) const {
    CRect client;
    if (m_hWnd) GetClientRect(&client);
    return KivFXKeyFrmFootprint(
        m_pKFList, index, client, [this](CKivFXValueKeyFrm* k, CPoint* out) { CalcuBezierPoints(out, k); },
        [&](KivRegion& area, const CKivFXValueKeyFrm& k, int count) { AddCurveFootprint(area, index, k, count, client); });
}

void CKivFXInsKeyFrmDlg::AddCurveFootprint(KivRegion& area, int index, const CKivFXValueKeyFrm& k, int count,
                                           const CRect& client) const {
    const CPoint at = PartPoint(k, kKivFXPartKeyFrm);
    // The curve as DrawKeyFrmLine draws it: a flat line for fewer than two keyframes, else
    // flat ends out to the story edges and one segment between neighbours in the list.
    const int left = FrameToPixelX(m_range.in);
    const int right = FrameToPixelX(m_range.out);
    const CKivFXValueKeyFrm* first = m_pKFList->GetFXKeyFrm(0);
    const CKivFXValueKeyFrm* last = m_pKFList->GetFXKeyFrm(count - 1);
    if (count < 2 || !first || !last) {
        const int y = ValueToPixelY(count == 1 && first ? first->Value : m_fDefValue);
        KivFXAddLineFootprint(area, CPoint(left, y), CPoint(right, y), client);
    } else {
        if (&k == first) KivFXAddLineFootprint(area, CPoint(left, at.y), at, client);
        if (&k == last) KivFXAddLineFootprint(area, at, CPoint(right, at.y), client);
        const bool bezier = KivFXIsBezier(m_pKFList->InsMode);
        for (int a = index - 1; a <= index; ++a) {
            CKivFXValueKeyFrm* from = a >= 0 ? m_pKFList->GetFXKeyFrm(a) : nullptr;
            CKivFXValueKeyFrm* to = a + 1 < count ? m_pKFList->GetFXKeyFrm(a + 1) : nullptr;
            if (!from || !to) continue;
            CPoint p[4];
            CalcuBezierPoints(p, from, to);
            if (p[0].x == p[3].x) continue;  // not drawn
            if (!bezier) {
                KivFXAddLineFootprint(area, p[0], p[3], client);
                continue;
            }
            // The pieces DrawKeyFrmLine joins, column by column.
            KivFXBandedArea bands(area);
            CPoint at = p[0];
            const auto join = [&](CPoint next) {
                CRect piece;
                if (piece.IntersectRect(KivFXLineBounds(at, next), client)) bands.Add(piece);
                at = next;
            };
            KivFXWalkBezierColumns(p, client, [&](CPoint column, bool move) {
                if (move)
                    at = column;
                else
                    join(column);
            });
            join(p[3]);
        }
    }
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
