// The framework's object root and run-time classes: class names, schemas, dynamic
// creation, IsKindOf, and a registry so that archives and hosts can find classes by name.
#pragma once

#include <exception>

#include "platform/fw/KivTypes.h"

class CObject;
class CArchive;
class CDumpContext;

/// Schema of a class that is dynamic or creatable but not serializable.
constexpr UINT kNonSerialSchema = 0xFFFF;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;

    /// A new default-constructed object, or null when the class is not creatable or
    /// memory runs out.
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    /// True when this class is base or derives from it (a null base gives FALSE).
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
    BOOL IsSerializable() const { return m_wSchema != kNonSerialSchema; }

    /// The registered class of that name, or null.
    static CRuntimeClass* FromName(LPCSTR className);
    /// The same for a wide name; raises CMemoryException when memory runs out (never null
    /// for a registered class).
    static CRuntimeClass* FromName(LPCWSTR className);
    /// Adds a class to the registry; registering the same class twice is harmless, and a
    /// different class under a name already taken is refused (returns FALSE).
    static BOOL Register(CRuntimeClass* cls);
    /// Removes a class (at module end); unknown classes are ignored.
    static void Unregister(CRuntimeClass* cls);
};

class CObject {
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    /// Writes or reads the object's data; the root has none.
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const {}
    virtual void Dump(CDumpContext& dc) const;

    BOOL IsKindOf(const CRuntimeClass* cls) const;
    BOOL IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }

    static CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass() { return &classCObject; }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

/// Where Dump writes: a text sink for diagnostics.
class CDumpContext {
public:
    virtual ~CDumpContext() = default;
    virtual void Write(LPCSTR text) = 0;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                      \
public:                                                  \
    static CRuntimeClass class##class_name;              \
    static CRuntimeClass* GetThisClass();                \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)  \
    DECLARE_DYNCREATE(class_name)   \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define KIV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, pfnNew)                  \
    CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), \
                                                   schema, pfnNew, RUNTIME_CLASS(base_class_name)}; \
    CRuntimeClass* class_name::GetThisClass() { return RUNTIME_CLASS(class_name); }                \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    KIV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, kNonSerialSchema, nullptr)

// Creation never lets an exception out: a failed allocation or constructor gives null.
#define KIV_IMPLEMENT_CREATEOBJECT(class_name)                    \
    CObject* class_name::CreateObject() {                         \
        return KivCreateObjectNoThrow([] { return new class_name; }); \
    }

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                       \
    KIV_IMPLEMENT_CREATEOBJECT(class_name)                                                     \
    KIV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, kNonSerialSchema, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                  \
    KIV_IMPLEMENT_CREATEOBJECT(class_name)                                                     \
    KIV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
    CArchive& operator>>(CArchive& ar, class_name*& pOb) {                                     \
        pOb = static_cast<class_name*>(KivArchiveReadObject(ar, RUNTIME_CLASS(class_name)));   \
        return ar;                                                                             \
    }

/// Runs a factory and turns any allocation failure or framework exception into null.
/// Inline, so that a class's CreateObject is its constructor's call and nothing more.
template <class F>
CObject* KivCreateObjectNoThrow(F factory) {
    try {
        return factory();
    } catch (const std::exception&) {
        // bad_alloc and the framework's exceptions (which derive from std::exception)
        return nullptr;
    }
}

/// CArchive::ReadObject, callable where only this header is included.
CObject* KivArchiveReadObject(CArchive& ar, const CRuntimeClass* requested);
