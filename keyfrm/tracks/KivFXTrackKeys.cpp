#include "keyfrm/tracks/KivFXTrackKeys.h"

#include <algorithm>
#include <bit>
#include <new>

namespace {

// The sorted order is made only once a snapshot has served this many calls unchanged, so
// that a host editing keys between every evaluation pays a scan, not a sort, per call.
constexpr unsigned kCallsBeforeSorting = 4;

// Releases the snapshot for the next reader on every path out.
class SnapshotLock {
public:
    explicit SnapshotLock(std::atomic_flag& flag) : m_flag(flag), m_held(!flag.test_and_set(std::memory_order_acquire)) {}
    ~SnapshotLock() {
        if (m_held) m_flag.clear(std::memory_order_release);
    }
    SnapshotLock(const SnapshotLock&) = delete;
    SnapshotLock& operator=(const SnapshotLock&) = delete;
    bool IsHeld() const { return m_held; }

private:
    std::atomic_flag& m_flag;
    bool m_held;
};

template <class Key>
bool IsNaN(Key k) {
    return k != k;
}

}  // namespace

// ---- the sorted keys ----

template <class Key>
void KivFXSortedKeys<Key>::Build(const std::vector<const CKivFXInsValueKeyFrm*>& keys) {
    m_sorted.clear();
    m_sorted.reserve(keys.size());
    for (const CKivFXInsValueKeyFrm* k : keys) {
        const Key key = KivFXKeyOf(k, Key{});
        if (!IsNaN(key)) m_sorted.push_back({key, k, 0});
    }
    // Stable, so that among equal keys the first in list order comes first, as the scan chooses.
    std::stable_sort(m_sorted.begin(), m_sorted.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    for (std::size_t i = 1; i < m_sorted.size(); ++i)
        m_sorted[i].runStart = m_sorted[i].key == m_sorted[i - 1].key ? m_sorted[i - 1].runStart : i;
}

template <class Key>
KivFXBracket KivFXSortedKeys<Key>::At(std::size_t lo, Key pos) const {
    if (lo < m_sorted.size() && m_sorted[lo].key == pos) return {m_sorted[lo].k, nullptr};
    KivFXBracket b;
    if (lo > 0) {
        const Entry& below = m_sorted[m_sorted[lo - 1].runStart];
        if (below.key > -kKivFXBound<Key>) b.previous = below.k;
    }
    if (lo < m_sorted.size() && m_sorted[lo].key < kKivFXBound<Key>) b.next = m_sorted[lo].k;
    return b;
}

template <class Key>
KivFXBracket KivFXSortedKeys<Key>::Find(Key pos) const {
    if (IsNaN(pos)) return {};
    const auto it = std::lower_bound(m_sorted.begin(), m_sorted.end(), pos, [](const Entry& e, Key p) { return e.key < p; });
    return At(static_cast<std::size_t>(it - m_sorted.begin()), pos);
}

template <class Key>
KivFXBracket KivFXSortedKeys<Key>::FindFrom(Key pos, std::size_t& cursor) const {
    if (IsNaN(pos)) return {};
    while (cursor < m_sorted.size() && m_sorted[cursor].key < pos) ++cursor;
    return At(cursor, pos);
}

template class KivFXSortedKeys<double>;
template class KivFXSortedKeys<int>;

// ---- the track's view ----

std::vector<const CKivFXInsValueKeyFrm*> CKivFXTrackKeys::Keys(const CObList& list) const {
    std::vector<const CKivFXInsValueKeyFrm*> keys;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CObject* o = list.GetNext(pos);
        if (IsKey(o)) keys.push_back(static_cast<const CKivFXInsValueKeyFrm*>(o));
    }
    return keys;
}

