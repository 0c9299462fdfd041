#include "keyfrm/tracks/KivFXTrackKeys.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <new>

namespace {

// Releases the cache for the next reader on every path out.
class CacheLock {
public:
    explicit CacheLock(std::atomic_flag& flag) : m_flag(flag), m_held(!flag.test_and_set(std::memory_order_acquire)) {}
    ~CacheLock() {
        if (m_held) m_flag.clear(std::memory_order_release);
    }
    CacheLock(const CacheLock&) = delete;
    CacheLock& operator=(const CacheLock&) = delete;
    bool IsHeld() const { return m_held; }

private:
    std::atomic_flag& m_flag;
    bool m_held;
};

template <class Key>
bool IsNaN(Key k) {
    return k != k;
}

// The rule over keyframes in list order: forEach(visit) calls visit with each keyframe
// until it returns true.
template <class Key, class ForEach>
KivFXBracket Scan(Key pos, ForEach forEach) {
    KivFXBracketScan<Key, const CKivFXInsValueKeyFrm> scan(pos);
    forEach([&](const CKivFXInsValueKeyFrm* k) { return scan.Offer(k, KivFXKeyOf(k, pos)); });
    return {scan.Previous(), scan.Next()};
}

// Calls visit with each element of that class, head to tail, until it returns true.
template <class Visit>
void ForEachKey(const CObList& list, const CRuntimeClass* keyClass, Visit visit) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CObject* o = list.GetNext(pos);
        if (o && o->IsKindOf(keyClass) && visit(static_cast<const CKivFXInsValueKeyFrm*>(o))) return;
    }
}

template <class Key>
KivFXBracket Reference(const CObList& list, const CRuntimeClass* keyClass, Key pos) {
    std::size_t count = 0;
    const CKivFXInsValueKeyFrm* first = nullptr;
    const CKivFXInsValueKeyFrm* last = nullptr;
    ForEachKey(list, keyClass, [&](const CKivFXInsValueKeyFrm* k) {
        if (!first) first = k;
        last = k;
        ++count;
        return false;
    });
    return KivFXBracketOf(pos, count, KivFXBracket{first, nullptr}, KivFXBracket{last, nullptr}, [&] { return Scan(pos, [&](auto visit) { ForEachKey(list, keyClass, visit); }); });
}

}  // namespace

KivFXBracket KivFXTrackBracket(const CObList& list, const CRuntimeClass* keyClass, double location) {
    return Reference(list, keyClass, location);
}

KivFXBracket KivFXTrackBracket(const CObList& list, const CRuntimeClass* keyClass, int frame) {
    return Reference(list, keyClass, frame);
}

// ---- the sorted keys ----

template <class Key>
void KivFXSortedKeys<Key>::Build(const std::vector<const CKivFXInsValueKeyFrm*>& keys) {
    struct Entry {
        Key key;
        const CKivFXInsValueKeyFrm* k;
    };
    std::vector<Entry> sorted;
    sorted.reserve(keys.size());
    for (const CKivFXInsValueKeyFrm* k : keys) {
        const Key key = KivFXKeyOf(k, Key{});
        if (!IsNaN(key)) sorted.push_back({key, k});
    }
    // Stable, so that among equal keys the first in list order comes first, as the scan
    // chooses. Tracks are mostly kept in order already: then there is nothing to sort.
    const auto byKey = [](const Entry& a, const Entry& b) { return a.key < b.key; };
    if (!std::is_sorted(sorted.begin(), sorted.end(), byKey)) std::stable_sort(sorted.begin(), sorted.end(), byKey);
    m_keys.clear();
    m_first.clear();
    m_keys.reserve(sorted.size());
    m_first.reserve(sorted.size());
    for (const Entry& e : sorted)
        if (m_keys.empty() || !(m_keys.back() == e.key)) {
            m_keys.push_back(e.key);
            m_first.push_back(e.k);
        }
    m_top.clear();
    m_top.reserve((m_keys.size() + kBlock - 1) / kBlock);
    for (std::size_t i = 0; i < m_keys.size(); i += kBlock) m_top.push_back(m_keys[i]);
    m_bucket.clear();
    if constexpr (std::is_integral_v<Key>) BuildBuckets();
}

