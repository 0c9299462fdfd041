// The archive half of the persistence engine. A level's stored fields run as the typed
// steps of its plan. When the archive's buffer holds (or has room for) the whole level,
// the steps read or write the buffer directly behind one bounds check; otherwise they go
// value by value through the archive's own operators, so that refills, flushes and every
// error come exactly where and as they always do. Both ways share each value's code.
#include <bit>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "kivbase/KivVersion.h"
#include "kivbase/persist/KivLevelPlan.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "kivbase/persist/KivPersist.h"
#include "kivbase/persist/KivPersistList.h"

struct KivWideClassName {
    const CRuntimeClass* cls;
    const wchar_t* name;
};

namespace {

// ---- where values go and come from ----

struct BufferOut {
    BYTE* p;
    void U16(WORD v) {
        p[0] = static_cast<BYTE>(v);
        p[1] = static_cast<BYTE>(v >> 8);
        p += 2;
    }
    void U32(DWORD v) { KivPutU32(p, v), p += 4; }
    void U64(ULONGLONG v) { KivPutU64(p, v), p += 8; }
    void Block(const KivFieldDef& f, const void* m) { f.packBlock(m, p), p += f.blockSize; }
    // No Text: a level holding a wide string has no fixed size and never comes here.
};

struct ArchiveOut {
    CArchive* ar;
    void U16(WORD v) { *ar << v; }
    void U32(DWORD v) { *ar << v; }
    void U64(ULONGLONG v) { *ar << v; }
    void Block(const KivFieldDef& f, const void* m) {
        BYTE buf[kKivMaxBlockSize];
        f.packBlock(m, buf);
        ar->Write(buf, f.blockSize);
    }
    void Text(const CString& s) { *ar << s; }
};

struct BufferIn {
    const BYTE* p;
    WORD U16() {
        const WORD v = static_cast<WORD>(p[0] | (p[1] << 8));
        p += 2;
        return v;
    }
    DWORD U32() { return p += 4, KivGetU32(p - 4); }
    ULONGLONG U64() { return p += 8, KivGetU64(p - 8); }
    void Block(const KivFieldDef& f, void* m) { f.unpackBlock(p, m), p += f.blockSize; }
};

struct ArchiveIn {
    CArchive* ar;
    WORD U16() { WORD v; *ar >> v; return v; }
    DWORD U32() { DWORD v; *ar >> v; return v; }
    ULONGLONG U64() { ULONGLONG v; *ar >> v; return v; }
    void Block(const KivFieldDef& f, void* m) {
        BYTE buf[kKivMaxBlockSize];
        ar->Read(buf, f.blockSize);  // raises end-of-file when the block is cut short
        f.unpackBlock(buf, m);
    }
    void Text(CString& s) { *ar >> s; }
};

// ---- one value, for each pair of encoding and member kind ----

template <KivEnc E, KivMember M, class Out>
void StoreValue(Out& out, const KivFieldDef& f, const void* m) {
    using namespace kiv_detail;
    if constexpr (E == KivEnc::i16 || E == KivEnc::u16) out.U16(static_cast<WORD>(static_cast<std::uint64_t>(GetInt<M>(m)) & 0xFFFF));
    else if constexpr (E == KivEnc::i32 || E == KivEnc::u32) out.U32(static_cast<DWORD>(static_cast<std::uint64_t>(GetInt<M>(m))));
    else if constexpr (E == KivEnc::f32 && M == KivMember::f32) out.U32(std::bit_cast<DWORD>(*static_cast<const float*>(m)));
    else if constexpr (E == KivEnc::f32) out.U32(std::bit_cast<DWORD>(static_cast<float>(GetReal<M>(m))));
    else if constexpr (E == KivEnc::f64) out.U64(std::bit_cast<ULONGLONG>(GetReal<M>(m)));
    else if constexpr (E == KivEnc::block) out.Block(f, m);
    else if constexpr (E == KivEnc::wstr) {
        if constexpr (requires { out.Text(CString()); }) out.Text(*static_cast<const CString*>(m));
    }
}

template <KivEnc E, KivMember M, class In>
void LoadValue(In& in, const KivFieldDef& f, void* m) {
    using namespace kiv_detail;
    if constexpr (E == KivEnc::i16) SetInt<M>(m, static_cast<short>(in.U16()));
    else if constexpr (E == KivEnc::u16) SetInt<M>(m, in.U16());
    else if constexpr (E == KivEnc::i32) SetInt<M>(m, static_cast<int>(in.U32()));
    else if constexpr (E == KivEnc::u32) SetInt<M>(m, in.U32());
    else if constexpr (E == KivEnc::f32 && M == KivMember::f32) *static_cast<float*>(m) = std::bit_cast<float>(in.U32());
    else if constexpr (E == KivEnc::f32) SetReal<M>(m, std::bit_cast<float>(in.U32()));
    else if constexpr (E == KivEnc::f64) SetReal<M>(m, std::bit_cast<double>(in.U64()));
    else if constexpr (E == KivEnc::block) in.Block(f, m);
    else if constexpr (E == KivEnc::wstr) {
        if constexpr (requires(CString& s) { in.Text(s); }) in.Text(*static_cast<CString*>(m));
    }
}

// Every (encoding, member kind) pair, so that each step is one jump to code specialised
// for its pair. Pairs no table gives (a wide string into an integer) are here too, doing
// what the general rules in KivMemberAccess.h say.
#define KIV_MEMBER_KINDS(X, e) X(e, i32) X(e, i16) X(e, u32) X(e, u8) X(e, f32) X(e, f64) X(e, block) X(e, wstr) X(e, custom)
#define KIV_ARCHIVE_PAIRS(X)                                                                                         \
    KIV_MEMBER_KINDS(X, i16) KIV_MEMBER_KINDS(X, u16) KIV_MEMBER_KINDS(X, i32) KIV_MEMBER_KINDS(X, u32)               \
    KIV_MEMBER_KINDS(X, f32) KIV_MEMBER_KINDS(X, f64) KIV_MEMBER_KINDS(X, block) KIV_MEMBER_KINDS(X, wstr)

// The walks work on a local copy of the cursor and are inlined into their callers, so that
// the cursor stays in a register (byte stores could otherwise alias it).
template <class Out>
[[gnu::always_inline]] inline void StoreSteps(Out& sink, const KivLevelPlan& plan, const char* base) {
    Out out = sink;
    for (const KivStep& s : plan.stored) {
        const void* m = base + s.offset;
        switch (s.op) {
#define KIV_STORE_CASE(e, k) \
    case KivArchiveOp(KivEnc::e, KivMember::k): StoreValue<KivEnc::e, KivMember::k>(out, *s.field, m); break;
            KIV_ARCHIVE_PAIRS(KIV_STORE_CASE)
#undef KIV_STORE_CASE
        }
    }
    sink = out;
}

// current names the field being read, for error messages; reads from the buffer cannot fail
// and pass null.
template <class In>
[[gnu::always_inline]] inline void LoadSteps(In& source, const KivLevelPlan& plan, char* base, int converted,
                                             const KivFieldDef** current) {
    In in = source;
    for (const KivStep& s : plan.stored) {
        if (s.optional && converted < 0) continue;  // older data without it
        if (current) *current = s.field;
        void* m = base + s.offset;
        switch (s.op) {
#define KIV_LOAD_CASE(e, k) \
    case KivArchiveOp(KivEnc::e, KivMember::k): LoadValue<KivEnc::e, KivMember::k>(in, *s.field, m); break;
            KIV_ARCHIVE_PAIRS(KIV_LOAD_CASE)
#undef KIV_LOAD_CASE
        }
    }
    source = in;
}

#undef KIV_ARCHIVE_PAIRS
#undef KIV_MEMBER_KINDS

// ---- the version word ----

// One record per class ever loaded, never freed, so that a level's plan can point at the one
// it saw last without a lock.
const KivWideClassName* InternedName(const CRuntimeClass* cls, const wchar_t* name) {
    try {
        static std::mutex lock;
        static auto* names = new std::map<const CRuntimeClass*, KivWideClassName>;  // never destroyed
        const std::scoped_lock hold(lock);
        return &names->try_emplace(cls, KivWideClassName{cls, name}).first->second;
    } catch (const std::bad_alloc&) {
        return nullptr;  // the name still goes to the converter, just not remembered
    }
}

// The wide class name handed to the version converter, remembered per level for the class
// last seen: a list's objects are mostly of one class, and the converter wants a stable
// pointer.
const wchar_t* WideClassName(const KivLevelPlan& plan, const CRuntimeClass* cls) {
    const KivWideClassName* last = plan.lastClassName.load(std::memory_order_acquire);
    if (last && last->cls == cls) return last->name;
    const wchar_t* name = KivPublicToUnicode(cls->m_lpszClassName);
    if (*name)  // an empty name means memory ran out: not worth remembering
        if (const KivWideClassName* entry = InternedName(cls, name)) plan.lastClassName.store(entry, std::memory_order_release);
    return name;
}

int ConvertVersion(WORD stored, const KivClassLevel& level, const wchar_t* className) {
    int converted = 0;
    if (!(level.flags & kKivLevelSkipVersionConvert)) KivVersionConvert(stored, level.loaderConstant, converted, className);
    return converted;
}

int ConvertVersion(WORD stored, const CObject* object, const KivClassLevel& level, const KivLevelPlan& plan) {
    if (level.flags & kKivLevelSkipVersionConvert) return 0;
    return ConvertVersion(stored, level, WideClassName(plan, object->GetRuntimeClass()));
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

// ---- whole records ----

// Classes chained deeper than this are not worth a plan (and no hierarchy is this deep).
constexpr int kMaxChainLevels = 64;

// Decided for classes whose record must go level by level.
const KivChainPlan kLevelByLevel{};

// The plan of the record of the class whose Serialize is link.self, or kLevelByLevel when a
// level on the way is not the engine's own or has no fixed size. Every base's Serialize has
// run (and marked its level) by the time this is called.
const KivChainPlan* MakeChain(const KivClassLevel& level, const KivLevelLink& link, const CObject* object) {
    std::vector<KivChainPlan::Level> levels;
    const KivClassLevel* current = &level;
    const CRuntimeClass* base = link.base;
    KivLevelFn baseLevel = link.baseLevel;
    for (int depth = 0;; ++depth) {
        KivPlanHolder holder;
        const KivLevelPlan& plan = KivPlanOf(*current, object, holder);
        if (holder || !plan.fixedBytes || depth >= kMaxChainLevels) return &kLevelByLevel;
        levels.insert(levels.begin(), {current, &plan});
        if (base == RUNTIME_CLASS(CKivObject)) break;  // whose part is empty
        if (!baseLevel) return &kLevelByLevel;
        current = &baseLevel();
        const KivPlainLevelMark* mark = current->cache ? &current->cache->plain : nullptr;
        // The table must be the base's own (not inherited from further down) and its
        // Serialize the engine's.
        if (!mark || !mark->set.load(std::memory_order_acquire) || mark->self != base) return &kLevelByLevel;
        base = mark->base;
        baseLevel = mark->baseLevel;
    }
    auto chain = std::make_unique<KivChainPlan>();
    chain->levels = std::move(levels);
    for (const KivChainPlan::Level& l : chain->levels) chain->fixedBytes += l.plan->fixedBytes;
    return chain.release();  // kept for the life of the process, like the level plans
}

void DecideChain(const KivClassLevel& level, const KivLevelLink& link, const CObject* object) {
    KivLevelCache& cache = *level.cache;
    const std::scoped_lock hold(cache.compiling);
    if (cache.chain.load(std::memory_order_acquire)) return;  // decided meanwhile
    if (!cache.plain.set.load(std::memory_order_relaxed)) {
        cache.plain.self = link.self;
        cache.plain.base = link.base;
        cache.plain.baseLevel = link.baseLevel;
        cache.plain.set.store(true, std::memory_order_release);
    }
    const KivChainPlan* chain = &kLevelByLevel;
    try {
        chain = MakeChain(level, link, object);
    } catch (const std::exception&) {
        // Out of memory: the record goes level by level, as it always may.
    }
    cache.chain.store(chain, std::memory_order_release);
}

// The whole record in one pass over the buffer; false (nothing done) when the buffer has too
// little room or data for it.
bool SerializeChain(CArchive& ar, CObject* object, const KivChainPlan& chain) {
    char* base = reinterpret_cast<char*>(object);
    if (ar.IsStoring()) {
        BYTE* p = ar.ReserveBuffered(chain.fixedBytes);
        if (!p) return false;
        BufferOut out{p};
        for (const KivChainPlan::Level& l : chain.levels) {
            out.U16(0);  // this library always writes class version 0
            StoreSteps(out, *l.plan, base);
        }
        return true;
    }
    const BYTE* p = ar.PeekBuffered(chain.fixedBytes);
    if (!p) return false;
    BufferIn in{p};
    // The object's class name, looked up once for every level's converter call.
    const wchar_t* name = WideClassName(*chain.levels.back().plan, object->GetRuntimeClass());
    for (const KivChainPlan::Level& l : chain.levels) {
        const int converted = ConvertVersion(in.U16(), *l.level, name);
        LoadSteps(in, *l.plan, base, converted, nullptr);
    }
    ar.SkipBuffered(static_cast<size_t>(in.p - p));
    return true;
}

}  // namespace

void KivSerializeLevels(CArchive& ar, CObject* object, const KivClassLevel& level, const KivLevelLink& link) {
    const KivChainPlan* chain = level.cache ? level.cache->chain.load(std::memory_order_acquire) : nullptr;
    if (chain && chain->fixedBytes && SerializeChain(ar, object, *chain)) return;
    link.baseSerialize(ar, object);
    KivSerializeLevel(ar, object, level);
    if (level.cache && !chain) DecideChain(level, link, object);
}

void KivStoreLevel(CArchive& ar, const CObject* object, const KivClassLevel& level) {
    KivPlanHolder holder;
    const KivLevelPlan& plan = KivPlanOf(level, object, holder);
    const char* base = reinterpret_cast<const char*>(object);
    constexpr WORD kVersion = 0;  // this library always writes class version 0
    if (plan.fixedBytes)
        if (BYTE* p = ar.ReserveBuffered(plan.fixedBytes)) {
            BufferOut out{p};
            out.U16(kVersion);
            StoreSteps(out, plan, base);
            return;
        }
    ArchiveOut out{&ar};
    out.U16(kVersion);
    StoreSteps(out, plan, base);
}

int KivLoadLevel(CArchive& ar, CObject* object, const KivClassLevel& level) {
    KivPlanHolder holder;
    const KivLevelPlan& plan = KivPlanOf(level, object, holder);
    char* base = reinterpret_cast<char*>(object);
    const KivFieldDef* current = nullptr;
    try {
        if (plan.fixedBytes)
            if (const BYTE* p = ar.PeekBuffered(plan.fixedBytes)) {
                BufferIn in{p};
                const int converted = ConvertVersion(in.U16(), object, level, plan);
                LoadSteps(in, plan, base, converted, nullptr);
                ar.SkipBuffered(static_cast<size_t>(in.p - p));
                return converted;
            }
        ArchiveIn in{&ar};
        const int converted = ConvertVersion(in.U16(), object, level, plan);
        LoadSteps(in, plan, base, converted, &current);
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
