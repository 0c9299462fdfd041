// The common operations of a persistable class level, written once: each class states
// its field table in Level() and these macros give it Serialize, SerializeXML, MakeCopy
// and its own operator=, all walking that one table after the base class's part.
#pragma once

#include "kivbase/CKivObject.h"
#include "kivbase/persist/KivPersist.h"

/// In the class body: the run-time class, the field table and the common operations.
#define KIV_DECLARE_PERSIST_LEVEL(Class)                                     \
    DECLARE_SERIAL(Class)                                                    \
public:                                                                      \
    static const KivClassLevel& Level();                                     \
    void Serialize(CArchive& ar) override;                                   \
    void SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node) override;    \
    CKivObject* MakeCopy() const override;                                   \
    virtual Class& operator=(const Class& src);                              \
    /** A default object given src's data (its selection flag is fresh). */  \
    Class(const Class& src);

/// Serialize: the base's record, then this level. SerializeXML: this level's element, then
/// the base's element inside its "BaseObject". operator=: the base's, then this level.
#define KIV_IMPLEMENT_PERSIST_LEVEL(Class, Base) \
    KIV_IMPLEMENT_PERSIST_CLASS(Class, Base)     \
    KIV_IMPLEMENT_PERSIST_FORMATS(Class, Base)   \
    KIV_IMPLEMENT_PERSIST_ASSIGN(Class, Base)

// The three parts of KIV_IMPLEMENT_PERSIST_LEVEL, for odd classes that write one part by hand.

/// The run-time class, MakeCopy and the copy constructor.
#define KIV_IMPLEMENT_PERSIST_CLASS(Class, Base)                         \
    IMPLEMENT_SERIAL(Class, Base, 0)                                     \
    CKivObject* Class::MakeCopy() const { return KivMakeCopyOf(*this); } \
    Class::Class(const Class& src) : Class() { Class::operator=(src); }

/// Serialize and SerializeXML walking the level's table after (XML: around) the base's part;
/// the link tells KIV_LEVEL, and so the registration, that this Serialize is the engine's.
/// Before the class's KIV_LEVEL in its source file.
#define KIV_IMPLEMENT_PERSIST_FORMATS(Class, Base)                                          \
    [[maybe_unused]] static const KivLevelLink* KivEngineLink(KivExact<Class>) {            \
        static constexpr KivLevelLink link{                                                 \
            RUNTIME_CLASS(Class), RUNTIME_CLASS(Base), KivLevelFnOf<Base>(),                \
            [](CArchive& a, CObject* o) { static_cast<Class*>(o)->Base::Serialize(a); },    \
            [](void (*use)(void*, const CObject*), void* context) {                         \
                const Class object;                                                         \
                use(context, &object);                                                      \
            }};                                                                             \
        return &link;                                                                       \
    }                                                                                       \
    void Class::Serialize(CArchive& ar) { KivSerializeLevels(ar, this, Level(), *KivEngineLink(KivExact<Class>{})); } \
    void Class::SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node) {                    \
        if (IXMLDOMNode* baseNode = KivSerializeLevelXML(doc, node, this, Level()))         \
            Base::SerializeXML(doc, baseNode);                                              \
    }

/// operator=: the base's, then the level's table.
#define KIV_IMPLEMENT_PERSIST_ASSIGN(Class, Base)  \
    Class& Class::operator=(const Class& src) {    \
        Base::operator=(src);                      \
        KivAssignLevel(this, &src, Level());       \
        return *this;                              \
    }

/// Default(): the base's Default, then this level's table defaults.
#define KIV_IMPLEMENT_DEFAULT(Class, Base) \
    void Class::Default() {                \
        Base::Default();                   \
        KivDefaultLevel(this, Level());    \
    }

/// The level's table, built once on first use: KIV_LEVEL(Class, "Element", constant, flags, fields...).
#define KIV_LEVEL(Class, element, loaderConstant, flags, ...)                                  \
    const KivClassLevel& Class::Level() {                                                     \
        using Self = Class;                                                                   \
        static const KivFieldDef fields[] = {__VA_ARGS__};                                    \
        static KivLevelCache cache;                                                           \
        static const KivClassLevel level{#Class, element, loaderConstant, flags, fields, &cache,   \
                                         KivEngineLink(KivExact<Class>{})};                   \
        return level;                                                                         \
    }

/// A level with no fields of its own (its record is the version word alone).
#define KIV_LEVEL_EMPTY(Class, element, loaderConstant, flags)                                 \
    const KivClassLevel& Class::Level() {                                                     \
        static KivLevelCache cache;                                                           \
        static const KivClassLevel level{#Class, element, loaderConstant, flags, {}, &cache,   \
                                         KivEngineLink(KivExact<Class>{})};               \
        return level;                                                                         \
    }
