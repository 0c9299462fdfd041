// The archive half of the persistence engine. A level's archive part (its version word and
// stored fields) runs as the typed steps of its plan, and a class whose levels are all the
// engine's own as one list of steps for the whole record. When the archive's buffer holds
// (or has room for) all of it, the steps read or write the buffer directly behind one
// bounds check; otherwise they go value by value through the archive's own operators, so
// that refills, flushes and every error come exactly where and as they always do. Both ways
// share each step's code. A part of fixed size in the buffer runs as its compiled code
// (KivRecordCode) instead, mostly plain copies, when its version words are all 0.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <span>
#include <utility>
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

// The object's class name for the converter, looked up when a level first needs it.
class ClassName {
public:
    ClassName(const KivLevelPlan& plan, const CObject* object) : m_plan(plan), m_object(object) {}
    const wchar_t* Get() {
        if (!m_name) m_name = WideClassName(m_plan, m_object->GetRuntimeClass());
        return m_name;
    }

private:
    const KivLevelPlan& m_plan;
    const CObject* m_object;
    const wchar_t* m_name = nullptr;
};

// ---- one step, for each opcode ----

struct LoadState {
    ClassName& name;
    int converted = 0;  // of the level being read
};

template <int Op, class Out>
void StoreStep(Out& out, const KivStep& s, const char* base) {
    if constexpr (Op == kKivVersionStep) out.U16(0);  // this library always writes class version 0
    else if constexpr (KivOpEncoding(Op) != KivEnc::none) StoreValue<KivOpEncoding(Op), KivOpMember(Op)>(out, *s.field, base + s.offset);
}

template <int Op, class In>
void LoadStep(In& in, const KivStep& s, char* base, LoadState& state) {
    if constexpr (Op == kKivVersionStep) {
        const WORD stored = in.U16();
        state.converted = 0;
        if (!(s.level->flags & kKivLevelSkipVersionConvert))
            KivVersionConvert(stored, s.level->loaderConstant, state.converted, state.name.Get());
    } else if constexpr (KivOpEncoding(Op) != KivEnc::none) {
        if (s.optional && state.converted < 0) return;  // older data without it
        LoadValue<KivOpEncoding(Op), KivOpMember(Op)>(in, *s.field, base + s.offset);
    }
}

// ---- the walks ----

// In the buffer the steps are threaded: each step's code ends by jumping straight to the
// next step's, so that every step has a branch of its own to predict instead of all
// sharing one dispatch.
using StoreThreadedFn = BYTE* (*)(const KivStep* s, const KivStep* end, const char* base, BYTE* p);
using LoadThreadedFn = const BYTE* (*)(const KivStep* s, const KivStep* end, char* base, const BYTE* p, LoadState& state);
// Value by value through the archive: one call per step.
using StoreByValueFn = void (*)(ArchiveOut& out, const KivStep& s, const char* base);
using LoadByValueFn = void (*)(ArchiveIn& in, const KivStep& s, char* base, LoadState& state);

template <int Op>
BYTE* StoreThreaded(const KivStep* s, const KivStep* end, const char* base, BYTE* p);
template <int Op>
const BYTE* LoadThreaded(const KivStep* s, const KivStep* end, char* base, const BYTE* p, LoadState& state);

template <class Fn, template <int> class Entry, size_t... Op>
constexpr std::array<Fn, sizeof...(Op)> Table(std::index_sequence<Op...>) {
    return {Entry<static_cast<int>(Op)>::kFn...};
}
template <int Op> struct StoreThreadedEntry { static constexpr StoreThreadedFn kFn = &StoreThreaded<Op>; };
template <int Op> struct LoadThreadedEntry { static constexpr LoadThreadedFn kFn = &LoadThreaded<Op>; };
template <int Op> struct StoreByValueEntry { static constexpr StoreByValueFn kFn = &StoreStep<Op, ArchiveOut>; };
template <int Op> struct LoadByValueEntry { static constexpr LoadByValueFn kFn = &LoadStep<Op, ArchiveIn>; };

using AllOps = std::make_index_sequence<kKivArchiveOps>;
constexpr auto kStoreThreaded = Table<StoreThreadedFn, StoreThreadedEntry>(AllOps{});
constexpr auto kLoadThreaded = Table<LoadThreadedFn, LoadThreadedEntry>(AllOps{});
constexpr auto kStoreByValue = Table<StoreByValueFn, StoreByValueEntry>(AllOps{});
constexpr auto kLoadByValue = Table<LoadByValueFn, LoadByValueEntry>(AllOps{});

template <int Op>
BYTE* StoreThreaded(const KivStep* s, const KivStep* end, const char* base, BYTE* p) {
    BufferOut out{p};
    StoreStep<Op>(out, *s, base);
    if (++s == end) return out.p;
    return kStoreThreaded[s->op](s, end, base, out.p);
}

