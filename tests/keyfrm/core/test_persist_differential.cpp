// The engine's one fast path for the archive (a record's plan) against the value-by-value
// definition of the format that every other way takes, on random
// field tables (every encoding and block codec), random values (NaN payloads included),
// random version words, records that cross the archive buffer's end at random places and
// records cut short: the same bytes, the same loaded objects, the same errors at the same
// offsets.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <type_traits>
#include <bit>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "kivbase/CKivObject.h"
#include "kivbase/persist/KivGeometryCodec.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "kivbase/persist/KivPersist.h"
#include "kivbase/persist/KivRecordPlan.h"

namespace {

// A block whose codec packs it value by value (12 stored bytes in a 16-byte member).
struct Packed {
    float a;
    double b;
};

// A block stored as its own image but for a padding stored as four zero bytes.
struct Padded {
    float a;
    std::uint32_t padding;
    double b;
};

}  // namespace

template <>
struct KivBlockCodec<Packed> {
    static constexpr UINT kSize = 12;
    static void Pack(const Packed& p, BYTE* out) {
        KivPutF32(out, p.a);
        KivPutF64(out + 4, p.b);
    }
    static void Unpack(const BYTE* in, Packed& p) {
        p.a = KivGetF32(in);
        p.b = KivGetF64(in + 4);
    }
};

template <>
struct KivBlockCodec<Padded> {
    static constexpr UINT kSize = 16;
    static constexpr bool kLoadsAsImage = true;
    static constexpr bool kStoresAsImage = true;
    static constexpr UINT kStoredZeroAt = 4;
    static void Pack(const Padded& p, BYTE* out) {
        KivPutF32(out, p.a);
        KivPutU32(out + 4, 0);
        KivPutF64(out + 8, p.b);
    }
    static void Unpack(const BYTE* in, Padded& p) {
        p.a = KivGetF32(in);
        p.b = KivGetF64(in + 8);
    }
};

