#include "platform/fw/CObList.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "platform/fw/CArchive.h"

namespace {

/// Nodes per block when the caller asks for none, as the framework's default.
constexpr INT_PTR kDefaultBlockSize = 10;
/// Every stored element takes at least its two-byte object tag.
constexpr ULONGLONG kMinElementBytes = 2;

// Heads a block of nodes; blocks are chained and freed together when the list empties.
struct NodeBlock {
    NodeBlock* pNext;
};

POSITION PositionOf(void* node) { return reinterpret_cast<POSITION>(node); }

}  // namespace

IMPLEMENT_SERIAL(CObList, CObject, 0)

CObList::CObList(INT_PTR blockSize) : m_nBlockSize(blockSize > 0 ? blockSize : kDefaultBlockSize) {}

CObList::~CObList() { RemoveAll(); }

CObList::CNode* CObList::NodeOf(POSITION pos) {
    if (!pos) AfxThrowInvalidArgException("CObList: null POSITION");
    return reinterpret_cast<CNode*>(pos);
}

void CObList::ReserveNodes(INT_PTR count) {
    if (count <= m_nFreeCount) return;
    const INT_PTR n = std::max(m_nBlockSize, count - m_nFreeCount);
    if (static_cast<size_t>(n) > (PTRDIFF_MAX - sizeof(NodeBlock)) / sizeof(CNode)) AfxThrowMemoryException();
    // Through the global operator new, as every other allocation of the library, so that a
    // program that replaces it (to count or to fail allocations) sees the nodes too.
    void* raw = ::operator new(sizeof(NodeBlock) + static_cast<size_t>(n) * sizeof(CNode), std::nothrow);
    if (!raw) AfxThrowMemoryException();
    auto* block = ::new (raw) NodeBlock{static_cast<NodeBlock*>(m_pBlocks)};
    m_pBlocks = block;
    // What the block before left uncarved goes to the free chain; the new block is carved.
    for (; m_pCarve != m_pCarveEnd; ++m_pCarve) m_pNodeFree = ::new (m_pCarve) CNode{m_pNodeFree, nullptr, nullptr};
    m_pCarve = reinterpret_cast<CNode*>(block + 1);
    m_pCarveEnd = m_pCarve + n;
    m_nFreeCount += n;
}

void CObList::FreeNode(CNode* node) {
    ++m_nModCount;
    node->pNext = m_pNodeFree;
    m_pNodeFree = node;
    ++m_nFreeCount;
    if (--m_nCount == 0) RemoveAll();  // an empty list gives its blocks back
}

void CObList::RemoveAll() {
    for (auto* block = static_cast<NodeBlock*>(m_pBlocks); block;) {
        NodeBlock* next = block->pNext;
        ::operator delete(block);
        block = next;
    }
    m_pBlocks = nullptr;
    m_pNodeHead = m_pNodeTail = m_pNodeFree = nullptr;
    m_pCarve = m_pCarveEnd = nullptr;
    m_nCount = 0;
    m_nFreeCount = 0;
    ++m_nModCount;
}

CObject*& CObList::GetHead() {
    if (!m_pNodeHead) AfxThrowInvalidArgException("CObList::GetHead of an empty list");
    return m_pNodeHead->data;
}

CObject* CObList::GetHead() const { return const_cast<CObList*>(this)->GetHead(); }

CObject*& CObList::GetTail() {
    if (!m_pNodeTail) AfxThrowInvalidArgException("CObList::GetTail of an empty list");
    return m_pNodeTail->data;
}

CObject* CObList::GetTail() const { return const_cast<CObList*>(this)->GetTail(); }

CObject* CObList::RemoveHead() {
    if (!m_pNodeHead) AfxThrowInvalidArgException("CObList::RemoveHead of an empty list");
    CObject* element = m_pNodeHead->data;
    RemoveAt(PositionOf(m_pNodeHead));
    return element;
}

CObject* CObList::RemoveTail() {
    if (!m_pNodeTail) AfxThrowInvalidArgException("CObList::RemoveTail of an empty list");
    CObject* element = m_pNodeTail->data;
    RemoveAt(PositionOf(m_pNodeTail));
    return element;
}

