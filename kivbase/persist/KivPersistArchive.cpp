// The archive half of the persistence engine: a class's Serialize takes its record's one
// fast path (KivRecordPlan.h) when the class has a plan and the archive's buffer holds the
// whole record with every version word 0, and otherwise runs its base's Serialize and then
// its own level value by value (KivLevelByValue.cpp), which defines the format.
#include <cstring>

#include "kivbase/persist/KivPersist.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "kivbase/persist/KivPersistList.h"
#include "kivbase/persist/KivRecordPlan.h"

namespace {

using Code = KivRecordCode;

// Walks a record code's copies group by group, in the order of KivRecordCode::Group.
class CopyRun {
public:
    explicit CopyRun(const Code& code) : m_at(code.copies.data()), m_first(m_at), m_ends(code.ends.data()) {}
    /// The copies of group g; groups must be taken in order (an empty one may be left out).
    /// An empty group costs the loop's one comparison.
    template <class F>
    bool Each(Code::Group g, F f) {
        for (const Code::Copy* const end = m_first + m_ends[g]; m_at != end; ++m_at)
            if (!f(*m_at)) return false;
        return true;
    }

private:
    const Code::Copy* m_at;
    const Code::Copy* m_first;
    const std::uint32_t* m_ends;
};

// The code exists on little-endian hosts only, where a 16-bit value is its two bytes.
WORD HostWord(const BYTE* p) {
    WORD v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Storing the record into p, which has room for all of it: its copies. Inlined into the
// Serialize of every class, so that a record costs no call of its own.
[[gnu::always_inline]] inline void StoreCopies(const Code& code, const char* base, BYTE* p) {
    CopyRun run(code);
    // This library always writes class version 0. Spelled out: compilers keep a loop over
    // the four slots as a loop, at about four instructions a word more.
    const auto& quick = code.quickVersions;
    static_assert(Code::kQuickVersions == 4);
    std::memset(p + quick[0], 0, sizeof(WORD));
    std::memset(p + quick[1], 0, sizeof(WORD));
    std::memset(p + quick[2], 0, sizeof(WORD));
    std::memset(p + quick[3], 0, sizeof(WORD));
    run.Each(Code::version, [&](const Code::Copy& c) { return std::memset(p + c.wire, 0, sizeof(WORD)), true; });
    run.Each(Code::copy16, [&](const Code::Copy& c) { return std::memcpy(p + c.wire, base + c.member, 16), true; });
    run.Each(Code::copy8, [&](const Code::Copy& c) { return std::memcpy(p + c.wire, base + c.member, 8), true; });
    run.Each(Code::copy4, [&](const Code::Copy& c) { return std::memcpy(p + c.wire, base + c.member, 4), true; });
    run.Each(Code::copy2, [&](const Code::Copy& c) { return std::memcpy(p + c.wire, base + c.member, 2), true; });
    run.Each(Code::zero4, [&](const Code::Copy& c) { return std::memset(p + c.wire, 0, 4), true; });
}

// A value the copies cannot move: converted as KivStoreLevel writes it, into place.
void StoreConverted(const KivFieldDef& f, const void* m, BYTE* p) {
    switch (f.enc) {
    case KivEnc::i16:
    case KivEnc::u16: {
        const auto v = static_cast<WORD>(static_cast<std::uint64_t>(KivGetInt(f, m)));
        p[0] = static_cast<BYTE>(v), p[1] = static_cast<BYTE>(v >> 8);
        break;
    }
    case KivEnc::i32:
    case KivEnc::u32: KivPutU32(p, static_cast<DWORD>(static_cast<std::uint64_t>(KivGetInt(f, m)))); break;
    case KivEnc::f32: KivPutF32(p, KivGetFloat(f, m)); break;
    case KivEnc::f64: KivPutF64(p, KivGetReal(f, m)); break;
    case KivEnc::block: f.packBlock(m, p); break;
    default: break;  // no fixed size: never in a plan
    }
}

void LoadConverted(const KivFieldDef& f, void* m, const BYTE* p) {
    switch (f.enc) {
    case KivEnc::i16: KivSetInt(f, m, static_cast<short>(HostWord(p))); break;
    case KivEnc::u16: KivSetInt(f, m, HostWord(p)); break;
    case KivEnc::i32: KivSetInt(f, m, KivGetI32(p)); break;
    case KivEnc::u32: KivSetInt(f, m, KivGetU32(p)); break;
    case KivEnc::f32: KivSetFloat(f, m, KivGetF32(p)); break;
    case KivEnc::f64: KivSetReal(f, m, KivGetF64(p)); break;
    case KivEnc::block: f.unpackBlock(p, m); break;
    default: break;
    }
}

// The codecs and converted values of a record, after its copies. Out of line, so that the
// copies need no registers kept across calls.
[[gnu::noinline]] void StoreCalls(const Code& code, const char* base, BYTE* p) {
    for (const auto& b : code.blocks) b.pack(base + b.member, p + b.wire);
    for (const auto& c : code.converted) StoreConverted(*c.field, base + c.member, p + c.wire);
}

// Loading the record from p, which holds all of it; false, with nothing changed, when a
// version word is not 0. Words of 0 are all the code serves: the converter maps 0 to version
// 0 whatever the class (KivVersion.h), so it has nothing to say, every optional field is
// present, and the record has the layout the code was made for.
[[gnu::always_inline]] inline bool LoadCopies(const Code& code, char* base, const BYTE* p) {
    CopyRun run(code);
    const auto& quick = code.quickVersions;  // spelled out: no loop for four words
    if (HostWord(p + quick[0]) | HostWord(p + quick[1]) | HostWord(p + quick[2]) | HostWord(p + quick[3])) return false;
    if (!run.Each(Code::version, [&](const Code::Copy& c) { return HostWord(p + c.wire) == 0; })) return false;
    run.Each(Code::copy16, [&](const Code::Copy& c) { return std::memcpy(base + c.member, p + c.wire, 16), true; });
    run.Each(Code::copy8, [&](const Code::Copy& c) { return std::memcpy(base + c.member, p + c.wire, 8), true; });
    run.Each(Code::copy4, [&](const Code::Copy& c) { return std::memcpy(base + c.member, p + c.wire, 4), true; });
    run.Each(Code::copy2, [&](const Code::Copy& c) { return std::memcpy(base + c.member, p + c.wire, 2), true; });
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

[[gnu::noinline]] void LoadCalls(const Code& code, char* base, const BYTE* p) {
    for (const auto& b : code.blocks) b.unpack(p + b.wire, base + b.member);
    for (const auto& c : code.converted) LoadConverted(*c.field, base + c.member, p + c.wire);
}

// The fast path; the calls come last, as tail calls, so that the copies keep nothing across
// a call.
[[gnu::always_inline]] inline bool StoreInBuffer(CArchive& ar, const CObject* object, const KivRecordPlan& plan) {
    BYTE* p = ar.ReserveBuffered(plan.bytes);
    if (!p) return false;
    const char* base = reinterpret_cast<const char*>(object);
    StoreCopies(plan.store, base, p);
    if (plan.store.hasCalls) StoreCalls(plan.store, base, p);
    return true;
}

[[gnu::always_inline]] inline bool LoadInBuffer(CArchive& ar, CObject* object, const KivRecordPlan& plan) {
    const BYTE* p = ar.PeekBuffered(plan.bytes);
    char* base = reinterpret_cast<char*>(object);
    if (!p || !LoadCopies(plan.load, base, p)) return false;
    ar.SkipBuffered(plan.bytes);  // the calls read from p, never from the archive
    if (plan.load.hasCalls) LoadCalls(plan.load, base, p);
    return true;
}

}  // namespace

bool KivStoreRecordInBuffer(CArchive& ar, const CObject* object, const KivRecordPlan& plan) {
    return StoreInBuffer(ar, object, plan);
}

bool KivLoadRecordInBuffer(CArchive& ar, CObject* object, const KivRecordPlan& plan) { return LoadInBuffer(ar, object, plan); }

namespace {

// The plain way: the base's record, then this level value by value. Out of line, so that the
// fast path keeps no registers for it.
[[gnu::noinline]] void SerializeLevelByLevel(CArchive& ar, CObject* object, const KivClassLevel& level, const KivLevelLink& link) {
    link.baseSerialize(ar, object);
    KivSerializeLevel(ar, object, level);
}

}  // namespace

void KivSerializeLevels(CArchive& ar, CObject* object, const KivClassLevel& level, const KivLevelLink& link) {
    // The one choice of way: the record's plan, made when the class registered, whenever the
    // buffer holds the whole record and (loading) its version words are all 0.
    if (const KivRecordPlan* plan = level.cache ? level.cache->record.load(std::memory_order_acquire) : nullptr)
        if (ar.IsStoring() ? StoreInBuffer(ar, object, *plan) : LoadInBuffer(ar, object, *plan)) return;
    return SerializeLevelByLevel(ar, object, level, link);
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
        KivRethrowNamingField(e, level, listName);
    }
}
