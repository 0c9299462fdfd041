#include "kivbase/persist/KivLevelPlan.h"

#include <algorithm>
#include <cstring>

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

std::unique_ptr<KivLevelPlan> Compile(const KivClassLevel& level, const CObject* object) {
    auto plan = std::make_unique<KivLevelPlan>();
    const char* base = reinterpret_cast<const char*>(object);
    plan->offsets.reserve(level.fields.size());
    bool fixed = true;
    size_t bytes = sizeof(WORD);  // the version word
    plan->archive.push_back(KivStep{nullptr, &level, 0, kKivVersionStep, sizeof(WORD), false});
    for (const KivFieldDef& f : level.fields) {
        const std::ptrdiff_t offset = static_cast<const char*>(f.At(object)) - base;
        plan->offsets.push_back(offset);
        plan->hasDataMember = plan->hasDataMember || f.IsStored();
        if (!(f.flags & kKivFieldNoAssign)) {
            KivDefaults& d = plan->defaults;
            switch (f.member) {
            case KivMember::f64: d.by8.push_back(DefaultStep(f, offset)); break;
            case KivMember::i32:
            case KivMember::u32:
            case KivMember::f32: d.by4.push_back(DefaultStep(f, offset)); break;
            case KivMember::i16: d.by2.push_back(DefaultStep(f, offset)); break;
            case KivMember::u8: d.by1.push_back(DefaultStep(f, offset)); break;
            default: d.others.push_back(DefaultStep(f, offset)); break;
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
    plan->fixedBytes = fixed ? bytes : 0;
    plan->xmlNamesChecked = XmlNamesChecked(level, plan->stored);
    return plan;
}

}  // namespace

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
        return *plan;
    });
}

const std::ptrdiff_t* KivClassLevel::Offsets(const CObject* object) const {
    if (!cache) return nullptr;
    KivPlanHolder unused;
    return KivPlanOf(*this, object, unused).offsets.data();
}
