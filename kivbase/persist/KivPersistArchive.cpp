// The archive half of the persistence engine.
#include <cstdint>

#include "kivbase/KivVersion.h"
#include "kivbase/persist/KivPersist.h"
#include "kivbase/persist/KivPersistList.h"
#include "kivbase/persist/KivMemberAccess.h"

namespace {

void StoreField(CArchive& ar, const KivFieldDef& f, const void* m) {
    switch (f.enc) {
    case KivEnc::none: break;
    case KivEnc::i16:
    case KivEnc::u16: ar << static_cast<WORD>(static_cast<std::uint64_t>(KivGetInt(f, m)) & 0xFFFF); break;
    case KivEnc::i32: ar << static_cast<int>(static_cast<std::uint32_t>(KivGetInt(f, m))); break;
    case KivEnc::u32: ar << static_cast<DWORD>(KivGetInt(f, m)); break;
    case KivEnc::f32: ar << static_cast<float>(KivGetReal(f, m)); break;
    case KivEnc::f64: ar << KivGetReal(f, m); break;
    case KivEnc::block: {
        BYTE buf[kKivMaxBlockSize];
        f.packBlock(m, buf);
        ar.Write(buf, f.blockSize);
        break;
    }
    case KivEnc::wstr: ar << *static_cast<const CString*>(m); break;
    }
}

void LoadField(CArchive& ar, const KivFieldDef& f, void* m) {
    switch (f.enc) {
    case KivEnc::none: break;
    case KivEnc::i16: { short v; ar >> v; KivSetInt(f, m, v); break; }
    case KivEnc::u16: { WORD v; ar >> v; KivSetInt(f, m, v); break; }
    case KivEnc::i32: { int v; ar >> v; KivSetInt(f, m, v); break; }
    case KivEnc::u32: { DWORD v; ar >> v; KivSetInt(f, m, v); break; }
    case KivEnc::f32: { float v; ar >> v; KivSetReal(f, m, v); break; }
    case KivEnc::f64: { double v; ar >> v; KivSetReal(f, m, v); break; }
    case KivEnc::block: {
        BYTE buf[kKivMaxBlockSize];
        ar.Read(buf, f.blockSize);  // raises end-of-file when the block is cut short
        f.unpackBlock(buf, m);
        break;
    }
    case KivEnc::wstr: ar >> *static_cast<CString*>(m); break;
    }
}

// The wide class name handed to the version converter, remembered for the class last seen:
// a list's objects are mostly of one class, and the converter wants a stable pointer.
const wchar_t* WideClassName(const CRuntimeClass* cls) {
    thread_local const CRuntimeClass* lastClass = nullptr;
    thread_local const wchar_t* lastName = nullptr;
    if (cls != lastClass) {
        lastName = KivPublicToUnicode(cls->m_lpszClassName);
        lastClass = cls;
    }
    return lastName;
}

[[noreturn]] void Rethrow(CArchiveException& e, const KivClassLevel& level, const char* field) {
    std::string msg = e.what();
    msg += " (while reading ";
    msg += level.className;
    if (field) {
        msg += '.';
        msg += field;
    } else {
        msg += " version word";
    }
    msg += ')';
    e.SetMessage(std::move(msg));
    throw;
}

}  // namespace

void KivStoreLevel(CArchive& ar, const CObject* object, const KivClassLevel& level) {
    ar << static_cast<WORD>(0);  // this library always writes class version 0
    KivForEachMember(level, object, [&](const KivFieldDef& f, const void* m) {
        if (f.IsPersisted()) StoreField(ar, f, m);
    });
}

int KivLoadLevel(CArchive& ar, CObject* object, const KivClassLevel& level) {
    const KivFieldDef* current = nullptr;
    try {
        WORD stored = 0;
        ar >> stored;
        int converted = 0;
        if (!(level.flags & kKivLevelSkipVersionConvert))
            KivVersionConvert(stored, level.loaderConstant, converted, WideClassName(object->GetRuntimeClass()));
        KivForEachMember(level, object, [&](const KivFieldDef& f, void* m) {
            if (!f.IsPersisted()) return;
            if ((f.flags & kKivFieldOptional) && converted < 0) return;  // older data without it
            current = &f;
            LoadField(ar, f, m);
        });
        return converted;
    } catch (CArchiveException& e) {
        Rethrow(e, level, current ? current->name : nullptr);
    }
}

void KivSerializeLevel(CArchive& ar, CObject* object, const KivClassLevel& level) {
    if (ar.IsStoring())
        KivStoreLevel(ar, object, level);
    else
        KivLoadLevel(ar, object, level);
}

void KivSerializeListLevel(CArchive& ar, CObject* object, const KivClassLevel& level, const char* listName, CObject& list) {
    if (ar.IsStoring()) {
        KivStoreLevel(ar, object, level);
        list.Serialize(ar);
        return;
    }
    if (KivLoadLevel(ar, object, level) < 0) return;  // an older record without the list
    try {
        list.Serialize(ar);
    } catch (CArchiveException& e) {
        Rethrow(e, level, listName);
    }
}
