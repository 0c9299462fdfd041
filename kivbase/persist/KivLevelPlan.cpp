#include "kivbase/persist/KivLevelPlan.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <utility>

#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "platform/fw/CException.h"

namespace {

bool XmlNamesChecked(const KivClassLevel& level, const std::vector<KivStep>& stored) {
    if (!KivXMLIsValidName(level.element)) return false;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (!KivXMLIsValidName(stored[i].field->name)) return false;
        for (size_t k = 0; k < i; ++k)
            if (std::strcmp(stored[k].field->name, stored[i].field->name) == 0) return false;
    }
    return true;
}

static_assert(sizeof(double) == 8 && sizeof(int) == 4 && sizeof(DWORD) == 4 && sizeof(float) == 4 && sizeof(short) == 2,
              "defaults are grouped by the size of their member");

// The table's default in the member's own type, converted as assigning it would.
KivDefaultStep DefaultStep(const KivFieldDef& f, std::ptrdiff_t offset) {
    KivDefaultStep step{&f, offset, f.member, {}};
    kiv_detail::WithMemberKind(f.member, [&]<KivMember M>() {
        if constexpr (kiv_detail::kIsIntMember<M>) kiv_detail::SetInt<M>(&step.value, static_cast<std::int64_t>(f.defNum));
        else if constexpr (M == KivMember::f32 || M == KivMember::f64) kiv_detail::SetReal<M>(&step.value, f.defNum);
    });
    return step;
}

// Where a step's value goes in the record's code, by the pair of encoding and member kind.
enum class RecordSlot { version, copy8, copy4, copy2, signed2, unsigned2, block, imageBlock, other };

RecordSlot SlotOf(const KivStep& s, bool loading) {
    if (!s.field) return RecordSlot::version;
    const KivMember m = s.field->member;
    const bool int32 = m == KivMember::i32 || m == KivMember::u32;
    switch (s.field->enc) {
    case KivEnc::i16:
    case KivEnc::u16:
        // Stored: the member's low two bytes. Loaded: a short takes them as they are, a
        // 4-byte integer widens them by the encoding's sign.
        if (m == KivMember::i16 || (!loading && int32)) return RecordSlot::copy2;
        if (int32) return s.field->enc == KivEnc::i16 ? RecordSlot::signed2 : RecordSlot::unsigned2;
        return RecordSlot::other;
    case KivEnc::i32:
    case KivEnc::u32: return int32 ? RecordSlot::copy4 : RecordSlot::other;
    case KivEnc::f32: return m == KivMember::f32 ? RecordSlot::copy4 : RecordSlot::other;
    case KivEnc::f64: return m == KivMember::f64 ? RecordSlot::copy8 : RecordSlot::other;
    case KivEnc::block:
        if (m != KivMember::block) return RecordSlot::other;
        return s.field->blockImage & (loading ? kKivBlockLoadsAsImage : kKivBlockStoresAsImage) ? RecordSlot::imageBlock
                                                                                                  : RecordSlot::block;
    default: return RecordSlot::other;
    }
}

// Members of two steps that overlap would make the result depend on the order of the steps,
// which the grouped code does not keep.
bool MembersOverlap(std::span<const KivStep> steps) {
    for (size_t i = 0; i < steps.size(); ++i)
        for (size_t k = 0; k < i; ++k) {
            if (!steps[i].field || !steps[k].field) continue;
            const std::ptrdiff_t a = steps[i].offset, b = steps[k].offset;
            if (a < b + steps[k].field->memberBytes && b < a + steps[i].field->memberBytes) return true;
        }
    return false;
}

std::unique_ptr<KivLevelPlan> Compile(const KivClassLevel& level, const CObject* object) {
    auto plan = std::make_unique<KivLevelPlan>();
    const char* base = reinterpret_cast<const char*>(object);
    plan->offsets.reserve(level.fields.size());
    bool fixed = true;
    size_t bytes = sizeof(WORD);  // the version word
    std::array<std::vector<KivNumberDefaults::Number>, KivNumberDefaults::kSizes> numbers;
    plan->archive.push_back(KivStep{nullptr, &level, 0, kKivVersionStep, sizeof(WORD), false});
    for (const KivFieldDef& f : level.fields) {
        const std::ptrdiff_t offset = static_cast<const char*>(f.At(object)) - base;
        plan->offsets.push_back(offset);
        plan->hasDataMember = plan->hasDataMember || f.IsStored();
        if (!(f.flags & kKivFieldNoAssign)) {
            const KivDefaultStep step = DefaultStep(f, offset);
            KivNumberDefaults::Number number{offset, {}};
            std::memcpy(number.image, step.value.image, sizeof number.image);
            switch (f.member) {
            case KivMember::f64: numbers[KivNumberDefaults::by8].push_back(number); break;
            case KivMember::i32:
            case KivMember::u32:
            case KivMember::f32: numbers[KivNumberDefaults::by4].push_back(number); break;
            case KivMember::i16: numbers[KivNumberDefaults::by2].push_back(number); break;
            case KivMember::u8: numbers[KivNumberDefaults::by1].push_back(number); break;
            default: plan->defaults.others.push_back(step); break;
            }
        }
        if (!f.IsPersisted()) continue;
        const auto wire = static_cast<BYTE>(std::max(f.ArchiveBytes(), 0));  // 0: a wide string
        const KivStep step{&f, &level, offset, KivArchiveOp(f.enc, f.member), wire, (f.flags & kKivFieldOptional) != 0};
        fixed = fixed && step.bytes != 0;
        bytes += step.bytes;
        plan->stored.push_back(step);
        plan->archive.push_back(step);
    }
    KivDefaults& d = plan->defaults;
    for (int size = 0; size < KivNumberDefaults::kSizes; ++size) {
        d.numbers.insert(d.numbers.end(), numbers[size].begin(), numbers[size].end());
        d.byNumbers.ends[size] = static_cast<std::uint32_t>(d.numbers.size());
        if (!numbers[size].empty()) d.byNumbers.used |= static_cast<BYTE>(1u << size);
    }
    d.byNumbers.numbers = d.numbers.data();
    plan->fixedBytes = fixed ? bytes : 0;
    if (plan->fixedBytes) {
        plan->storeCode = KivCompileRecord(plan->archive, false);
        plan->loadCode = KivCompileRecord(plan->archive, true);
    }
    plan->xmlNamesChecked = XmlNamesChecked(level, plan->stored);
    return plan;
}

}  // namespace

