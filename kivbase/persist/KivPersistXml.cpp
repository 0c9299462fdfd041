// The XML half of the persistence engine.
#include <cstdint>
#include <cstring>

#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "kivbase/persist/KivPersist.h"

namespace {

constexpr const char* kVersion = "Version";

SKivXMLDataType Record(KivXml code) {
    SKivXMLDataType r{};
    r.type = static_cast<int>(code);
    return r;
}

void StoreField(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, const KivFieldDef& f, const void* m) {
    SKivXMLDataType r = Record(f.xml);
    BYTE block[kKivMaxBlockSize];
    switch (f.xml) {
    case KivXml::none:
    case KivXml::version: return;
    case KivXml::wstr: r.value.pWStr = const_cast<wchar_t*>(static_cast<const CString*>(m)->GetString()); break;
    case KivXml::flag:
    case KivXml::i32: r.value.iVal = static_cast<int>(static_cast<std::uint32_t>(KivGetInt(f, m))); break;
    case KivXml::i16: r.value.sVal = static_cast<short>(static_cast<std::uint16_t>(KivGetInt(f, m))); break;
    case KivXml::color: r.value.dwVal = static_cast<DWORD>(KivGetInt(f, m)); break;
    case KivXml::f32: r.value.fVal = static_cast<float>(KivGetReal(f, m)); break;
    case KivXml::f64: r.value.dVal = KivGetReal(f, m); break;
    case KivXml::block:
        f.packBlock(m, block);
        r.value.pBytes = block;
        r.size = f.blockSize;
        break;
    }
    doc->SetNodeAttribute(node, f.name, r);
}

void LoadField(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, const KivFieldDef& f, void* m) {
    if (f.xml == KivXml::none || f.xml == KivXml::version) return;
    SKivXMLDataType r = Record(f.xml);
    doc->GetNodeAttribute(node, f.name, r);  // status ignored: a missing value stays zero
    const KivXMLValueGuard release(r);
    switch (f.xml) {
    case KivXml::none:
    case KivXml::version: break;
    case KivXml::wstr: *static_cast<CString*>(m) = CString(r.value.pWStr ? r.value.pWStr : L""); break;
    case KivXml::flag:
    case KivXml::i32: KivSetInt(f, m, r.value.iVal); break;
    case KivXml::i16: KivSetInt(f, m, r.value.sVal); break;
    case KivXml::color: KivSetInt(f, m, r.value.dwVal); break;
    case KivXml::f32: KivSetReal(f, m, r.value.fVal); break;
    case KivXml::f64: KivSetReal(f, m, r.value.dVal); break;
    case KivXml::block:
        // Only a block at least as long as the member's image replaces it.
        if (r.value.pBytes && r.size >= f.blockSize) f.unpackBlock(r.value.pBytes, m);
        break;
    }
}

}  // namespace

IXMLDOMNode* KivXmlCreateElement(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, const KivClassLevel& level) {
    SKivXMLDataType version = Record(KivXml::version);
    version.value.wVal = 0;
    return doc->CreateDOMNodeWithAttribute(node, level.element, kVersion, version, 1);
}

IXMLDOMNode* KivXmlFindElement(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, const KivClassLevel& level) {
    IXMLDOMNode* element = doc->GetFirstNameMatchChildNode(node, level.element);
    if (element) {
        SKivXMLDataType version = Record(KivXml::version);
        doc->GetNodeAttribute(element, kVersion, version);  // read for completeness, not used
    }
    return element;
}

void KivXmlStoreFields(CKivXMLDOMDocObj* doc, IXMLDOMNode* dataMember, const CObject* object, const KivClassLevel& level) {
    KivForEachMember(level, object, [&](const KivFieldDef& f, const void* m) {
        if (f.IsPersisted()) StoreField(doc, dataMember, f, m);
    });
}

void KivXmlLoadFields(CKivXMLDOMDocObj* doc, IXMLDOMNode* dataMember, CObject* object, const KivClassLevel& level) {
    KivForEachMember(level, object, [&](const KivFieldDef& f, void* m) {
        if (f.IsPersisted()) LoadField(doc, dataMember, f, m);
    });
}

IXMLDOMNode* KivXmlChild(CKivXMLDOMDocObj* doc, IXMLDOMNode* element, const char* name) {
    if (!doc || !element) return nullptr;
    return doc->IsStoring() ? doc->CreateDOMNode(element, name, 1) : doc->GetFirstNameMatchChildNode(element, name);
}

IXMLDOMNode* KivXmlLevelElement(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, CObject* object, const KivClassLevel& level) {
    if (!doc || !node) return nullptr;
    const bool hasData = level.HasDataMember();
    if (doc->IsStoring()) {
        IXMLDOMNode* element = KivXmlCreateElement(doc, node, level);
        if (!element) return nullptr;
        if (hasData) {
            IXMLDOMNode* data = doc->CreateDOMNode(element, kKivXmlDataMember, 1);
            if (!data) return nullptr;
            KivXmlStoreFields(doc, data, object, level);
        }
        return element;
    }
    IXMLDOMNode* element = KivXmlFindElement(doc, node, level);
    if (element && hasData)
        if (IXMLDOMNode* data = doc->GetFirstNameMatchChildNode(element, kKivXmlDataMember))
            KivXmlLoadFields(doc, data, object, level);
    return element;
}

IXMLDOMNode* KivSerializeLevelXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, CObject* object, const KivClassLevel& level) {
    return KivXmlChild(doc, KivXmlLevelElement(doc, node, object, level), kKivXmlBaseObject);
}
