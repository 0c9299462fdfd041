// The framework's object format in CArchive: class records and references, object
// back-references, and loading that survives hostile data.
//
// Classes and objects share one index space starting at 1 (0 is null). A new class is
// written as 0xFFFF, its schema word, its name's length word and the name; a class
// already written as 0x8000|index; an object already written as its index alone. An
// index of 0x7FFF or more is written as 0x7FFF and a DWORD, bit 31 marking a class.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "platform/fw/CArchive.h"

namespace {

// Counts nesting for as long as one object's Serialize runs, on every way out.
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& m_depth;
};

// A class name from a file, fit for a message whatever bytes it holds.
std::string PrintableName(const char* name, size_t length) {
    std::string out(name, length);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
    return out;
}

std::string TooMany() {
    return "more than " + std::to_string(CArchive::nMaxMapCount) + " classes and objects";
}

// Class entries reserved along with a run of objects.
constexpr size_t kClassesReserved = 8;

std::string TooDeep() {
    return "objects nested deeper than " + std::to_string(CArchive::kMaxObjectDepth) + " levels";
}

}  // namespace

// --- storing ---------------------------------------------------------------------------

void CArchive::ThrowTooMany() const { ThrowError(CArchiveException::badIndex, TooMany()); }

void CArchive::ReserveObjects(ULONGLONG count) {
    try {
        if (IsStoring()) {
            const ULONGLONG room = nMaxMapCount - m_nMapCount;  // never more than the archive can index
            m_storeMap.Reserve(m_storeMap.Size() + static_cast<size_t>(std::min(count, room)));
            return;
        }
        // Never more than the data left could hold (each object takes a two-byte tag at least),
        // so that a hostile count reserves nothing it could not fill.
        const ULONGLONG room = nMaxMapCount - std::min<ULONGLONG>(m_loadArray.size(), nMaxMapCount);
        const ULONGLONG n = std::min({count, room, GetBytesLeft() / sizeof(WORD)});
        // The objects' classes take entries too, the first ones in among the objects: a few
        // more, so that a list of one or two classes never grows the map at its very end.
        const size_t want = m_loadArray.size() + static_cast<size_t>(n) + (n ? kClassesReserved : 0);
        // Geometric, as growing by push_back is: many small nested lists must not copy the
        // map once each.
        if (want > m_loadArray.capacity()) m_loadArray.reserve(std::max(want, 2 * m_loadArray.capacity()));
    } catch (const std::bad_alloc&) {
        // The map grows as objects come instead.
    }
}

void CArchive::WriteClass(const CRuntimeClass* cls) {
    if (!IsStoring()) ThrowWrongMode();
    if (!cls) AfxThrowInvalidArgException("CArchive::WriteClass of a null class");
    if (cls == m_pLastClassWritten) {
        WriteIndexTag(m_nLastClassIndex, true);
        return;
    }
    if (const DWORD index = m_classMap.Find(cls)) {
        WriteIndexTag(index, true);
        m_pLastClassWritten = cls;
        m_nLastClassIndex = index;
        return;
    }
    if (!cls->IsSerializable())
        throw CNotSupportedException(std::string("class ") + cls->m_lpszClassName + " is not serializable");
    const size_t length = std::strlen(cls->m_lpszClassName);
    // Refused here rather than written into an archive that could never be read back.
    if (length >= kMaxClassNameLength)
        ThrowError(CArchiveException::badClass, std::string("class name ") + cls->m_lpszClassName + " has " +
                                                    std::to_string(length) + " characters; archives hold fewer than " +
                                                    std::to_string(kMaxClassNameLength));
    *this << wNewClassTag << static_cast<WORD>(cls->m_wSchema) << static_cast<WORD>(length);
    Write(cls->m_lpszClassName, static_cast<UINT>(length));
    m_nLastClassIndex = MapStored(m_classMap, cls);
    m_pLastClassWritten = cls;
}

