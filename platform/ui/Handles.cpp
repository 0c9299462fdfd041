#include "platform/ui/Handles.h"

namespace {
// Handles start well above small integers so that a stray 0, 1 or id is never a handle,
// and step by 4 like the old system's handle values.
constexpr std::uintptr_t kFirstHandle = 0x10000;
constexpr std::uintptr_t kHandleStep = 4;
}  // namespace

std::uintptr_t KivNewHandleValue() {
    static std::uintptr_t next = kFirstHandle;
    const std::uintptr_t v = next;
    next += kHandleStep;
    return v;
}
