// The persistence engine: walks a class level's field table for the archive, XML,
// assignment, defaults, comparison and display. A persistable class's own functions are
// then one line each; odd classes use the finer XML steps below for what is odd.
#pragma once

#include <concepts>
#include <string>
#include <vector>

#include "kivbase/CKivObject.h"
#include "kivbase/persist/KivFieldTable.h"

// ---- archive ----

/// The definition of a level's archive part (KivLevelByValue.cpp), value by value through
/// the archive's typed operators. Storing: version word 0, then each persisted field in
/// table order. Loading: the version word, the version converter (unless the level skips
/// it), then each field in table order, an optional field only when the converted version
/// is not negative; returns the converted version. Archive exceptions pass on with the
/// class and field added to their message. The engine's fast path gives exactly the same.
void KivStoreLevel(CArchive& ar, const CObject* object, const KivClassLevel& level);
int KivLoadLevel(CArchive& ar, CObject* object, const KivClassLevel& level);
/// Both directions, by the archive's mode.
void KivSerializeLevel(CArchive& ar, CObject* object, const KivClassLevel& level);
/// Rethrows the archive exception being handled with the level and field (null: the
/// version word) added to its message.
[[noreturn]] void KivRethrowNamingField(CArchiveException& e, const KivClassLevel& level, const char* field);

/// The Serialize of KIV_IMPLEMENT_PERSIST_FORMATS: the whole record through its plan when
/// the class has one (made when it registered) and the archive's buffer holds the record;
/// otherwise the base's Serialize, then KivSerializeLevel for this level.
void KivSerializeLevels(CArchive& ar, CObject* object, const KivClassLevel& level, const KivLevelLink& link);

/// The table of a class for KivLevelLink::baseLevel, or null when it declares none.
template <class C>
constexpr KivLevelFn KivLevelFnOf() {
    if constexpr (requires { { C::Level() } -> std::same_as<const KivClassLevel&>; }) return &C::Level;
    else return nullptr;
}

/// A class's KivLevelLink when its Serialize is the engine's own. KIV_IMPLEMENT_PERSIST_FORMATS
/// declares an overload for its class, beside the class; every other class finds this one.
template <class C>
struct KivExact {};
template <class C>
constexpr const KivLevelLink* KivEngineLink(KivExact<C>) {
    return nullptr;
}

// ---- XML ----

/// Child element names every class level uses.
inline constexpr const char* kKivXmlDataMember = "DataMember";
inline constexpr const char* kKivXmlBaseObject = "BaseObject";

/// Both directions of one level: the element, its "Version", its "DataMember" and its
/// "BaseObject". Returns the "BaseObject" node to hand to the base class, or null when the
/// base must not be visited (storing stopped, element or "BaseObject" absent on load).
IXMLDOMNode* KivSerializeLevelXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, CObject* object, const KivClassLevel& level);

/// The level's element with its "DataMember" fields, both directions; the element, or null
/// when storing stopped or the element is absent on load. For classes with more children.
IXMLDOMNode* KivXmlLevelElement(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, CObject* object, const KivClassLevel& level);
/// Storing: a new child element of that name under element; loading: the first child of
/// that name. Null when it cannot be made, is absent, or element is null.
IXMLDOMNode* KivXmlChild(CKivXMLDOMDocObj* doc, IXMLDOMNode* element, const char* name);

/// Storing: the level's element with "Version" 0 under node, or null if it cannot be made.
IXMLDOMNode* KivXmlCreateElement(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, const KivClassLevel& level);
/// Loading: the level's element under node (its "Version", which changes nothing, is not
/// read), or null.
IXMLDOMNode* KivXmlFindElement(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, const KivClassLevel& level);
/// Writes every persisted field as an attribute of dataMember, in table order.
void KivXmlStoreFields(CKivXMLDOMDocObj* doc, IXMLDOMNode* dataMember, const CObject* object, const KivClassLevel& level);
/// Reads every persisted field from dataMember; an absent attribute loads as the zeroed
/// record's value (0, empty text), an absent or short block leaves the member unchanged.
void KivXmlLoadFields(CKivXMLDOMDocObj* doc, IXMLDOMNode* dataMember, CObject* object, const KivClassLevel& level);

// ---- memory-only operations ----

/// Sets every field of the level (persisted or not) to its table default, member by member.
void KivDefaultLevelByTable(CObject* object, const KivClassLevel& level);
/// The same, as the constructors run it: as copies of each number's bytes once the level's
/// class has registered and its defaults are all numbers.
inline void KivDefaultLevel(CObject* object, const KivClassLevel& level) {
    if (level.cache)
        if (const KivNumberDefaults* numbers = level.cache->numberDefaults.load(std::memory_order_acquire))
            return numbers->Apply(object);
    KivDefaultLevelByTable(object, level);
}
/// Copies every field of the level from src (a field marked kKivFieldResetOnAssign is set
/// to its default instead; one marked kKivFieldNoAssign is left alone).
void KivAssignLevel(CObject* dst, const CObject* src, const KivClassLevel& level);
/// True when every persisted field of the level is equal (bit-equal for floating point).
bool KivEqualLevel(const CObject* a, const CObject* b, const KivClassLevel& level);

// ---- the registry of levels, for generic walkers (comparison, display, tests) ----

/// Records the field table of a run-time class (idempotent), and prepares its level once: the
/// plan of its whole record when every level from the root up is the engine's own and of
/// fixed size, its defaults as bytes when they are all numbers, and whether its XML names
/// are sound. A class that never registers is stored and loaded the plain way.
void KivRegisterLevel(const CRuntimeClass* cls, KivLevelFn level);
void KivUnregisterLevel(const CRuntimeClass* cls);
/// The level of exactly that class, or null when the class declares none.
const KivClassLevel* KivFindLevel(const CRuntimeClass* cls);
/// The levels of a class and its bases, root first.
std::vector<const KivClassLevel*> KivLevelChain(const CRuntimeClass* cls);
/// 0 when both are objects of the same class with equal persisted fields at every level.
int KivCompareObjects(const CKivObject* a, const CKivObject* b);

/// A field's value as text for people: numbers as XML spells them ("0.5", "4294967295"),
/// blocks as hexadecimal bytes, text as UTF-8.
std::string KivFormatField(const KivFieldDef& field, const CObject* object);
