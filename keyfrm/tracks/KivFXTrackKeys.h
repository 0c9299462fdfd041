// Finding a track's keyframes around a position: the bracketing rule over the track's own
// keyframes as the list holds them at the call (the reference), and the one cache that gives
// the same answers faster.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <variant>
#include <vector>

#include "keyfrm/core/KivFXBracketRule.h"
#include "keyfrm/tracks/CKivFXInsValueKeyFrm.h"
#include "platform/fw/CObList.h"

/// Where a track's value at a position comes from: both set, between them; one set, that
/// keyframe's own value; neither, the track's default (no keyframes, or a position that no
/// keyframe brackets, such as NaN or a frame beyond every bound).
struct KivFXBracket {
    const CKivFXInsValueKeyFrm* previous = nullptr;
    const CKivFXInsValueKeyFrm* next = nullptr;
};

/// The key a bracket of that position type compares: Location for double, Frame for int.
inline double KivFXKeyOf(const CKivFXInsValueKeyFrm* k, double) { return k->Location; }
inline int KivFXKeyOf(const CKivFXInsValueKeyFrm* k, int) { return k->Frame; }

/// The bracket of a track's keyframes, the whole rule: no keyframes, neither (Answer{});
/// one keyframe, that one (first) wherever the position is; a location below 0.0 the first
/// keyframe and above 1.0 the last (in list order: first, last); otherwise search(), which
/// must answer as KivFXBracketScan over the keyframes in list order. Answer is the form the
/// caller takes a bracket in (KivFXBracket, or where a view's copies of them lie).
template <class Key, class Answer, class Search>
Answer KivFXBracketOf(Key pos, std::size_t count, const Answer& first, const Answer& last, Search search) {
    if (count == 0) return Answer{};
    if (count == 1) return first;
    if constexpr (std::is_same_v<Key, double>) {
        if (pos < 0.0) return first;
        if (pos > 1.0) return last;
    }
    return search();
}

/// The reference: the bracket of the position among the list's elements of keyClass (and
/// derived), walking the list as it is now. Every faster path must answer exactly this.
KivFXBracket KivFXTrackBracket(const CObList& list, const CRuntimeClass* keyClass, double location);
KivFXBracket KivFXTrackBracket(const CObList& list, const CRuntimeClass* keyClass, int frame);

/// The distinct keys of keyframes in ascending order, each with the first keyframe in list
/// order that has it, for the scan's answers in O(log n), or in O(1) when positions rise.
/// Keys and keyframes are kept apart so that a search reads only keys.
template <class Key>
class KivFXSortedKeys {
public:
    /// keys: the keyframes in list order. Raises std::bad_alloc.
    void Build(const std::vector<const CKivFXInsValueKeyFrm*>& keys);
    /// The scan's answer at pos.
    KivFXBracket Find(Key pos) const;
    /// The same, starting from where the last call with this cursor (which starts at 0)
    /// ended: O(1) when pos lies in that segment or the next one, as when positions rise
    /// one by one; a bisection otherwise.
    KivFXBracket FindFrom(Key pos, std::size_t& cursor) const;
    /// Where FindFrom's answer lies among the distinct keys: the index of its previous and of
    /// its next keyframe (KeyFrm(i)), kNone for none; an exact hit is a previous alone. The
    /// search asks for the lines of the block's entries of beside (an array kept in step with
    /// the keys, stride bytes an entry) while it reads the block's keys.
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    struct Slots {
        std::size_t previous = kNone;
        std::size_t next = kNone;
    };
    struct Beside {
        const void* data;
        std::size_t stride;
    };
    Slots SlotsFrom(Key pos, std::size_t& cursor, Beside beside) const;
    /// How many distinct keys; the first keyframe in list order with the i-th of them.
    std::size_t Size() const { return m_keys.size(); }
    const CKivFXInsValueKeyFrm* KeyFrm(std::size_t i) const { return m_first[i]; }
    /// After FindFrom(pos, cursor): how many positions from pos on (pos, pos + 1 ...) share
    /// its answer, at most limit: those below the next key. Whole positions (frames) only;
    /// 1 for locations.
    std::int64_t SameFrom(Key pos, std::size_t cursor, std::int64_t limit) const;

private:
    /// Keys in blocks of one cache line each, so that a search reads one line of them.
    static constexpr std::size_t kBlock = 64 / sizeof(Key);
    /// Memory aligned to a cache line, so that each block of keys is one line.
    template <class T>
    struct LineAligned {
        using value_type = T;
        LineAligned() = default;
        template <class U>
        LineAligned(const LineAligned<U>&) {}
        T* allocate(std::size_t n) { return static_cast<T*>(::operator new(n * sizeof(T), std::align_val_t{64})); }
        void deallocate(T* p, std::size_t) { ::operator delete(p, std::align_val_t{64}); }
        friend bool operator==(const LineAligned&, const LineAligned&) { return true; }
    };