namespace {

// Members of every kind, for random tables to pick from (each member at most once per record).
class Pool : public CKivObject {
public:
    int I0 = 0, I1 = 0, I2 = 0, I3 = 0;
    short S0 = 0, S1 = 0;
    DWORD U0 = 0, U1 = 0;
    BYTE B0 = 0, B1 = 0;
    float F0 = 0, F1 = 0, F2 = 0;
    double D0 = 0, D1 = 0, D2 = 0;
    Packed K0{}, K1{};
    Padded P0{};
    CPoint Pt0;
    CRect R0;
    CString T0, T1;
};

// Calls f on every number member and block part (a block's padding left out), then on the texts.
template <class P, class F, class T>
void ForEachValue(P& p, F f, T text) {
    for (auto* m : {&p.I0, &p.I1, &p.I2, &p.I3}) f(*m);
    f(p.S0), f(p.S1), f(p.U0), f(p.U1), f(p.B0), f(p.B1);
    f(p.F0), f(p.F1), f(p.F2), f(p.D0), f(p.D1), f(p.D2);
    f(p.K0.a), f(p.K0.b), f(p.K1.a), f(p.K1.b), f(p.P0.a), f(p.P0.b);
    f(p.Pt0.x), f(p.Pt0.y), f(p.R0.left), f(p.R0.top), f(p.R0.right), f(p.R0.bottom);
    text(p.T0), text(p.T1);
}

using Maker = KivFieldDef (*)(KivEnc enc, KivXml xml, UINT flags);

template <auto MP>
KivFieldDef Make(KivEnc enc, KivXml xml, UINT flags) {
    return KivField<MP>("M", enc, xml, 0, flags);
}

struct Candidate {
    Maker make;
    KivMember kind;
};

const Candidate kCandidates[] = {
    {Make<&Pool::I0>, KivMember::i32}, {Make<&Pool::I1>, KivMember::i32}, {Make<&Pool::I2>, KivMember::i32},
    {Make<&Pool::I3>, KivMember::i32}, {Make<&Pool::S0>, KivMember::i16}, {Make<&Pool::S1>, KivMember::i16},
    {Make<&Pool::U0>, KivMember::u32}, {Make<&Pool::U1>, KivMember::u32}, {Make<&Pool::B0>, KivMember::u8},
    {Make<&Pool::B1>, KivMember::u8},  {Make<&Pool::F0>, KivMember::f32}, {Make<&Pool::F1>, KivMember::f32},
    {Make<&Pool::F2>, KivMember::f32}, {Make<&Pool::D0>, KivMember::f64}, {Make<&Pool::D1>, KivMember::f64},
    {Make<&Pool::D2>, KivMember::f64}, {Make<&Pool::K0>, KivMember::block}, {Make<&Pool::K1>, KivMember::block},
    {Make<&Pool::P0>, KivMember::block}, {Make<&Pool::Pt0>, KivMember::block}, {Make<&Pool::R0>, KivMember::block},
    {Make<&Pool::T0>, KivMember::wstr}, {Make<&Pool::T1>, KivMember::wstr},
};

constexpr KivEnc kIntEncodings[] = {KivEnc::i16, KivEnc::u16, KivEnc::i32, KivEnc::u32};
constexpr KivEnc kRealEncodings[] = {KivEnc::f32, KivEnc::f64};
constexpr KivXml kIntCodes[] = {KivXml::flag, KivXml::i16, KivXml::i32, KivXml::color};
constexpr KivXml kRealCodes[] = {KivXml::f32, KivXml::f64};

// A random record: one to three levels, root first, over distinct members of the pool.
struct Record {
    std::vector<std::vector<KivFieldDef>> tables;
    std::vector<KivClassLevel> levels;
    std::unique_ptr<KivRecordPlan> plan;  // null when the record has no fixed size
};

template <class T, size_t N>
T Pick(std::mt19937& rng, const T (&from)[N]) {
    return from[std::uniform_int_distribution<size_t>(0, N - 1)(rng)];
}

Record RandomRecord(std::mt19937& rng, bool fixedSize) {
    std::vector<size_t> order(std::size(kCandidates));
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), rng);
    Record r;
    const int levels = std::uniform_int_distribution<int>(1, 3)(rng);
    size_t next = 0;
    for (int l = 0; l < levels; ++l) {
        std::vector<KivFieldDef>& table = r.tables.emplace_back();
        const int fields = std::uniform_int_distribution<int>(0, 6)(rng);
        for (int i = 0; i < fields && next < order.size(); ++next) {
            const Candidate& c = kCandidates[order[next]];
            if (fixedSize && c.kind == KivMember::wstr) continue;
            ++i;
            switch (c.kind) {
            case KivMember::f32:
            case KivMember::f64: table.push_back(c.make(Pick(rng, kRealEncodings), Pick(rng, kRealCodes), 0)); break;
            case KivMember::block: table.push_back(c.make(KivEnc::block, KivXml::block, 0)); break;
            case KivMember::wstr: table.push_back(c.make(KivEnc::wstr, KivXml::wstr, 0)); break;
            default:
                // Now and then a member kept in memory only.
                if (rng() % 8 == 0)
                    table.push_back(c.make(KivEnc::none, KivXml::none, 0));
                else
                    table.push_back(c.make(Pick(rng, kIntEncodings), Pick(rng, kIntCodes), 0));
            }
        }
        if (!table.empty() && table.back().IsPersisted() && rng() % 3 == 0) table.back().flags |= kKivFieldOptional;
    }
    for (const auto& table : r.tables) {
        const UINT flags = rng() % 4 == 0 ? UINT{kKivLevelSkipVersionConvert} : 0u;
        r.levels.push_back(KivClassLevel{"Pool", "Pool", static_cast<WORD>(rng() % 2), flags, table});
    }
    std::vector<const KivClassLevel*> chain;
    for (const KivClassLevel& level : r.levels) chain.push_back(&level);
    const Pool prototype;
    r.plan = KivMakeRecordPlan(chain, &prototype);
    return r;
}

