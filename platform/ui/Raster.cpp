#include "platform/ui/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// A row of one colour eight pixels a copy: a plain loop stores a pixel at a time, and a
// window's background is a million of them.
void FillRow(KivPixel* p, int count, KivPixel color) {
    if (count < 8) return static_cast<void>(std::fill_n(p, count, color));
    KivPixel block[8];
    std::fill_n(block, 8, color);
    for (; count >= 8; count -= 8, p += 8) std::memcpy(p, block, sizeof block);
    std::fill_n(p, count, color);
}

}  // namespace

KivPixel KivApplyRop2(int rop2, KivPixel pen, KivPixel dst) {
    if (rop2 == R2_COPYPEN) return pen & kPixelRgbMask;
    // The mix code less one is a truth table indexed by (pen bit << 1) | destination bit.
    const unsigned table = static_cast<unsigned>(rop2 - 1) & 0xF;
    KivPixel out = 0;
    if (table & 1) out |= ~pen & ~dst;
    if (table & 2) out |= ~pen & dst;
    if (table & 4) out |= pen & ~dst;
    if (table & 8) out |= pen & dst;
    return out & kPixelRgbMask;
}

KivPixel KivApplyRop3(DWORD rop3, KivPixel p, KivPixel s, KivPixel d) {
    if (rop3 == SRCCOPY) return s & kPixelRgbMask;
    // Bits 16 to 23 are a truth table indexed by (pattern << 2) | (source << 1) | destination.
    const unsigned table = (rop3 >> 16) & 0xFF;
    KivPixel out = 0;
    for (unsigned idx = 0; idx < 8; ++idx) {
        if (!(table & (1u << idx))) continue;
        out |= ((idx & 4) ? p : ~p) & ((idx & 2) ? s : ~s) & ((idx & 1) ? d : ~d);
    }
    return out & kPixelRgbMask;
}

KivPixelMask::KivPixelMask(const CRect& bounds) : m_bounds(bounds) {
    if (m_bounds.IsRectEmpty()) {
        m_bounds.SetRectEmpty();
        return;
    }
    m_bits.assign(static_cast<size_t>(m_bounds.Width()) * static_cast<size_t>(m_bounds.Height()), 0);
}

void KivPixelMask::Set(int x, int y) {
    if (!m_bounds.PtInRect(CPoint(x, y))) return;
    m_bits[static_cast<size_t>(y - m_bounds.top) * static_cast<size_t>(m_bounds.Width()) + static_cast<size_t>(x - m_bounds.left)] = 1;
}

bool KivPixelMask::Test(int x, int y) const {
    if (!m_bounds.PtInRect(CPoint(x, y))) return false;
    return m_bits[static_cast<size_t>(y - m_bounds.top) * static_cast<size_t>(m_bounds.Width()) + static_cast<size_t>(x - m_bounds.left)] != 0;
}

