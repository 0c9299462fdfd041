// Class levels whose stored data is one list held in a framework array: in the archive the
// version word and then the array's own form (count, values); in XML a "DataMember" with a
// count attribute and one attribute per value, named by a prefix and the value's index.
#pragma once

#include <string>

#include "kivbase/KivColor.h"
#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/KivXMLNameSequence.h"
#include "kivbase/KivXMLNodeWalk.h"
#include "kivbase/KivXMLValueText.h"
#include "kivbase/persist/KivPersist.h"
#include "platform/fw/CArray.h"

// ---- archive ----

/// Storing: version word 0, then list.Serialize. Loading: the version word through the
/// converter, then list.Serialize only when the converted version is not negative (an older
/// record without the list keeps the list as it was). The stored count is checked against
/// the data left before anything is allocated; a failure inside the list leaves it at the
/// stored size with the values read so far. Archive exceptions pass on naming listName.
void KivSerializeListLevel(CArchive& ar, CObject* object, const KivClassLevel& level, const char* listName, CObject& list);

// ---- XML ----

/// How one list value travels in an attribute.
template <class T>
struct KivXmlListValue;

template <>
struct KivXmlListValue<double> {
    static constexpr KivXml kCode = KivXml::f64;
    static void Put(SKivXMLDataType& r, double v) { r.value.dVal = v; }
    static double Get(const SKivXMLDataType& r) { return r.value.dVal; }
};

template <>
struct KivXmlListValue<tagCOLOR32> {
    static constexpr KivXml kCode = KivXml::color;
    static void Put(SKivXMLDataType& r, tagCOLOR32 v) { r.value.dwVal = v.ToDWORD(); }
    static tagCOLOR32 Get(const SKivXMLDataType& r) { return tagCOLOR32::FromDWORD(r.value.dwVal); }
};

/// Writes a list's count (code 7, clamped to what it carries) and then its values, each as
/// the attribute prefix followed by its index in decimal ("Color0"). On an element that
/// carries no attribute yet (every list level makes its own "DataMember") each value is
/// appended, since no attribute of its name can be there: looking each name up first would
/// cost time in the square of the list's length. On an element that already has attributes,
/// each value replaces any of its name. Raises CMemoryException when memory runs out.
class KivXmlListWriter {
public:
    KivXmlListWriter(CKivXMLDOMDocObj* doc, IXMLDOMNode* data, const char* countName, const char* prefix, INT_PTR size);
    /// How many values to write: the count written.
    int Count() const { return m_count; }
    /// Writes value as the attribute of index.
    void Put(int index, const SKivXMLDataType& value);

private:
    CKivXMLDOMDocObj* m_doc;
    IXMLDOMNode* m_data;
    std::string m_name;  // the prefix, then the index of the value being written
    size_t m_prefixLength;
    int m_count = 0;
    bool m_append = false;
};
/// Reads countName (code 7): 0 for an absent, negative or unreadable count, and never more
/// than the attributes data carries, so a corrupt count costs no more than the document.
int KivXmlLoadListCount(CKivXMLDOMDocObj* doc, IXMLDOMNode* data, const char* countName);

/// The index a list value's attribute name gives: name is prefix followed by the index in
/// canonical decimal (no sign, no leading zero), below count; -1 for any other name.
int KivXmlListIndex(const char* name, const char* prefix, int count);

/// KivXmlListIndex over the attributes of one element in document order: a name that
/// follows the one before it (as lists are written) costs one comparison, any other the
/// full reading of its index.
class KivXmlListNames {
public:
    /// Raises CMemoryException; nothing after it allocates.
    KivXmlListNames(const char* prefix, int count);
    int IndexOf(const char* name) {
        const long long next = m_next.Match(name);
        if (next >= 0) return next < m_count ? static_cast<int>(next) : -1;
        return Restart(name);
    }

private:
    /// KivXmlListIndex, the sequence then expecting the name after the one found (with the
    /// prefix it started with, so in the room it already has).
    int Restart(const char* name);

    const char* m_prefix;
    size_t m_prefixLength;
    int m_count;
    KivXmlNameSequence m_next;
};

/// Storing: countName and then each value. Loading: empties the list, then holds values
/// 0 to count - 1 in order, an absent or unreadable value as 0. The attributes are read in
/// one pass, so a document with many values costs time in proportion to its size. When
/// memory runs out the list is left empty and CMemoryException raised.
template <class T>
void KivXmlSerializeList(CKivXMLDOMDocObj* doc, IXMLDOMNode* data, const char* countName, const char* prefix, CArray<T>& list) {
    using Value = KivXmlListValue<T>;
    if (doc->IsStoring()) {
        KivXmlListWriter out(doc, data, countName, prefix, list.GetSize());
        for (int i = 0; i < out.Count(); ++i) {
            SKivXMLDataType r{};
            r.type = static_cast<int>(Value::kCode);
            Value::Put(r, list.GetAt(i));
            out.Put(i, r);
        }
        return;
    }
    list.RemoveAll();
    const int count = KivXmlLoadListCount(doc, data, countName);
    KivXmlListNames names(prefix, count);
    list.SetSize(count);  // zero-filled, as absent values load; count is bounded by the attributes
    auto take = [&](const char* name, const char* text) {
        const int index = names.IndexOf(name);
        if (index < 0) return;
        SKivXMLDataType r{};
        r.type = static_cast<int>(Value::kCode);
        if (KivXMLParseValue(text, r) == KIVXML_OK) list[index] = Value::Get(r);  // else it stays zero
    };
    KivXmlForEachAttribute(data, take);
}

/// Both directions of a list level: the element, its "DataMember" with the list, and its
/// "BaseObject" node, which is returned for the base class. Null (and the base must not be
/// visited) when storing stopped, or on load when the element or "DataMember" is absent.
template <class T>
IXMLDOMNode* KivSerializeListLevelXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, const KivClassLevel& level,
                                      const char* countName, const char* prefix, CArray<T>& list) {
    if (!doc || !node) return nullptr;
    IXMLDOMNode* element = doc->IsStoring() ? KivXmlCreateElement(doc, node, level) : KivXmlFindElement(doc, node, level);
    IXMLDOMNode* data = KivXmlChild(doc, element, kKivXmlDataMember);
    if (!data) return nullptr;
    KivXmlSerializeList(doc, data, countName, prefix, list);
    return KivXmlChild(doc, element, kKivXmlBaseObject);
}
