#include "kivbase/KivBlockParts.h"

#include <mutex>
#include <vector>

#include "kivbase/KivXMLValueText.h"
#include "kivbase/persist/KivBytes.h"
#include "platform/fw/CException.h"

namespace {

struct Recorded {
    void* (*addr)(CObject*);
    std::span<const KivBlockPart> parts;
};

// Filled while the classes' field tables are first built, which may happen on several
// threads at once; a handful of entries, searched only by tools.
std::mutex g_lock;

std::vector<Recorded>& Registry() {
    static auto* recorded = new std::vector<Recorded>;  // never destroyed: tables outlive statics
    return *recorded;
}

}  // namespace

std::span<const KivBlockPart> KivBlockPartsOf(const KivFieldDef& field) {
    if (field.member != KivMember::block) return {};
    const std::lock_guard<std::mutex> hold(g_lock);
    for (const Recorded& r : Registry())
        if (r.addr == field.addr) return r.parts;
    return {};
}

void KivRegisterBlockParts(void* (*addr)(CObject*), std::span<const KivBlockPart> parts) {
    const std::lock_guard<std::mutex> hold(g_lock);
    for (const Recorded& r : Registry())
        if (r.addr == addr) return;
    KivTranslateBadAlloc([&] { Registry().push_back({addr, parts}); });
}

std::string KivFormatPart(const KivBlockPart& part, const BYTE* image) {
    const BYTE* at = image + part.offset;
    SKivXMLDataType value{};
    switch (part.type) {
    case KivPartType::i32:
        value.type = KIVXML_INT32;
        value.value.iVal = KivGetI32(at);
        break;
    case KivPartType::u32:
        value.type = KIVXML_COLOR;
        value.value.dwVal = KivGetU32(at);
        break;
    case KivPartType::f32:
        value.type = KIVXML_FLOAT;
        value.value.fVal = KivGetF32(at);
        break;
    case KivPartType::f64:
        value.type = KIVXML_DOUBLE;
        value.value.dVal = KivGetF64(at);
        break;
    }
    KivXMLValueText text;
    if (KivXMLFormatValue(value, text) == KIVXML_E_MEMORY) AfxThrowMemoryException();
    return KivTranslateBadAlloc([&] { return std::string(text.View()); });
}
