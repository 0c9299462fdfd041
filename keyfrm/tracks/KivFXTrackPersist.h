// The common operations of a persistable track, written once: the list's part (the
// keyframes) first, then the track's own field table, in both formats.
#pragma once

#include "keyfrm/core/KivPersistMacros.h"
#include "kivbase/CKivObList.h"

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

/// Serialize, SerializeXML and operator= as every persistable class has them (the list being
/// the base), the copy constructor, assignment through the list, and comparison.
#define KIV_IMPLEMENT_PERSIST_TRACK(Class)                                                   \
    IMPLEMENT_SERIAL(Class, CKivObList, 0)                                                   \
    KIV_IMPLEMENT_PERSIST_FORMATS(Class, CKivObList)                                         \
    KIV_IMPLEMENT_PERSIST_ASSIGN(Class, CKivObList)                                          \
    Class::Class(const Class& src) : Class() { Class::operator=(src); }                      \
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
