#include "KfxFormatDoc.h"

#include <cstdio>

#include "keyfrm/KivFXKeyFrmStartup.h"
#include "kivbase/CKivObList.h"

namespace {

int EncodedBytes(const KivFieldDef& f) { return (f.flags & kKivFieldOwnFormat) ? -1 : f.ArchiveBytes(); }

const char* EncName(const KivFieldDef& f) {
    if (f.flags & kKivFieldOwnFormat) return "the class's own form";
    switch (f.enc) {
    case KivEnc::none: return "not stored";
    case KivEnc::i16: return "16-bit, sign-extended on load";
    case KivEnc::u16: return "16-bit, zero-extended on load";
    case KivEnc::i32: return "32-bit signed";
    case KivEnc::u32: return "32-bit unsigned";
    case KivEnc::f32: return "float";
    case KivEnc::f64: return "double";
    case KivEnc::block: return "raw block";
    case KivEnc::wstr: return "wide string";
    }
    return "?";
}

std::string DefaultText(const KivFieldDef& f) {
    if (f.flags & kKivFieldOwnFormat) return "the class's own";
    char buf[64];
    switch (f.member) {
    case KivMember::wstr: return "\"\"";
    case KivMember::custom: return "empty";
    case KivMember::block: {
        bool zero = true;
        for (UINT i = 0; i < f.blockSize; ++i) zero = zero && f.defBlock[i] == 0;
        if (zero) return "all zero";
        std::string hex;
        for (UINT i = 0; i < f.blockSize; ++i) {
            std::snprintf(buf, sizeof buf, "%s%02X", i ? " " : "", f.defBlock[i]);
            hex += buf;
        }
        return "bytes " + hex;
    }
    case KivMember::u32: std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(f.defNum)); return buf;
    default: std::snprintf(buf, sizeof buf, "%.9g", f.defNum); return buf;
    }
}

// Bytes a level's archive part takes (version word included); -1 when it varies (text).
int LevelArchiveBytes(const KivClassLevel& level) {
    int total = 2;  // the version word
    for (const auto& f : level.fields) {
        const int n = EncodedBytes(f);
        if (n < 0) return -1;
        total += n;
    }
    return total;
}

// Bytes of a class's record after CKivObject's part: every level root first; -1 if it varies.
int ClassArchiveBytes(const CRuntimeClass* cls) {
    int total = 0;
    for (const KivClassLevel* level : KivLevelChain(cls)) {
        const int n = LevelArchiveBytes(*level);
        if (n < 0) return -1;
        total += n;
    }
    return total;
}

}  // namespace

std::string KfxDescribeClass(const CRuntimeClass* cls) {
    std::string out = "### " + std::string(cls->m_lpszClassName) + "\n\n";
    const auto chain = KivLevelChain(cls);
    std::string path;
    for (const KivClassLevel* level : chain) path += (path.empty() ? "" : " → ") + std::string(level->className);
    const int record = ClassArchiveBytes(cls);
    // A list class (a track) writes its elements first, then its own level.
    const char* after = cls->IsDerivedFrom(RUNTIME_CLASS(CKivObList)) ? "CKivObList's part (its elements)" : "CKivObject's part";
    out += "Levels: " + path + ". Record after " + after + ": " +
           (record < 0 ? std::string("varies (holds text or a list)") : std::to_string(record) + " bytes") + ".\n\n";
    const KivClassLevel* level = KivFindLevel(cls);
    if (!level) return out;
    out += "Own level: element \"" + std::string(level->element) + "\", loader constant " + std::to_string(level->loaderConstant) +
           (level->HasDataMember() ? ", \"DataMember\"" : ", no \"DataMember\"");
    if (level->flags & kKivLevelSkipVersionConvert) out += ", version word skipped on load";
    if (level->flags & kKivLevelKeptByDefault) out += ", not reset by Default()";
    const int n = LevelArchiveBytes(*level);
    out += n < 0 ? ", archive part varies.\n" : ", archive part " + std::to_string(n) + " bytes.\n";
    bool header = false;
    for (const auto& f : level->fields) {
        if (!header) {
            out += "\n| Field | Archive | Bytes | XML code | Default |\n|---|---|---|---|---|\n";
            header = true;
        }
        const int b = EncodedBytes(f);
        const std::string name = f.IsPersisted() ? "\"" + std::string(f.name) + "\""
                                 : f.IsStored()  ? "`" + std::string(f.name) + "` (stored in the class's own form)"
                                 : (f.flags & kKivFieldResetOnAssign) ? "`" + std::string(f.name) + "` (not stored, reset by operator=)"
                                                                      : "`" + std::string(f.name) + "` (not stored)";
        out += "| " + name + ((f.flags & kKivFieldOptional) ? " (optional last)" : "") + " | " + EncName(f) + " | " +
               (b < 0 ? std::string("varies") : std::to_string(b)) + " | " +
               (f.xml == KivXml::none ? std::string("-") : std::to_string(static_cast<int>(f.xml))) + " | " + DefaultText(f) + " |\n";
    }
    return out + "\n";
}

std::string KfxDescribeAllFormats() {
    std::string out;
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses())
        if (c.level) out += KfxDescribeClass(c.runtimeClass);
    return out;
}
