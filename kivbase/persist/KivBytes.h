// Little-endian byte packing for fixed-size blocks: values are put together byte by
// byte, never by copying host integers, so the stored image is the same on every host.
#pragma once

#include <bit>

#include "platform/fw/KivTypes.h"

// Written out term by term rather than as loops, so that compilers see the whole pattern and
// turn it into one load or store on little-endian hosts.
inline void KivPutU32(BYTE* out, DWORD v) {
    out[0] = static_cast<BYTE>(v);
    out[1] = static_cast<BYTE>(v >> 8);
    out[2] = static_cast<BYTE>(v >> 16);
    out[3] = static_cast<BYTE>(v >> 24);
}
inline DWORD KivGetU32(const BYTE* in) {
    return static_cast<DWORD>(in[0]) | static_cast<DWORD>(in[1]) << 8 | static_cast<DWORD>(in[2]) << 16 |
           static_cast<DWORD>(in[3]) << 24;
}
inline void KivPutU64(BYTE* out, ULONGLONG v) {
    KivPutU32(out, static_cast<DWORD>(v));
    KivPutU32(out + 4, static_cast<DWORD>(v >> 32));
}
inline ULONGLONG KivGetU64(const BYTE* in) {
    return static_cast<ULONGLONG>(in[0]) | static_cast<ULONGLONG>(in[1]) << 8 | static_cast<ULONGLONG>(in[2]) << 16 |
           static_cast<ULONGLONG>(in[3]) << 24 | static_cast<ULONGLONG>(in[4]) << 32 | static_cast<ULONGLONG>(in[5]) << 40 |
           static_cast<ULONGLONG>(in[6]) << 48 | static_cast<ULONGLONG>(in[7]) << 56;
}
inline void KivPutF32(BYTE* out, float v) { KivPutU32(out, std::bit_cast<DWORD>(v)); }
inline float KivGetF32(const BYTE* in) { return std::bit_cast<float>(KivGetU32(in)); }
inline void KivPutF64(BYTE* out, double v) { KivPutU64(out, std::bit_cast<ULONGLONG>(v)); }
inline double KivGetF64(const BYTE* in) { return std::bit_cast<double>(KivGetU64(in)); }
inline void KivPutI32(BYTE* out, LONG v) { KivPutU32(out, static_cast<DWORD>(v)); }
inline LONG KivGetI32(const BYTE* in) { return static_cast<LONG>(KivGetU32(in)); }
