#include "keyfrm/editors/KivFXVisibleNotes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "keyfrm/editors/KivFXCurveNotes.h"

namespace {


// What remains of a note, one bit a part.
constexpr unsigned char kForeLine = 1, kAfterLine = 2, kKeySquare = 4, kForeSquare = 8, kAfterSquare = 16;

// A 1-pixel line no longer than this in either direction lies within the 4 x 4 squares
// around its two ends.
constexpr int kShortLineReach = 3;
// A line whose box is larger than this either way cannot lie within a note's squares.
constexpr int kHiddenLineReach = 12;

bool ShowsFore(int kind) { return kind != kKivFXNoteNoHandles && kind != kKivFXNoteHead; }
bool ShowsAfter(int kind) { return kind != kKivFXNoteNoHandles && kind != kKivFXNoteTail; }

// How far the squares cover a span walked from `from` up to `to` (inclusive), along a row
// (`across` is then its y) or down a column (`across` its x): the first pixel not covered,
// past `to` when all are (at most three squares, so a few passes).
int CoveredTo(int from, int to, int across, bool down, const CRect* squares, int count) {
    for (bool grew = true; grew && from <= to;) {
        grew = false;
        for (int i = 0; i < count; ++i) {
            const CRect& s = squares[i];
            const int lo = down ? s.top : s.left, hi = down ? s.bottom : s.right;
            const int lo2 = down ? s.left : s.top, hi2 = down ? s.right : s.bottom;
            if (across >= lo2 && across < hi2 && from >= lo && from < hi) {
                from = hi;
                grew = true;
            }
        }
    }
    return from;
}

// Whether the 1-pixel line from a to b lies within the note's own squares, which are drawn
// after it (or covered by later ones): a short one within its two ends' squares; any other
// has its every pixel in the box of its two ends, so a box whose every pixel one of the
// squares holds is hidden (a handle a few pixels long standing on a steep curve).
bool Hidden(CPoint a, CPoint b, const CRect* squares, int count) {
    if (std::abs(a.x - b.x) <= kShortLineReach && std::abs(a.y - b.y) <= kShortLineReach) return true;
    const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    if (right - left > kHiddenLineReach || bottom - top > kHiddenLineReach) return false;
    // One column (a steep curve's handles) at once; any other box row by row.
    if (left == right) return CoveredTo(top, bottom, left, true, squares, count) > bottom;
    for (int y = top; y <= bottom; ++y)
        if (CoveredTo(left, right, y, false, squares, count) <= right) return false;
    return true;
}

// The pixels of the clip that squares drawn later cover, a bit a pixel, row by row.
class CoveredPixels {
public:
    explicit CoveredPixels(const CRect& clip) : m_area(clip) {
        if (m_area.IsRectEmpty()) return;
        m_words = static_cast<std::size_t>(m_area.Width() + 63) / 64;
        m_bits.assign(m_words * static_cast<std::size_t>(m_area.Height()), 0);
    }
    /// False when the square around p shows nothing in the clip or later squares cover every
    /// pixel of it there; otherwise true, and its pixels count as covered.
    bool Take(CPoint p) {
        // Most squares lie inside the clip within one word: four masked words a row apart.
        const int sx = p.x - 2 - m_area.left, sy = p.y - 2 - m_area.top;
        if (sx >= 0 && sy >= 0 && sx + 4 <= m_area.Width() && sy + 4 <= m_area.Height() && sx % 64 <= 60) {
            const std::uint64_t m = std::uint64_t{0xF} << (sx % 64);
            std::uint64_t* row = &m_bits[static_cast<std::size_t>(sy) * m_words + static_cast<std::size_t>(sx) / 64];
            std::uint64_t missing = 0;
            for (int i = 0; i < 4; ++i, row += m_words) {
                missing |= ~*row & m;
                *row |= m;
            }
            return missing != 0;
        }
        CRect r;
        if (!r.IntersectRect(KivFXNoteRect(p), m_area)) return false;
        const int x0 = r.left - m_area.left, x1 = r.right - m_area.left;  // at most 4 columns
        // The square's columns as one mask a word: two words when it straddles a boundary.
        const std::size_t w0 = static_cast<std::size_t>(x0) / 64, w1 = static_cast<std::size_t>(x1 - 1) / 64;
        const std::uint64_t m0 = Bits(x0 % 64, w0 == w1 ? (x1 - 1) % 64 : 63);
        const std::uint64_t m1 = w0 == w1 ? 0 : Bits(0, (x1 - 1) % 64);
        bool shows = false;
        for (int y = r.top; y < r.bottom; ++y) {
            std::uint64_t* row = &m_bits[static_cast<std::size_t>(y - m_area.top) * m_words];
            shows |= (row[w0] & m0) != m0;
            row[w0] |= m0;
            if (m1) {
                shows |= (row[w1] & m1) != m1;
                row[w1] |= m1;
            }
        }
        return shows;
    }

private:
    // Bits lo to hi (0 to 63) of a word set.
    static std::uint64_t Bits(int lo, int hi) { return (~std::uint64_t{0} >> (63 - hi)) & (~std::uint64_t{0} << lo); }

