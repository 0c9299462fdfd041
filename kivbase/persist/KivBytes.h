// Little-endian byte packing for fixed-size blocks: values are put together byte by
// byte, never by copying host integers, so the stored image is the same on every host.
#pragma once

#include <bit>

#include "platform/fw/KivTypes.h"

inline void KivPutU32(BYTE* out, DWORD v) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<BYTE>(v >> (8 * i));
}
inline DWORD KivGetU32(const BYTE* in) {
    DWORD v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<DWORD>(in[i]) << (8 * i);
    return v;
}
inline void KivPutU64(BYTE* out, ULONGLONG v) {
    for (int i = 0; i < 8; ++i) out[i] = static_cast<BYTE>(v >> (8 * i));
}
inline ULONGLONG KivGetU64(const BYTE* in) {
    ULONGLONG v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<ULONGLONG>(in[i]) << (8 * i);
    return v;
}
inline void KivPutF32(BYTE* out, float v) { KivPutU32(out, std::bit_cast<DWORD>(v)); }
inline float KivGetF32(const BYTE* in) { return std::bit_cast<float>(KivGetU32(in)); }
inline void KivPutF64(BYTE* out, double v) { KivPutU64(out, std::bit_cast<ULONGLONG>(v)); }
inline double KivGetF64(const BYTE* in) { return std::bit_cast<double>(KivGetU64(in)); }
inline void KivPutI32(BYTE* out, LONG v) { KivPutU32(out, static_cast<DWORD>(v)); }
inline LONG KivGetI32(const BYTE* in) { return static_cast<LONG>(KivGetU32(in)); }
