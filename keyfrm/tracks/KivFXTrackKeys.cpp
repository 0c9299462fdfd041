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

}  // namespace

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
    return KivFXBracketOf(pos, count, first, last, [&](auto visit) {
        for (POSITION p = list.GetHeadPosition(); p;) {
            const CObject* o = list.GetNext(p);
            if (IsKey(o) && visit(static_cast<const CKivFXInsValueKeyFrm*>(o))) return;
        }
    });
}

bool CKivFXTrackKeys::IsCurrent(const CObList& list) const {
    if (m_list != &list || m_modCount != list.GetModCount()) return false;
    // An element replaced through a reference the list handed out leaves the count alone.
    bool same = true;
    for (std::size_t i = 0; i < m_slots.size(); ++i) same &= *m_slots[i] == m_elements[i];
    return same;
}

bool CKivFXTrackKeys::Refresh(const CObList& list) const {
    m_list = nullptr;
    try {
        m_slots.clear();
        m_elements.clear();
        m_keys.clear();
        auto& writable = const_cast<CObList&>(list);  // only to learn where each slot is
        for (POSITION pos = writable.GetHeadPosition(); pos;) {
            CObject*& slot = writable.GetNext(pos);
            m_slots.push_back(&slot);
            m_elements.push_back(slot);
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
    return KivFXBracketOf(pos, n, n ? m_keys.front() : nullptr, n ? m_keys.back() : nullptr, [&](auto visit) {
        for (const CKivFXInsValueKeyFrm* k : m_keys)
            if (visit(k)) return;
    });
}

template KivFXBracket CKivFXTrackKeys::FindCached(const CObList&, double) const;
template KivFXBracket CKivFXTrackKeys::FindCached(const CObList&, int) const;
template KivFXBracket CKivFXTrackKeys::Walk(const CObList&, double) const;
template KivFXBracket CKivFXTrackKeys::Walk(const CObList&, int) const;

KivFXFrameCursor::KivFXFrameCursor(const std::vector<const CKivFXInsValueKeyFrm*>& keys) {
    m_sorted.reserve(keys.size());
    for (const CKivFXInsValueKeyFrm* k : keys) m_sorted.push_back({k->Frame, k, 0});
    if (!keys.empty()) m_first = keys.front();
    // Stable, so that among equal frames the first in list order comes first, as the scan chooses.
    std::stable_sort(m_sorted.begin(), m_sorted.end(), [](const Entry& a, const Entry& b) { return a.frame < b.frame; });
    for (std::size_t i = 1; i < m_sorted.size(); ++i)
        m_sorted[i].runStart = m_sorted[i].frame == m_sorted[i - 1].frame ? m_sorted[i - 1].runStart : i;
}

KivFXBracket KivFXFrameCursor::At(int frame) {
    const std::size_t n = m_sorted.size();
    if (n == 0) return {};
    if (n == 1) return {m_first, nullptr};
    while (m_cursor < n && m_sorted[m_cursor].frame < frame) ++m_cursor;
    if (m_cursor < n && m_sorted[m_cursor].frame == frame) return {m_sorted[m_cursor].key, nullptr};
    KivFXBracket b;
    if (m_cursor > 0) {
        const Entry& below = m_sorted[m_sorted[m_cursor - 1].runStart];
        if (below.frame > -kKivFXFrameBound) b.previous = below.key;
    }
    if (m_cursor < n && m_sorted[m_cursor].frame < kKivFXFrameBound) b.next = m_sorted[m_cursor].key;
    return b;
}
