#include "keyfrm/tracks/CKivFXDynamicKeyFrm.h"

#include <bit>
#include <cstring>
#include <vector>

#include "kivbase/KivXMLDOMDoc.h"

namespace {

constexpr const char* kDataMember = "DataMember";
constexpr const char* kBaseObject = "BaseObject";
constexpr const char* kCount = "Count";
constexpr const char* kData = "Data";
constexpr UINT kFloatBytes = 4;

// The level's facts; its values are written by hand after the version word.
const KivClassLevel& DynamicLevel() {
    static const KivClassLevel level{"CKivFXDynamicKeyFrm", "CKivFXDynamicKeyFrm", 0, 0, {}};
    return level;
}

}  // namespace

IMPLEMENT_SERIAL(CKivFXDynamicKeyFrm, CKivFXBaseKeyFrm, 0)

CKivFXDynamicKeyFrm::CKivFXDynamicKeyFrm(const CKivFXDynamicKeyFrm& src) : CKivFXDynamicKeyFrm() { CKivFXDynamicKeyFrm::operator=(src); }

void CKivFXDynamicKeyFrm::Default() {
    CKivFXBaseKeyFrm::Default();
    m_Data.RemoveAll();
}

CKivFXDynamicKeyFrm& CKivFXDynamicKeyFrm::operator=(const CKivFXDynamicKeyFrm& src) {
    m_Data.Copy(src.m_Data);  // first: the only step that can fail
    CKivFXBaseKeyFrm::operator=(src);
    return *this;
}

CKivObject* CKivFXDynamicKeyFrm::MakeCopy() const { return KivMakeCopyOf(*this); }

int CKivFXDynamicKeyFrm::Compare(const CKivObject* other) const {
    if (const int c = CKivFXBaseKeyFrm::Compare(other)) return c;
    const auto* o = static_cast<const CKivFXDynamicKeyFrm*>(other);
    if (o == this) return 0;
    if (o->GetDataCount() != GetDataCount()) return 1;
    for (int i = 0; i < GetDataCount(); ++i)
        if (std::bit_cast<DWORD>(m_Data[i]) != std::bit_cast<DWORD>(o->m_Data[i])) return 1;
    return 0;
}

void CKivFXDynamicKeyFrm::SetDataCount(int count) {
    if (count < 0) AfxThrowInvalidArgException("CKivFXDynamicKeyFrm::SetDataCount with a negative count");
    m_Data.SetSize(count);
}

void CKivFXDynamicKeyFrm::Serialize(CArchive& ar) {
    CKivFXBaseKeyFrm::Serialize(ar);
    KivSerializeLevel(ar, this, DynamicLevel());
    if (ar.IsStoring()) {
        ar << static_cast<int>(m_Data.GetSize());
        for (INT_PTR i = 0; i < m_Data.GetSize(); ++i) ar << m_Data[i];
        return;
    }
    int count = 0;
    ar >> count;
    if (count < 0) ar.ThrowError(CArchiveException::badIndex, "CKivFXDynamicKeyFrm: negative value count");
    ar.CheckCount(static_cast<ULONGLONG>(count), kFloatBytes, "CKivFXDynamicKeyFrm values");
    CArray<float> values;
    values.SetSize(count);
    for (int i = 0; i < count; ++i) ar >> values[i];
    m_Data = std::move(values);
}

void CKivFXDynamicKeyFrm::SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node) {
    if (!doc || !node) return;
    if (doc->IsStoring()) {
        IXMLDOMNode* element = KivXmlCreateElement(doc, node, DynamicLevel());
        if (!element) return;
        IXMLDOMNode* data = doc->CreateDOMNode(element, kDataMember, 1);
        if (!data) return;
        SKivXMLDataType count{};
        count.type = KIVXML_INT32;
        count.value.iVal = GetDataCount();
        doc->SetNodeAttribute(data, kCount, count);
        if (!m_Data.IsEmpty()) {
            std::vector<BYTE> bytes = KivTranslateBadAlloc([&] { return std::vector<BYTE>(static_cast<size_t>(m_Data.GetSize()) * kFloatBytes); });
            for (INT_PTR i = 0; i < m_Data.GetSize(); ++i) KivPutF32(&bytes[static_cast<size_t>(i) * kFloatBytes], m_Data[i]);
            SKivXMLDataType block{};
            block.type = KIVXML_BLOCK;
            block.value.pBytes = bytes.data();
            block.size = static_cast<std::uint32_t>(bytes.size());
            doc->SetNodeAttribute(data, kData, block);
        }
        if (IXMLDOMNode* base = doc->CreateDOMNode(element, kBaseObject, 1)) CKivFXBaseKeyFrm::SerializeXML(doc, base);
        return;
    }
    IXMLDOMNode* element = KivXmlFindElement(doc, node, DynamicLevel());
    if (!element) return;
    if (IXMLDOMNode* data = doc->GetFirstNameMatchChildNode(element, kDataMember)) {
        // The values are the block's whole floats; "Count" only tells a reader how many.
        SKivXMLDataType block{};
        block.type = KIVXML_BLOCK;
        KivXmlLoadAttribute(doc, data, kData, block);  // absent or unreadable: no values
        const KivXMLValueGuard release(block);
        const UINT n = block.value.pBytes ? block.size / kFloatBytes : 0;
        CArray<float> values;
        values.SetSize(n);
        for (UINT i = 0; i < n; ++i) values[i] = KivGetF32(block.value.pBytes + i * kFloatBytes);
        m_Data = std::move(values);
    }
    if (IXMLDOMNode* base = doc->GetFirstNameMatchChildNode(element, kBaseObject)) CKivFXBaseKeyFrm::SerializeXML(doc, base);
}