void CObList::AddList(const CObList* other, bool atHead) {
    if (!other) AfxThrowInvalidArgException("CObList: adding a null list");
    // Counted first and walked exactly that far, so that a list added to itself stops.
    const INT_PTR n = other->m_nCount;
    ReserveNodes(n);
    if (atHead) {
        CNode* src = other->m_pNodeTail;
        for (INT_PTR i = 0; i < n; ++i, src = src->pPrev) AddHead(src->data);
    } else {
        CNode* src = other->m_pNodeHead;
        for (INT_PTR i = 0; i < n; ++i, src = src->pNext) AddTail(src->data);
    }
}

void CObList::AddHead(CObList* other) { AddList(other, true); }

void CObList::AddTail(CObList* other) { AddList(other, false); }

CObject*& CObList::GetNext(POSITION& pos) {
    CNode* node = NodeOf(pos);
    pos = PositionOf(node->pNext);
    return node->data;
}

CObject* CObList::GetNext(POSITION& pos) const { return const_cast<CObList*>(this)->GetNext(pos); }

CObject*& CObList::GetPrev(POSITION& pos) {
    CNode* node = NodeOf(pos);
    pos = PositionOf(node->pPrev);
    return node->data;
}

CObject* CObList::GetPrev(POSITION& pos) const { return const_cast<CObList*>(this)->GetPrev(pos); }

CObject*& CObList::GetAt(POSITION pos) { return NodeOf(pos)->data; }

CObject* CObList::GetAt(POSITION pos) const { return NodeOf(pos)->data; }

void CObList::SetAt(POSITION pos, CObject* element) {
    NodeOf(pos)->data = element;
    ++m_nModCount;
}

void CObList::RemoveAt(POSITION pos) {
    CNode* node = NodeOf(pos);
    if (node == m_pNodeHead)
        m_pNodeHead = node->pNext;
    else
        node->pPrev->pNext = node->pNext;
    if (node == m_pNodeTail)
        m_pNodeTail = node->pPrev;
    else
        node->pNext->pPrev = node->pPrev;
    FreeNode(node);
}

POSITION CObList::InsertBefore(POSITION pos, CObject* element) {
    if (!pos) return AddHead(element);
    CNode* old = NodeOf(pos);
    return LinkNew(old->pPrev, old, element);
}

POSITION CObList::InsertAfter(POSITION pos, CObject* element) {
    if (!pos) return AddTail(element);
    CNode* old = NodeOf(pos);
    return LinkNew(old, old->pNext, element);
}

POSITION CObList::Find(CObject* value, POSITION startAfter) const {
    for (CNode* node = startAfter ? NodeOf(startAfter)->pNext : m_pNodeHead; node; node = node->pNext)
        if (node->data == value) return PositionOf(node);
    return nullptr;
}

POSITION CObList::FindIndex(INT_PTR index) const {
    if (index < 0 || index >= m_nCount) return nullptr;
    // Walked from whichever end is nearer.
    if (index < m_nCount / 2) {
        CNode* node = m_pNodeHead;
        for (INT_PTR i = 0; i < index; ++i) node = node->pNext;
        return PositionOf(node);
    }
    CNode* node = m_pNodeTail;
    for (INT_PTR i = m_nCount - 1; i > index; --i) node = node->pPrev;
    return PositionOf(node);
}

void CObList::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<ULONGLONG>(m_nCount));
        ar.ReserveObjects(static_cast<ULONGLONG>(m_nCount));
        for (CNode* node = m_pNodeHead; node; node = node->pNext) {
            if (node->pNext) ar.PrefetchObject(node->pNext->data);  // its lookup overlaps writing this one
            ar.WriteObject(node->data);
        }
        return;
    }
    const ULONGLONG count = ar.ReadCount();
    ar.CheckCount(count, kMinElementBytes, "list elements");
    for (ULONGLONG i = 0; i < count; ++i) {
        // The node is ready before the object is read, so that an object just created
        // always finds its place and cannot be lost to a failed allocation.
        ReserveLoadingNodes(count - i);
        AddTail(ar.ReadObject(nullptr));
    }
}
