// The exchange sort that orders keyframe lists. Its order among equal keys is part of
// the behaviour hosts have always seen (2, 2, 1 becomes 1, second 2, first 2), so any
// faster path must give exactly the same permutation.
#pragma once

#include <cmath>
#include <utility>
#include <vector>

/// The plain rule: for each i, compare entry i with every later entry j and swap when
/// key(i) > key(j); after a pass with a swap, run the pass for the same i again.
/// Returns true if anything moved.
template <class T, class KeyFn>
bool KivFXExchangeSortPlain(std::vector<T>& table, KeyFn key) {
    bool changed = false;
    const size_t n = table.size();
    for (size_t i = 0; i < n; ++i) {
        bool swapped;
        do {
            swapped = false;
            for (size_t j = i + 1; j < n; ++j) {
                if (key(table[i]) > key(table[j])) {
                    std::swap(table[i], table[j]);
                    swapped = changed = true;
                }
            }
        } while (swapped);
    }
    return changed;
}

/// The same permutation as the plain rule, in linear time for the two shapes editing
/// produces (an already sorted list, and a sorted list with one entry appended); other
/// shapes, and keys that are NaN, fall back to the plain rule.
template <class T, class KeyFn>
bool KivFXExchangeSort(std::vector<T>& table, KeyFn key) {
    const size_t n = table.size();
    if (n < 2) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::isnan(static_cast<double>(key(table[i])))) return KivFXExchangeSortPlain(table, key);
    size_t sortedPrefix = 1;
    while (sortedPrefix < n && !(key(table[sortedPrefix - 1]) > key(table[sortedPrefix]))) ++sortedPrefix;
    if (sortedPrefix == n) return false;
    if (sortedPrefix != n - 1) return KivFXExchangeSortPlain(table, key);
    // Sorted prefix and one appended entry: while the prefix is untouched past i, the only
    // entry that can be smaller than entry i is the last one, and after a swap entry i
    // holds a value no greater than any later one, so each pass makes at most one swap.
    bool changed = false;
    for (size_t i = 0; i + 1 < n; ++i) {
        if (key(table[i]) > key(table[n - 1])) {
            std::swap(table[i], table[n - 1]);
            changed = true;
        }
    }
    return changed;
}
