#include "kivbase/persist/KivPersistList.h"

#include <algorithm>
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
    doc->GetNodeAttribute(data, countName, r);  // absent or unreadable: stays 0
    // Each value the document can give needs an attribute of its own; a count beyond them
    // would only add absent values, so it is not believed past that.
    return std::clamp(r.value.iVal, 0, KivXmlAttributeCount(data));
}
