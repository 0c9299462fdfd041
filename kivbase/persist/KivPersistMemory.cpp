// The memory-only half of the persistence engine: defaults, assignment, comparison,
// display, and the registry of class levels, which prepares each level once as its class
// registers.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "kivbase/persist/KivPersist.h"
#include "kivbase/persist/KivRecordPlan.h"

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

// Every field Default() and construction reset: all but those marked kKivFieldNoAssign.
bool IsReset(const KivFieldDef& f) { return !(f.flags & kKivFieldNoAssign); }

// ---- what registration prepares ----

// Classes chained deeper than this are not worth a plan (and no hierarchy is this deep).
constexpr int kMaxChainLevels = 64;

// The levels of cls's record, root first, when its Serialize and every base's down to
// CKivObject (whose part is empty) is the engine's own; empty otherwise.
std::vector<const KivClassLevel*> EngineChain(const CRuntimeClass* cls, const KivClassLevel& level) {
    std::vector<const KivClassLevel*> chain;
    const KivClassLevel* current = &level;
    for (int depth = 0; depth < kMaxChainLevels; ++depth) {
        // The table must be the class's own (not inherited from a base) and its Serialize the engine's.
        const KivLevelLink* link = current->engine;
        if (!link || link->self != cls) return {};
        chain.push_back(current);
        if (link->base == RUNTIME_CLASS(CKivObject)) {
            std::reverse(chain.begin(), chain.end());
            return chain;
        }
        if (!link->baseLevel) return {};
        current = &link->baseLevel();
        cls = link->base;
    }
    return {};
}

// The level's defaults as the bytes of each number member, when every reset field is a
// number; null otherwise. Kept for the life of the process with the view into them.
struct OwnedNumbers {
    KivNumberDefaults view;
    std::vector<KivNumberDefaults::Number> numbers;
};

const KivNumberDefaults* MakeNumberDefaults(const KivClassLevel& level, const CObject* prototype) {
    static_assert(sizeof(double) == 8 && sizeof(int) == 4 && sizeof(DWORD) == 4 && sizeof(float) == 4 && sizeof(short) == 2,
                  "defaults are grouped by the size of their member");
    std::array<std::vector<KivNumberDefaults::Number>, KivNumberDefaults::kSizes> bySize;
    for (const KivFieldDef& f : level.fields) {
        if (!IsReset(f)) continue;
        KivNumberDefaults::Size size;
        switch (f.member) {
        case KivMember::f64: size = KivNumberDefaults::by8; break;
        case KivMember::i32:
        case KivMember::u32:
        case KivMember::f32: size = KivNumberDefaults::by4; break;
        case KivMember::i16: size = KivNumberDefaults::by2; break;
        case KivMember::u8: size = KivNumberDefaults::by1; break;
        default: return nullptr;  // text, a block or an array: member by member
        }
        KivNumberDefaults::Number n{static_cast<const char*>(f.At(prototype)) - reinterpret_cast<const char*>(prototype), {}};
        alignas(double) BYTE image[sizeof n.image] = {};
        DefaultField(f, image);  // the default in the member's own type
        std::memcpy(n.image, image, sizeof image);
        bySize[size].push_back(n);
    }
    auto owned = std::make_unique<OwnedNumbers>();
    for (int size = 0; size < KivNumberDefaults::kSizes; ++size) {
        owned->numbers.insert(owned->numbers.end(), bySize[size].begin(), bySize[size].end());
        owned->view.ends[size] = static_cast<std::uint32_t>(owned->numbers.size());
        if (!bySize[size].empty()) owned->view.used |= static_cast<BYTE>(1u << size);
    }
    owned->view.numbers = owned->numbers.data();
    return &owned.release()->view;
}

bool XmlNamesChecked(const KivClassLevel& level) {
    if (!KivXMLIsValidName(level.element)) return false;
    for (size_t i = 0; i < level.fields.size(); ++i) {
        const KivFieldDef& f = level.fields[i];
        if (!f.IsPersisted()) continue;
        if (!KivXMLIsValidName(f.name)) return false;
        for (size_t k = 0; k < i; ++k)
            if (level.fields[k].IsPersisted() && std::strcmp(level.fields[k].name, f.name) == 0) return false;
    }
    return true;
}

// Prepares a level once, from a default object of its class when its Serialize is the
// engine's (made on the stack, so that preparing leaves no memory in use). Without memory,
// or for another class, less is prepared and walks take the plain way.
void Prepare(const CRuntimeClass* cls, const KivClassLevel& level) {
    KivLevelCache* cache = level.cache;
    if (!cache) return;
    cache->xmlNamesChecked.store(XmlNamesChecked(level), std::memory_order_release);
    const KivLevelLink* link = level.engine;
    if (!link || link->self != cls || cache->prepared.exchange(true)) return;  // once, when it first registers
    struct Context {
        const CRuntimeClass* cls;
        const KivClassLevel& level;
    } context{cls, level};
    try {
        link->withObject(
            [](void* c, const CObject* object) {
                const auto& [cls, level] = *static_cast<Context*>(c);
                level.cache->numberDefaults.store(MakeNumberDefaults(level, object), std::memory_order_release);
                const std::vector<const KivClassLevel*> chain = EngineChain(cls, level);
                // Kept for the life of the process: objects of the class may still be stored
                // from other static destructors.
                if (!chain.empty()) level.cache->record.store(KivMakeRecordPlan(chain, object).release(), std::memory_order_release);
            },
            &context);
    } catch (const std::exception&) {
        // Out of memory: the plain way, as always.
    }
}

template <class T>
std::string ToChars(T v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace

void KivDefaultLevelByTable(CObject* object, const KivClassLevel& level) {
    for (const KivFieldDef& f : level.fields)
        if (IsReset(f)) DefaultField(f, f.At(object));
}

void KivAssignLevel(CObject* dst, const CObject* src, const KivClassLevel& level) {
    if (dst == src) return;
    for (const KivFieldDef& f : level.fields) {
        if (f.flags & kKivFieldNoAssign) continue;
        if (f.flags & kKivFieldResetOnAssign)
            DefaultField(f, f.At(dst));
        else
            AssignField(f, f.At(dst), f.At(src));
    }
}

bool KivEqualLevel(const CObject* a, const CObject* b, const KivClassLevel& level) {
    return std::all_of(level.fields.begin(), level.fields.end(),
                       [&](const KivFieldDef& f) { return !f.IsStored() || EqualField(f, f.At(a), f.At(b)); });
}

void KivRegisterLevel(const CRuntimeClass* cls, KivLevelFn level) {
    if (!cls || !level) return;
    LevelRegistry()[cls] = level;
    Prepare(cls, level());
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
