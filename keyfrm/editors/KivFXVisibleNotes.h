// What a paint of a curve editor reaches on a track of thousands of keyframes: the keyframes
// gathered once in list order, those whose drawing can reach a span of pixel columns found
// by bisection when they stand in time order, and their notes drawn with what a later note
// covers whole left out. The picture is the same as drawing every note in list order.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/tracks/CKivFXValueKeyFrm.h"
#include "platform/fw/CObList.h"
#include "platform/ui/DC.h"

/// A track's keyframes of class K with their positions in the list (elements of other
/// classes keep their index but are not gathered), whether their time keys never decrease
/// in list order, and how far (in time units) a handle reaches from its keyframe.
template <class K>
struct KivFXGatheredKeys {
    struct Key {
        int index;
        K* keyframe;
        double at;  // the time key the editor draws it by
    };
    std::vector<Key> keys;
    int count = 0;         // every element of the list
    bool ordered = true;   // keys' `at` never decrease (a NaN breaks the order)
    double reach = 0.0;    // the largest handle offset, in the same unit as `at`

    /// One pass over the list: at(k) gives a keyframe's time key, handleReach(k) how far its
    /// handles reach from it (not negative).
    template <class At, class Reach>
    void Gather(const CObList& list, At at, Reach handleReach) {
        keys.clear();
        count = 0;
        ordered = true;
        reach = 0.0;
        for (POSITION pos = list.GetHeadPosition(); pos; ++count) {
            CObject* o = list.GetNext(pos);
            // The class itself first: IsKindOf's walk up the chain is the cost of a long track.
            if (!o || (o->GetRuntimeClass() != K::GetThisClass() && !o->IsKindOf(K::GetThisClass()))) continue;
            K* k = static_cast<K*>(o);
            const double a = at(*k);
            if (!keys.empty() && !(keys.back().at <= a)) ordered = false;
            if (std::isnan(a)) ordered = false;
            const double r = handleReach(*k);
            if (!(r <= reach)) reach = std::isfinite(r) ? r : INFINITY;
            keys.push_back(Key{count, k, a});
        }
    }

    /// The gathered keys (as [first, last) into keys) whose time key lies within [lo, hi]
    /// widened by the handles' reach, by bisection; every key when they are out of order
    /// or the bounds are not numbers.
    std::pair<std::size_t, std::size_t> Within(double lo, double hi) const {
        lo -= reach;
        hi += reach;
        if (!ordered || std::isnan(lo) || std::isnan(hi)) return {0, keys.size()};
        auto first = std::lower_bound(keys.begin(), keys.end(), lo, [](const Key& k, double v) { return k.at < v; });
        auto last = std::upper_bound(first, keys.end(), hi, [](double v, const Key& k) { return v < k.at; });
        return {static_cast<std::size_t>(first - keys.begin()), static_cast<std::size_t>(last - keys.begin())};
    }

    /// The neighbouring pairs of list order (as [first, last) of their first key) that can
    /// reach [lo, hi]: the keys within it and one more on each side.
    std::pair<std::size_t, std::size_t> PairsWithin(double lo, double hi) const {
        auto [first, last] = Within(lo, hi);
        if (!ordered) return {0, keys.size()};
        if (first > 0) --first;
        return {first, std::min(last + 1, keys.size())};
    }
};

/// Draws keyframe notes as KivFXDrawKeyFrmNote would one after another, but only those that
/// reach the clip and without what later parts cover whole: a square whose pixels in the
/// clip later squares all paint over, and a handle line so short that its own two squares,
/// drawn right after it, hide it. The picture is the same, so keyframes and handles that fall on the
/// same pixels are drawn once.
class KivFXNoteBatch {
public:
    /// clip: the device context's clip box; notes wholly outside it are not kept.
    explicit KivFXNoteBatch(const CRect& clip) : m_clip(clip) {}
    void Add(const CPoint points[3], bool selected, int kind);
    void Reserve(std::size_t notes) { m_notes.reserve(notes); }
    /// Draws the kept notes in the order they were added; the DC's state is restored.
    void Draw(CDC& dc);
    /// Parts drawn by the last Draw (squares and lines), for tests and benchmarks.
    std::size_t PartsDrawn() const { return m_partsDrawn; }

private:
    struct Note {
        CPoint pts[3];
        bool selected;
        int kind;
        unsigned char draw;  // bits: which squares and lines remain
    };
    CRect m_clip;
    std::vector<Note> m_notes;
    std::size_t m_partsDrawn = 0;
};

/// Adds to batch the notes of the gathered keys [span.first, span.second), in list order:
/// points(keyframe, out) gives a keyframe's three points (fore handle, keyframe, after handle).
template <class K, class Points>
void KivFXAddNotes(KivFXNoteBatch& batch, const KivFXGatheredKeys<K>& keys, std::pair<std::size_t, std::size_t> span,
                   int insMode, Points points) {
    batch.Reserve(span.second - span.first);
    for (std::size_t i = span.first; i < span.second; ++i) {
        CPoint pts[3];
        points(keys.keys[i].keyframe, pts);
        batch.Add(pts, keys.keys[i].keyframe->IsSelect() != 0, KivFXNoteKind(keys.keys[i].index, keys.count, insMode));
    }
}
