#include "kivbase/CKivObList.h"

#include <memory>
#include <string>
#include <vector>

#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/KivXMLNodeWalk.h"

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

CObject* CopyElement(const CObject* element) {
    if (const CKivObList* list = AsList(element)) {
        std::unique_ptr<CObject> copy(list->GetRuntimeClass()->CreateObject());
        if (!copy) AfxThrowMemoryException();
        *static_cast<CKivObList*>(copy.get()) = *list;
        return copy.release();
    }
    CObject* copy = static_cast<const CKivObject*>(element)->MakeCopy();
    if (!copy) AfxThrowMemoryException();
    return copy;
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

}  // namespace

CKivObList::~CKivObList() { DeleteAll(); }

void CKivObList::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<ULONGLONG>(GetCount()));
        for (POSITION pos = GetHeadPosition(); pos;) ar.WriteObject(GetNext(pos));
        return;
    }
    const ULONGLONG count = ar.ReadCount();
    ar.CheckCount(count, kMinStoredObjectBytes, "list elements");
    for (ULONGLONG i = 0; i < count; ++i) {
        CObject* object = ar.ReadObject(nullptr);
        // The list owns its elements: a back-reference to an object read earlier would make
        // two owners of one object, so only objects new in this archive are taken.
        if (object && !ar.IsLastObjectNew())
            ar.ThrowError(CArchiveException::badIndex, "an owned list element is a reference to an earlier object");
        std::unique_ptr<CObject> owned(object);
        if (object && !IsElementClass(object->GetRuntimeClass()))
            ar.ThrowError(CArchiveException::badClass, std::string("list element of class ") +
                                                           object->GetRuntimeClass()->m_lpszClassName +
                                                           ", which is neither a CKivObject nor a CKivObList");
        AddTail(object);
        owned.release();
    }
}

CKivObList& CKivObList::operator=(const CKivObList& src) {
    if (&src == this) return *this;
    std::vector<std::unique_ptr<CObject>> copies;
    copies.reserve(static_cast<size_t>(src.GetCount()));
    for (POSITION pos = src.GetHeadPosition(); pos;) {
        const CObject* element = src.GetNext(pos);
        copies.emplace_back(element ? CopyElement(element) : nullptr);
    }
    DeleteAll();
    for (auto& c : copies) {
        AddTail(c.get());
        c.release();
    }
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
            if (!element) continue;
            SKivXMLDataType name{};
            name.type = 0;
            const CString className(element->GetRuntimeClass()->m_lpszClassName);
            name.value.pWStr = const_cast<wchar_t*>(className.GetString());
            IXMLDOMNode* item = doc->CreateDOMNodeWithAttribute(list, kItemElement, kClassAttribute, name, 1);
            if (!item) return;
            ElementXML(element, doc, item);
        }
        return;
    }
    IXMLDOMNode* list = doc->GetFirstNameMatchChildNode(node, kListElement);
    if (!list) return;
    KivXMLNestingGuard depth(doc);  // lists inside objects inside lists: bounded
    if (!depth.IsOk()) AfxThrowArchiveException(CArchiveException::genericException, CString(), "XML objects nested too deeply");
    for (IXMLDOMNode* item = KivXmlFirstChild(list, kItemElement); item; item = KivXmlNextSibling(item, kItemElement)) {
        SKivXMLDataType name{};
        name.type = 0;
        doc->GetNodeAttribute(item, kClassAttribute, name);
        const KivXMLValueGuard release(name);
        const CRuntimeClass* cls = name.value.pWStr ? CRuntimeClass::FromName(name.value.pWStr) : nullptr;
        if (!IsElementClass(cls) || !cls->m_pfnCreateObject)
            AfxThrowArchiveException(CArchiveException::badClass, CString(),
                                     "XML list item of unknown class '" + CString(name.value.pWStr ? name.value.pWStr : L"").ToUtf8() + "'");
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
    std::vector<CObject*> items;
    items.reserve(static_cast<size_t>(GetCount()));
    for (POSITION pos = GetHeadPosition(); pos;) items.push_back(GetNext(pos));
    POSITION pos = GetHeadPosition();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        SetAt(pos, *it);
        GetNext(pos);
    }
    return 1;
}
