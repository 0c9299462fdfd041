// Finding a track's keyframes around a position, by the list functions' bracketing rule
// over the track's own keyframes: the rule once, and the cached, exact fast paths to it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "keyfrm/tracks/CKivFXInsValueKeyFrm.h"
#include "platform/fw/CObList.h"

/// Where a track's value at a position comes from: both set, between them; one set, that
/// keyframe's own value; neither, the track's default (no keyframes, or a position that no
/// keyframe brackets, such as NaN or a frame beyond every bound).
struct KivFXBracket {
    const CKivFXInsValueKeyFrm* previous = nullptr;
    const CKivFXInsValueKeyFrm* next = nullptr;
};

/// The bounds the bracketing search starts from, as the list functions': a key at or beyond
/// them is found by an exact hit but never chosen as a neighbour.
inline constexpr double kKivFXLocationBound = 1073741823.0;
inline constexpr int kKivFXFrameBound = 1073741823;

template <class Key>
inline constexpr Key kKivFXBound = static_cast<Key>(std::is_same_v<Key, int> ? kKivFXFrameBound : kKivFXLocationBound);

/// The key a bracket of that position type compares: Location for double, Frame for int.
inline double KivFXKeyOf(const CKivFXInsValueKeyFrm* k, double) { return k->Location; }
inline int KivFXKeyOf(const CKivFXInsValueKeyFrm* k, int) { return k->Frame; }

/// The bracketing rule, fed the keyframes in list order: the first exact hit ends the
/// search; otherwise the nearest key below and above (the first in list order among equal
/// keys), within the bounds. NaN keys and a NaN position match and bracket nothing.
template <class Key>
class KivFXBracketScan {
public:
    explicit KivFXBracketScan(Key pos) : m_pos(pos) {}
    /// Returns true when k sits exactly at the position (the search is over).
    bool Offer(const CKivFXInsValueKeyFrm* k) {
        const Key key = KivFXKeyOf(k, m_pos);
        if (key == m_pos) {
            m_result = {k, nullptr};
            return true;
        }
        if (m_pos > key) {
            if (key > m_below) {
                m_result.previous = k;
                m_below = key;
            }
        } else if (key > m_pos && key < m_above) {
            m_result.next = k;
            m_above = key;
        }
        return false;
    }
    KivFXBracket Result() const { return m_result; }

private:
    Key m_pos;
    Key m_below = -kKivFXBound<Key>;
    Key m_above = kKivFXBound<Key>;
    KivFXBracket m_result;
};

/// The bracket of a track's keyframes, the whole rule: no keyframes, neither; one keyframe,
/// that one wherever the position is; a location below 0.0 the first keyframe and above 1.0
/// the last (in list order); otherwise search(), which must answer as KivFXBracketScan.
template <class Key, class Search>
KivFXBracket KivFXBracketOf(Key pos, std::size_t count, const CKivFXInsValueKeyFrm* first, const CKivFXInsValueKeyFrm* last,
                            Search search) {
    if (count == 0) return {};
    if (count == 1) return {first, nullptr};
    if constexpr (std::is_same_v<Key, double>) {
        if (pos < 0.0) return {first, nullptr};
        if (pos > 1.0) return {last, nullptr};
    }
    return search();
}

/// Keyframes sorted by (key, list order), for the same answers as KivFXBracketScan in
/// O(log n), or in one forward pass over ascending positions.
template <class Key>
class KivFXSortedKeys {
public:
    /// keys: the keyframes in list order.
    void Build(const std::vector<const CKivFXInsValueKeyFrm*>& keys);
    /// The scan's answer at pos.
    KivFXBracket Find(Key pos) const;
    /// The same, for positions that never decrease from one call to the next with the
    /// same cursor (which starts at 0).
    KivFXBracket FindFrom(Key pos, std::size_t& cursor) const;

private:
    struct Entry {
        Key key;
        const CKivFXInsValueKeyFrm* k;
        std::size_t runStart;  // index of the first entry with an equal key
    };
    /// The answer from the index of the first entry whose key is not below pos.
    KivFXBracket At(std::size_t lo, Key pos) const;
    std::vector<Entry> m_sorted;  // NaN keys left out: they never match or bracket
};

extern template class KivFXSortedKeys<double>;
extern template class KivFXSortedKeys<int>;

/// One track's view of its own keyframes, with a snapshot of the list kept between calls.
/// Every call checks the snapshot against the list's modification count, each element slot
/// and each key (keys are plain members hosts write), so answers are always those of the
/// list as it is now; after a few unchanged calls it searches keys sorted once. Safe for
/// several threads reading the same track at once: one uses the snapshot, the others walk.
class CKivFXTrackKeys {
public:
    explicit CKivFXTrackKeys(const CRuntimeClass* keyClass) : m_keyClass(keyClass) {}
    /// A copy starts without a snapshot: it belongs to another list.
    CKivFXTrackKeys(const CKivFXTrackKeys& other) : m_keyClass(other.m_keyClass) {}
    CKivFXTrackKeys& operator=(const CKivFXTrackKeys&) { return *this; }

    /// True when the element is one of the track's keyframes.
    bool IsKey(const CObject* element) const { return element && element->IsKindOf(m_keyClass); }
    /// The track's keyframes in list order.
    std::vector<const CKivFXInsValueKeyFrm*> Keys(const CObList& list) const;

    /// The bracket of the position among list's keyframes (see KivFXBracketOf). Never fails:
    /// without memory for the snapshot it walks the list.
    KivFXBracket Find(const CObList& list, double location) const { return FindCached(list, location); }
    KivFXBracket Find(const CObList& list, int frame) const { return FindCached(list, frame); }
    /// The same answers, walking the list with the scan and leaving the snapshot alone.
    KivFXBracket FindByWalking(const CObList& list, double location) const { return Walk(list, location); }
    KivFXBracket FindByWalking(const CObList& list, int frame) const { return Walk(list, frame); }

private:
    struct Entry {
        CObject* const* slot;  // where the list holds it
        const CKivFXInsValueKeyFrm* key;
        std::uint64_t locationBits;  // Location's bits at the snapshot (so NaN equals itself)
        int frame;                   // Frame at the snapshot
    };
    struct Other {
        CObject* const* slot;
        const CObject* element;
    };
    template <class Key>
    struct Sorted {
        KivFXSortedKeys<Key> keys;
        bool built = false;
    };

    template <class Key>
    KivFXBracket FindCached(const CObList& list, Key pos) const;
    template <class Key>
    KivFXBracket Walk(const CObList& list, Key pos) const;
    /// True when the elements and their keys of that type are as the snapshot saw them.
    template <class Key>
    bool IsCurrent(const CObList& list) const;
    /// Remakes the snapshot; false (snapshot dropped) when memory runs out.
    bool Refresh(const CObList& list) const;
    template <class Key>
    Sorted<Key>& SortedBy() const;

    const CRuntimeClass* m_keyClass;
    mutable std::atomic_flag m_busy;  // set while one reader uses or remakes the snapshot
    mutable const CObList* m_list = nullptr;
    mutable DWORD_PTR m_modCount = 0;
    mutable std::vector<Entry> m_entries;  // the keyframes, in list order
    mutable std::vector<Other> m_others;   // every other element
    mutable unsigned m_unchangedCalls = 0;  // calls since the snapshot was made
    mutable Sorted<double> m_byLocation;
    mutable Sorted<int> m_byFrame;
};
