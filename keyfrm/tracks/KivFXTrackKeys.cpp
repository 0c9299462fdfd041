#include "keyfrm/tracks/KivFXTrackKeys.h"

#include <algorithm>
#include <new>

namespace {

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

bool CKivFXTrackKeys::IsCurrent(const CObList& list) const {
    if (m_list != &list || m_modCount != list.GetModCount()) return false;
    // An element replaced through a reference the list handed out leaves the count alone.
    for (const Slot& s : m_slots)
        if (*s.slot != s.element) return false;
    return true;
}

bool CKivFXTrackKeys::Refresh(const CObList& list) const {
    m_list = nullptr;
    try {
        m_slots.clear();
        m_keys.clear();
        auto& writable = const_cast<CObList&>(list);  // only to learn where each slot is
        for (POSITION pos = writable.GetHeadPosition(); pos;) {
            CObject*& slot = writable.GetNext(pos);
            m_slots.push_back({&slot, slot});
            if (IsKey(slot)) m_keys.push_back(static_cast<const CKivFXInsValueKeyFrm*>(slot));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_list = &list;
    m_modCount = list.GetModCount();
    return true;
}

template <class Key>
KivFXBracket CKivFXTrackKeys::FindCached(const CObList& list, Key pos) const {
    SnapshotLock lock(m_busy);
    if (!lock.IsHeld() || (!IsCurrent(list) && !Refresh(list))) return Walk(list, pos);
    const std::size_t n = m_keys.size();
    return KivFXBracketOf(pos, n, n ? m_keys.front() : nullptr, n ? m_keys.back() : nullptr, [&] {
        KivFXBracketScan<Key> scan(pos);
        for (const CKivFXInsValueKeyFrm* k : m_keys)
            if (scan.Offer(k)) break;
        return scan.Result();
    });
}

template KivFXBracket CKivFXTrackKeys::FindCached(const CObList&, double) const;
template KivFXBracket CKivFXTrackKeys::FindCached(const CObList&, int) const;