// Random bits in every member: NaN payloads, signalling ones included, come up often.
void Scramble(Pool& p, std::mt19937& rng) {
    auto bits = [&](auto& member) {
        using T = std::remove_reference_t<decltype(member)>;
        BYTE raw[sizeof(T)];
        for (BYTE& b : raw) b = static_cast<BYTE>(rng());
        if constexpr (std::is_floating_point_v<T>)
            if (rng() % 4 == 0) {  // a NaN with a random payload
                using U = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
                U u;
                std::memcpy(&u, raw, sizeof u);
                u |= std::bit_cast<U>(std::numeric_limits<T>::infinity()) | 1;
                std::memcpy(raw, &u, sizeof u);
            }
        std::memcpy(&member, raw, sizeof(T));
    };
    const wchar_t* texts[] = {L"", L"a", L"\u00e4\u00f6", L"longer text"};
    ForEachValue(p, bits, [&](CString& t) { t = texts[rng() % std::size(texts)]; });
}

// Every value's bytes and the texts, for comparing objects.
std::string Image(const Pool& p) {
    std::string out;
    ForEachValue(
        p, [&](const auto& m) { out.append(reinterpret_cast<const char*>(&m), sizeof m); },
        [&](const CString& t) { out += t.ToUtf8() + '|'; });
    return out;
}

// Copies every value of from into to.
void CopyValues(Pool& to, const Pool& from) {
    std::vector<std::pair<BYTE*, size_t>> targets;
    ForEachValue(to, [&](auto& m) { targets.emplace_back(reinterpret_cast<BYTE*>(&m), sizeof m); }, [](CString&) {});
    size_t i = 0;
    ForEachValue(from, [&](const auto& m) { std::memcpy(targets[i++].first, &m, sizeof m); }, [](const CString&) {});
    to.T0 = from.T0;
    to.T1 = from.T1;
}

// A memory file that lends nothing, so that the archive works through its own buffer and
// records meet the buffer's end where the test puts them.
class BufferedFile : public CMemFile {
public:
    using CMemFile::CMemFile;
    const BYTE* LendRemaining(ULONGLONG& count) override {
        count = 0;
        return nullptr;
    }
    BYTE* LendRoom(size_t, size_t& count) override {
        count = 0;
        return nullptr;
    }
};

// Where a record starts: after `lead` bytes, in an archive buffer of `buffer` bytes.
struct Placement {
    int buffer;
    int lead;
};

// Which way stores and loads a record: the definition, or the engine's choice (the plan when
// the buffer holds the record, the definition otherwise).
enum class Way { reference, engine };

// How often the engine's choice was the plan.
int g_fastStores = 0;
int g_fastLoads = 0;

void StoreLevels(Way way, CArchive& ar, const Pool& p, const Record& r) {
    if (way == Way::engine && r.plan && KivStoreRecordInBuffer(ar, &p, *r.plan)) {
        ++g_fastStores;
        return;
    }
    for (const KivClassLevel& level : r.levels) KivStoreLevel(ar, &p, level);
}

void LoadLevels(Way way, CArchive& ar, Pool& p, const Record& r) {
    if (way == Way::engine && r.plan && KivLoadRecordInBuffer(ar, &p, *r.plan)) {
        ++g_fastLoads;
        return;
    }
    for (const KivClassLevel& level : r.levels) KivLoadLevel(ar, &p, level);
}

std::vector<BYTE> Store(Way way, const Pool& p, const Record& r, Placement at) {
    BufferedFile file;
    {
        CArchive ar(&file, CArchive::store, at.buffer);
        const std::vector<BYTE> lead(static_cast<size_t>(at.lead), 0xEE);
        if (at.lead) ar.Write(lead.data(), static_cast<UINT>(lead.size()));
        StoreLevels(way, ar, p, r);
        ar.Close();
    }
    return std::vector<BYTE>(file.GetBufferPtr() + at.lead, file.GetBufferPtr() + file.GetLength());
}

