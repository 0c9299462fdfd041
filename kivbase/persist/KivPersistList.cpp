#include "kivbase/persist/KivPersistList.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "kivbase/KivXMLNodeWalk.h"

std::string KivXmlListName(const char* prefix, INT_PTR index) {
    return KivTranslateBadAlloc([&] { return std::string(prefix) + std::to_string(index); });
}

int KivXmlStoreListCount(CKivXMLDOMDocObj* doc, IXMLDOMNode* data, const char* countName, INT_PTR count) {
    const int stored = static_cast<int>(std::min<INT_PTR>(count, std::numeric_limits<int>::max()));
    SKivXMLDataType r{};
    r.type = static_cast<int>(KivXml::i32);
    r.value.iVal = stored;
    doc->SetNodeAttribute(data, countName, r);
    return stored;
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
