#include "kivbase/CKivObList.h"

#include <memory>
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
        CObject* object = ar.ReadObject(RUNTIME_CLASS(CKivObject));
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
    std::vector<std::unique_ptr<CKivObject>> copies;
    // Reserved at once, so that the only allocations left are the copies themselves.
    KivTranslateBadAlloc([&] { copies.reserve(static_cast<size_t>(src.GetCount())); });
    for (POSITION pos = src.GetHeadPosition(); pos;) {
        const CKivObject* element = static_cast<const CKivObject*>(src.GetNext(pos));
        std::unique_ptr<CKivObject> copy(element ? element->MakeCopy() : nullptr);
        if (element && !copy) AfxThrowMemoryException();
        copies.push_back(std::move(copy));
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
        const auto* x = static_cast<const CKivObject*>(GetNext(a));
        const auto* y = static_cast<const CKivObject*>(other->GetNext(b));
        if (const int c = x ? x->Compare(y) : (y ? -1 : 0)) return c;
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
            auto* element = static_cast<CKivObject*>(GetNext(pos));
            if (!element) {
                // A null element (the archive allows them) is an item without a class.
                if (!doc->CreateDOMNode(list, kItemElement, 1)) return;
                continue;
            }
            SKivXMLDataType name{};
            name.type = 0;
            const CString className(element->GetRuntimeClass()->m_lpszClassName);
            name.value.pWStr = const_cast<wchar_t*>(className.GetString());
            IXMLDOMNode* item = doc->CreateDOMNodeWithAttribute(list, kItemElement, kClassAttribute, name, 1);
            if (!item) return;
            element->SerializeXML(doc, item);
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
        const LONG status = KivXmlLoadAttribute(doc, item, kClassAttribute, name);
        const KivXMLValueGuard release(name);
        if (status == KIVXML_ABSENT) {
            AddTail(static_cast<CObject*>(nullptr));
            continue;
        }
        const CRuntimeClass* cls = name.value.pWStr ? CRuntimeClass::FromName(name.value.pWStr) : nullptr;
        if (!cls || !cls->IsDerivedFrom(RUNTIME_CLASS(CKivObject)) || !cls->m_pfnCreateObject)
            AfxThrowArchiveException(CArchiveException::badClass, CString(),
                                     "XML list item of unknown class '" + CString(name.value.pWStr ? name.value.pWStr : L"").ToUtf8() + "'");
        std::unique_ptr<CObject> object(cls->CreateObject());
        if (!object) AfxThrowMemoryException();
        static_cast<CKivObject*>(object.get())->SerializeXML(doc, item);
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
    KivTranslateBadAlloc([&] { items.reserve(static_cast<size_t>(GetCount())); });
    for (POSITION pos = GetHeadPosition(); pos;) items.push_back(GetNext(pos));
    POSITION pos = GetHeadPosition();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        SetAt(pos, *it);
        GetNext(pos);
    }
    return 1;
}
