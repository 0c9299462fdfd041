// The base library's owning list of persistable objects: removing with the Delete calls
// and destroying the list destroy the objects; RemoveAll only unlinks, as the framework's.
#pragma once

#include <memory>

#include "kivbase/CKivObject.h"
#include "platform/fw/CObList.h"

class CKivObList : public CObList {
    DECLARE_SERIAL(CKivObList)
public:
    CKivObList() = default;
    /// Destroys the objects still in the list.
    ~CKivObList() override;

    /// Storing: the count (WriteCount), then every element with WriteObject. Loading appends
    /// the stored objects; anything that is neither a CKivObject nor a CKivObList (a track
    /// inside a project) raises badClass. Elements read before a failure stay in (and are
    /// owned by) the list.
    void Serialize(CArchive& ar) override;
    /// Replaces the elements by copies of the source's elements in order (an element that is
    /// a list is copied through this operator, so a track copies its own fields too). If a
    /// copy or a node cannot be made, raises CMemoryException and leaves this list as it was
    /// (the same objects, in the same order).
    virtual CKivObList& operator=(const CKivObList& src);
    /// 0 when both lists hold the same number of objects and each compares equal in order
    /// (elements that are lists through this function).
    virtual int Compare(const CKivObList* other) const;
    /// Storing writes element "CKivObList" (attribute "Count") holding one "Item" per element
    /// (attribute "Class", the object's own XML inside; a null element is an "Item" without
    /// "Class"); loading appends the items' objects (null for an item without "Class") and
    /// raises badClass for an unknown class or one that is neither a CKivObject nor a
    /// CKivObList, CMemoryException when memory runs out.
    virtual void SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node);
    virtual void DeleteHead();
    virtual void DeleteTail();
    virtual void DeleteAt(POSITION pos);
    virtual void DeleteAll();
    /// Reverses the order of the elements in place (allocates nothing, cannot fail); returns 1
    /// when the order changed (two or more).
    virtual int ReverseList();

    /// The element at pos as a CKivObject (null for foreign objects).
    CKivObject* GetKivAt(POSITION pos) const {
        CObject* o = GetAt(pos);
        return o && o->IsKindOf(RUNTIME_CLASS(CKivObject)) ? static_cast<CKivObject*>(o) : nullptr;
    }

protected:
    CKivObList(const CKivObList&) = delete;
};

/// A new list of list's own class holding copies of its elements (through its operator=, so
/// a track copies its own fields too). Raises CMemoryException when memory runs out.
std::unique_ptr<CKivObList> KivCopyList(const CKivObList& list);
/// A copy of a list element made by its own class: a list through KivCopyList, any other
/// element (a CKivObject) through MakeCopy. Raises CMemoryException when memory runs out.
std::unique_ptr<CObject> KivCopyElement(const CObject& element);
