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
    m_open = false;
    m_expected.reserve(stemLength + kMaxDigits);  // so that moving on never allocates
    m_expected.assign(stem, stemLength);
    m_stemLength = stemLength;
    m_index = first;
    char text[24];  // any 64-bit value in decimal
    const auto r = std::to_chars(text, text + sizeof text, first);
    const auto digits = static_cast<size_t>(r.ptr - text);
    if (digits > kMaxDigits) return;
    m_expected.append(text, digits);
    m_open = true;
}

void KivXmlNameSequence::Carry() {
    size_t i = m_expected.size();
    while (i > m_stemLength && m_expected[i - 1] == '9') m_expected[--i] = '0';
    if (i > m_stemLength) {
        ++m_expected[i - 1];
        return;
    }
    // All nines: one digit more, "1" and then the zeros already there.
    if (m_expected.size() - m_stemLength == kMaxDigits) {
        m_open = false;
        return;
    }
    m_expected[m_stemLength] = '1';
    m_expected.push_back('0');  // within the room reserved
}
