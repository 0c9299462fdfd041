// The base library's persistable object: the root of every keyframe and effect object.
// It adds assignment, comparison, copying and an XML form to the framework's object.
#pragma once

#include <cstddef>
#include <exception>
#include <memory>
#include <new>

#include "platform/fw/CArchive.h"
#include "platform/fw/CObject.h"
#include "platform/fw/KivSmallObjectPool.h"

class CKivXMLDOMDocObj;
namespace pugi {
struct xml_node_struct;
}
using IXMLDOMNode = pugi::xml_node_struct;

class CKivObject : public CObject {
    DECLARE_SERIAL(CKivObject)
public:
    CKivObject() = default;
    ~CKivObject() override = default;
    /// The base object's own part is empty in the archive.
    void Serialize(CArchive& ar) override;
    virtual CKivObject& operator=(const CKivObject& src);
    /// 0 when other is an object of the same class whose persisted fields all equal this
    /// one's (field by field, through the registered field tables); nonzero otherwise.
    virtual int Compare(const CKivObject* other) const;
    /// A new object of the same class holding the same data, or null on failure.
    virtual CKivObject* MakeCopy() const;
    /// The base object's own XML is empty: nothing is written under node, nothing read.
    virtual void SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node);

    // Keyframes are made and destroyed by the hundred thousand (loading, sampling, copying):
    // they come from the library's small-object pool. Every destructor is virtual, so delete
    // hands the pool the size of the object's own class.
    static void* operator new(std::size_t size) { return KivPoolAllocate(size); }
    static void operator delete(void* p, std::size_t size) noexcept { KivPoolFree(p, size); }
    static void* operator new(std::size_t size, std::align_val_t al) { return ::operator new(size, al); }
    static void operator delete(void* p, std::size_t size, std::align_val_t al) noexcept { KivGlobalDelete(p, size, al); }

protected:
    CKivObject(const CKivObject&) = default;
};

/// MakeCopy's common rule: default-construct an object of the class, assign the source with
/// the class's own operator=, and turn any failure on the way into null.
template <class C>
CKivObject* KivMakeCopyOf(const C& src) {
    try {
        auto copy = std::make_unique<C>();
        *copy = src;
        return copy.release();
    } catch (const std::exception&) {
        return nullptr;  // memory or framework exception: the half-made copy is gone already
    }
}
