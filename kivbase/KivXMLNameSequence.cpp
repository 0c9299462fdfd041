#include "kivbase/KivXMLNameSequence.h"

#include <charconv>
#include <cstring>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool KivXmlSplitIndexedName(const char* name, size_t& stemLength, unsigned long long& index) {
    if (!name) return false;
    const char* end = name + std::strlen(name);
    const char* digits = end;
    while (digits != name && IsDigit(digits[-1])) --digits;
    const auto count = static_cast<size_t>(end - digits);
    if (count == 0 || count > KivXmlNameSequence::kMaxDigits || (digits[0] == '0' && count > 1)) return false;
    std::from_chars(digits, end, index);  // cannot fail: at most kMaxDigits digits
    stemLength = static_cast<size_t>(digits - name);
    return true;
}

void KivXmlNameSequence::Start(const char* stem, size_t stemLength, unsigned long long first) {
    m_stem = stem;
    m_stemLength = stemLength;
    m_index = first;
    char text[24];  // any 64-bit value in decimal
    const auto r = std::to_chars(text, text + sizeof text, first);
    m_digitCount = static_cast<size_t>(r.ptr - text);
    m_open = m_digitCount <= kMaxDigits;
    if (m_open) std::memcpy(m_digits, text, m_digitCount);
}

void KivXmlNameSequence::Advance() {
    ++m_index;
    size_t i = m_digitCount;
    while (i > 0 && m_digits[i - 1] == '9') m_digits[--i] = '0';
    if (i > 0) {
        ++m_digits[i - 1];
        return;
    }
    // All nines: one digit more, "1" and then the zeros already there.
    if (m_digitCount == kMaxDigits) {
        m_open = false;
        return;
    }
    m_digits[0] = '1';
    m_digits[m_digitCount++] = '0';
}