    CRect m_area;
    std::size_t m_words = 0;
    std::vector<std::uint64_t> m_bits;
};

}  // namespace

void KivFXNoteBatch::Add(const CPoint points[3], bool selected, int kind) {
    // Every pixel a note draws lies within 2 pixels of the box of its shown points.
    int left = points[1].x, right = left, top = points[1].y, bottom = top;
    const auto widen = [&](CPoint p) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    };
    if (ShowsFore(kind)) widen(points[0]);
    if (ShowsAfter(kind)) widen(points[2]);
    if (m_clip.IsRectEmpty() || left - 2 >= m_clip.right || right + 3 <= m_clip.left || top - 2 >= m_clip.bottom ||
        bottom + 3 <= m_clip.top)
        return;
    m_notes.push_back(Note{{points[0], points[1], points[2]}, selected, kind, 0});
}

void KivFXNoteBatch::Draw(CDC& dc) {
    m_partsDrawn = 0;
    // Backwards: a square is kept only when later squares leave a pixel of it in the clip
    // uncovered, since they paint over it whatever their colours.
    CoveredPixels taken(m_clip);
    for (auto it = m_notes.rbegin(); it != m_notes.rend(); ++it) {
        Note& n = *it;
        const bool fore = ShowsFore(n.kind), after = ShowsAfter(n.kind);
        n.draw = 0;
        if (after && taken.Take(n.pts[2])) n.draw |= kAfterSquare;
        if (fore && taken.Take(n.pts[0])) n.draw |= kForeSquare;
        if (taken.Take(n.pts[1])) n.draw |= kKeySquare;
        CRect squares[3] = {KivFXNoteRect(n.pts[1])};
        int count = 1;
        if (fore) squares[count++] = KivFXNoteRect(n.pts[0]);
        if (after) squares[count++] = KivFXNoteRect(n.pts[2]);
        if (fore && !Hidden(n.pts[0], n.pts[1], squares, count)) n.draw |= kForeLine;
        if (after && !Hidden(n.pts[1], n.pts[2], squares, count)) n.draw |= kAfterLine;
    }
    CPen pen(PS_SOLID, 1, kKivFXNotePenColor);
    KivSaveDC saved(dc);
    dc.SelectObject(&pen);
    // Squares run by run between the lines, each run in one call and in the same order.
    std::vector<CDC::SolidFill> run;
    auto square = [&](CPoint p, COLORREF color) {
        run.push_back(CDC::SolidFill{KivFXNoteRect(p), color});
        ++m_partsDrawn;
    };
    auto flush = [&] {
        dc.FillSolidRects(run.data(), run.size());
        run.clear();
    };
    for (const Note& n : m_notes) {
        if (n.draw & (kForeLine | kAfterLine)) flush();
        if (n.draw & kForeLine) {
            dc.MoveTo(n.pts[0]);
            dc.LineTo(n.pts[1]);
            ++m_partsDrawn;
        }
        if (n.draw & kAfterLine) {
            dc.MoveTo(n.pts[1]);
            dc.LineTo(n.pts[2]);
            ++m_partsDrawn;
        }
        if (n.draw & kKeySquare) square(n.pts[1], n.selected ? kKivFXSelectedKeyFrmColor : kKivFXKeyFrmColor);
        if (n.draw & kForeSquare) square(n.pts[0], kKivFXForePtColor);
        if (n.draw & kAfterSquare) square(n.pts[2], kKivFXAfterPtColor);
    }
    flush();
}
