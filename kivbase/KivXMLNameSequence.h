// Attribute names made of a stem and a decimal index rising by one ("Color0", "Color1"...),
// as a long list writes its values: telling whether a name is the next one costs a
// comparison of its characters, with no number parsed and no name looked up.
#pragma once

#include <cstddef>

/// Splits name into a stem and an index: true when name ends in a decimal index written
/// canonically (no sign, no leading zero, "0" alone allowed) of at most
/// KivXmlNameSequence::kMaxDigits digits, the stem being everything before the trailing
/// digits. False (outputs untouched) for null, no trailing digits, a leading zero or more
/// digits. The split is a function of the name alone, so two names are equal exactly when
/// their stems and indices are, or when neither splits and the names are.
bool KivXmlSplitIndexedName(const char* name, size_t& stemLength, unsigned long long& index);

/// The names stem + index, stem + (index + 1)..., matched one at a time in that order.
class KivXmlNameSequence {
public:
    /// Longest index kept: 18 decimal digits fit a 64-bit integer with room for the next one.
    static constexpr size_t kMaxDigits = 18;

    /// Expects stem (stemLength bytes, kept by the caller while this is used) followed by
    /// first in canonical decimal. An index of more than kMaxDigits digits matches nothing.
    void Start(const char* stem, size_t stemLength, unsigned long long first);
    /// The index name carries when it is the expected one, which then moves on by one;
    /// -1, leaving the sequence as it was, for any other name (null and before Start included).
    long long Match(const char* name) {
        if (!m_open || !name) return -1;
        const char* p = name;
        for (size_t i = 0; i < m_stemLength; ++i, ++p)
            if (*p != m_stem[i]) return -1;  // a shorter name fails at its terminator
        for (size_t i = 0; i < m_digitCount; ++i, ++p)
            if (*p != m_digits[i]) return -1;
        if (*p != '\0') return -1;
        const unsigned long long index = m_index;
        Advance();
        return static_cast<long long>(index);
    }

private:
    /// The next index, carried in its decimal text.
    void Advance();

    const char* m_stem = nullptr;
    size_t m_stemLength = 0;
    char m_digits[kMaxDigits + 1] = {};  // the expected index, most significant digit first
    size_t m_digitCount = 0;
    unsigned long long m_index = 0;
    bool m_open = false;  // false before Start and once the index outgrows kMaxDigits
};