template <class Key>
KivFXBracket CKivFXTrackKeys::Walk(const CObList& list, Key pos) const {
    std::size_t count = 0;
    const CKivFXInsValueKeyFrm* first = nullptr;
    const CKivFXInsValueKeyFrm* last = nullptr;
    for (POSITION p = list.GetHeadPosition(); p;) {
        const CObject* o = list.GetNext(p);
        if (!IsKey(o)) continue;
        last = static_cast<const CKivFXInsValueKeyFrm*>(o);
        if (!first) first = last;
        ++count;
    }
    return KivFXBracketOf(pos, count, first, last, [&] {
        KivFXBracketScan<Key> scan(pos);
        for (POSITION p = list.GetHeadPosition(); p;) {
            const CObject* o = list.GetNext(p);
            if (IsKey(o) && scan.Offer(static_cast<const CKivFXInsValueKeyFrm*>(o))) break;
        }
        return scan.Result();
    });
}

template <class Key>
bool CKivFXTrackKeys::IsCurrent(const CObList& list) const {
    if (m_list != &list || m_modCount != list.GetModCount()) return false;
    // An element replaced through a reference the list handed out leaves the count alone,
    // and keys are plain members: both are compared. A keyframe is read only while its
    // slot still holds it (a replaced one may be gone).
    for (const Other& o : m_others)
        if (*o.slot != o.element) return false;
    bool same = true;
    for (const Entry& e : m_entries) {
        if (*e.slot != e.key) return false;
        if constexpr (std::is_same_v<Key, double>)
            same &= std::bit_cast<std::uint64_t>(e.key->Location) == e.locationBits;
        else
            same &= e.key->Frame == e.frame;
    }
    return same;
}

bool CKivFXTrackKeys::Refresh(const CObList& list) const {
    m_list = nullptr;
    m_byLocation.built = m_byFrame.built = false;
    m_unchangedCalls = 0;
    try {
        m_entries.clear();
        m_others.clear();
        auto& writable = const_cast<CObList&>(list);  // only to learn where each slot is
        for (POSITION pos = writable.GetHeadPosition(); pos;) {
            CObject*& slot = writable.GetNext(pos);
            if (IsKey(slot)) {
                const auto* k = static_cast<const CKivFXInsValueKeyFrm*>(slot);
                m_entries.push_back({&slot, k, std::bit_cast<std::uint64_t>(k->Location), k->Frame});
            } else {
                m_others.push_back({&slot, slot});
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_list = &list;
    m_modCount = list.GetModCount();
    return true;
}

template <>
CKivFXTrackKeys::Sorted<double>& CKivFXTrackKeys::SortedBy<double>() const {
    return m_byLocation;
}

template <>
CKivFXTrackKeys::Sorted<int>& CKivFXTrackKeys::SortedBy<int>() const {
    return m_byFrame;
}

template <class Key>
KivFXBracket CKivFXTrackKeys::FindCached(const CObList& list, Key pos) const {
    SnapshotLock lock(m_busy);
    if (!lock.IsHeld()) return Walk(list, pos);
    if (!IsCurrent<Key>(list) && !Refresh(list)) return Walk(list, pos);
    const std::size_t n = m_entries.size();
    const CKivFXInsValueKeyFrm* first = n ? m_entries.front().key : nullptr;
    const CKivFXInsValueKeyFrm* last = n ? m_entries.back().key : nullptr;
    return KivFXBracketOf(pos, n, first, last, [&] {
        Sorted<Key>& sorted = SortedBy<Key>();
        if (!sorted.built && ++m_unchangedCalls >= kCallsBeforeSorting) {
            try {
                std::vector<const CKivFXInsValueKeyFrm*> keys;
                keys.reserve(n);
                for (const Entry& e : m_entries) keys.push_back(e.key);
                sorted.keys.Build(keys);
                sorted.built = true;
            } catch (const std::bad_alloc&) {
                // The scan below answers the same.
            }
        }
        if (sorted.built) return sorted.keys.Find(pos);
        KivFXBracketScan<Key> scan(pos);
        for (const Entry& e : m_entries)
            if (scan.Offer(e.key)) break;
        return scan.Result();
    });
}

template KivFXBracket CKivFXTrackKeys::FindCached(const CObList&, double) const;
template KivFXBracket CKivFXTrackKeys::FindCached(const CObList&, int) const;
template KivFXBracket CKivFXTrackKeys::Walk(const CObList&, double) const;
template KivFXBracket CKivFXTrackKeys::Walk(const CObList&, int) const;