    /// The answer from the index of the first key not below pos.
    Slots At(std::size_t lo, Key pos) const;
    KivFXBracket BracketOf(Slots s) const {
        return {s.previous == kNone ? nullptr : m_first[s.previous], s.next == kNone ? nullptr : m_first[s.next]};
    }
    Beside Firsts() const { return {m_first.data(), sizeof(m_first[0])}; }
    /// The index of the first key not below pos: the block from the first keys of all
    /// blocks (a sixteenth of the keys, which stays in a near cache), then a count of the
    /// keys below pos within that block's one line.
    std::size_t LowerBound(Key pos, Beside beside) const;
    /// The same for frames through the buckets: pos's bucket, then a count within its keys.
    std::size_t BucketLowerBound(Key pos, Beside beside) const;
    /// Frames evenly spread (as a keyframe a frame) reach their keys straight from the frame:
    /// bucket b holds the frames from the first key + b << m_shift on, about half a block of
    /// keys each, and m_bucket[b] is the index of its first key (m_bucket.back() the key
    /// count). Left empty for locations, short tracks, and frames so uneven that a bucket
    /// would hold more than four blocks of keys.
    void BuildBuckets();
    std::vector<Key, LineAligned<Key>> m_keys;  // NaN keys left out: they never match or bracket
    std::vector<Key> m_top;                     // the first key of each block of m_keys
    std::vector<std::uint32_t> m_bucket;
    int m_shift = 0;
    std::vector<const CKivFXInsValueKeyFrm*> m_first;
};

extern template class KivFXSortedKeys<double>;
extern template class KivFXSortedKeys<int>;

/// A track's view of its own keyframes (those of keyClass), with the one cache of its
/// brackets. Validity: the cache answers only while the list, its modification count,
/// every element slot and the asked key of every keyframe are as they were when it was
/// filled, and every call checks all of them. A call that finds it stale refills it and
/// scans; the first call that finds it current sorts it once by that call's key, and calls
/// by the other key scan. Readers on other threads while one uses the cache walk the list.
class CKivFXTrackKeys {
public:
    explicit CKivFXTrackKeys(const CRuntimeClass* keyClass) : m_keyClass(keyClass) {}
    /// A copy starts empty: it belongs to another list.
    CKivFXTrackKeys(const CKivFXTrackKeys& other) : m_keyClass(other.m_keyClass) {}
    CKivFXTrackKeys& operator=(const CKivFXTrackKeys&) { return *this; }

    /// True when the element is one of the track's keyframes.
    bool IsKey(const CObject* element) const { return element && element->IsKindOf(m_keyClass); }
    /// The track's keyframes in list order.
    std::vector<const CKivFXInsValueKeyFrm*> Keys(const CObList& list) const;

    /// KivFXTrackBracket's answer. Never fails: without memory for the cache it walks.
    KivFXBracket Find(const CObList& list, double location) const { return FindCached(list, location); }
    KivFXBracket Find(const CObList& list, int frame) const { return FindCached(list, frame); }

private:
    struct Entry {
        CObject* const* slot;  // where the list holds it
        const CKivFXInsValueKeyFrm* key;
        std::uint64_t locationBits;  // Location's bits when filled (so NaN equals itself)
        int frame;                   // Frame when filled
    };
    struct Other {
        CObject* const* slot;
        const CObject* element;
    };

    template <class Key>
    KivFXBracket FindCached(const CObList& list, Key pos) const;
    /// True when the elements, and their keys of that type, are as when filled.
    template <class Key>
    bool IsCurrent(const CObList& list) const;
    /// Fills the cache from the list; false (cache dropped) when memory runs out.
    bool Fill(const CObList& list) const;
    /// Sorts the filled keyframes by that key; without memory they stay unsorted.
    template <class Key>
    void Sort() const;

    const CRuntimeClass* m_keyClass;
    mutable std::atomic_flag m_busy;  // set while one reader uses or fills the cache
    mutable const CObList* m_list = nullptr;
    mutable DWORD_PTR m_modCount = 0;
    mutable std::vector<Entry> m_entries;  // the keyframes, in list order
    mutable std::vector<Other> m_others;   // every other element
    /// The one sorted order, by Location or by Frame, once a call has sorted it.
    mutable std::variant<std::monostate, KivFXSortedKeys<double>, KivFXSortedKeys<int>> m_sorted;
};
