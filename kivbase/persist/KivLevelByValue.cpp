// The definition of a level's archive part: its version word, then each persisted field in
// table order, value by value through the archive's own typed operators. Whatever else the
// engine does to go faster must give exactly these bytes, these values and these errors.
#include <cstdint>
#include <string>
#include <utility>

#include "kivbase/KivVersion.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "kivbase/persist/KivPersist.h"

namespace {

void StoreField(CArchive& ar, const KivFieldDef& f, const void* m) {
    switch (f.enc) {
    case KivEnc::none: break;
    case KivEnc::i16:
    case KivEnc::u16: ar << static_cast<WORD>(static_cast<std::uint64_t>(KivGetInt(f, m))); break;  // the low 16 bits
    case KivEnc::i32:
    case KivEnc::u32: ar << static_cast<DWORD>(static_cast<std::uint64_t>(KivGetInt(f, m))); break;
    case KivEnc::f32: ar << KivGetFloat(f, m); break;
    case KivEnc::f64: ar << KivGetReal(f, m); break;
    case KivEnc::block: {
        BYTE image[kKivMaxBlockSize];
        f.packBlock(m, image);
        ar.Write(image, f.blockSize);
        break;
    }
    case KivEnc::wstr: ar << *static_cast<const CString*>(m); break;
    }
}

void LoadField(CArchive& ar, const KivFieldDef& f, void* m) {
    switch (f.enc) {
    case KivEnc::none: break;
    case KivEnc::i16: {
        short v;
        ar >> v;
        KivSetInt(f, m, v);  // sign-extended
        break;
    }
    case KivEnc::u16: {
        WORD v;
        ar >> v;
        KivSetInt(f, m, v);  // zero-extended
        break;
    }
    case KivEnc::i32: {
        int v;
        ar >> v;
        KivSetInt(f, m, v);
        break;
    }
    case KivEnc::u32: {
        DWORD v;
        ar >> v;
        KivSetInt(f, m, v);
        break;
    }
    case KivEnc::f32: {
        float v;
        ar >> v;
        KivSetFloat(f, m, v);
        break;
    }
    case KivEnc::f64: {
        double v;
        ar >> v;
        KivSetReal(f, m, v);
        break;
    }
    case KivEnc::block: {
        BYTE image[kKivMaxBlockSize];
        ar.Read(image, f.blockSize);  // raises end-of-file, consuming nothing, when the block is cut short
        f.unpackBlock(image, m);
        break;
    }
    case KivEnc::wstr: ar >> *static_cast<CString*>(m); break;
    }
}

}  // namespace

void KivStoreLevel(CArchive& ar, const CObject* object, const KivClassLevel& level) {
    ar << WORD{0};  // this library always writes class version 0
    for (const KivFieldDef& f : level.fields)
        if (f.IsPersisted()) StoreField(ar, f, f.At(object));
}

int KivLoadLevel(CArchive& ar, CObject* object, const KivClassLevel& level) {
    const KivFieldDef* current = nullptr;  // null while the version word is read
    try {
        WORD stored;
        ar >> stored;
        int converted = 0;
        if (!(level.flags & kKivLevelSkipVersionConvert))
            KivVersionConvert(stored, level.loaderConstant, converted, KivPublicToUnicode(object->GetRuntimeClass()->m_lpszClassName));
        for (const KivFieldDef& f : level.fields) {
            if (!f.IsPersisted()) continue;
            if ((f.flags & kKivFieldOptional) && converted < 0) continue;  // older data without it
            current = &f;
            LoadField(ar, f, f.At(object));
        }
        return converted;
    } catch (CArchiveException& e) {
        KivRethrowNamingField(e, level, current ? current->name : nullptr);
    }
}

void KivRethrowNamingField(CArchiveException& e, const KivClassLevel& level, const char* field) {
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
