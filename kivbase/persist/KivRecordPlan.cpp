#include "kivbase/persist/KivRecordPlan.h"

#include <bit>
#include <limits>
#include <utility>

namespace {

// One value of a record: a version word (no field) or a stored field, and its member.
struct Item {
    const KivFieldDef* field;
    std::ptrdiff_t offset;
    std::uint32_t bytes;
};

// Where an item's value goes in the record's code, by the pair of encoding and member kind.
enum class Slot { version, copy8, copy4, copy2, signed2, unsigned2, block, imageBlock, converted };

Slot SlotOf(const Item& item, bool loading) {
    if (!item.field) return Slot::version;
    const KivFieldDef& f = *item.field;
    const KivMember m = f.member;
    const bool int32 = m == KivMember::i32 || m == KivMember::u32;
    switch (f.enc) {
    case KivEnc::i16:
    case KivEnc::u16:
        // Stored: the member's low two bytes. Loaded: a short takes them as they are, a
        // 4-byte integer widens them by the encoding's sign.
        if (m == KivMember::i16 || (!loading && int32)) return Slot::copy2;
        if (int32) return f.enc == KivEnc::i16 ? Slot::signed2 : Slot::unsigned2;
        return Slot::converted;
    case KivEnc::i32:
    case KivEnc::u32: return int32 ? Slot::copy4 : Slot::converted;
    case KivEnc::f32: return m == KivMember::f32 ? Slot::copy4 : Slot::converted;
    case KivEnc::f64: return m == KivMember::f64 ? Slot::copy8 : Slot::converted;
    case KivEnc::block:
        if (m != KivMember::block) return Slot::converted;
        return f.blockImage & (loading ? kKivBlockLoadsAsImage : kKivBlockStoresAsImage) ? Slot::imageBlock : Slot::block;
    default: return Slot::converted;
    }
}

bool MembersOverlap(const std::vector<Item>& items) {
    for (size_t i = 0; i < items.size(); ++i)
        for (size_t k = 0; k < i; ++k) {
            if (!items[i].field || !items[k].field) continue;
            const std::ptrdiff_t a = items[i].offset, b = items[k].offset;
            if (a < b + items[k].field->memberBytes && b < a + items[i].field->memberBytes) return true;
        }
    return false;
}

// The code of a record for one direction; false when it cannot say it (an offset beyond 32
// bits, a block of odd length).
bool Compile(const std::vector<Item>& items, bool loading, KivRecordCode& code) {
    using Code = KivRecordCode;
    int quick = 0;
    std::array<std::vector<Code::Copy>, Code::kGroups> groups;
    std::uint32_t wire = 0;
    constexpr auto kMost = std::numeric_limits<std::uint32_t>::max();
    for (const Item& item : items) {
        if (item.offset < 0 || static_cast<std::uint64_t>(item.offset) > kMost - item.bytes) return false;
        const Code::Copy copy{static_cast<std::uint32_t>(item.offset), wire};
        switch (SlotOf(item, loading)) {
        case Slot::version:
            if (quick < Code::kQuickVersions)
                code.quickVersions[quick++] = wire;
            else
                groups[Code::version].push_back(copy);
            break;
        case Slot::copy8: groups[Code::copy8].push_back(copy); break;
        case Slot::copy4: groups[Code::copy4].push_back(copy); break;
        case Slot::copy2: groups[Code::copy2].push_back(copy); break;
        case Slot::signed2: groups[Code::signed2].push_back(copy); break;
        case Slot::unsigned2: groups[Code::unsigned2].push_back(copy); break;
        case Slot::block: code.blocks.push_back({copy.member, wire, item.field->packBlock, item.field->unpackBlock}); break;
        case Slot::imageBlock:
            // The block's bytes as they stand, in the widest copies that fit.
            for (std::uint32_t done = 0; done < item.bytes;) {
                const std::uint32_t left = item.bytes - done;
                const auto [group, size] = left >= 16 ? std::pair{Code::copy16, 16u}
                                         : left >= 8  ? std::pair{Code::copy8, 8u}
                                         : left >= 4  ? std::pair{Code::copy4, 4u}
                                         : left >= 2  ? std::pair{Code::copy2, 2u}
                                                      : std::pair{Code::kGroups, 0u};
                if (!size) return false;  // an odd byte: no codec of ours has one
                groups[group].push_back({copy.member + done, copy.wire + done});
                done += size;
            }
            if (!loading && item.field->blockZeroAt != kKivNoStoredZeros)
                groups[Code::zero4].push_back({0, wire + item.field->blockZeroAt});
            break;
        case Slot::converted: code.converted.push_back({item.field, copy.member, wire}); break;
        }
        wire += item.bytes;
    }
    for (int g = 0; g < Code::kGroups; ++g) {
        code.copies.insert(code.copies.end(), groups[g].begin(), groups[g].end());
        code.ends[g] = static_cast<std::uint32_t>(code.copies.size());
    }
    code.hasCalls = !code.blocks.empty() || !code.converted.empty();
    return true;
}

}  // namespace

std::unique_ptr<KivRecordPlan> KivMakeRecordPlan(std::span<const KivClassLevel* const> levels, const CObject* prototype) {
    if constexpr (std::endian::native != std::endian::little) return nullptr;
    if (levels.empty()) return nullptr;
    const char* base = reinterpret_cast<const char*>(prototype);
    std::vector<Item> items;
    std::size_t bytes = 0;
    for (const KivClassLevel* level : levels) {
        items.push_back({nullptr, 0, sizeof(WORD)});
        for (const KivFieldDef& f : level->fields) {
            if (!f.IsPersisted()) continue;
            if (f.ArchiveBytes() <= 0) return nullptr;  // a wide string: no fixed size
            items.push_back({&f, static_cast<const char*>(f.At(prototype)) - base, static_cast<std::uint32_t>(f.ArchiveBytes())});
        }
    }
    for (const Item& item : items) bytes += item.bytes;
    if (MembersOverlap(items) || bytes > std::numeric_limits<std::uint32_t>::max()) return nullptr;
    auto plan = std::make_unique<KivRecordPlan>();
    plan->bytes = bytes;
    if (!Compile(items, false, plan->store) || !Compile(items, true, plan->load)) return nullptr;
    return plan;
}
