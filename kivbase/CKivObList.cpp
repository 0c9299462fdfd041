#include "kivbase/CKivObList.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/KivXMLNodeWalk.h"
#include "kivbase/KivXMLTrusted.h"

IMPLEMENT_SERIAL(CKivObList, CObList, 0)

namespace {

constexpr const char* kListElement = "CKivObList";
constexpr const char* kItemElement = "Item";
constexpr const char* kClassAttribute = "Class";
constexpr const char* kCountAttribute = "Count";
// Every stored element takes at least its two-byte tag.
constexpr ULONGLONG kMinStoredObjectBytes = 2;

// Elements are persistable objects, or persistable lists themselves (a track kept in a
// project list).
bool IsElementClass(const CRuntimeClass* cls) {
    return cls && (cls->IsDerivedFrom(RUNTIME_CLASS(CKivObject)) || cls->IsDerivedFrom(RUNTIME_CLASS(CKivObList)));
}

const CKivObList* AsList(const CObject* o) {
    return o && o->IsKindOf(RUNTIME_CLASS(CKivObList)) ? static_cast<const CKivObList*>(o) : nullptr;
}

int CompareElements(const CObject* a, const CObject* b) {
    if (!a || !b) return a ? 1 : (b ? -1 : 0);
    const CKivObList* la = AsList(a);
    const CKivObList* lb = AsList(b);
    if (la || lb) return la && lb ? la->Compare(lb) : (la ? 1 : -1);
    return static_cast<const CKivObject*>(a)->Compare(static_cast<const CKivObject*>(b));
}

void ElementXML(CObject* element, CKivXMLDOMDocObj* doc, IXMLDOMNode* node) {
    if (element->IsKindOf(RUNTIME_CLASS(CKivObList)))
        static_cast<CKivObList*>(element)->SerializeXML(doc, node);
    else
        static_cast<CKivObject*>(element)->SerializeXML(doc, node);
}

bool IsAscii(const char* s) {
    for (; *s; ++s)
        if (static_cast<unsigned char>(*s) >= 0x80) return false;
    return true;
}

// An element's "Item" under list. A class name in ASCII (as they all are) is its own UTF-8
// text, so it goes in as it stands; any other goes through the wide text as ever.
IXMLDOMNode* AppendItem(CKivXMLDOMDocObj* doc, IXMLDOMNode* list, const char* className) {
    if (IsAscii(className)) return KivXmlAppendElement(list, kItemElement, kClassAttribute, className);
    SKivXMLDataType name{};
    name.type = KIVXML_WSTRING;
    const CString wide(className);
    name.value.pWStr = const_cast<wchar_t*>(wide.GetString());
    return doc->CreateDOMNodeWithAttribute(list, kItemElement, kClassAttribute, name, 1);
}

// The classes items name, the last one remembered: a list's items are mostly of one class.
class ItemClasses {
public:
    /// The class item names, null for an item without "Class" (a null element); raises
    /// badClass for an unknown class, or one that is not a creatable CKivObject or
    /// CKivObList, and CMemoryException when memory runs out.
    const CRuntimeClass* Of(CKivXMLDOMDocObj* doc, IXMLDOMNode* item) {
        const char* text = KivXmlAttributeText(item, kClassAttribute);
        if (!text) return nullptr;
        if (IsAscii(text)) {  // its own UTF-8 text: no need to widen it and back
            if (m_last && std::strcmp(text, m_last->m_lpszClassName) == 0) return m_last;
            const CRuntimeClass* cls = CRuntimeClass::FromName(text);
            if (!IsLoadable(cls)) ThrowUnknown(text);
            return m_last = cls;
        }
        SKivXMLDataType name{};
        name.type = KIVXML_WSTRING;
        KivXmlLoadAttribute(doc, item, kClassAttribute, name);
        const KivXMLValueGuard release(name);
        const CRuntimeClass* cls = name.value.pWStr ? CRuntimeClass::FromName(name.value.pWStr) : nullptr;
        if (!IsLoadable(cls)) ThrowUnknown(CString(name.value.pWStr ? name.value.pWStr : L"").ToUtf8());
        return cls;
    }

private:
    static bool IsLoadable(const CRuntimeClass* cls) {
        return IsElementClass(cls) && cls->m_pfnCreateObject;
    }
    [[noreturn]] static void ThrowUnknown(const std::string& name) {
        AfxThrowArchiveException(CArchiveException::badClass, CString(), "XML list item of unknown class '" + name + "'");
    }

    const CRuntimeClass* m_last = nullptr;
};

}  // namespace

CKivObList::~CKivObList() { DeleteAll(); }

void CKivObList::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<ULONGLONG>(GetCount()));
        ar.ReserveObjects(static_cast<ULONGLONG>(GetCount()));
        for (const CNode* node = m_pNodeHead; node; node = node->pNext) {
            if (node->pNext) ar.PrefetchObject(node->pNext->data);  // its lookup overlaps writing this one
            ar.WriteObject(node->data);
        }
        return;
    }
    const ULONGLONG count = ar.ReadCount();
    ar.CheckCount(count, kMinStoredObjectBytes, "list elements");
    ar.ReserveObjects(count);
    for (ULONGLONG i = 0; i < count; ++i) {
        // The node is ready before the object is read, so that an object just created always
        // finds its place.
        ReserveLoadingNodes(count - i);
        // Refused by class before anything is created: an object of another family (the
        // framework's list, which owns nothing) read whole would lose what it holds.
        CObject* object = ar.ReadObjectOf(IsElementClass, "a CKivObject or a CKivObList");
        // The list owns its elements: a back-reference to an object read earlier would make
        // two owners of one object, so only objects new in this archive are taken.
        if (object && !ar.IsLastObjectNew())
            ar.ThrowError(CArchiveException::badIndex, "an owned list element is a reference to an earlier object");
        std::unique_ptr<CObject> owned(object);
        AddTail(object);
        owned.release();
    }
}

