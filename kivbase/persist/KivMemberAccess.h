// Reading and writing a field's member as a wide integer or a double, whatever its C++
// type; narrowing keeps the low bits, as the stored formats expect. The rules are written
// once, per member kind, in the templates below, and the run-time functions dispatch to them.
#pragma once

#include <cstdint>
#include <type_traits>

#include "kivbase/persist/KivFieldTable.h"

namespace kiv_detail {

template <KivMember M>
constexpr bool kIsIntMember = M == KivMember::i32 || M == KivMember::i16 || M == KivMember::u32 || M == KivMember::u8;

template <KivMember M>
struct MemberTypeOf {
    using Type = void;
};
template <> struct MemberTypeOf<KivMember::i32> { using Type = int; };
template <> struct MemberTypeOf<KivMember::i16> { using Type = short; };
template <> struct MemberTypeOf<KivMember::u32> { using Type = DWORD; };
template <> struct MemberTypeOf<KivMember::u8> { using Type = BYTE; };
template <> struct MemberTypeOf<KivMember::f32> { using Type = float; };
template <> struct MemberTypeOf<KivMember::f64> { using Type = double; };

template <KivMember M>
using MemberType = typename MemberTypeOf<M>::Type;

/// An integer member widened to 64 bits (sign by its type); 0 for other members, as tables
/// never give an integer encoding to a floating-point member.
template <KivMember M>
std::int64_t GetInt(const void* m) {
    if constexpr (kIsIntMember<M>) return *static_cast<const MemberType<M>*>(m);
    else return 0;
}

/// Stores v's low bits into an integer member, or v converted into a floating-point one.
template <KivMember M>
void SetInt(void* m, std::int64_t v) {
    const auto bits = static_cast<std::uint64_t>(v);
    if constexpr (M == KivMember::i32) *static_cast<int*>(m) = static_cast<int>(static_cast<std::uint32_t>(bits));
    else if constexpr (M == KivMember::i16) *static_cast<short*>(m) = static_cast<short>(static_cast<std::uint16_t>(bits));
    else if constexpr (M == KivMember::u32) *static_cast<DWORD*>(m) = static_cast<DWORD>(bits);
    else if constexpr (M == KivMember::u8) *static_cast<BYTE*>(m) = static_cast<BYTE>(bits);
    else if constexpr (M == KivMember::f32) *static_cast<float*>(m) = static_cast<float>(v);
    else if constexpr (M == KivMember::f64) *static_cast<double*>(m) = static_cast<double>(v);
}

template <KivMember M>
double GetReal(const void* m) {
    if constexpr (M == KivMember::f32 || M == KivMember::f64) return *static_cast<const MemberType<M>*>(m);
    else return static_cast<double>(GetInt<M>(m));
}

/// Numbers of integer members only arrive through SetInt, so those are left alone here.
template <KivMember M>
void SetReal(void* m, double v) {
    if constexpr (M == KivMember::f32) *static_cast<float*>(m) = static_cast<float>(v);
    else if constexpr (M == KivMember::f64) *static_cast<double*>(m) = v;
}

/// Calls fn.template operator()<M>() for the member kind known only at run time.
template <class Fn>
decltype(auto) WithMemberKind(KivMember kind, Fn&& fn) {
    switch (kind) {
    case KivMember::i32: return fn.template operator()<KivMember::i32>();
    case KivMember::i16: return fn.template operator()<KivMember::i16>();
    case KivMember::u32: return fn.template operator()<KivMember::u32>();
    case KivMember::u8: return fn.template operator()<KivMember::u8>();
    case KivMember::f32: return fn.template operator()<KivMember::f32>();
    case KivMember::f64: return fn.template operator()<KivMember::f64>();
    case KivMember::block: return fn.template operator()<KivMember::block>();
    case KivMember::wstr: return fn.template operator()<KivMember::wstr>();
    case KivMember::custom: break;
    }
    return fn.template operator()<KivMember::custom>();
}

}  // namespace kiv_detail

inline std::int64_t KivGetInt(const KivFieldDef& f, const void* m) {
    return kiv_detail::WithMemberKind(f.member, [&]<KivMember M>() { return kiv_detail::GetInt<M>(m); });
}

inline void KivSetInt(const KivFieldDef& f, void* m, std::int64_t v) {
    kiv_detail::WithMemberKind(f.member, [&]<KivMember M>() { kiv_detail::SetInt<M>(m, v); });
}

inline double KivGetReal(const KivFieldDef& f, const void* m) {
    return kiv_detail::WithMemberKind(f.member, [&]<KivMember M>() { return kiv_detail::GetReal<M>(m); });
}

inline void KivSetReal(const KivFieldDef& f, void* m, double v) {
    kiv_detail::WithMemberKind(f.member, [&]<KivMember M>() { kiv_detail::SetReal<M>(m, v); });
}

/// A float member's value as it is, without passing through double: a signalling NaN
/// read from a file keeps its bits (a conversion may quiet it, depending on the compiler).
inline float KivGetFloat(const KivFieldDef& f, const void* m) {
    if (f.member == KivMember::f32) return *static_cast<const float*>(m);
    return static_cast<float>(KivGetReal(f, m));
}

inline void KivSetFloat(const KivFieldDef& f, void* m, float v) {
    if (f.member == KivMember::f32)
        *static_cast<float*>(m) = v;
    else
        KivSetReal(f, m, v);
}
