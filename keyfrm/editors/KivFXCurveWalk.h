// How the curve editors trace a curve, shared by their painting and by the footprint a drag
// repaints: the curve dialog's column walk along a Bezier segment, the area a traced curve
// covers kept as a staircase of rectangles, and a keyframe's footprint around its note.
#pragma once

#include <algorithm>
#include <cstdint>

#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "kivbase/KivInterpolate.h"
#include "platform/fw/CGeometry.h"
#include "platform/ui/Region.h"

/// The Bezier segment of the curve dialog from p[0] to p[3] (p[1] and p[2] the handles),
/// one point per pixel column, the column's value a Bezier of the four heights: visit(point,
/// move) gets every column near the client, move true for a walk that starts just left of
/// it. The caller starts at p[0], joins the points by lines and ends at p[3]. Columns far
/// outside the client are skipped: a segment far off it costs no walk of its pixel length.
template <class Visit>
void KivFXWalkBezierColumns(const CPoint p[4], const CRect& client, Visit visit) {
    const int n = std::max(1, p[3].x - p[0].x + 1);
    const double u = 1.0 / n;
    const float ys[4] = {static_cast<float>(p[0].y), static_cast<float>(p[1].y), static_cast<float>(p[2].y),
                         static_cast<float>(p[3].y)};
    const int firstJ = std::max(1, client.left - 1 - p[0].x);
    const int lastJ = std::min(n - 1, client.right + 1 - p[0].x);
    double t = firstJ == 1 ? 0.0 : (firstJ - 1) * u;
    for (int j = firstJ; j <= lastJ; ++j) {
        t += u;
        const int y = KivTruncToPixel(KivPublicInsBezier3(ys, static_cast<float>(t)));
        visit(CPoint(p[0].x + j, y), j == firstJ && firstJ > 1);
    }
}

/// Adds where a 1-pixel line from a to b lights pixels inside clip: a line longer than it is
/// steep as a run of rectangles along it, any other as its bounds.
void KivFXAddLineFootprint(KivRegion& area, CPoint a, CPoint b, const CRect& clip);

/// The area of a traced curve as a run of rectangles along it: a piece joins the rectangle
/// before it unless that would hold much more than the pieces in it, so a flat curve stays
/// one long rectangle and a sloped one becomes a staircase of narrow ones.
class KivFXBandedArea {
public:
    /// What a rectangle of its own costs, in pixels repainted and copied: a request to the
    /// display and a pass of every painting step over the clip. A drag in kfx edit through
    /// X11 costs the least from about 4,000 to 16,000; far below, the rectangles' number
    /// outweighs the pixels saved.
    static constexpr std::int64_t kRectCost = 8192;

    /// Adds to area when it ends.
    explicit KivFXBandedArea(KivRegion& area) : m_area(area) {}
    ~KivFXBandedArea() { Flush(); }
    KivFXBandedArea(const KivFXBandedArea&) = delete;
    KivFXBandedArea& operator=(const KivFXBandedArea&) = delete;

    /// Adds a piece of the curve (the pieces come along it, column by column).
    void Add(const CRect& r) {
        if (r.IsRectEmpty()) return;
        CRect joined;
        joined.UnionRect(m_box, r);
        if (!m_box.IsRectEmpty() && Area(joined) - (m_pieces + Area(r)) > kRectCost) {
            Flush();
            joined = r;
        }
        m_box = joined;
        m_pieces += Area(r);
    }

private:
    static std::int64_t Area(const CRect& r) { return static_cast<std::int64_t>(r.Width()) * r.Height(); }
    void Flush() {
        m_area.Add(m_box);
        m_box.SetRectEmpty();
        m_pieces = 0;
    }
    KivRegion& m_area;
    CRect m_box;
    std::int64_t m_pieces = 0;  // the pieces' area in m_box (overlaps counted twice)
};

/// Where the drawing of the index-th keyframe of track lies in client: the whole client when
/// there is no such keyframe, else its note, with points(keyframe, out) giving its three
/// points, and what curve(area, keyframe, count) adds for the curve it shapes.
template <class Points, class Curve>
KivRegion KivFXKeyFrmFootprint(const CKivFXInsKeyFrmList* track, int index, const CRect& client, Points points, Curve curve) {
    KivRegion area;
    const int count = track ? track->GetKeyFrmCount() : 0;
    CKivFXValueKeyFrm* k = track && index >= 0 && index < count ? track->GetFXKeyFrm(index) : nullptr;
    if (!k) {
        area.Add(client);
        return area;
    }
    CPoint note[3];
    points(k, note);
    KivFXAddNoteFootprint(area, note, KivFXNoteKind(index, count, track->InsMode), client);
    curve(area, *k, count);
    area.Intersect(client);
    return area;
}
