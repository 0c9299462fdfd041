// The memory-only half of the persistence engine: defaults, assignment, comparison,
// display, and the registry of class levels that generic walkers use.
#include <bit>
#include <charconv>
#include <cstring>
#include <map>

#include "kivbase/persist/KivLevelPlan.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "kivbase/persist/KivPersist.h"

namespace {

std::map<const CRuntimeClass*, KivLevelFn>& LevelRegistry() {
    // Never destroyed, for the same reason as the run-time class registry.
    static auto* registry = new std::map<const CRuntimeClass*, KivLevelFn>;
    return *registry;
}

bool EqualField(const KivFieldDef& f, const void* a, const void* b) {
    switch (f.member) {
    case KivMember::i32: return *static_cast<const int*>(a) == *static_cast<const int*>(b);
    case KivMember::i16: return *static_cast<const short*>(a) == *static_cast<const short*>(b);
    case KivMember::u32: return *static_cast<const DWORD*>(a) == *static_cast<const DWORD*>(b);
    case KivMember::u8: return *static_cast<const BYTE*>(a) == *static_cast<const BYTE*>(b);
    // Bit equality, so that a stored NaN equals itself after a round trip.
    case KivMember::f32: return std::bit_cast<DWORD>(*static_cast<const float*>(a)) == std::bit_cast<DWORD>(*static_cast<const float*>(b));
    case KivMember::f64:
        return std::bit_cast<ULONGLONG>(*static_cast<const double*>(a)) == std::bit_cast<ULONGLONG>(*static_cast<const double*>(b));
    case KivMember::wstr: return *static_cast<const CString*>(a) == *static_cast<const CString*>(b);
    case KivMember::block: {
        BYTE x[kKivMaxBlockSize], y[kKivMaxBlockSize];
        f.packBlock(a, x);
        f.packBlock(b, y);
        return std::memcmp(x, y, f.blockSize) == 0;
    }
    case KivMember::custom: return f.custom->equal(a, b);
    }
    return false;
}

void AssignField(const KivFieldDef& f, void* d, const void* s) {
    switch (f.member) {
    case KivMember::i32: *static_cast<int*>(d) = *static_cast<const int*>(s); break;
    case KivMember::i16: *static_cast<short*>(d) = *static_cast<const short*>(s); break;
    case KivMember::u32: *static_cast<DWORD*>(d) = *static_cast<const DWORD*>(s); break;
    case KivMember::u8: *static_cast<BYTE*>(d) = *static_cast<const BYTE*>(s); break;
    case KivMember::f32: *static_cast<float*>(d) = *static_cast<const float*>(s); break;
    case KivMember::f64: *static_cast<double*>(d) = *static_cast<const double*>(s); break;
    case KivMember::wstr: *static_cast<CString*>(d) = *static_cast<const CString*>(s); break;
    case KivMember::block: {
        BYTE buf[kKivMaxBlockSize];
        f.packBlock(s, buf);
        f.unpackBlock(buf, d);
        break;
    }
    case KivMember::custom: f.custom->assign(d, s); break;
    }
}

// The table's default for one field, for the fields operator= resets rather than copies.
void DefaultField(const KivFieldDef& f, void* m) {
    switch (f.member) {
    case KivMember::i32:
    case KivMember::i16:
    case KivMember::u32:
    case KivMember::u8: KivSetInt(f, m, static_cast<std::int64_t>(f.defNum)); break;
    case KivMember::f32:
    case KivMember::f64: KivSetReal(f, m, f.defNum); break;
    case KivMember::wstr: static_cast<CString*>(m)->Empty(); break;
    case KivMember::block: f.unpackBlock(f.defBlock.data(), m); break;
    case KivMember::custom: f.custom->reset(m); break;
    }
}

// Text, blocks and custom members; numbers are copied as their bytes.
void DefaultField(const KivDefaultStep& s, void* m) {
    switch (s.member) {
    case KivMember::wstr: static_cast<CString*>(m)->Empty(); break;
    case KivMember::block: s.field->unpackBlock(s.field->defBlock.data(), m); break;
    case KivMember::custom: s.field->custom->reset(m); break;
    default: break;
    }
}

inline void ApplyDefaults(const KivDefaults& d, char* base) {
    d.byNumbers.Apply(reinterpret_cast<CObject*>(base));
    for (const KivDefaultStep& s : d.others) DefaultField(s, base + s.offset);
}

template <class T>
std::string ToChars(T v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace

void KivDefaultLevelPlanned(CObject* object, const KivClassLevel& level) {
    char* base = reinterpret_cast<char*>(object);
    // Every constructor of a level with more than numbers comes here: the cached plan's way
    // holds nothing to release.
    if (level.cache)
        if (const KivLevelPlan* plan = level.cache->plan.load(std::memory_order_acquire)) return ApplyDefaults(plan->defaults, base);
    KivPlanHolder holder;
    ApplyDefaults(KivCompilePlan(level, object, holder).defaults, base);
}

void KivAssignLevel(CObject* dst, const CObject* src, const KivClassLevel& level) {
    if (dst == src) return;
    KivForEachMemberPair(level, dst, src, [](const KivFieldDef& f, void* d, const void* s) {
        if (f.flags & kKivFieldNoAssign) return true;
        if (f.flags & kKivFieldResetOnAssign)
            DefaultField(f, d);
        else
            AssignField(f, d, s);
        return true;
    });
}

bool KivEqualLevel(const CObject* a, const CObject* b, const KivClassLevel& level) {
    return KivForEachMemberPair(level, const_cast<CObject*>(a), b, [](const KivFieldDef& f, const void* x, const void* y) {
        return !f.IsStored() || EqualField(f, x, y);
    });
}

void KivRegisterLevel(const CRuntimeClass* cls, KivLevelFn level) {
    if (cls && level) LevelRegistry()[cls] = level;
}

void KivUnregisterLevel(const CRuntimeClass* cls) { LevelRegistry().erase(cls); }

const KivClassLevel* KivFindLevel(const CRuntimeClass* cls) {
    const auto& reg = LevelRegistry();
    const auto it = reg.find(cls);
    return it == reg.end() ? nullptr : &it->second();
}

std::vector<const KivClassLevel*> KivLevelChain(const CRuntimeClass* cls) {
    std::vector<const KivClassLevel*> chain;
    for (const CRuntimeClass* c = cls; c; c = c->m_pBaseClass)
        if (const KivClassLevel* level = KivFindLevel(c)) chain.insert(chain.begin(), level);
    return chain;
}

int KivCompareObjects(const CKivObject* a, const CKivObject* b) {
    if (a == b) return 0;
    if (!a || !b) return a ? 1 : -1;
    const CRuntimeClass* cls = a->GetRuntimeClass();
    if (cls != b->GetRuntimeClass()) return std::strcmp(cls->m_lpszClassName, b->GetRuntimeClass()->m_lpszClassName) < 0 ? -1 : 1;
    for (const KivClassLevel* level : KivLevelChain(cls))
        if (!KivEqualLevel(a, b, *level)) return 1;
    return 0;
}

std::string KivFormatField(const KivFieldDef& f, const CObject* object) {
    const void* m = f.At(object);
    switch (f.member) {
    case KivMember::i32:
    case KivMember::i16:
    case KivMember::u32:
    case KivMember::u8: return ToChars(KivGetInt(f, m));
    case KivMember::f32: return ToChars(*static_cast<const float*>(m));
    case KivMember::f64: return ToChars(*static_cast<const double*>(m));
    case KivMember::wstr: return static_cast<const CString*>(m)->ToUtf8();
    case KivMember::block: {
        BYTE buf[kKivMaxBlockSize];
        f.packBlock(m, buf);
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::string out;
        for (UINT i = 0; i < f.blockSize; ++i) {
            if (i) out += ' ';
            out += kHex[buf[i] >> 4];
            out += kHex[buf[i] & 15];
        }
        return out;
    }
    case KivMember::custom: return "(array)";
    }
    return {};
}