struct Loaded {
    std::string image;
    std::optional<std::string> error;  // the archive exception's message, with its offset
    ULONGLONG offset = 0;               // where the archive stood afterwards
    bool operator==(const Loaded&) const = default;
};

Loaded Load(Way way, const std::vector<BYTE>& bytes, const Record& r, Placement at, const Pool& start) {
    std::vector<BYTE> data(static_cast<size_t>(at.lead), 0xEE);
    data.insert(data.end(), bytes.begin(), bytes.end());
    BufferedFile file(data.data(), static_cast<UINT>(data.size()));
    CArchive ar(&file, CArchive::load, at.buffer);
    std::vector<BYTE> lead(static_cast<size_t>(at.lead));
    if (at.lead) ar.Read(lead.data(), static_cast<UINT>(lead.size()));
    Pool p;
    CopyValues(p, start);
    Loaded out;
    try {
        LoadLevels(way, ar, p, r);
    } catch (const CArchiveException& e) {
        out.error = e.what();
    }
    out.image = Image(p);
    out.offset = ar.GetOffset();
    return out;
}

// The record's version words: where each level's part starts, read back by the reference.
std::vector<size_t> VersionOffsets(const Record& r, const Pool& p) {
    std::vector<size_t> at;
    size_t offset = 0;
    for (size_t l = 0; l < r.levels.size(); ++l) {
        at.push_back(offset);
        BufferedFile file;
        CArchive ar(&file, CArchive::store);
        KivStoreLevel(ar, &p, r.levels[l]);
        ar.Close();
        offset += static_cast<size_t>(file.GetLength());
    }
    return at;
}

}  // namespace

TEST(PersistDifferential, EveryWayGivesTheReferenceBytesObjectsAndErrors) {
    std::mt19937 rng(20240611);
    constexpr int kRecords = 400;
    constexpr int kPlacementsEach = 6;
    for (int n = 0; n < kRecords; ++n) {
        const Record r = RandomRecord(rng, n % 2 == 0);
        Pool p;
        Scramble(p, rng);
        const std::vector<BYTE> bytes = Store(Way::reference, p, r, {4096, 0});
        const std::vector<size_t> words = VersionOffsets(r, p);
        Pool start;
        Scramble(start, rng);
        for (int k = 0; k < kPlacementsEach; ++k) {
            const Placement at{std::uniform_int_distribution<int>(64, 160)(rng), std::uniform_int_distribution<int>(0, 200)(rng)};
            SCOPED_TRACE("record " + std::to_string(n) + ", buffer " + std::to_string(at.buffer) + ", lead " +
                         std::to_string(at.lead));
            ASSERT_EQ(Store(Way::engine, p, r, at), bytes);

            // Version words: mostly 0, which every record this library writes carries; now and
            // then any other, negative ones (older records without the optional field) included.
            std::vector<BYTE> input = bytes;
            for (size_t w : words)
                if (rng() % 3 == 0) {
                    const WORD v = rng() % 2 ? static_cast<WORD>(rng()) : WORD{0x8000};
                    input[w] = static_cast<BYTE>(v);
                    input[w + 1] = static_cast<BYTE>(v >> 8);
                }
            // Whole, or cut anywhere.
            if (k % 2 == 1) input.resize(std::uniform_int_distribution<size_t>(0, input.size())(rng));
            const Loaded expected = Load(Way::reference, input, r, at, start);
            const Loaded got = Load(Way::engine, input, r, at, start);
            ASSERT_EQ(got.error, expected.error);
            ASSERT_EQ(got.offset, expected.offset);
            ASSERT_TRUE(got.image == expected.image) << "the loaded objects differ";
        }
    }
    // Both ways were taken, each many times.
    EXPECT_GT(g_fastStores, kRecords);
    EXPECT_GT(g_fastLoads, kRecords / 2);
    EXPECT_LT(g_fastLoads, kRecords * kPlacementsEach);
}
