// A flat map from pointers to archive indices: what the archive's store map needs (one
// lookup and at most one insert per object), without a heap node per entry. Objects are
// mostly written in the order they were allocated, at rising addresses: those go into a
// sorted run, where a new key is told absent by one comparison and appended; the few out
// of order go into a small open-addressing hash table beside it. When those are no longer
// few, everything moves into the hash table.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/fw/KivTypes.h"

class KivPtrIndexMap {
public:
    /// The index stored for key, or 0 when the key is absent (indices start at 1).
    DWORD Find(const void* key) const {
        if (m_hashSize)
            for (size_t i = Home(key, m_mask);; i = (i + 1) & m_mask) {
                const Slot& s = m_slots[i];
                if (s.key == key) return s.index;
                if (!s.key) break;
            }
        if (m_sorted.empty() || Address(m_sorted.back().key) < Address(key)) return 0;  // beyond the run
        const auto it = std::lower_bound(m_sorted.begin(), m_sorted.end(), key,
                                         [](const Slot& s, const void* k) { return Address(s.key) < Address(k); });
        return it != m_sorted.end() && it->key == key ? it->index : 0;
    }
    /// Starts loading the slot where key would be found, for a lookup soon after.
    void Prefetch(const void* key) const {
        if (m_hashSize) __builtin_prefetch(&m_slots[Home(key, m_mask)]);
    }
    /// Records key → index (key not null, index not 0, key not yet present). May throw
    /// std::bad_alloc when growing; the map is unchanged then.
    void Insert(const void* key, DWORD index) {
        if (!m_hashedAll) {
            if (m_sorted.empty() || Address(m_sorted.back().key) < Address(key)) {
                m_sorted.push_back({key, index});
                return;
            }
            // Keys out of order are searched for in the run too; once they are many, the
            // run's searches would cost more than hashing everything.
            if (m_hashSize + 1 > std::max(kInitialSlots, m_sorted.size() / kMostOutOfOrder)) {
                Rehash(SlotsFor(Size() + 1), true);
            }
        }
        if ((m_hashSize + 1) * kLoadDen > m_slots.size() * kLoadNum) Rehash(SlotsFor(m_hashSize + 1), m_hashedAll);
        Place(m_slots, m_mask, {key, index});
        ++m_hashSize;
    }
    /// Makes room for count entries in all, so that inserting up to that many keys in rising
    /// order, or any keys once all are hashed, never grows the map. May throw std::bad_alloc;
    /// the map is unchanged then.
    void Reserve(size_t count) {
        if (!m_hashedAll) {
            // Geometric, so that many small lists reserving in turn never copy the map each time.
            if (count > m_sorted.capacity()) m_sorted.reserve(std::max(count, 2 * m_sorted.capacity()));
        }
        else if (count * kLoadDen > m_slots.size() * kLoadNum)
            Rehash(SlotsFor(count), true);
    }
    size_t Size() const { return m_sorted.size() + m_hashSize; }
    void Clear() { *this = KivPtrIndexMap(); }

private:
    struct Slot {
        const void* key = nullptr;
        DWORD index = 0;
    };
    // Grow past a load factor of 1/2: probes stay short for pointer keys.
    static constexpr size_t kLoadNum = 1;
    static constexpr size_t kLoadDen = 2;
    static constexpr size_t kInitialSlots = 64;
    // Everything is hashed once more than one key in this many came out of order.
    static constexpr size_t kMostOutOfOrder = 16;

    static std::uintptr_t Address(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }
    static size_t Home(const void* key, size_t mask) {
        // Fibonacci hashing spreads allocator-aligned addresses over the table.
        const auto h = static_cast<std::uint64_t>(Address(key)) * 0x9E3779B97F4A7C15ull;
        return static_cast<size_t>(h >> 32) & mask;
    }
    static size_t SlotsFor(size_t count) {
        size_t slots = kInitialSlots;
        while (count * kLoadDen > slots * kLoadNum) slots *= 2;
        return slots;
    }
    static void Place(std::vector<Slot>& slots, size_t mask, const Slot& s) {
        size_t i = Home(s.key, mask);
        while (slots[i].key) i = (i + 1) & mask;
        slots[i] = s;
    }
    // A hash table of that many slots holding what the old one held, and the run too when
    // all is set; the map is unchanged when memory runs out.
    void Rehash(size_t count, bool all) {
        std::vector<Slot> bigger(count);
        const size_t mask = count - 1;
        for (const Slot& s : m_slots)
            if (s.key) Place(bigger, mask, s);
        if (all)
            for (const Slot& s : m_sorted) Place(bigger, mask, s);
        m_slots.swap(bigger);
        m_mask = mask;
        if (all) {
            m_hashSize += m_sorted.size();
            std::vector<Slot>().swap(m_sorted);
            m_hashedAll = true;
        }
    }

    std::vector<Slot> m_sorted;  // keys at rising addresses, in the order they came
    std::vector<Slot> m_slots;   // the hash table: keys out of order, or all once m_hashedAll
    size_t m_hashSize = 0;       // entries in the hash table
    size_t m_mask = 0;
    bool m_hashedAll = false;
};