template <int Op>
const BYTE* LoadThreaded(const KivStep* s, const KivStep* end, char* base, const BYTE* p, LoadState& state) {
    BufferIn in{p};
    LoadStep<Op>(in, *s, base, state);
    if (++s == end) return in.p;
    return kLoadThreaded[s->op](s, end, base, in.p, state);
}

// Storing the steps into p, which has room for all of them; returns the end.
BYTE* StoreInBuffer(std::span<const KivStep> steps, const char* base, BYTE* p) {
    return steps.empty() ? p : kStoreThreaded[steps.front().op](steps.data(), steps.data() + steps.size(), base, p);
}

const BYTE* LoadFromBuffer(std::span<const KivStep> steps, char* base, const BYTE* p, LoadState& state) {
    return steps.empty() ? p : kLoadThreaded[steps.front().op](steps.data(), steps.data() + steps.size(), base, p, state);
}

// ---- fixed-size parts compiled into copies (KivRecordCode) ----

// A step placed at its offset of the part; never a version word, which the code keeps apart.
using StorePlacedFn = void (*)(const KivStep& s, const char* base, BYTE* p);
using LoadPlacedFn = void (*)(const KivStep& s, char* base, const BYTE* p);

template <int Op>
void StorePlaced(const KivStep& s, const char* base, BYTE* p) {
    BufferOut out{p};
    if constexpr (KivOpEncoding(Op) != KivEnc::none) StoreValue<KivOpEncoding(Op), KivOpMember(Op)>(out, *s.field, base + s.offset);
}

// Optional fields included: the code only runs for version 0.
template <int Op>
void LoadPlaced(const KivStep& s, char* base, const BYTE* p) {
    BufferIn in{p};
    if constexpr (KivOpEncoding(Op) != KivEnc::none) LoadValue<KivOpEncoding(Op), KivOpMember(Op)>(in, *s.field, base + s.offset);
}

template <int Op> struct StorePlacedEntry { static constexpr StorePlacedFn kFn = &StorePlaced<Op>; };
template <int Op> struct LoadPlacedEntry { static constexpr LoadPlacedFn kFn = &LoadPlaced<Op>; };
constexpr auto kStorePlaced = Table<StorePlacedFn, StorePlacedEntry>(AllOps{});
constexpr auto kLoadPlaced = Table<LoadPlacedFn, LoadPlacedEntry>(AllOps{});

// Walks the record code's copies group by group, in the order of KivRecordCode::Group.
class CopyRun {
public:
    explicit CopyRun(const KivRecordCode& code)
        : m_at(code.copies.data()), m_first(m_at), m_ends(code.ends.data()), m_used(code.used) {}
    /// The copies of group g; groups must be taken in order (an empty one may be left out).
    template <class F>
    bool Each(KivRecordCode::Group g, F f) {
        if (!(m_used & (1u << g))) return true;
        const KivRecordCode::Copy* const end = m_first + m_ends[g];
        do {  // a used group has one copy at least
            if (!f(*m_at)) return false;
        } while (++m_at != end);
        return true;
    }

private:
    const KivRecordCode::Copy* m_at;
    const KivRecordCode::Copy* m_first;
    const std::uint32_t* m_ends;
    std::uint32_t m_used;
};

template <size_t N>
bool CopyOut(const KivRecordCode::Copy& c, const char* base, BYTE* p) {
    std::memcpy(p + c.wire, base + c.member, N);
    return true;
}

template <size_t N>
bool CopyIn(const KivRecordCode::Copy& c, char* base, const BYTE* p) {
    std::memcpy(base + c.member, p + c.wire, N);
    return true;
}

// Storing the part into p, which has room for all of it: its copies. Inlined into its
// callers, so that a record costs no call of its own.
[[gnu::always_inline]] inline void StoreCopies(const KivRecordCode& code, const char* base, BYTE* p) {
    using Code = KivRecordCode;
    CopyRun run(code);
    // This library always writes class version 0.
    const auto& quick = code.quickVersions;  // spelled out: no loop for four words
    static_assert(KivRecordCode::kQuickVersions == 4);
    std::memset(p + quick[0], 0, sizeof(WORD));
    std::memset(p + quick[1], 0, sizeof(WORD));
    std::memset(p + quick[2], 0, sizeof(WORD));
    std::memset(p + quick[3], 0, sizeof(WORD));
    run.Each(Code::version, [&](const Code::Copy& c) { return std::memset(p + c.wire, 0, sizeof(WORD)), true; });
    run.Each(Code::copy16, [&](const Code::Copy& c) { return CopyOut<16>(c, base, p); });
    run.Each(Code::copy8, [&](const Code::Copy& c) { return CopyOut<8>(c, base, p); });
    run.Each(Code::copy4, [&](const Code::Copy& c) { return CopyOut<4>(c, base, p); });
    run.Each(Code::copy2, [&](const Code::Copy& c) { return CopyOut<2>(c, base, p); });
    run.Each(Code::zero4, [&](const Code::Copy& c) { return std::memset(p + c.wire, 0, 4), true; });
}

