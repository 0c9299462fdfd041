// Conversions of doubles to integers as the slide effect has always made them: truncated
// toward zero to 64 bits, then cut to the width of the target, higher bits dropped.
#pragma once

#include <cstdint>

#include "platform/fw/KivTypes.h"

/// x truncated toward zero. NaN and values beyond the 64-bit range give INT64_MIN, which is
/// what the processor's own conversion gives them, instead of undefined behaviour.
inline std::int64_t KivTruncToInt64(double x) {
    constexpr double kTwoTo63 = 9223372036854775808.0;  // the first double past INT64_MAX
    if (x >= -kTwoTo63 && x < kTwoTo63) return static_cast<std::int64_t>(x);
    return INT64_MIN;
}

/// The low 32 bits, as an unsigned number.
inline DWORD KivLow32(std::int64_t v) { return static_cast<DWORD>(static_cast<std::uint64_t>(v)); }

/// The low 16 bits, as a signed number.
inline short KivLow16(std::int64_t v) { return static_cast<short>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(v))); }

/// The low 8 bits.
inline BYTE KivLow8(std::int64_t v) { return static_cast<BYTE>(static_cast<std::uint64_t>(v)); }
