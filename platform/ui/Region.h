// A region as a list of disjoint rectangles: the invalid parts of windows and the clip of
// device contexts.
#pragma once

#include <vector>

#include "platform/fw/CGeometry.h"

class KivRegion {
public:
    KivRegion() = default;
    explicit KivRegion(const CRect& r) { Add(r); }

    /// Adds the area of r (an empty rectangle adds nothing).
    void Add(const CRect& r);
    void Add(const KivRegion& other);
    /// Removes the area of r.
    void Subtract(const CRect& r);
    void Subtract(const KivRegion& other);
    /// Keeps only the part inside r.
    void Intersect(const CRect& r);
    void Intersect(const KivRegion& other);
    void Offset(int dx, int dy);
    void Clear() {
        m_rects.clear();
        m_bounds.SetRectEmpty();
    }

    bool IsEmpty() const { return m_rects.empty(); }
    bool Contains(int x, int y) const;
    /// The smallest rectangle holding the region; all zero when empty.
    const CRect& Bounds() const { return m_bounds; }
    const std::vector<CRect>& Rects() const { return m_rects; }

private:
    void FindBounds();
    std::vector<CRect> m_rects;
    CRect m_bounds;  // kept with the rectangles: every drawing call asks for it
};