KivRecordCode KivCompileRecord(std::span<const KivStep> steps, bool loading) {
    using Code = KivRecordCode;
    KivRecordCode code;
    if constexpr (std::endian::native != std::endian::little) return code;
    if (MembersOverlap(steps)) return code;
    if (steps.empty() || steps.front().field) return code;  // the part starts with a version word
    int quick = 0;
    constexpr auto kMost = std::numeric_limits<std::uint32_t>::max();
    std::array<std::vector<Code::Copy>, Code::kGroups> groups;
    std::uint32_t wire = 0;
    for (const KivStep& s : steps) {
        if (s.bytes == 0 || s.offset < 0 || static_cast<std::uint64_t>(s.offset) > kMost - s.bytes || kMost - wire < s.bytes)
            return KivRecordCode{};  // not of fixed size, or beyond what the code can say
        const Code::Copy copy{static_cast<std::uint32_t>(s.offset), wire};
        switch (SlotOf(s, loading)) {
        case RecordSlot::version:
            if (quick < Code::kQuickVersions)
                code.quickVersions[quick++] = wire;
            else
                groups[Code::version].push_back(copy);
            break;
        case RecordSlot::copy8: groups[Code::copy8].push_back(copy); break;
        case RecordSlot::copy4: groups[Code::copy4].push_back(copy); break;
        case RecordSlot::copy2: groups[Code::copy2].push_back(copy); break;
        case RecordSlot::signed2: groups[Code::signed2].push_back(copy); break;
        case RecordSlot::unsigned2: groups[Code::unsigned2].push_back(copy); break;
        case RecordSlot::block: code.blocks.push_back({copy.member, wire, s.field->packBlock, s.field->unpackBlock}); break;
        case RecordSlot::imageBlock:
            // The block's bytes as they stand, in the widest copies that fit.
            for (std::uint32_t done = 0; done < s.bytes;) {
                const std::uint32_t left = s.bytes - done;
                const Code::Copy piece{copy.member + done, copy.wire + done};
                const auto [group, size] = left >= 16 ? std::pair{Code::copy16, 16u}
                                         : left >= 8  ? std::pair{Code::copy8, 8u}
                                         : left >= 4  ? std::pair{Code::copy4, 4u}
                                         : left >= 2  ? std::pair{Code::copy2, 2u}
                                                      : std::pair{Code::kGroups, 0u};
                if (!size) return KivRecordCode{};  // an odd byte: no codec of ours has one
                groups[group].push_back(piece);
                done += size;
            }
            if (!loading && s.field->blockZeroAt != kKivNoStoredZeros) groups[Code::zero4].push_back({0, wire + s.field->blockZeroAt});
            break;
        case RecordSlot::other: code.others.push_back({s, wire}); break;
        }
        wire += s.bytes;
    }
    for (int g = 0; g < Code::kGroups; ++g) {
        code.copies.insert(code.copies.end(), groups[g].begin(), groups[g].end());
        code.ends[g] = static_cast<std::uint32_t>(code.copies.size());
        if (!groups[g].empty()) code.used |= 1u << g;
    }
    if (!code.blocks.empty()) code.used |= Code::kBlocksUsed;
    if (!code.others.empty()) code.used |= Code::kOthersUsed;
    code.ready = true;
    return code;
}

const KivLevelPlan& KivCompilePlan(const KivClassLevel& level, const CObject* object, KivPlanHolder& holder) {
    return KivTranslateBadAlloc([&]() -> const KivLevelPlan& {
        if (!level.cache) {
            holder = Compile(level, object);
            return *holder;
        }
        const std::scoped_lock hold(level.cache->compiling);
        if (const KivLevelPlan* plan = level.cache->plan.load(std::memory_order_acquire)) return *plan;  // made meanwhile
        // Kept for the life of the process: objects of the class may still be loaded from
        // other static destructors.
        const KivLevelPlan* plan = Compile(level, object).release();
        level.cache->plan.store(plan, std::memory_order_release);
        if (plan->defaults.others.empty()) level.cache->numberDefaults.store(&plan->defaults.byNumbers, std::memory_order_release);
        return *plan;
    });
}

const std::ptrdiff_t* KivClassLevel::Offsets(const CObject* object) const {
    if (!cache) return nullptr;
    KivPlanHolder unused;
    return KivPlanOf(*this, object, unused).offsets.data();
}
