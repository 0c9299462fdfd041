// Finding a track's keyframes around a position: the bracketing rule of the keyframe list
// functions, applied to the elements of the track's keyframe class (other elements are
// passed over). A snapshot of the list is kept between calls so that repeated evaluation
// walks neither the links nor the class chain; every call checks it against the list's
// modification count and the element slots, and reads the keys live, so the answer is
// always that of the list as it is now.
#pragma once

#include <atomic>
#include <cstddef>
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

/// The key a bracket of that position type compares: Location for double, Frame for int.
inline double KivFXKeyOf(const CKivFXInsValueKeyFrm* k, double) { return k->Location; }
inline int KivFXKeyOf(const CKivFXInsValueKeyFrm* k, int) { return k->Frame; }

/// The bracketing rule, fed the keyframes in list order: the first exact hit ends the
/// search; otherwise the nearest key below and above (the first in list order among equal
/// keys), within the bounds.
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
        if (m_pos > key && key > m_below) {
            m_result.previous = k;
            m_below = key;
        }
        if (key > m_pos && key < m_above) {
            m_result.next = k;
            m_above = key;
        }
        return false;
    }
    KivFXBracket Result() const { return m_result; }

private:
    static constexpr Key kBound = static_cast<Key>(std::is_same_v<Key, int> ? kKivFXFrameBound : kKivFXLocationBound);
    Key m_pos;
    Key m_below = -kBound;
    Key m_above = kBound;
    KivFXBracket m_result;
};

/// The bracket of a track's keyframes. The whole rule in one place: no keyframes, neither;
/// one keyframe, that one wherever the position is; a location below 0.0 the first keyframe
/// and above 1.0 the last (in list order); otherwise the scan. forEach(visit) calls visit
/// on each keyframe in list order until it returns true.
template <class Key, class ForEach>
KivFXBracket KivFXBracketOf(Key pos, std::size_t count, const CKivFXInsValueKeyFrm* first,
                            const CKivFXInsValueKeyFrm* last, ForEach forEach) {
    if (count == 0) return {};
    if (count == 1) return {first, nullptr};
    if constexpr (std::is_same_v<Key, double>) {
        if (pos < 0.0) return {first, nullptr};
        if (pos > 1.0) return {last, nullptr};
    }
    KivFXBracketScan<Key> scan(pos);
    forEach([&](const CKivFXInsValueKeyFrm* k) { return scan.Offer(k); });
    return scan.Result();
}

/// One track's view of its own keyframes, with the snapshot. Safe for several threads
/// reading the same track at once: one uses the snapshot, the others walk the list.
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
    /// if the snapshot cannot be made it walks the list.
    KivFXBracket Find(const CObList& list, double location) const { return FindCached(list, location); }
    KivFXBracket Find(const CObList& list, int frame) const { return FindCached(list, frame); }
    /// The same answers without the snapshot.
    KivFXBracket FindByWalking(const CObList& list, double location) const { return Walk(list, location); }
    KivFXBracket FindByWalking(const CObList& list, int frame) const { return Walk(list, frame); }

private:
    template <class Key>
    KivFXBracket FindCached(const CObList& list, Key pos) const;
    template <class Key>
    KivFXBracket Walk(const CObList& list, Key pos) const;
    /// True when the snapshot still describes list exactly.
    bool IsCurrent(const CObList& list) const;
    /// Remakes the snapshot; false (snapshot dropped) when memory runs out.
    bool Refresh(const CObList& list) const;

    const CRuntimeClass* m_keyClass;
    mutable std::atomic_flag m_busy;  // set while one reader uses or remakes the snapshot
    mutable const CObList* m_list = nullptr;
    mutable DWORD_PTR m_modCount = 0;
    mutable std::vector<CObject* const*> m_slots;    // each element's slot, in list order
    mutable std::vector<const CObject*> m_elements;  // what each slot held at the snapshot
    mutable std::vector<const CKivFXInsValueKeyFrm*> m_keys;  // the keyframes among them
};

/// Bracketing of frames visited in ascending order, for the per-frame sampler: the
/// keyframes sorted once by (Frame, list order), then a cursor that only moves forward.
/// Gives exactly the answers of CKivFXTrackKeys::Find for the same keyframes.
class KivFXFrameCursor {
public:
    /// keys: the track's keyframes in list order.
    explicit KivFXFrameCursor(const std::vector<const CKivFXInsValueKeyFrm*>& keys);
    /// The bracket at frame; frames must not decrease from one call to the next.
    KivFXBracket At(int frame);

private:
    struct Entry {
        int frame;
        const CKivFXInsValueKeyFrm* key;
        std::size_t runStart;  // index of the first entry with the same frame
    };
    std::vector<Entry> m_sorted;
    const CKivFXInsValueKeyFrm* m_first = nullptr;  // the first keyframe in list order
    std::size_t m_cursor = 0;                         // first entry whose frame is not below the last frame asked
};