void CArchive::WriteObject(const CObject* object) {
    if (!IsStoring()) ThrowWrongMode();
    if (!object) {
        *this << wNullTag;
        return;
    }
    if (const DWORD index = m_storeMap.Find(object)) {
        WriteIndexTag(index, false);
        return;
    }
    // Refused when storing too, so that nothing is written that could not be loaded.
    if (m_nDepth >= kMaxObjectDepth) ThrowError(CArchiveException::genericException, TooDeep());
    const CRuntimeClass* cls = object->GetRuntimeClass();
    if (cls == m_pLastClassWritten)  // as WriteClass would, without the call
        WriteIndexTag(m_nLastClassIndex, true);
    else
        WriteClass(cls);
    // The object has its index before its data, so that references to it from inside
    // its own Serialize come out as back-references.
    MapStored(m_storeMap, object);
    DepthGuard depth(m_nDepth);
    const_cast<CObject*>(object)->Serialize(*this);
}

// --- loading ---------------------------------------------------------------------------

CRuntimeClass* CArchive::LoadClassRecord() {
    WORD schema, length;
    *this >> schema >> length;
    // Checked before reading, so that a hostile length allocates nothing.
    if (length >= kMaxClassNameLength)
        ThrowError(CArchiveException::badClass, "class name of " + std::to_string(length) + " characters; names are shorter than " +
                                                    std::to_string(kMaxClassNameLength));
    char name[kMaxClassNameLength];
    Read(name, length);
    name[length] = '\0';
    // Spelled out only for a message: loading a good class record allocates nothing.
    const auto shown = [&] { return PrintableName(name, length); };
    // An embedded NUL would otherwise find the class named by the bytes before it.
    CRuntimeClass* cls = std::memchr(name, 0, length) ? nullptr : CRuntimeClass::FromName(static_cast<LPCSTR>(name));
    if (!cls) ThrowError(CArchiveException::badClass, "unknown class '" + shown() + "'");
    if (!cls->IsSerializable()) ThrowError(CArchiveException::badClass, "class '" + shown() + "' is not serializable");
    if (schema != cls->m_wSchema)
        ThrowError(CArchiveException::badSchema, "class '" + shown() + "' stored with schema " + std::to_string(schema) +
                                                     ", this program reads schema " + std::to_string(cls->m_wSchema));
    if (m_loadArray.size() >= nMaxMapCount) ThrowTooMany();
    KivTranslateBadAlloc([&] { m_loadArray.push_back(LoadEntry::Class(cls)); });
    return cls;
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* requested, UINT* schema, DWORD* objectTag) {
    if (IsStoring()) ThrowWrongMode();
    const ULONGLONG tagOffset = GetOffset();
    WORD tag;
    *this >> tag;
    CRuntimeClass* cls;
    if (tag == wNewClassTag) {
        cls = LoadClassRecord();
    } else {
        DWORD index;
        bool isClass;
        if (tag == wBigObjectTag) {
            DWORD big;
            *this >> big;
            isClass = (big & dwBigClassTag) != 0;
            index = big & ~dwBigClassTag;
        } else {
            isClass = (tag & wClassTag) != 0;
            index = tag & ~static_cast<DWORD>(wClassTag);
        }
        if (!isClass) {
            if (!objectTag)
                ThrowErrorAt(tagOffset, CArchiveException::badIndex, "object " + std::to_string(index) + " where a class was expected");
            *objectTag = index;
            return nullptr;
        }
        if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].IsClass())
            ThrowErrorAt(tagOffset, CArchiveException::badIndex, "class reference " + std::to_string(index) + " names no class");
        cls = m_loadArray[index].AsClass();
    }
    if (requested && !(cls == m_pLastClassRead && requested == m_pLastRequested)) {
        if (!cls->IsDerivedFrom(requested))
            ThrowErrorAt(tagOffset, CArchiveException::badClass,
                         std::string(cls->m_lpszClassName) + " where " + requested->m_lpszClassName + " was expected");
        m_pLastClassRead = cls;
        m_pLastRequested = requested;
    }
    if (schema) *schema = cls->m_wSchema;
    return cls;
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested) { return ReadObjectChecked(requested, nullptr, nullptr); }

CObject* CArchive::ReadObjectOf(bool (*accept)(const CRuntimeClass*), const char* expected) {
    return ReadObjectChecked(nullptr, accept, expected);
}