namespace {

double DistanceToSegment(double px, double py, CPoint a, CPoint b) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? ((px - a.x) * vx + (py - a.y) * vy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = px - (a.x + t * vx), dy = py - (a.y + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

CRect WideLineBounds(CPoint a, CPoint b, int width) {
    const int reach = width / 2 + 1;
    return CRect(std::min(a.x, b.x) - reach, std::min(a.y, b.y) - reach, std::max(a.x, b.x) + reach + 1,
                 std::max(a.y, b.y) + reach + 1);
}

// Octants numbered counter-clockwise from the positive x axis with y pointing down; the
// old system breaks ties (the exact line halfway between two pixels) towards the start in
// octants 1, 2, 4 and 7 and away from it in octants 3, 5, 6 and 8, so that a line drawn
// in the opposite direction lights the same pixels.
int Octant(int dx, int dy) {
    if (dy > 0) {
        if (dx > 0) return dx > dy ? 1 : 2;
        return -dx > dy ? 4 : 3;
    }
    if (dx < 0) return -dx > -dy ? 5 : 6;
    return dx > -dy ? 8 : 7;
}

bool OctantRoundsAway(int octant) { return octant == 3 || octant == 5 || octant == 6 || octant == 8; }

}  // namespace

void KivAddWideLine(KivPixelMask& mask, CPoint a, CPoint b, int width) {
    CRect area;
    if (!area.IntersectRect(WideLineBounds(a, b, width), mask.Bounds())) return;
    // An even width has no centre pixel: sample pixel centres half a pixel down and right so
    // the line covers exactly `width` rows or columns.
    const double shift = (width % 2 == 0) ? 0.5 : 0.0;
    const double radius = width / 2.0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (DistanceToSegment(x + shift, y + shift, a, b) < radius) mask.Set(x, y);
}

KivPixelMask KivWideLineMask(CPoint a, CPoint b, int width, const CRect& limit) {
    CRect bounds;
    bounds.IntersectRect(WideLineBounds(a, b, width), limit);
    KivPixelMask mask(bounds);
    KivAddWideLine(mask, a, b, width);
    return mask;
}

void KivEllipseMasks(const CRect& box, int penWidth, const CRect& limit, KivPixelMask& outline, KivPixelMask& interior) {
    CRect bounds;
    bounds.IntersectRect(box, limit);
    outline = KivPixelMask(bounds);
    interior = KivPixelMask(bounds);
    const double a = box.Width() / 2.0, b = box.Height() / 2.0;
    if (bounds.IsRectEmpty() || a <= 0 || b <= 0) return;
    const double cx = box.left + a, cy = box.top + b;
    auto inside = [&](int x, int y, double ra, double rb) {
        if (ra <= 0 || rb <= 0) return false;
        const double u = (x + 0.5 - cx) / ra, v = (y + 0.5 - cy) / rb;
        return u * u + v * v <= 1.0;
    };
    for (int y = bounds.top; y < bounds.bottom; ++y)
        for (int x = bounds.left; x < bounds.right; ++x) {
            if (!inside(x, y, a, b)) continue;
            bool edge;
            if (penWidth <= 1)
                edge = !inside(x - 1, y, a, b) || !inside(x + 1, y, a, b) || !inside(x, y - 1, a, b) || !inside(x, y + 1, a, b);
            else
                edge = !inside(x, y, a - penWidth, b - penWidth);
            if (penWidth > 0 && edge)
                outline.Set(x, y);
            else
                interior.Set(x, y);
        }
}

void KivRectangleMasks(const CRect& box, int penWidth, const CRect& limit, KivPixelMask& outline, KivPixelMask& interior) {
    CRect bounds;
    bounds.IntersectRect(CRect(box.left - penWidth, box.top - penWidth, box.right + penWidth, box.bottom + penWidth), limit);
    outline = KivPixelMask(bounds);
    interior = KivPixelMask(bounds);
    if (penWidth <= 0) {
        for (int y = box.top; y < box.bottom - 1; ++y)
            for (int x = box.left; x < box.right - 1; ++x) interior.Set(x, y);
        return;
    }
    if (penWidth == 1) {
        for (int x = box.left; x < box.right; ++x) {
            outline.Set(x, box.top);
            outline.Set(x, box.bottom - 1);
        }
        for (int y = box.top; y < box.bottom; ++y) {
            outline.Set(box.left, y);
            outline.Set(box.right - 1, y);
        }
    } else {
        const CPoint c[4] = {CPoint(box.left, box.top), CPoint(box.right - 1, box.top), CPoint(box.right - 1, box.bottom - 1),
                             CPoint(box.left, box.bottom - 1)};
        for (int i = 0; i < 4; ++i) KivAddWideLine(outline, c[i], c[(i + 1) % 4], penWidth);
    }
    CRect inside;
    if (!inside.IntersectRect(CRect(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1), bounds)) return;
    for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x)
            if (!outline.Test(x, y)) interior.Set(x, y);
}

KivRaster::KivRaster(KivSurface& surface, const KivRegion& clip) : m_surface(surface), m_clip(clip) {
    m_limit.IntersectRect(clip.Bounds(), CRect(0, 0, surface.width, surface.height));
}

bool KivRaster::Visible(int x, int y) const {
    return m_limit.PtInRect(CPoint(x, y)) && m_clip.Contains(x, y);
}

void KivRaster::Plot(int x, int y, KivPixel color, int rop2) {
    if (!Visible(x, y)) return;
    KivPixel& p = m_surface.At(x, y);
    p = KivApplyRop2(rop2, color, p);
}

void KivRaster::Blend(int x, int y, KivPixel color, int coverage) {
    if (coverage <= 0 || !Visible(x, y)) return;
    KivPixel& p = m_surface.At(x, y);
    if (coverage >= 255) {
        p = color & kPixelRgbMask;
        return;
    }
    KivPixel out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = static_cast<int>((p >> shift) & 0xFF), s = static_cast<int>((color >> shift) & 0xFF);
        // Rounded to nearest: +127 before dividing by the 255 steps of coverage.
        const int v = d + ((s - d) * coverage + (s >= d ? 127 : -127)) / 255;
        out |= static_cast<KivPixel>(std::clamp(v, 0, 255)) << shift;
    }
    p = out;
}

void KivRaster::FillRect(const CRect& r, KivPixel color, int rop2) {
    // Most fills are small and most clips have many parts: one test against the limits
    // leaves out a fill that shows nowhere before the parts are walked.
    CRect within;
    if (!within.IntersectRect(r, m_limit)) return;
    for (const CRect& c : m_clip.Rects()) {
        CRect part;
        if (!part.IntersectRect(within, c)) continue;
        if (rop2 == R2_COPYPEN) {
            // The common fill (every window's background) as plain row stores.
            const KivPixel fill = KivApplyRop2(R2_COPYPEN, color, 0);
            for (int y = part.top; y < part.bottom; ++y) FillRow(&m_surface.At(part.left, y), part.Width(), fill);
            continue;
        }
        for (int y = part.top; y < part.bottom; ++y)
            for (int x = part.left; x < part.right; ++x) {
                KivPixel& p = m_surface.At(x, y);
                p = KivApplyRop2(rop2, color, p);
            }
    }
}

