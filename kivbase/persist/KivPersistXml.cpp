// The XML half of the persistence engine. Field values travel as the document's typed
// records, spelled by KivXMLFormatValue and read by KivXMLParseValue, so each code's rules
// live in one place. A level whose names were checked when its class registered is written straight into
// the fresh elements it creates, without checking each name again or looking for an
// attribute that cannot be there yet; short blocks read back decode on the stack.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "kivbase/KivBase64.h"
#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/KivXMLTrusted.h"
#include "kivbase/KivXMLValueText.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "kivbase/persist/KivPersist.h"

namespace {

constexpr const char* kVersion = "Version";
// Blocks up to this long are decoded on the stack when read; longer ones (longer than any
// member's image) go through a record like every other value.
constexpr size_t kStackBlockBytes = 64;

SKivXMLDataType Record(KivXml code) {
    SKivXMLDataType r{};
    r.type = static_cast<int>(code);
    return r;
}

// The fields a level's "DataMember" carries, in table order.
bool InXml(const KivFieldDef& f) { return f.IsPersisted() && f.xml != KivXml::none && f.xml != KivXml::version; }

// The record carrying the member's value for the field's code; a block is packed into block.
SKivXMLDataType StoreRecord(const KivFieldDef& f, const void* m, BYTE* block) {
    SKivXMLDataType r = Record(f.xml);
    switch (f.xml) {
    case KivXml::none:
    case KivXml::version: break;
    case KivXml::wstr: r.value.pWStr = const_cast<wchar_t*>(static_cast<const CString*>(m)->GetString()); break;
    case KivXml::flag:
    case KivXml::i32: r.value.iVal = static_cast<int>(static_cast<std::uint32_t>(KivGetInt(f, m))); break;
    case KivXml::i16: r.value.sVal = static_cast<short>(static_cast<std::uint16_t>(KivGetInt(f, m))); break;
    case KivXml::color: r.value.dwVal = static_cast<DWORD>(KivGetInt(f, m)); break;
    case KivXml::f32: r.value.fVal = KivGetFloat(f, m); break;
    case KivXml::f64: r.value.dVal = KivGetReal(f, m); break;
    case KivXml::block:
        f.packBlock(m, block);
        r.value.pBytes = block;
        r.size = f.blockSize;
        break;
    }
    return r;
}

// A loaded record's value into the member as the field's code says; an absent or unreadable
// value arrives as the zeroed record's.
void TakeRecord(const KivFieldDef& f, void* m, const SKivXMLDataType& r) {
    switch (f.xml) {
    case KivXml::none:
    case KivXml::version: break;
    case KivXml::wstr:
        KivTranslateBadAlloc([&] { *static_cast<CString*>(m) = CString(r.value.pWStr ? r.value.pWStr : L""); });
        break;
    case KivXml::flag:
    case KivXml::i32: KivSetInt(f, m, r.value.iVal); break;
    case KivXml::i16: KivSetInt(f, m, r.value.sVal); break;
    case KivXml::color: KivSetInt(f, m, r.value.dwVal); break;
    case KivXml::f32: KivSetFloat(f, m, r.value.fVal); break;
    case KivXml::f64: KivSetReal(f, m, r.value.dVal); break;
    case KivXml::block:
        // Only a block at least as long as the member's image replaces it.
        if (r.value.pBytes && r.size >= f.blockSize) f.unpackBlock(r.value.pBytes, m);
        break;
    }
}

void ReadField(IXMLDOMNode* node, const KivFieldDef& f, void* m) {
    const char* text = KivXmlAttributeText(node, f.name);
    if (f.xml == KivXml::block && text) {
        BYTE bytes[kStackBlockBytes];
        if (const std::optional<size_t> n = KivBase64Decode(text, bytes, sizeof bytes)) {
            if (*n >= f.blockSize) f.unpackBlock(bytes, m);
            return;
        }
        // Not base64, or longer than the stack holds: the record tells which.
    }
    SKivXMLDataType r = Record(f.xml);
    // An unreadable value stays zero; a value that could not be read for lack of memory is
    // not taken for one.
    if (text && KivXMLParseValue(text, r) == KIVXML_E_MEMORY) AfxThrowMemoryException();
    const KivXMLValueGuard release(r);
    TakeRecord(f, m, r);
}

// The level's element with its "Version" 0, appended directly: for levels whose names were
// checked when their class registered.
IXMLDOMNode* AppendElement(IXMLDOMNode* node, const KivClassLevel& level) {
    SKivXMLDataType version = Record(KivXml::version);
    version.value.wVal = 0;
    KivXMLValueText text;
    if (KivXMLFormatValue(version, text) != KIVXML_OK) return nullptr;
    return KivXmlAppendElement(node, level.element, kVersion, text.View());
}

void AppendFields(IXMLDOMNode* dataMember, const CObject* object, const KivClassLevel& level) {
    for (const KivFieldDef& f : level.fields) {
        if (!InXml(f)) continue;
        BYTE block[kKivMaxBlockSize];
        KivXMLValueText text;
        if (KivXMLFormatValue(StoreRecord(f, f.At(object), block), text) == KIVXML_OK)
            KivXmlAppendAttribute(dataMember, f.name, text.View());
    }
}

}  // namespace

