// The allocator behind the library's objects: a project holds keyframes by the hundred
// thousand and loads, samples and copies create them by the thousand, so blocks of one size
// come from per-thread free lists refilled from shared chunks instead of the general heap.
#pragma once

#include <cstddef>
#include <new>

/// Blocks up to this size are pooled; larger ones go to the global operator new.
inline constexpr std::size_t kKivPoolMaxBlock = 1024;

/// A block of at least size bytes, aligned for any object of that size (16 bytes); throws
/// std::bad_alloc when no memory is left. Thread-safe.
void* KivPoolAllocate(std::size_t size);

/// Gives back a block from KivPoolAllocate; size must be the size asked for. Any thread may
/// give back a block another thread took. Pooled memory is kept for reuse by later objects
/// and not returned to the system before the process ends.
void KivPoolFree(void* block, std::size_t size) noexcept;

/// False in builds where every block goes to the global operator new and delete (sanitizer
/// builds, so that they see every object's lifetime).
bool KivPoolIsPooling() noexcept;

/// The global operator delete, told the size when the compiler offers the sized form (some
/// compilers leave it off unless asked).
inline void KivGlobalDelete(void* block, std::size_t size) noexcept {
#if defined(__cpp_sized_deallocation)
    ::operator delete(block, size);
#else
    static_cast<void>(size);
    ::operator delete(block);
#endif
}

inline void KivGlobalDelete(void* block, std::size_t size, std::align_val_t al) noexcept {
#if defined(__cpp_sized_deallocation)
    ::operator delete(block, size, al);
#else
    static_cast<void>(size);
    ::operator delete(block, al);
#endif
}