// The codecs and converting steps of a record part, after its copies. Out of line, so that
// the copies need no registers kept across calls.
[[gnu::noinline]] void StoreCalls(const KivRecordCode& code, const char* base, BYTE* p) {
    for (const auto& b : code.blocks) b.pack(base + b.member, p + b.wire);
    for (const auto& o : code.others) kStorePlaced[o.step.op](o.step, base, p + o.wire);
}

bool HasCalls(const KivRecordCode& code) { return (code.used & (KivRecordCode::kBlocksUsed | KivRecordCode::kOthersUsed)) != 0; }

void StoreRecord(const KivRecordCode& code, const char* base, BYTE* p) {
    StoreCopies(code, base, p);
    if (HasCalls(code)) StoreCalls(code, base, p);
}

// The code exists on little-endian hosts only, where a 16-bit value is its two bytes.
WORD HostWord(const BYTE* p) {
    WORD v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Loading the part from p, which holds all of it; false, with nothing changed, when a version
// word is not 0. Words of 0 are all the code serves: the converter maps 0 to version 0 whatever
// the class (KivVersion.h), so it has nothing to say, every optional field is present, and
// the part has the layout the code was made for (each word sits where the levels before it,
// whole, put it).

[[gnu::always_inline]] inline bool LoadCopies(const KivRecordCode& code, char* base, const BYTE* p) {
    using Code = KivRecordCode;
    CopyRun run(code);
    const auto& quick = code.quickVersions;  // spelled out: no loop for four words
    static_assert(KivRecordCode::kQuickVersions == 4);
    if (HostWord(p + quick[0]) | HostWord(p + quick[1]) | HostWord(p + quick[2]) | HostWord(p + quick[3])) return false;
    if (!run.Each(Code::version, [&](const Code::Copy& c) { return HostWord(p + c.wire) == 0; })) return false;
    run.Each(Code::copy16, [&](const Code::Copy& c) { return CopyIn<16>(c, base, p); });
    run.Each(Code::copy8, [&](const Code::Copy& c) { return CopyIn<8>(c, base, p); });
    run.Each(Code::copy4, [&](const Code::Copy& c) { return CopyIn<4>(c, base, p); });
    run.Each(Code::copy2, [&](const Code::Copy& c) { return CopyIn<2>(c, base, p); });
    // zero4 is empty in loading code.
    run.Each(Code::signed2, [&](const Code::Copy& c) {
        const int v = static_cast<short>(HostWord(p + c.wire));
        return std::memcpy(base + c.member, &v, 4), true;
    });
    run.Each(Code::unsigned2, [&](const Code::Copy& c) {
        const int v = HostWord(p + c.wire);
        return std::memcpy(base + c.member, &v, 4), true;
    });
    return true;
}

[[gnu::noinline]] void LoadCalls(const KivRecordCode& code, char* base, const BYTE* p) {
    for (const auto& b : code.blocks) b.unpack(p + b.wire, base + b.member);
    for (const auto& o : code.others) kLoadPlaced[o.step.op](o.step, base, p + o.wire);
}

bool LoadRecord(const KivRecordCode& code, char* base, const BYTE* p) {
    if (!LoadCopies(code, base, p)) return false;
    if (HasCalls(code)) LoadCalls(code, base, p);
    return true;
}

void StoreByValue(CArchive& ar, std::span<const KivStep> steps, const char* base) {
    ArchiveOut out{&ar};
    for (const KivStep& s : steps) kStoreByValue[s.op](out, s, base);
}

// current names the field being read (null: a version word), for error messages.
void LoadByValue(CArchive& ar, std::span<const KivStep> steps, char* base, LoadState& state, const KivFieldDef*& current) {
    ArchiveIn in{&ar};
    for (const KivStep& s : steps) {
        current = s.field;
        kLoadByValue[s.op](in, s, base, state);
    }
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
    std::vector<const KivLevelPlan*> plans;  // the class's own level first
    const KivClassLevel* current = &level;
    const CRuntimeClass* base = link.base;
    KivLevelFn baseLevel = link.baseLevel;
    for (int depth = 0;; ++depth) {
        KivPlanHolder holder;
        const KivLevelPlan& plan = KivPlanOf(*current, object, holder);
        if (holder || !plan.fixedBytes || depth >= kMaxChainLevels) return &kLevelByLevel;
        plans.push_back(&plan);
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
    chain->last = plans.front();
    for (auto it = plans.rbegin(); it != plans.rend(); ++it) {
        chain->steps.insert(chain->steps.end(), (*it)->archive.begin(), (*it)->archive.end());
        chain->fixedBytes += (*it)->fixedBytes;
    }
    chain->storeCode = KivCompileRecord(chain->steps, false);
    chain->loadCode = KivCompileRecord(chain->steps, true);
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

// The whole record in one pass over the buffer as its steps; false (nothing done) when the
// buffer has too little room or data for it.
bool SerializeChainSteps(CArchive& ar, CObject* object, const KivChainPlan& chain) {
    char* base = reinterpret_cast<char*>(object);
    if (ar.IsStoring()) {
        BYTE* p = ar.ReserveBuffered(chain.fixedBytes);
        if (!p) return false;
        StoreInBuffer(chain.steps, base, p);
        return true;
    }
    const BYTE* p = ar.PeekBuffered(chain.fixedBytes);
    if (!p) return false;
    ClassName name(*chain.last, object);
    LoadState state{name};
    ar.SkipBuffered(static_cast<size_t>(LoadFromBuffer(chain.steps, base, p, state) - p));
    return true;
}

// Everything but the record's compiled code: its steps, or its levels one by one. Kept out
// of line, so that the common way stays short.
[[gnu::noinline]] void SerializeLevelsOtherwise(CArchive& ar, CObject* object, const KivClassLevel& level, const KivLevelLink& link,
                                                const KivChainPlan* chain) {
    if (chain && chain->fixedBytes && SerializeChainSteps(ar, object, *chain)) return;
    link.baseSerialize(ar, object);
    KivSerializeLevel(ar, object, level);
    if (level.cache && !chain) DecideChain(level, link, object);
}

}  // namespace

void KivSerializeLevels(CArchive& ar, CObject* object, const KivClassLevel& level, const KivLevelLink& link) {
    const KivChainPlan* chain = level.cache ? level.cache->chain.load(std::memory_order_acquire) : nullptr;
    if (chain && chain->fixedBytes) {
        char* base = reinterpret_cast<char*>(object);
        // The codecs and converting steps come last, as tail calls: the copies then keep
        // nothing across a call.
        if (ar.IsStoring()) {
            if (const KivRecordCode& code = chain->storeCode; code.ready)
                if (BYTE* p = ar.ReserveBuffered(chain->fixedBytes)) {
                    StoreCopies(code, base, p);
                    if (HasCalls(code)) return StoreCalls(code, base, p);
                    return;
                }
        } else if (const KivRecordCode& code = chain->loadCode; code.ready) {
            if (const BYTE* p = ar.PeekBuffered(chain->fixedBytes))
                if (LoadCopies(code, base, p)) {
                    ar.SkipBuffered(chain->fixedBytes);  // the calls read from p, never from the archive
                    if (HasCalls(code)) return LoadCalls(code, base, p);
                    return;
                }
        }
    }
    return SerializeLevelsOtherwise(ar, object, level, link, chain);
}

void KivStoreLevel(CArchive& ar, const CObject* object, const KivClassLevel& level) {
    KivPlanHolder holder;
    const KivLevelPlan& plan = KivPlanOf(level, object, holder);
    const char* base = reinterpret_cast<const char*>(object);
    if (plan.fixedBytes)
        if (BYTE* p = ar.ReserveBuffered(plan.fixedBytes)) {
            if (plan.storeCode.ready)
                StoreRecord(plan.storeCode, base, p);
            else
                StoreInBuffer(plan.archive, base, p);
            return;
        }
    StoreByValue(ar, plan.archive, base);
}

int KivLoadLevel(CArchive& ar, CObject* object, const KivClassLevel& level) {
    KivPlanHolder holder;
    const KivLevelPlan& plan = KivPlanOf(level, object, holder);
    char* base = reinterpret_cast<char*>(object);
    ClassName name(plan, object);
    LoadState state{name};
    const KivFieldDef* current = nullptr;
    try {
        if (plan.fixedBytes)
            if (const BYTE* p = ar.PeekBuffered(plan.fixedBytes)) {
                if (plan.loadCode.ready && LoadRecord(plan.loadCode, base, p)) {
                    ar.SkipBuffered(plan.fixedBytes);
                    return 0;  // what a version word of 0 converts to
                }
                ar.SkipBuffered(static_cast<size_t>(LoadFromBuffer(plan.archive, base, p, state) - p));
                return state.converted;
            }
        LoadByValue(ar, plan.archive, base, state, current);
        return state.converted;
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