IXMLDOMNode* KivXmlCreateElement(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, const KivClassLevel& level) {
    SKivXMLDataType version = Record(KivXml::version);
    version.value.wVal = 0;
    return doc->CreateDOMNodeWithAttribute(node, level.element, kVersion, version, 1);
}

IXMLDOMNode* KivXmlFindElement(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, const KivClassLevel& level) {
    // The element's "Version" changes nothing on load, so it is not even parsed.
    return doc->GetFirstNameMatchChildNode(node, level.element);
}

void KivXmlStoreFields(CKivXMLDOMDocObj* doc, IXMLDOMNode* dataMember, const CObject* object, const KivClassLevel& level) {
    for (const KivFieldDef& f : level.fields) {
        if (!InXml(f)) continue;
        BYTE block[kKivMaxBlockSize];
        doc->SetNodeAttribute(dataMember, f.name, StoreRecord(f, f.At(object), block));
    }
}

void KivXmlLoadFields(CKivXMLDOMDocObj*, IXMLDOMNode* dataMember, CObject* object, const KivClassLevel& level) {
    for (const KivFieldDef& f : level.fields)
        if (InXml(f)) ReadField(dataMember, f, f.At(object));
}

IXMLDOMNode* KivXmlChild(CKivXMLDOMDocObj* doc, IXMLDOMNode* element, const char* name) {
    if (!doc || !element) return nullptr;
    return doc->IsStoring() ? doc->CreateDOMNode(element, name, 1) : doc->GetFirstNameMatchChildNode(element, name);
}

IXMLDOMNode* KivXmlLevelElement(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, CObject* object, const KivClassLevel& level) {
    if (!doc || !node) return nullptr;
    const bool hasDataMember = level.HasDataMember();
    if (doc->IsStoring()) {
        if (level.cache && level.cache->xmlNamesChecked.load(std::memory_order_acquire)) {
            // A fresh element and "DataMember": nothing to check or replace.
            IXMLDOMNode* element = AppendElement(node, level);
            if (!element) return nullptr;
            if (hasDataMember) {
                IXMLDOMNode* data = KivXmlAppendElement(element, kKivXmlDataMember);
                if (!data) return nullptr;
                AppendFields(data, object, level);
            }
            return element;
        }
        IXMLDOMNode* element = KivXmlCreateElement(doc, node, level);
        if (!element) return nullptr;
        if (hasDataMember) {
            IXMLDOMNode* data = doc->CreateDOMNode(element, kKivXmlDataMember, 1);
            if (!data) return nullptr;
            KivXmlStoreFields(doc, data, object, level);
        }
        return element;
    }
    IXMLDOMNode* element = KivXmlFindElement(doc, node, level);
    if (element && hasDataMember)
        if (IXMLDOMNode* data = doc->GetFirstNameMatchChildNode(element, kKivXmlDataMember))
            KivXmlLoadFields(doc, data, object, level);
    return element;
}

IXMLDOMNode* KivSerializeLevelXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, CObject* object, const KivClassLevel& level) {
    IXMLDOMNode* element = KivXmlLevelElement(doc, node, object, level);
    if (element && doc->IsStoring()) return KivXmlAppendElement(element, kKivXmlBaseObject);  // a name known valid
    return KivXmlChild(doc, element, kKivXmlBaseObject);
}
