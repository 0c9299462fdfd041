#include "kivbase/persist/KivPersistList.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "kivbase/KivXMLNodeWalk.h"
#include "kivbase/KivXMLTrusted.h"
#include "kivbase/KivXMLValueText.h"

namespace {

// The longest index text: INT_MAX in decimal.
constexpr size_t kIndexDigits = 10;

// Writes countName (code 7) with count clamped to what the code carries; the count written.
int StoreListCount(CKivXMLDOMDocObj* doc, IXMLDOMNode* data, const char* countName, INT_PTR count) {
    const int stored = static_cast<int>(std::min<INT_PTR>(count, std::numeric_limits<int>::max()));
    SKivXMLDataType r{};
    r.type = static_cast<int>(KivXml::i32);
    r.value.iVal = stored;
    doc->SetNodeAttribute(data, countName, r);
    return stored;
}

}  // namespace

KivXmlListWriter::KivXmlListWriter(CKivXMLDOMDocObj* doc, IXMLDOMNode* data, const char* countName, const char* prefix,
                                   INT_PTR size)
    : m_doc(doc), m_data(data), m_prefixLength(std::strlen(prefix)) {
    KivTranslateBadAlloc([&] {
        m_name.reserve(m_prefixLength + kIndexDigits);
        m_name = prefix;
        m_name += '0';
    });
    // Appending is sound when no value's name can already be there: none is when the element
    // starts empty, the count's name is not one of them, and the names are valid (a digit
    // after a valid name keeps it valid, so checking "<prefix>0" checks them all).
    m_append = KivXmlAttributeCount(data) == 0 && KivXMLIsValidName(countName) && KivXMLIsValidName(m_name.c_str()) &&
               KivXmlListIndex(countName, prefix, std::numeric_limits<int>::max()) < 0;
    m_count = StoreListCount(doc, data, countName, size);
}

void KivXmlListWriter::Put(int index, const SKivXMLDataType& value) {
    char digits[kIndexDigits];
    const auto r = std::to_chars(digits, digits + sizeof digits, index);
    m_name.resize(m_prefixLength);  // within the capacity reserved: no allocation
    m_name.append(digits, r.ptr);
    if (!m_append) {
        m_doc->SetNodeAttribute(m_data, m_name.c_str(), value);
        return;
    }
    KivXMLValueText text;
    if (KivXMLFormatValue(value, text) == KIVXML_OK) KivXmlAppendAttribute(m_data, m_name.c_str(), text.View());
}

int KivXmlLoadListCount(CKivXMLDOMDocObj* doc, IXMLDOMNode* data, const char* countName) {
    SKivXMLDataType r{};
    r.type = static_cast<int>(KivXml::i32);
    KivXmlLoadAttribute(doc, data, countName, r);  // absent or unreadable: stays 0
    // Each value the document can give needs an attribute of its own; a count beyond them
    // would only add absent values, so it is not believed past that.
    return std::clamp(r.value.iVal, 0, KivXmlAttributeCount(data));
}

int KivXmlListIndex(const char* name, const char* prefix, int count) {
    const size_t n = std::strlen(prefix);
    if (std::strncmp(name, prefix, n) != 0) return -1;
    const char* digits = name + n;
    if (*digits == '0' && digits[1] != '\0') return -1;  // "Color01" is not value 1
    int index = 0;
    const char* end = digits + std::strlen(digits);
    const auto r = std::from_chars(digits, end, index);
    if (r.ec != std::errc() || r.ptr != end || digits == end || index < 0 || index >= count) return -1;
    return index;
}

KivXmlListNames::KivXmlListNames(const char* prefix, int count)
    : m_prefix(prefix), m_prefixLength(std::strlen(prefix)), m_count(count) {
    KivTranslateBadAlloc([&] { m_next.Start(m_prefix, m_prefixLength, 0); });
}

int KivXmlListNames::Restart(const char* name) {
    const int index = KivXmlListIndex(name, m_prefix, m_count);
    if (index >= 0) m_next.Start(m_prefix, m_prefixLength, static_cast<unsigned long long>(index) + 1);
    return index;
}
