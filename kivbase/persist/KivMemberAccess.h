// Reading and writing a field's member as a wide integer or a double, whatever its C++
// type; narrowing keeps the low bits, as the stored formats expect.
#pragma once

#include <cstdint>
#include <type_traits>

#include "kivbase/persist/KivFieldTable.h"

inline std::int64_t KivGetInt(const KivFieldDef& f, const void* m) {
    switch (f.member) {
    case KivMember::i32: return *static_cast<const int*>(m);
    case KivMember::i16: return *static_cast<const short*>(m);
    case KivMember::u32: return *static_cast<const DWORD*>(m);
    case KivMember::u8: return *static_cast<const BYTE*>(m);
    default: return 0;  // tables never give an integer encoding to a floating-point member
    }
}

inline void KivSetInt(const KivFieldDef& f, void* m, std::int64_t v) {
    const auto bits = static_cast<std::uint64_t>(v);
    switch (f.member) {
    case KivMember::i32: *static_cast<int*>(m) = static_cast<int>(static_cast<std::uint32_t>(bits)); break;
    case KivMember::i16: *static_cast<short*>(m) = static_cast<short>(static_cast<std::uint16_t>(bits)); break;
    case KivMember::u32: *static_cast<DWORD*>(m) = static_cast<DWORD>(bits); break;
    case KivMember::u8: *static_cast<BYTE*>(m) = static_cast<BYTE>(bits); break;
    case KivMember::f32: *static_cast<float*>(m) = static_cast<float>(v); break;
    case KivMember::f64: *static_cast<double*>(m) = static_cast<double>(v); break;
    default: break;
    }
}

inline double KivGetReal(const KivFieldDef& f, const void* m) {
    switch (f.member) {
    case KivMember::f32: return *static_cast<const float*>(m);
    case KivMember::f64: return *static_cast<const double*>(m);
    default: return static_cast<double>(KivGetInt(f, m));
    }
}

inline void KivSetReal(const KivFieldDef& f, void* m, double v) {
    switch (f.member) {
    case KivMember::f32: *static_cast<float*>(m) = static_cast<float>(v); break;
    case KivMember::f64: *static_cast<double*>(m) = v; break;
    default: break;  // numbers of integer members only arrive through KivSetInt
    }
}

/// Calls fn(field, member pointer) for each field of the level, in table order.
template <class Obj, class Fn>
void KivForEachMember(const KivClassLevel& level, Obj* object, Fn fn) {
    using Byte = std::conditional_t<std::is_const_v<Obj>, const char, char>;
    using Member = std::conditional_t<std::is_const_v<Obj>, const void, void>;
    const std::ptrdiff_t* offsets = level.Offsets(object);
    Byte* base = reinterpret_cast<Byte*>(object);
    for (size_t i = 0; i < level.fields.size(); ++i) {
        const KivFieldDef& f = level.fields[i];
        Member* m = offsets ? static_cast<Member*>(base + offsets[i]) : f.At(object);
        fn(f, m);
    }
}

/// The same over two objects that share the level (assignment, comparison).
template <class Fn>
bool KivForEachMemberPair(const KivClassLevel& level, CObject* a, const CObject* b, Fn fn) {
    const std::ptrdiff_t* offsets = level.Offsets(b);
    for (size_t i = 0; i < level.fields.size(); ++i) {
        const KivFieldDef& f = level.fields[i];
        void* ma = offsets ? reinterpret_cast<char*>(a) + offsets[i] : f.At(a);
        const void* mb = offsets ? reinterpret_cast<const char*>(b) + offsets[i] : f.At(b);
        if (!fn(f, ma, mb)) return false;
    }
    return true;
}