template <class Key>
void KivFXSortedKeys<Key>::BuildBuckets() {
    // Below a few blocks the top array is as near as the buckets would be.
    constexpr std::size_t kFromKeys = 8 * kBlock;
    const std::size_t n = m_keys.size();
    if (n < kFromKeys || n >= std::numeric_limits<std::uint32_t>::max()) return;
    const auto front = static_cast<std::int64_t>(m_keys.front());
    const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(m_keys.back()) - front);
    // About half a block of keys a bucket on average; one of more than four blocks is
    // counted more slowly than the top array finds a key.
    constexpr std::size_t kMostKeys = 4 * kBlock;
    int shift = 0;
    while ((span >> shift) + 1 > 2 * n / kBlock) ++shift;
    const std::size_t buckets = static_cast<std::size_t>(span >> shift) + 1;
    m_bucket.resize(buckets + 1);
    std::size_t i = 0;
    for (std::size_t b = 0; b < buckets; ++b) {
        const std::int64_t start = front + static_cast<std::int64_t>(b << shift);
        while (i < n && m_keys[i] < start) ++i;
        m_bucket[b] = static_cast<std::uint32_t>(i);
        if (b > 0 && i - m_bucket[b - 1] > kMostKeys) {
            m_bucket.clear();  // too uneven: the top array's bisection serves better
            return;
        }
    }
    m_bucket[buckets] = static_cast<std::uint32_t>(n);
    if (n - m_bucket[buckets - 1] > kMostKeys) m_bucket.clear();
    m_shift = shift;
}

template <class Key>
std::size_t KivFXSortedKeys<Key>::BucketLowerBound(Key pos, Beside beside) const {
    const std::size_t n = m_keys.size();
    if (!(m_keys.front() < pos)) return 0;
    if (m_keys.back() < pos) return n;
    const auto front = static_cast<std::int64_t>(m_keys.front());
    const auto into = static_cast<std::uint64_t>(static_cast<std::int64_t>(pos) - front);
    const std::size_t b = static_cast<std::size_t>(into >> m_shift);
    const std::size_t lo = m_bucket[b], count = m_bucket[b + 1] - lo;
    // Where the answer lies if the bucket's keys are evenly spread: the entries beside it
    // (the previous and the next) are fetched while the keys are counted.
    const std::size_t guess = lo + static_cast<std::size_t>(((into & ((std::uint64_t{1} << m_shift) - 1)) * count) >> m_shift);
    const char* lines = static_cast<const char*>(beside.data);
    __builtin_prefetch(lines + (guess > 0 ? guess - 1 : 0) * beside.stride);
    __builtin_prefetch(lines + std::min(guess, n - 1) * beside.stride + beside.stride - 1);
    if (count == 0) return lo;
    const Key* k = m_keys.data() + lo;
    for (std::size_t len = count; len > 1;) {
        const std::size_t half = len / 2;
        k = k[half] < pos ? k + half : k;
        len -= half;
    }
    return static_cast<std::size_t>(k - m_keys.data()) + (*k < pos ? 1 : 0);
}

template <class Key>
typename KivFXSortedKeys<Key>::Slots KivFXSortedKeys<Key>::At(std::size_t lo, Key pos) const {
    const std::size_t n = m_keys.size();
    if (lo < n && m_keys[lo] == pos) return {lo, kNone};
    Slots s;
    if (lo > 0 && m_keys[lo - 1] > -kKivFXBound<Key>) s.previous = lo - 1;
    if (lo < n && m_keys[lo] < kKivFXBound<Key>) s.next = lo;
    return s;
}

template <class Key>
std::size_t KivFXSortedKeys<Key>::LowerBound(Key pos, Beside beside) const {
    // Blocks whose first key is below pos, by halving without a branch on the comparison (a
    // conditional move): positions asked at random make that branch a coin toss.
    if (!m_bucket.empty()) return BucketLowerBound(pos, beside);
    if (m_top.empty() || !(m_top[0] < pos)) return 0;
    const Key* b = m_top.data();
    for (std::size_t n = m_top.size(); n > 1;) {
        const std::size_t half = n / 2;
        b = b[half] < pos ? b + half : b;
        n -= half;
    }
    // The answer lies after the first key of block b and no further than the next block's
    // first key: halving within b reads that one line. The entries beside the keys that
    // the answer takes are fetched meanwhile.
    const std::size_t start = static_cast<std::size_t>(b - m_top.data()) * kBlock;
    const std::size_t end = std::min(start + kBlock, m_keys.size());
    const char* lines = static_cast<const char*>(beside.data);
    const std::size_t stop = end * beside.stride;
    for (std::size_t at = start * beside.stride; at < stop; at += 64) __builtin_prefetch(lines + at);
    __builtin_prefetch(lines + stop - 1);
    const Key* k = m_keys.data() + start;
    for (std::size_t n = end - start; n > 1;) {
        const std::size_t half = n / 2;
        k = k[half] < pos ? k + half : k;
        n -= half;
    }
    return static_cast<std::size_t>(k - m_keys.data()) + 1;
}

