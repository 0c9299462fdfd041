// How the curve editors trace a curve, shared by their painting and by the footprint a drag
// repaints: the curve dialog's column walk along a Bezier segment, and the area a traced
// curve covers kept as a staircase of rectangles.
#pragma once

#include <algorithm>
#include <cstdint>

#include "keyfrm/editors/KivFXPixelMath.h"
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
/// steep as one rectangle per band of columns along it, any other as its bounds.
void KivFXAddLineFootprint(KivRegion& area, CPoint a, CPoint b, const CRect& clip);

/// The area of a traced curve as one rectangle per band of pixel columns: a sloped curve
/// then costs a staircase of thin rectangles rather than its whole bounding box.
class KivFXBandedArea {
public:
    /// Narrow enough to follow a slope, wide enough that a curve across a window stays a few
    /// dozen rectangles.
    static constexpr int kBandColumns = 24;

    /// Adds to area when it ends; bands are counted from column `left`.
    KivFXBandedArea(KivRegion& area, int left) : m_area(area), m_left(left) {}
    ~KivFXBandedArea() { Flush(); }
    KivFXBandedArea(const KivFXBandedArea&) = delete;
    KivFXBandedArea& operator=(const KivFXBandedArea&) = delete;

    /// Adds a rectangle to the band of its left edge (the pieces come column by column).
    void Add(const CRect& r) {
        const std::int64_t band = (static_cast<std::int64_t>(r.left) - m_left) / kBandColumns;
        if (!m_box.IsRectEmpty() && band != m_band) Flush();
        m_band = band;
        if (m_box.IsRectEmpty())
            m_box = r;
        else
            m_box.UnionRect(m_box, r);
    }

private:
    void Flush() {
        m_area.Add(m_box);
        m_box.SetRectEmpty();
    }
    KivRegion& m_area;
    int m_left;
    std::int64_t m_band = 0;
    CRect m_box;
};
