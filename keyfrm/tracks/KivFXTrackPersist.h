// The common operations of a persistable track, written once: the list's part (the
// keyframes) first, then the track's own field table, in both formats.
#pragma once

#include "kivbase/CKivObList.h"
#include "kivbase/persist/KivPersist.h"

/// In the class body: the run-time class, the field table and the common operations.
#define KIV_DECLARE_PERSIST_TRACK(Class)                                                        \
    DECLARE_SERIAL(Class)                                                                       \
public:                                                                                         \
    static const KivClassLevel& Level();                                                        \
    /** The keyframes (the list's part), then this track's fields; archive exceptions pass. */ \
    void Serialize(CArchive& ar) override;                                                      \
    /** This track's element, with the list's XML (the keyframes) in its "BaseObject". */      \
    void SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node) override;                       \
    /** Copies of src's keyframes, then its fields; CMemoryException leaves this unchanged. */ \
    virtual Class& operator=(const Class& src);                                                 \
    /** The same when src is a Class; from any other list only the keyframes are copied. */    \
    CKivObList& operator=(const CKivObList& src) override;                                      \
    /** 0 when other is a Class with equal stored fields and equal keyframes in order. */      \
    int Compare(const CKivObList* other) const override;                                        \
    Class(const Class& src);

#define KIV_IMPLEMENT_PERSIST_TRACK(Class)                                                   \
    IMPLEMENT_SERIAL(Class, CKivObList, 0)                                                   \
    void Class::Serialize(CArchive& ar) {                                                    \
        CKivObList::Serialize(ar);                                                           \
        KivSerializeLevel(ar, this, Level());                                                \
    }                                                                                        \
    void Class::SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node) {                     \
        if (IXMLDOMNode* baseNode = KivSerializeLevelXML(doc, node, this, Level()))          \
            CKivObList::SerializeXML(doc, baseNode);                                         \
    }                                                                                        \
    Class::Class(const Class& src) : Class() { Class::operator=(src); }                      \
    Class& Class::operator=(const Class& src) {                                              \
        CKivObList::operator=(src);                                                          \
        KivAssignLevel(this, &src, Level());                                                 \
        return *this;                                                                        \
    }                                                                                        \
    CKivObList& Class::operator=(const CKivObList& src) {                                    \
        if (src.IsKindOf(RUNTIME_CLASS(Class))) return Class::operator=(static_cast<const Class&>(src)); \
        return CKivObList::operator=(src);                                                   \
    }                                                                                        \
    int Class::Compare(const CKivObList* other) const {                                      \
        if (other == this) return 0;                                                         \
        if (!other || other->GetRuntimeClass() != GetRuntimeClass()) return 1;               \
        if (!KivEqualLevel(this, other, Level())) return 1;                                  \
        return CKivObList::Compare(other);                                                   \
    }
