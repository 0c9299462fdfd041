// The framework's doubly linked list of object pointers. It never owns what it holds:
// RemoveAll and the destructor only unlink. A null POSITION or an empty list where an
// element is needed raises CInvalidArgException, as the framework's checked build does.
#pragma once

#include <new>

#include "platform/fw/CObject.h"

class CObList : public CObject {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR blockSize = 10);
    ~CObList() override;
    CObList(const CObList&) = delete;
    CObList& operator=(const CObList&) = delete;

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    /// Changes with every structural change (adding, inserting, removing, RemoveAll) and
    /// every SetAt, so that a reader caching positions can tell in O(1) that they are stale.
    /// Elements written through the references GetAt/GetNext/GetHead/GetTail hand out are
    /// not counted.
    DWORD_PTR GetModCount() const { return m_nModCount; }

    CObject*& GetHead();
    CObject* GetHead() const;
    CObject*& GetTail();
    CObject* GetTail() const;
    CObject* RemoveHead();
    CObject* RemoveTail();
    POSITION AddHead(CObject* element) { return LinkNew(nullptr, m_pNodeHead, element); }
    POSITION AddTail(CObject* element) { return LinkNew(m_pNodeTail, nullptr, element); }
    /// Adds the other list's elements (the other list keeps them too).
    void AddHead(CObList* other);
    void AddTail(CObList* other);
    void RemoveAll();

    POSITION GetHeadPosition() const { return reinterpret_cast<POSITION>(m_pNodeHead); }
    POSITION GetTailPosition() const { return reinterpret_cast<POSITION>(m_pNodeTail); }
    CObject*& GetNext(POSITION& pos);
    CObject* GetNext(POSITION& pos) const;
    CObject*& GetPrev(POSITION& pos);
    CObject* GetPrev(POSITION& pos) const;
    CObject*& GetAt(POSITION pos);
    CObject* GetAt(POSITION pos) const;
    void SetAt(POSITION pos, CObject* element);
    void RemoveAt(POSITION pos);
    /// A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION pos, CObject* element);
    POSITION InsertAfter(POSITION pos, CObject* element);
    /// First position holding exactly that pointer, searching after startAfter; or null.
    POSITION Find(CObject* value, POSITION startAfter = nullptr) const;
    /// Position of the element at that index; null when out of range.
    POSITION FindIndex(INT_PTR index) const;

    /// Storing: the count, then each element with WriteObject. Loading: appends the objects.
    void Serialize(CArchive& ar) override;

protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        CObject* data;
    };
    /// Inline, with the allocation out of line: a list is mostly built by adding.
    CNode* NewNode(CNode* prev, CNode* next) {
        if (m_nFreeCount == 0) ReserveNodes(1);
        CNode* node;
        if (m_pNodeFree) {
            node = m_pNodeFree;
            m_pNodeFree = node->pNext;
        } else {
            node = m_pCarve++;
        }
        --m_nFreeCount;
        ::new (node) CNode{next, prev, nullptr};
        ++m_nCount;
        ++m_nModCount;
        return node;
    }
    void FreeNode(CNode* node);
    static CNode* NodeOf(POSITION pos);

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
    CNode* m_pNodeFree = nullptr;
    INT_PTR m_nBlockSize;
    void* m_pBlocks = nullptr;

    /// Makes sure count nodes can be taken without allocating, so that adding them cannot
    /// fail half way; raises CMemoryException with the list unchanged.
    void ReserveNodes(INT_PTR count);
    /// Loading: makes nodes ready for the next elements of a stored list when none are left,
    /// in blocks of at most kLoadNodeBlock (left: the elements still to come, at least 1),
    /// so that a long list is not allocated ten nodes at a time.
    void ReserveLoadingNodes(ULONGLONG left) {
        if (m_nFreeCount == 0) ReserveNodes(static_cast<INT_PTR>(left < kLoadNodeBlock ? left : kLoadNodeBlock));
    }
    static constexpr ULONGLONG kLoadNodeBlock = 1024;

private:
    /// Links a new node holding element between prev and next (null: the list's ends);
    /// raises CMemoryException with the list unchanged.
    POSITION LinkNew(CNode* prev, CNode* next, CObject* element) {
        CNode* node = NewNode(prev, next);
        node->data = element;
        (prev ? prev->pNext : m_pNodeHead) = node;
        (next ? next->pPrev : m_pNodeTail) = node;
        return reinterpret_cast<POSITION>(node);
    }
    /// Adds the other list's elements one by one (before head or after tail).
    void AddList(const CObList* other, bool atHead);

    INT_PTR m_nFreeCount = 0;  // on the free chain and not yet carved
    DWORD_PTR m_nModCount = 0;
    // The newest block's nodes not yet handed out: taken in order rather than chained first.
    CNode* m_pCarve = nullptr;
    CNode* m_pCarveEnd = nullptr;
};
