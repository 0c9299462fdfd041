#include "platform/fw/KivGlobalMemory.h"

#include <cstdlib>

void* GlobalAlloc(UINT flags, size_t bytes) {
    if ((flags & ~GPTR) != 0) return nullptr;
    // malloc(0) may return null, which callers would take for failure.
    const size_t n = bytes == 0 ? 1 : bytes;
    return (flags & GMEM_ZEROINIT) ? std::calloc(1, n) : std::malloc(n);
}

void* GlobalFree(void* block) {
    std::free(block);
    return nullptr;
}