template <class Key>
KivFXBracket KivFXSortedKeys<Key>::Find(Key pos) const {
    if (IsNaN(pos)) return {};
    return BracketOf(At(LowerBound(pos, Firsts()), pos));
}

template <class Key>
KivFXBracket KivFXSortedKeys<Key>::FindFrom(Key pos, std::size_t& cursor) const {
    return BracketOf(SlotsFrom(pos, cursor, Firsts()));
}

template <class Key>
typename KivFXSortedKeys<Key>::Slots KivFXSortedKeys<Key>::SlotsFrom(Key pos, std::size_t& cursor, Beside beside) const {
    if (IsNaN(pos)) return {};
    const std::size_t n = m_keys.size();
    std::size_t c = std::min(cursor, n);
    if (c > 0 && !(m_keys[c - 1] < pos))
        c = LowerBound(pos, beside);  // moved back
    else if (c < n && m_keys[c] < pos)
        c = c + 1 == n || !(m_keys[c + 1] < pos) ? c + 1 : LowerBound(pos, beside);
    cursor = c;
    return At(c, pos);
}

template <class Key>
std::int64_t KivFXSortedKeys<Key>::SameFrom(Key pos, std::size_t cursor, std::int64_t limit) const {
    if constexpr (!std::is_integral_v<Key>) {
        return 1;
    } else {
        // Every position strictly between the keys around the cursor finds the same first
        // key not below it, and so the same bracket; one sitting on a key is its own.
        if (cursor < m_keys.size() && m_keys[cursor] == pos) return 1;
        if (cursor >= m_keys.size()) return limit;
        return std::min<std::int64_t>(limit, static_cast<std::int64_t>(m_keys[cursor]) - pos);
    }
}

template class KivFXSortedKeys<double>;
template class KivFXSortedKeys<int>;

// ---- the track's view and its cache ----

std::vector<const CKivFXInsValueKeyFrm*> CKivFXTrackKeys::Keys(const CObList& list) const {
    std::vector<const CKivFXInsValueKeyFrm*> keys;
    ForEachKey(list, m_keyClass, [&](const CKivFXInsValueKeyFrm* k) {
        keys.push_back(k);
        return false;
    });
    return keys;
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

bool CKivFXTrackKeys::Fill(const CObList& list) const {
    m_list = nullptr;
    m_sorted = std::monostate{};
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

template <class Key>
void CKivFXTrackKeys::Sort() const {
    try {
        std::vector<const CKivFXInsValueKeyFrm*> keys;
        keys.reserve(m_entries.size());
        for (const Entry& e : m_entries) keys.push_back(e.key);
        KivFXSortedKeys<Key> sorted;
        sorted.Build(keys);
        m_sorted = std::move(sorted);
    } catch (const std::bad_alloc&) {
        // Calls scan the cache instead, with the same answers.
    }
}

template <class Key>
KivFXBracket CKivFXTrackKeys::FindCached(const CObList& list, Key pos) const {
    CacheLock lock(m_busy);
    if (!lock.IsHeld()) return KivFXTrackBracket(list, m_keyClass, pos);
    if (!IsCurrent<Key>(list)) {
        if (!Fill(list)) return KivFXTrackBracket(list, m_keyClass, pos);
    } else if (std::holds_alternative<std::monostate>(m_sorted)) {
        Sort<Key>();
    }
    const std::size_t n = m_entries.size();
    const CKivFXInsValueKeyFrm* first = n ? m_entries.front().key : nullptr;
    const CKivFXInsValueKeyFrm* last = n ? m_entries.back().key : nullptr;
    return KivFXBracketOf(pos, n, KivFXBracket{first, nullptr}, KivFXBracket{last, nullptr}, [&] {
        if (const auto* sorted = std::get_if<KivFXSortedKeys<Key>>(&m_sorted)) return sorted->Find(pos);
        return Scan(pos, [&](auto visit) {
            for (const Entry& e : m_entries)
                if (visit(e.key)) return;
        });
    });
}

template KivFXBracket CKivFXTrackKeys::FindCached(const CObList&, double) const;
template KivFXBracket CKivFXTrackKeys::FindCached(const CObList&, int) const;