// Inlined into both ways that reach it, the common one above all.
[[gnu::always_inline]] inline CObject* CArchive::LoadNewObject(CRuntimeClass* cls) {
    std::unique_ptr<CObject> object(cls->CreateObject());
    if (!object) KivThrowMemoryException([&] { return std::string("cannot create an object of class ") + cls->m_lpszClassName; });
    if (m_loadArray.size() >= nMaxMapCount) ThrowTooMany();
    const size_t index = m_loadArray.size();
    if (m_loadArray.size() == m_loadArray.capacity()) [[unlikely]]
        KivTranslateBadAlloc([&] { m_loadArray.reserve(std::max<size_t>(16, 2 * m_loadArray.capacity())); });
    m_loadArray.push_back(LoadEntry::Object(object.get()));  // room is there: cannot throw
    try {
        DepthGuard depth(m_nDepth);
        object->Serialize(*this);
    } catch (...) {
        // This object and everything loaded inside it are gone (or owned by it): later
        // references to them must fail rather than hand out a destroyed pointer.
        for (size_t i = index; i < m_loadArray.size(); ++i)
            if (!m_loadArray[i].IsClass()) m_loadArray[i] = LoadEntry::Object(nullptr);
        throw;
    }
    m_bLastObjectNew = true;
    return object.release();
}

CObject* CArchive::ReadObjectChecked(const CRuntimeClass* requested, bool (*accept)(const CRuntimeClass*), const char* expected) {
    if (IsStoring()) ThrowWrongMode();
    m_bLastObjectNew = false;
    // Most objects: a class read before, accepted before, at a usual depth. Nothing else is
    // looked at; anything else (and every error) takes the way below.
    if (CRuntimeClass* cls = TakeKnownClassTag(requested)) {
        if ((!accept || (cls == m_pLastAccepted && accept == m_pfnLastAccept)) && m_nDepth < kMaxObjectDepth) [[likely]]
            return LoadNewObject(cls);
        return ReadObjectAfterTag(cls, 0, GetOffset() - sizeof(WORD), requested, accept, expected);
    }
    return ReadObjectTagged(requested, accept, expected);
}

CObject* CArchive::ReadObjectTagged(const CRuntimeClass* requested, bool (*accept)(const CRuntimeClass*), const char* expected) {
    const ULONGLONG tagOffset = GetOffset();
    DWORD objectTag = 0;
    CRuntimeClass* cls = ReadClass(requested, nullptr, &objectTag);
    return ReadObjectAfterTag(cls, objectTag, tagOffset, requested, accept, expected);
}

CObject* CArchive::ReadObjectAfterTag(CRuntimeClass* cls, DWORD objectTag, ULONGLONG tagOffset, const CRuntimeClass* requested,
                                      bool (*accept)(const CRuntimeClass*), const char* expected) {
    const auto refuse = [&](const CRuntimeClass* c) {
        if (!accept || (c == m_pLastAccepted && accept == m_pfnLastAccept)) return;
        if (!accept(c))
            ThrowErrorAt(tagOffset, CArchiveException::badClass,
                         std::string(c->m_lpszClassName) + " where " + (expected ? expected : "another class") + " was expected");
        m_pLastAccepted = c;
        m_pfnLastAccept = accept;
    };
    if (!cls) {
        if (objectTag == wNullTag) return nullptr;
        if (objectTag >= m_loadArray.size())
            ThrowErrorAt(tagOffset, CArchiveException::badIndex, "object reference " + std::to_string(objectTag) + " was never given");
        const LoadEntry entry = m_loadArray[objectTag];
        if (entry.IsClass())
            ThrowErrorAt(tagOffset, CArchiveException::badIndex, "object reference " + std::to_string(objectTag) + " names a class");
        if (!entry.AsObject())
            ThrowErrorAt(tagOffset, CArchiveException::badIndex,
                         "object reference " + std::to_string(objectTag) + " names an object whose loading failed");
        CObject* object = entry.AsObject();
        refuse(object->GetRuntimeClass());
        if (requested && !object->IsKindOf(requested))
            ThrowErrorAt(tagOffset, CArchiveException::badClass,
                         std::string(object->GetRuntimeClass()->m_lpszClassName) + " where " + requested->m_lpszClassName +
                             " was expected");
        return object;
    }
    refuse(cls);
    // Null and back-references create nothing and may come at any depth, as when storing.
    if (m_nDepth >= kMaxObjectDepth) ThrowErrorAt(tagOffset, CArchiveException::genericException, TooDeep());
    return LoadNewObject(cls);
}


CObject* KivArchiveReadObject(CArchive& ar, const CRuntimeClass* requested) { return ar.ReadObject(requested); }