CKivObList& CKivObList::operator=(const CKivObList& src) {
    if (&src == this) return *this;
    std::vector<std::unique_ptr<CObject>> copies;
    // Reserved at once, so that the only allocations left are the copies themselves.
    KivTranslateBadAlloc([&] { copies.reserve(static_cast<size_t>(src.GetCount())); });
    for (POSITION pos = src.GetHeadPosition(); pos;) {
        const CObject* element = src.GetNext(pos);
        copies.emplace_back(element ? KivCopyElement(*element) : nullptr);
    }
    // The copies join behind the old elements in nodes taken beforehand, and only then do the
    // old ones go: the list never empties on the way (which would give its nodes back), so
    // nothing after the reservation can fail.
    ReserveNodes(static_cast<INT_PTR>(copies.size()));
    const INT_PTR old = GetCount();
    for (auto& c : copies) AddTail(c.release());
    for (INT_PTR i = 0; i < old; ++i) DeleteHead();
    return *this;
}

int CKivObList::Compare(const CKivObList* other) const {
    if (other == this) return 0;
    if (!other) return 1;
    if (GetCount() != other->GetCount()) return GetCount() < other->GetCount() ? -1 : 1;
    for (POSITION a = GetHeadPosition(), b = other->GetHeadPosition(); a && b;) {
        if (const int c = CompareElements(GetNext(a), other->GetNext(b))) return c;
    }
    return 0;
}

void CKivObList::SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node) {
    if (!doc || !node) return;
    if (doc->IsStoring()) {
        SKivXMLDataType count{};
        count.type = 7;
        count.value.iVal = static_cast<int>(GetCount());
        IXMLDOMNode* list = doc->CreateDOMNodeWithAttribute(node, kListElement, kCountAttribute, count, 1);
        if (!list) return;
        for (POSITION pos = GetHeadPosition(); pos;) {
            CObject* element = GetNext(pos);
            if (!element) {
                // A null element (the archive allows them) is an item without a class.
                if (!doc->CreateDOMNode(list, kItemElement, 1)) return;
                continue;
            }
            IXMLDOMNode* item = AppendItem(doc, list, element->GetRuntimeClass()->m_lpszClassName);
            if (!item) return;
            ElementXML(element, doc, item);
        }
        return;
    }
    IXMLDOMNode* list = doc->GetFirstNameMatchChildNode(node, kListElement);
    if (!list) return;
    KivXMLNestingGuard depth(doc);  // lists inside objects inside lists: bounded
    if (!depth.IsOk()) AfxThrowArchiveException(CArchiveException::genericException, CString(), "XML objects nested too deeply");
    ItemClasses classes;
    for (IXMLDOMNode* item = KivXmlFirstChild(list, kItemElement); item; item = KivXmlNextSibling(item, kItemElement)) {
        const CRuntimeClass* cls = classes.Of(doc, item);
        if (!cls) {  // an item without a class: a null element
            AddTail(static_cast<CObject*>(nullptr));
            continue;
        }
        std::unique_ptr<CObject> object(cls->CreateObject());
        if (!object) AfxThrowMemoryException();
        ElementXML(object.get(), doc, item);
        AddTail(object.get());
        object.release();
    }
}

void CKivObList::DeleteHead() {
    if (!IsEmpty()) delete RemoveHead();
}

void CKivObList::DeleteTail() {
    if (!IsEmpty()) delete RemoveTail();
}

void CKivObList::DeleteAt(POSITION pos) {
    if (!pos) return;
    CObject* object = GetAt(pos);
    RemoveAt(pos);
    delete object;
}

void CKivObList::DeleteAll() {
    while (!IsEmpty()) delete RemoveHead();
}

int CKivObList::ReverseList() {
    if (GetCount() < 2) return 0;
    // The elements change places from both ends inward: no allocation, so it cannot fail.
    POSITION front = GetHeadPosition(), back = GetTailPosition();
    for (INT_PTR i = GetCount() / 2; i > 0; --i) {
        CObject* first = GetAt(front);
        SetAt(front, GetAt(back));
        SetAt(back, first);
        GetNext(front);
        GetPrev(back);
    }
    return 1;
}

std::unique_ptr<CKivObList> KivCopyList(const CKivObList& list) {
    std::unique_ptr<CObject> made(list.GetRuntimeClass()->CreateObject());
    if (!made) AfxThrowMemoryException();
    std::unique_ptr<CKivObList> copy(static_cast<CKivObList*>(made.release()));
    *copy = list;
    return copy;
}

std::unique_ptr<CObject> KivCopyElement(const CObject& element) {
    if (const CKivObList* list = AsList(&element)) return KivCopyList(*list);
    std::unique_ptr<CObject> copy(static_cast<const CKivObject&>(element).MakeCopy());
    if (!copy) AfxThrowMemoryException();
    return copy;
}
