// The kernel's global memory calls, as far as hosts need them: fixed blocks that one
// module allocates and another frees (the XML wrapper hands byte blocks out this way).
#pragma once

#include <cstddef>

#include "platform/fw/KivTypes.h"

/// A fixed block whose address never changes (the only kind this stand-in makes).
constexpr UINT GMEM_FIXED = 0x0000;
/// The block's bytes start as zero.
constexpr UINT GMEM_ZEROINIT = 0x0040;
/// Shorthand hosts use for a fixed, zeroed block.
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

/// A new block of bytes (a zero-byte request still gets a distinct address); null when
/// memory runs out or flags hold anything but GMEM_FIXED and GMEM_ZEROINIT.
void* GlobalAlloc(UINT flags, size_t bytes);
/// Releases a block from GlobalAlloc (null is allowed). Always returns null, as the
/// kernel does on success.
void* GlobalFree(void* block);
