#include "platform/ui/Region.h"

#include <algorithm>

namespace {

// Appends the parts of r that lie outside cut (at most four bands).
void AppendDifference(const CRect& r, const CRect& cut, std::vector<CRect>& out) {
    CRect overlap;
    if (!overlap.IntersectRect(r, cut)) {
        out.push_back(r);
        return;
    }
    if (r.top < overlap.top) out.emplace_back(r.left, r.top, r.right, overlap.top);
    if (overlap.bottom < r.bottom) out.emplace_back(r.left, overlap.bottom, r.right, r.bottom);
    if (r.left < overlap.left) out.emplace_back(r.left, overlap.top, overlap.left, overlap.bottom);
    if (overlap.right < r.right) out.emplace_back(overlap.right, overlap.top, r.right, overlap.bottom);
}

}  // namespace

void KivRegion::Add(const CRect& r) {
    if (r.IsRectEmpty()) return;
    // Only rectangles that overlap r can cut it (its pieces lie inside it), and most added
    // rectangles overlap none: those go in as they are, with nothing to allocate.
    const auto overlapsR = [&r](const CRect& e) { return e.left < r.right && r.left < e.right && e.top < r.bottom && r.top < e.bottom; };
    auto it = std::find_if(m_rects.begin(), m_rects.end(), overlapsR);
    if (it == m_rects.end()) {
        m_rects.push_back(r);
        m_bounds.UnionRect(m_bounds, r);
        return;
    }
    std::vector<CRect> pieces{r}, rest;
    for (; it != m_rects.end(); ++it) {
        if (!overlapsR(*it)) continue;
        rest.clear();
        for (const CRect& p : pieces) AppendDifference(p, *it, rest);
        pieces.swap(rest);
        if (pieces.empty()) return;
    }
    m_rects.insert(m_rects.end(), pieces.begin(), pieces.end());
    m_bounds.UnionRect(m_bounds, r);
}

void KivRegion::Add(const KivRegion& other) {
    for (const CRect& r : other.m_rects) Add(r);
}

void KivRegion::Subtract(const CRect& r) {
    if (r.IsRectEmpty() || m_rects.empty()) return;
    std::vector<CRect> rest;
    for (const CRect& e : m_rects) AppendDifference(e, r, rest);
    m_rects.swap(rest);
    FindBounds();
}

void KivRegion::Subtract(const KivRegion& other) {
    for (const CRect& r : other.m_rects) Subtract(r);
}

void KivRegion::Intersect(const CRect& r) {
    std::vector<CRect> kept;
    for (const CRect& e : m_rects) {
        CRect overlap;
        if (overlap.IntersectRect(e, r)) kept.push_back(overlap);
    }
    m_rects.swap(kept);
    FindBounds();
}

void KivRegion::Intersect(const KivRegion& other) {
    std::vector<CRect> kept;
    for (const CRect& a : m_rects)
        for (const CRect& b : other.m_rects) {
            CRect overlap;
            if (overlap.IntersectRect(a, b)) kept.push_back(overlap);
        }
    m_rects.swap(kept);
    FindBounds();
}

void KivRegion::Offset(int dx, int dy) {
    for (CRect& r : m_rects) r.OffsetRect(dx, dy);
    if (!m_rects.empty()) m_bounds.OffsetRect(dx, dy);
}

bool KivRegion::Contains(int x, int y) const {
    for (const CRect& r : m_rects)
        if (r.PtInRect(CPoint(x, y))) return true;
    return false;
}

void KivRegion::FindBounds() {
    m_bounds.SetRectEmpty();
    for (const CRect& r : m_rects) m_bounds.UnionRect(m_bounds, r);
}
