// Attribute names made of a stem and a decimal index rising by one ("Color0", "Color1"...),
// as a long list writes its values: telling whether a name is the next one costs a
// comparison of its characters, with no number parsed and no name looked up.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

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

    /// Expects stem (stemLength bytes) followed by first in canonical decimal. An index of
    /// more than kMaxDigits digits matches nothing. Raises std::bad_alloc, and only when
    /// stemLength is above that of every earlier Start.
    void Start(const char* stem, size_t stemLength, unsigned long long first);
    /// The index name carries when it is the expected one, which then moves on by one;
    /// -1, leaving the sequence as it was, for any other name (null and before Start included).
    long long Match(const char* name) {
        // One comparison of whole strings: the C library's compares many bytes at a time,
        // which a loop over the stem and then the digits cannot.
        if (!m_open || !name || std::strcmp(name, m_expected.c_str()) != 0) return -1;
        const unsigned long long index = m_index;
        Advance();
        return static_cast<long long>(index);
    }

private:
    /// The next index in its decimal text; a carry past the last digit is rare, out of line.
    void Advance() {
        ++m_index;
        char& last = m_expected.back();
        if (last != '9')
            ++last;
        else
            Carry();
    }
    void Carry();

    std::string m_expected;  // the stem and the expected index; room for kMaxDigits reserved
    size_t m_stemLength = 0;
    unsigned long long m_index = 0;
    bool m_open = false;  // false before Start and once the index outgrows kMaxDigits
};