void KivRaster::FillRectWithin(const CRect& r, KivPixel color, std::size_t& part) {
    const std::vector<CRect>& parts = m_clip.Rects();
    const auto holds = [&r](const CRect& c) { return r.left >= c.left && r.right <= c.right && r.top >= c.top && r.bottom <= c.bottom; };
    if (r.IsRectEmpty() || !holds(m_limit)) return FillRect(r, color, R2_COPYPEN);
    if (part >= parts.size() || !holds(parts[part])) {
        part = static_cast<std::size_t>(std::find_if(parts.begin(), parts.end(), holds) - parts.begin());
        // Across parts: each takes its piece.
        if (part == parts.size()) return FillRect(r, color, R2_COPYPEN);
    }
    const KivPixel fill = KivApplyRop2(R2_COPYPEN, color, 0);
    const int width = r.Width();
    KivPixel* row = &m_surface.At(r.left, r.top);
    const std::size_t stride = static_cast<std::size_t>(m_surface.width);
    // The small marks these calls mostly make are stored pixel by pixel, without a call a row.
    if (width <= 8) {
        for (int y = r.top; y < r.bottom; ++y, row += stride)
            for (int x = 0; x < width; ++x) row[x] = fill;
        return;
    }
    for (int y = r.top; y < r.bottom; ++y, row += stride) FillRow(row, width, fill);
}

void KivRaster::Line(CPoint a, CPoint b, KivPixel color, int rop2) {
    const int dx = b.x - a.x, dy = b.y - a.y;
    if (dx == 0 && dy == 0) return;
    const int octant = Octant(dx, dy);
    const bool xMajor = std::abs(dx) > std::abs(dy);
    const std::int64_t len = xMajor ? std::abs(dx) : std::abs(dy);
    const std::int64_t minorLen = xMajor ? std::abs(dy) : std::abs(dx);
    const int majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int minorStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
    const int majorStart = xMajor ? a.x : a.y;
    const int minorStart = xMajor ? a.y : a.x;
    const bool roundAway = OctantRoundsAway(octant);
    // The minor offset of step k is k * minorLen / len rounded to the nearest pixel, ties
    // broken by the octant; this is exactly what the incremental error walk produces. Being
    // closed-form, a pixel is the same whatever part of the line a clip leaves.
    auto minorOffset = [&](std::int64_t k) -> std::int64_t {
        if (roundAway) return (2 * k * minorLen + len) / (2 * len);
        const std::int64_t num = 2 * k * minorLen - len;
        return num >= 0 ? (num + 2 * len - 1) / (2 * len) : -((-num) / (2 * len));
    };
    CRect box;
    if (!box.IntersectRect(CRect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1), m_limit))
        return;
    // Each rectangle of the clip is walked on its own: only the steps whose major coordinate
    // lies inside it, and a pixel is kept when its minor coordinate does too. The rectangles
    // do not overlap, so no pixel is drawn twice (which XOR would undo).
    for (const CRect& c : m_clip.Rects()) {
        CRect part;
        if (!part.IntersectRect(c, box)) continue;
        const int lo = xMajor ? part.left : part.top;
        const int hi = (xMajor ? part.right : part.bottom) - 1;
        const int minorLo = xMajor ? part.top : part.left;
        const int minorHi = (xMajor ? part.bottom : part.right) - 1;
        std::int64_t kFirst = majorStep > 0 ? std::int64_t{lo} - majorStart : std::int64_t{majorStart} - hi;
        std::int64_t kLast = majorStep > 0 ? std::int64_t{hi} - majorStart : std::int64_t{majorStart} - lo;
        kFirst = std::max<std::int64_t>(kFirst, 0);
        kLast = std::min<std::int64_t>(kLast, len - 1);
        for (std::int64_t k = kFirst; k <= kLast; ++k) {
            const std::int64_t minor = minorStart + minorStep * minorOffset(k);
            if (minor < minorLo || minor > minorHi) continue;
            const int major = majorStart + majorStep * static_cast<int>(k);
            KivPixel& p = xMajor ? m_surface.At(major, static_cast<int>(minor)) : m_surface.At(static_cast<int>(minor), major);
            p = KivApplyRop2(rop2, color, p);
        }
    }
}

void KivRaster::FillMask(const KivPixelMask& mask, KivPixel color, int rop2) {
    const CRect& b = mask.Bounds();
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x)
            if (mask.Test(x, y)) Plot(x, y, color, rop2);
}
