#include "keyfrm/editors/KivFXCurveWalk.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "keyfrm/editors/KivFXCurveNotes.h"

namespace {

// A pixel of a 1-pixel line lies within half a pixel of the exact line (its rounding to the
// nearest pixel); the guard keeps the slope's own rounding from dropping a row.
constexpr double kLineReach = 0.5 + 1e-6;

}  // namespace

void KivFXAddLineFootprint(KivRegion& area, CPoint a, CPoint b, const CRect& clip) {
    const std::int64_t dx = static_cast<std::int64_t>(b.x) - a.x, dy = static_cast<std::int64_t>(b.y) - a.y;
    CRect bounds;
    if (!bounds.IntersectRect(KivFXLineBounds(a, b), clip)) return;
    if (std::llabs(dx) <= std::llabs(dy)) {
        area.Add(bounds);
        return;
    }
    if (dx < 0) std::swap(a, b);
    const double slope = static_cast<double>(b.y - a.y) / static_cast<double>(b.x - a.x);
    // Runs of w columns waste about w x |slope| rows per column against a rectangle's own cost
    // per run: w = sqrt(cost / |slope|) balances the two; a flat line stays one rectangle.
    const double run = slope == 0.0 ? bounds.Width() : std::sqrt(static_cast<double>(KivFXBandedArea::kRectCost) / std::fabs(slope));
    const int columns = static_cast<int>(std::clamp(run, 1.0, static_cast<double>(bounds.Width())));
    // Only the columns inside the clip: a handle may reach far beyond the window.
    for (int x0 = bounds.left; x0 < bounds.right; x0 += columns) {
        const int x1 = std::min(bounds.right, x0 + columns) - 1;
        const double y0 = a.y + slope * (x0 - a.x), y1 = a.y + slope * (x1 - a.x);
        const int top = KivTruncToPixel(std::ceil(std::min(y0, y1) - kLineReach));
        const int bottom = KivTruncToPixel(std::floor(std::max(y0, y1) + kLineReach)) + 1;
        CRect band;
        if (band.IntersectRect(CRect(x0, top, x1 + 1, bottom), bounds)) area.Add(band);
    }
}
