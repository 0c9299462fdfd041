// A flat open-addressing map from pointers to archive indices: what the archive's store
// map needs (one lookup and at most one insert per object), without a heap node per entry.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/fw/KivTypes.h"

class KivPtrIndexMap {
public:
    /// The index stored for key, or 0 when the key is absent (indices start at 1).
    DWORD Find(const void* key) const {
        if (m_slots.empty()) return 0;
        for (size_t i = Home(key);; i = (i + 1) & m_mask) {
            const Slot& s = m_slots[i];
            if (s.key == key) return s.index;
            if (!s.key) return 0;
        }
    }
    /// Starts loading the slot where key would be found, for a lookup soon after.
    void Prefetch(const void* key) const {
        if (!m_slots.empty()) __builtin_prefetch(&m_slots[Home(key)]);
    }
    /// Records key → index (key not null, index not 0, key not yet present). May throw
    /// std::bad_alloc when growing; the map is unchanged then.
    void Insert(const void* key, DWORD index) {
        if ((m_size + 1) * kLoadDen > m_slots.size() * kLoadNum) Grow();
        for (size_t i = Home(key);; i = (i + 1) & m_mask) {
            if (!m_slots[i].key) {
                m_slots[i] = {key, index};
                ++m_size;
                return;
            }
        }
    }
    /// Makes room for count entries in all, so that inserting up to that many never grows
    /// the map. May throw std::bad_alloc; the map is unchanged then.
    void Reserve(size_t count) {
        size_t slots = m_slots.empty() ? kInitialSlots : m_slots.size();
        while (count * kLoadDen > slots * kLoadNum) slots *= 2;
        if (slots != m_slots.size()) Rehash(slots);
    }
    size_t Size() const { return m_size; }
    void Clear() {
        m_slots.clear();
        m_size = 0;
        m_mask = 0;
    }

private:
    struct Slot {
        const void* key = nullptr;
        DWORD index = 0;
    };
    // Grow past a load factor of 1/2: probes stay short for pointer keys.
    static constexpr size_t kLoadNum = 1;
    static constexpr size_t kLoadDen = 2;
    static constexpr size_t kInitialSlots = 64;

    size_t Home(const void* key) const {
        // Fibonacci hashing spreads allocator-aligned addresses over the table.
        const auto h = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key)) * 0x9E3779B97F4A7C15ull;
        return static_cast<size_t>(h >> 32) & m_mask;
    }
    void Grow() { Rehash(m_slots.empty() ? kInitialSlots : m_slots.size() * 2); }
    void Rehash(size_t slots) {
        std::vector<Slot> bigger(slots);
        const size_t mask = slots - 1;
        for (const Slot& s : m_slots) {
            if (!s.key) continue;
            const auto h = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(s.key)) * 0x9E3779B97F4A7C15ull;
            size_t i = static_cast<size_t>(h >> 32) & mask;
            while (bigger[i].key) i = (i + 1) & mask;
            bigger[i] = s;
        }
        m_slots.swap(bigger);
        m_mask = mask;
    }

    std::vector<Slot> m_slots;
    size_t m_size = 0;
    size_t m_mask = 0;
};
