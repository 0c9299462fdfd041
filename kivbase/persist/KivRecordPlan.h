// The engine's one fast path for the archive: a class's whole record (every level from the
// root up, when all are the engine's own and of fixed size) compiled once, when the class
// registers, into copies between the object and the archive's buffer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "kivbase/persist/KivFieldTable.h"

/// A fixed-size record compiled for one direction. On a little-endian host most members
/// already hold their stored bytes (an int's low two bytes are its 16-bit value), so those
/// become plain copies of a fixed size, grouped by size so that no choice is made per field;
/// blocks whose codec says so are copies too, other blocks go to their codec and the rest
/// are converted one by one. Every value sits at a fixed offset of the record; members are
/// offsets from the object's CObject part.
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
    struct Converted {
        const KivFieldDef* field;
        std::uint32_t member;
        std::uint32_t wire;
    };
    /// Where the first version words are (a version word is written as 0 and must be 0 on
    /// load). The record starts with one, so slots without a word of their own repeat it:
    /// every slot is read or written whatever the record, with no count to look at.
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
    std::vector<Converted> converted;  // a float stored from a double, a short as 32 bits...
    /// Blocks or converted values follow the copies (most records have none).
    bool hasCalls = false;

    std::span<const Copy> Of(Group g) const {
        const std::uint32_t from = g == version ? 0 : ends[g - 1];
        return {copies.data() + from, copies.data() + ends[g]};
    }
};

/// A class's whole record, both directions.
struct KivRecordPlan {
    std::size_t bytes = 0;
    KivRecordCode store, load;
};

/// The plan of the record made of these levels (root first) as they lie in prototype, an
/// object of the class; null when a level has a wide string, when members overlap (their
/// order would decide the result), or on a big-endian host. Loading code reads every
/// field, the optional ones included: it serves only records whose version words are all 0,
/// which convert to version 0 whatever the class. Raises std::bad_alloc.
std::unique_ptr<KivRecordPlan> KivMakeRecordPlan(std::span<const KivClassLevel* const> levels, const CObject* prototype);

/// The fast path alone, as KivSerializeLevels takes it: the whole record in the archive's
/// buffer. False, with nothing done, when the buffer has too little room (storing) or data
/// (loading) for it, or when a version word read is not 0; the caller then runs the levels
/// one by one through KivStoreLevel or KivLoadLevel, which give the same bytes and values.
bool KivStoreRecordInBuffer(CArchive& ar, const CObject* object, const KivRecordPlan& plan);
bool KivLoadRecordInBuffer(CArchive& ar, CObject* object, const KivRecordPlan& plan);
