#include "kivbase/KivBlockParts.h"

#include <charconv>
#include <mutex>
#include <vector>

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

template <class T>
std::string Spelled(T v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
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
    switch (part.type) {
    case KivPartType::i32: return Spelled(KivGetI32(at));
    case KivPartType::u32: return Spelled(KivGetU32(at));
    case KivPartType::f32: return Spelled(KivGetF32(at));
    case KivPartType::f64: return Spelled(KivGetF64(at));
    }
    return {};
}
