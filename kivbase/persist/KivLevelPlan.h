// A class level's field table resolved once into what the walkers need per object: every
// member's offset, and the stored fields as a flat list of typed steps (one opcode for
// the pair of archive encoding and member kind), with the facts each walk would otherwise
// work out again for every object.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "kivbase/persist/KivFieldTable.h"

/// How many member kinds and archive opcodes there are.
constexpr int kKivMemberKinds = static_cast<int>(KivMember::custom) + 1;
constexpr int kKivArchiveOps = (static_cast<int>(KivEnc::wstr) + 1) * kKivMemberKinds;

/// The opcode of an (encoding, member kind) pair, and back.
constexpr BYTE KivArchiveOp(KivEnc enc, KivMember member) {
    return static_cast<BYTE>(static_cast<int>(enc) * kKivMemberKinds + static_cast<int>(member));
}
constexpr KivEnc KivOpEncoding(int op) { return static_cast<KivEnc>(op / kKivMemberKinds); }
constexpr KivMember KivOpMember(int op) { return static_cast<KivMember>(op % kKivMemberKinds); }
/// The opcode of a level's version word: no stored field has encoding none.
constexpr BYTE kKivVersionStep = KivArchiveOp(KivEnc::none, KivMember::i32);

/// One step of a level's archive part: its version word, or one stored field with its member
/// and how the archive carries it.
struct KivStep {
    const KivFieldDef* field;     // null for the version word
    const KivClassLevel* level;   // the level the step belongs to
    std::ptrdiff_t offset;        // of the member from the object's CObject part
    BYTE op;                      // kKivVersionStep or KivArchiveOp(field->enc, field->member)
    BYTE bytes;                   // archive bytes of the value; 0 for a wide string
    bool optional;                // read only when the converted version is not negative
};

/// A fixed-size archive part compiled for one direction. On a little-endian host most members
/// already hold their stored bytes (an int's low two bytes are its 16-bit value), so those
/// become plain copies of a fixed size, grouped by size so that no choice is made per field;
/// blocks whose codec says so are copies too, other blocks go to their codec and the rest run
/// as steps. Every value sits at a fixed offset of the part, counted from its start; members
/// are offsets from the object's CObject part.
struct KivRecordCode {
    struct Copy {
        std::uint32_t member;
        std::uint32_t wire;
    };
    struct Block {
        std::uint32_t member;
        std::uint32_t wire;
        void (*pack)(const void* member, BYTE* out);   // storing
        void (*unpack)(const BYTE* in, void* member);  // loading
    };
    struct Placed {
        KivStep step;
        std::uint32_t wire;
    };
    /// Where the first version words are (a version word is written as 0 and must be 0 on
    /// load). The part starts with one, so slots without a word of their own repeat it: every
    /// slot is read or written whatever the part, with no count to look at.
    static constexpr int kQuickVersions = 4;
    std::array<std::uint32_t, kQuickVersions> quickVersions{};
    /// The groups of `copies`, in this order. version: the version words beyond the quick
    /// ones; copyN moves N bytes as they stand; storing only: zero4 writes four zero bytes
    /// over what a copy before it wrote (a block's padding); loading only: signed2 and
    /// unsigned2 widen a 16-bit value into a 4-byte member by the encoding's sign.
    enum Group : std::uint8_t { version, copy16, copy8, copy4, copy2, zero4, signed2, unsigned2, kGroups };
    /// Every copy in one array (a record's copies are walked as one short run of memory).
    std::vector<Copy> copies;
    std::array<std::uint32_t, kGroups> ends{};  // one past each group's last copy
    std::vector<Block> blocks;
    std::vector<Placed> others;  // converted on the way (a float stored from a double...)
    /// Bit g set when group g has copies; kBlocksUsed and kOthersUsed likewise. Most records
    /// use few of them, and an empty one then costs one test.
    std::uint32_t used = 0;
    static constexpr std::uint32_t kBlocksUsed = 1u << kGroups;
    static constexpr std::uint32_t kOthersUsed = 1u << (kGroups + 1);
    /// False when the part must run as its steps: a big-endian host, or members that overlap
    /// (the steps' order would then decide the result).
    bool ready = false;

    std::span<const Copy> Of(Group g) const {
        const std::uint32_t from = g == version ? 0 : ends[g - 1];
        return {copies.data() + from, copies.data() + ends[g]};
    }
};

/// Compiles steps (of fixed size) for storing or for loading. Loading code reads every field,
/// the optional ones included: it serves only records whose version words are all 0, which
/// convert to version 0. Raises std::bad_alloc when memory runs out.
KivRecordCode KivCompileRecord(std::span<const KivStep> steps, bool loading);

/// One field that Default() and construction reset: its member and the table's default,
/// already converted into the member's own type.
struct KivDefaultStep {
    const KivFieldDef* field;
    std::ptrdiff_t offset;
    KivMember member;
    union {
        int i32;
        short i16;
        DWORD u32;
        BYTE u8;
        float f32;
        double f64;
        BYTE image[8];  // the member's own bytes, for the number kinds above
    } value;
};

/// The fields a level's Default() resets (all but kKivFieldNoAssign), grouped so that the
/// numbers are plain copies of their bytes with no choice per field to make.
struct KivDefaults {
    std::vector<KivNumberDefaults::Number> numbers;  // grouped by their size in bytes
    KivNumberDefaults byNumbers;                     // numbers's groups
    std::vector<KivDefaultStep> others;              // text, blocks and custom members
};

/// The wide class name last handed to the version converter by a level (KivPersistArchive.cpp).
struct KivWideClassName;

struct KivLevelPlan {
    std::vector<std::ptrdiff_t> offsets;  // every field's member, table order
    std::vector<KivStep> stored;          // the fields the archive and XML walks visit, table order
    std::vector<KivStep> archive;         // the archive part: the version word, then stored
    KivDefaults defaults;
    /// The level's whole archive part (version word and every stored field, the optional one
    /// included) when every stored field has a fixed size; 0 when one is a wide string.
    size_t fixedBytes = 0;
    KivRecordCode storeCode, loadCode;  // of the archive part, when it has a fixed size
    bool hasDataMember = false;  // the level writes and reads "DataMember"
    /// The element and attribute names are valid XML names and no attribute name repeats, so
    /// storing into a fresh "DataMember" may append without looking for an earlier attribute.
    bool xmlNamesChecked = false;
    mutable std::atomic<const KivWideClassName*> lastClassName{nullptr};
};

/// A class's whole archive record when every level from the root up is the engine's own and
/// of fixed size: every level's archive steps, root first.
struct KivChainPlan {
    std::vector<KivStep> steps;
    const KivLevelPlan* last = nullptr;  // the class's own level, whose plan remembers class names
    size_t fixedBytes = 0;               // 0: the record cannot be handled in one pass
    KivRecordCode storeCode, loadCode;   // of the whole record
};

/// Keeps the plan of a level that has no cache for the length of one call.
using KivPlanHolder = std::unique_ptr<KivLevelPlan>;

/// Makes the level's plan from object's layout; kept in the level's cache, or in holder for a
/// level without one. Raises CMemoryException when memory runs out.
const KivLevelPlan& KivCompilePlan(const KivClassLevel& level, const CObject* object, KivPlanHolder& holder);

/// The level's plan: the cached one, made on first use.
inline const KivLevelPlan& KivPlanOf(const KivClassLevel& level, const CObject* object, KivPlanHolder& holder) {
    if (level.cache)
        if (const KivLevelPlan* plan = level.cache->plan.load(std::memory_order_acquire)) return *plan;
    return KivCompilePlan(level, object, holder);
}
