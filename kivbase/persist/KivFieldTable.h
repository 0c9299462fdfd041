// One class level's fields declared once: XML attribute name, member, archive encoding,
// XML value code, default and flags. The engine in KivPersist.h walks these tables for the
// archive, XML, assignment, defaults, comparison and display, so the formats cannot drift.
#pragma once

#include <array>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <cstring>
#include <span>
#include <type_traits>
#include <typeinfo>

#include "platform/fw/CObject.h"
#include "platform/fw/CString.h"
#include "kivbase/persist/KivBytes.h"

/// How a field is written to the archive. Each kind is explained once, here.
enum class KivEnc : BYTE {
    none,   // not persisted: a run-time parameter that is only defaulted and copied
    i16,    // the low 16 bits; sign-extended into the member on load
    u16,    // the low 16 bits; zero-extended into the member on load
    i32,    // 32-bit signed
    u32,    // 32-bit unsigned
    f32,    // IEEE float
    f64,    // IEEE double
    block,  // fixed-size block of little-endian values, written with the archive's raw Write
    wstr,   // the framework's wide string (0xFF 0xFFFE length, UTF-16 units)
};

/// XML value codes, as the XML document wrapper's typed records carry them.
enum class KivXml : int {
    none = -1,    // not in XML
    wstr = 0,     // text
    flag = 1,     // 32-bit signed (flags, switches)
    i16 = 4,      // 16-bit signed: the low 16 bits stored, sign-extended on load
    version = 6,  // the "Version" word only
    i32 = 7,      // 32-bit signed (frame numbers, counts)
    color = 11,   // 32-bit unsigned (packed colours)
    f32 = 12,     // float
    f64 = 13,     // double
    block = 17,   // block of bytes
};

/// The C++ type of the member, deduced from the member pointer.
enum class KivMember : BYTE { i32, i16, u32, u8, f32, f64, block, wstr, custom };

/// Fixed-size blocks: specialise with kSize, Pack and Unpack (byte by byte, little-endian).
/// A codec may add kLoadsAsImage (Unpack gives what copying the kSize stored bytes over the
/// member would, on a little-endian host; bytes the member leaves unused may take any value)
/// and kStoresAsImage (Pack writes the member's own bytes, on a little-endian host; padding
/// is allowed only as one range of four bytes that Pack writes as zeros, named by
/// kStoredZeroAt); the engine then copies such blocks instead of calling the codec.
template <class T>
struct KivBlockCodec {
    static constexpr UINT kSize = 0;
};

/// KivFieldDef::blockZeroAt of a block whose stored image has no reserved zeros.
inline constexpr BYTE kKivNoStoredZeros = 0xFF;

/// How a block field may be copied (KivBlockCodec's kLoadsAsImage and kStoresAsImage).
enum KivBlockImage : BYTE {
    kKivBlockLoadsAsImage = 1,
    kKivBlockStoresAsImage = 2,
};

/// Members that are neither numbers, strings nor blocks (arrays): specialise with Assign,
/// Reset (to the empty default) and Equal.
template <class T>
struct KivCustomTraits {
    static void Assign(T& dst, const T& src) { dst.Copy(src); }
    static void Reset(T& m) { m.RemoveAll(); }
    static bool Equal(const T& a, const T& b) {
        if (a.GetSize() != b.GetSize()) return false;
        for (INT_PTR i = 0; i < a.GetSize(); ++i)
            if (!SameElement(a.GetAt(i), b.GetAt(i))) return false;
        return true;
    }

private:
    // Floating-point elements compare bit for bit, as scalar fields do, so that a stored NaN
    // equals itself after a round trip.
    template <class E>
    static bool SameElement(const E& x, const E& y) {
        if constexpr (std::is_same_v<E, double>) return std::bit_cast<ULONGLONG>(x) == std::bit_cast<ULONGLONG>(y);
        else if constexpr (std::is_same_v<E, float>) return std::bit_cast<DWORD>(x) == std::bit_cast<DWORD>(y);
        else return x == y;
    }
};

struct KivCustomOps {
    void (*assign)(void* dst, const void* src);
    void (*reset)(void* member);
    bool (*equal)(const void* a, const void* b);
    const std::type_info* type;  // the member's C++ type, for generic tools (samples, fuzzing)
};

/// The longest fixed-size block any class stores (a triangle vertex: two doubles).
constexpr UINT kKivMaxBlockSize = 16;

enum KivFieldFlags : UINT {
    kKivFieldOptional = 1,  // last field read only when the converted version is not negative
    kKivFieldNoAssign = 2,  // left alone by operator= and Default (kept by the class itself)
    // Stored by the class's own Serialize/SerializeXML (a list, a child object), with
    // KivEnc::none and KivXml::none: the engine's format walks pass it by, while comparison,
    // "DataMember" and the format reference count it as stored.
    kKivFieldOwnFormat = 4,
    // A run-time result that belongs to the object it was computed for: operator= sets it to
    // its default instead of copying it (Default sets it to its default as usual).
    kKivFieldResetOnAssign = 8,
};

struct KivFieldDef {
    const char* name;  // XML attribute name (also the member's name for display)
    KivMember member;
    KivEnc enc;
    KivXml xml;
    UINT flags;
    UINT blockSize;
    UINT memberBytes;  // sizeof the member
    void* (*addr)(CObject* object);  // the member inside an object of the level's class
    double defNum;                   // default of a number member (exact for every int32 and float)
    std::array<BYTE, kKivMaxBlockSize> defBlock;  // default of a block member, packed
    void (*packBlock)(const void* member, BYTE* out);
    void (*unpackBlock)(const BYTE* in, void* member);
    BYTE blockImage;  // KivBlockImage bits
    BYTE blockZeroAt;  // with kKivBlockStoresAsImage: four bytes stored as zeros there, or kKivNoStoredZeros
    const KivCustomOps* custom;

    /// Written and read by the engine's format walks.
    bool IsPersisted() const { return enc != KivEnc::none; }
    /// Part of the stored data, by the engine or by the class's own code.
    bool IsStored() const { return IsPersisted() || (flags & kKivFieldOwnFormat) != 0; }
    /// Archive bytes of one value as the engine writes it: 0 when not written, -1 when the
    /// length varies (a wide string).
    int ArchiveBytes() const {
        switch (enc) {
        case KivEnc::none: return 0;
        case KivEnc::i16:
        case KivEnc::u16: return 2;
        case KivEnc::i32:
        case KivEnc::u32:
        case KivEnc::f32: return 4;
        case KivEnc::f64: return 8;
        case KivEnc::block: return static_cast<int>(blockSize);
        case KivEnc::wstr: return -1;
        }
        return 0;
    }
    void* At(CObject* o) const { return addr(o); }
    const void* At(const CObject* o) const { return addr(const_cast<CObject*>(o)); }
};

namespace kiv_detail {

template <class M>
struct MemberPointerTraits;
template <class C, class T>
struct MemberPointerTraits<T C::*> {
    using Class = C;
    using Type = T;
};

template <class T>
constexpr KivMember MemberKindOf() {
    if constexpr (std::is_same_v<T, int>) return KivMember::i32;
    else if constexpr (std::is_same_v<T, short>) return KivMember::i16;
    else if constexpr (std::is_same_v<T, DWORD>) return KivMember::u32;
    else if constexpr (std::is_same_v<T, BYTE>) return KivMember::u8;
    else if constexpr (std::is_same_v<T, float>) return KivMember::f32;
    else if constexpr (std::is_same_v<T, double>) return KivMember::f64;
    else if constexpr (std::is_same_v<T, CString>) return KivMember::wstr;
    else if constexpr (KivBlockCodec<T>::kSize > 0) return KivMember::block;
    else return KivMember::custom;
}

template <class T>
const KivCustomOps* CustomOpsFor() {
    static const KivCustomOps ops = {
        [](void* d, const void* s) { KivCustomTraits<T>::Assign(*static_cast<T*>(d), *static_cast<const T*>(s)); },
        [](void* m) { KivCustomTraits<T>::Reset(*static_cast<T*>(m)); },
        [](const void* a, const void* b) { return KivCustomTraits<T>::Equal(*static_cast<const T*>(a), *static_cast<const T*>(b)); },
        &typeid(T),
    };
    return &ops;
}

template <class T>
constexpr BYTE BlockImageOf() {
    using Codec = KivBlockCodec<T>;
    constexpr BYTE bits = [] {
        BYTE b = 0;
        if constexpr (requires { Codec::kLoadsAsImage; })
            if constexpr (Codec::kLoadsAsImage) b |= kKivBlockLoadsAsImage;
        if constexpr (requires { Codec::kStoresAsImage; })
            if constexpr (Codec::kStoresAsImage) b |= kKivBlockStoresAsImage;
        return b;
    }();
    // A block copied as it stands must be exactly its stored bytes, with a plain layout.
    static_assert(bits == 0 || (sizeof(T) == Codec::kSize && std::is_trivially_copyable_v<T> && std::is_standard_layout_v<T>));
    return bits;
}

template <class T>
constexpr BYTE BlockZeroAtOf() {
    using Codec = KivBlockCodec<T>;
    if constexpr (requires { Codec::kStoredZeroAt; }) {
        static_assert(Codec::kStoredZeroAt % 4 == 0 && Codec::kStoredZeroAt + 4 <= Codec::kSize);
        return static_cast<BYTE>(Codec::kStoredZeroAt);
    } else {
        return kKivNoStoredZeros;
    }
}

}  // namespace kiv_detail

/// Declares one field: KivField<&Class::Member>("Name", KivEnc::f32, KivXml::f32, 0.0f).
/// The member's type decides how values are held; the encodings decide the formats.
template <auto MP, class D = int>
KivFieldDef KivField(const char* name, KivEnc enc, KivXml xml, const D& def = D{}, UINT flags = 0) {
    using Traits = kiv_detail::MemberPointerTraits<decltype(MP)>;
    using C = typename Traits::Class;
    using T = typename Traits::Type;
    constexpr KivMember kind = kiv_detail::MemberKindOf<T>();
    static_assert(kind != KivMember::block || KivBlockCodec<T>::kSize <= kKivMaxBlockSize);
    // KivNumberDefaults copies defaults at each member's offset from the CObject part, learned
    // from an object of the level's class; every object of a derived class has the member at
    // that offset only while CObject is a non-virtual, unambiguous base.
    static_assert(requires(CObject* o) { static_cast<C*>(o); },
                  "a persisted member's class must reach CObject through non-virtual, unambiguous bases");

    KivFieldDef f{};
    f.name = name;
    f.member = kind;
    f.enc = enc;
    f.xml = xml;
    f.flags = flags;
    f.memberBytes = sizeof(T);
    f.addr = [](CObject* o) -> void* { return &(static_cast<C*>(o)->*MP); };
    if constexpr (kind == KivMember::block) {
        f.blockSize = KivBlockCodec<T>::kSize;
        f.packBlock = [](const void* m, BYTE* out) { KivBlockCodec<T>::Pack(*static_cast<const T*>(m), out); };
        f.unpackBlock = [](const BYTE* in, void* m) { KivBlockCodec<T>::Unpack(in, *static_cast<T*>(m)); };
        if constexpr (std::is_same_v<D, T>) KivBlockCodec<T>::Pack(def, f.defBlock.data());
        f.blockImage = kiv_detail::BlockImageOf<T>();
        f.blockZeroAt = kiv_detail::BlockZeroAtOf<T>();
    } else if constexpr (kind == KivMember::custom) {
        f.custom = kiv_detail::CustomOpsFor<T>();
    } else if constexpr (std::is_arithmetic_v<D>) {
        f.defNum = static_cast<double>(def);
    }
    return f;
}

/// A run-time parameter kept in memory only: defaulted and copied through the table, never
/// written to either format.
template <auto MP, class D = int>
KivFieldDef KivMemoryField(const char* name, const D& def = D{}, UINT flags = 0) {
    return KivField<MP>(name, KivEnc::none, KivXml::none, def, flags);
}

enum KivLevelFlags : UINT {
    kKivLevelSkipVersionConvert = 1,  // the load skips the version word without converting it
    kKivLevelKeptByDefault = 2,       // the class inherits Default(), which leaves this level alone
};

struct KivClassLevel;
struct KivRecordPlan;
class CArchive;
using KivLevelFn = const KivClassLevel& (*)();

/// How a class whose Serialize is the engine's own (KivSerializeLevels) reaches its base: the
/// two run-time classes, the base's table (null when it has none) and the base's own
/// Serialize, called without the virtual slot.
struct KivLevelLink {
    const CRuntimeClass* self;
    const CRuntimeClass* base;
    KivLevelFn baseLevel;
    void (*baseSerialize)(CArchive& ar, CObject* object);
    /// Calls use(context, object) with a default object of the class made on the stack, from
    /// which the engine learns where the class keeps its members.
    void (*withObject)(void (*use)(void* context, const CObject* object), void* context);
};

/// A level's defaults when every field they reset is a number: each member's bytes copied from
/// its default, grouped by size, so that constructors (which all reset their level) run them
/// inline. Made when the level's class registers, from an object of that class: members sit
/// at the same offsets from the CObject part in every object that has the level, as CObject
/// is a non-virtual, unambiguous base of every class with a field table (KivField asserts it).
struct KivNumberDefaults {
    struct Number {
        std::ptrdiff_t offset;  // of the member from the object's CObject part
        BYTE image[8];          // the member's bytes, from the first
    };
    enum Size : BYTE { by8, by4, by2, by1, kSizes };
    const Number* numbers = nullptr;          // grouped by Size
    std::array<std::uint32_t, kSizes> ends{};  // one past each group's last number
    BYTE used = 0;                             // bit s set when group s has numbers

    void Apply(CObject* object) const {
        char* base = reinterpret_cast<char*>(object);
        const Number* n = numbers;
        if (used & (1u << by8))
            for (const Number* end = numbers + ends[by8]; n != end; ++n) std::memcpy(base + n->offset, n->image, 8);
        if (used & (1u << by4))
            for (const Number* end = numbers + ends[by4]; n != end; ++n) std::memcpy(base + n->offset, n->image, 4);
        if (used & (1u << by2))
            for (const Number* end = numbers + ends[by2]; n != end; ++n) std::memcpy(base + n->offset, n->image, 2);
        if (used & (1u << by1))
            for (const Number* end = numbers + ends[by1]; n != end; ++n) std::memcpy(base + n->offset, n->image, 1);
    }
};

/// What the engine works out once for a level, when its class registers (KivRegisterLevel),
/// and keeps for the life of the process. Constant-initialised, so a level can be used from
/// other static initialisers; everything is null or false until the class registers.
struct KivLevelCache {
    /// The class's whole record, when every level from the root up is the engine's own and of
    /// fixed size (KivRecordPlan.h).
    std::atomic<const KivRecordPlan*> record{nullptr};
    /// The level's defaults, when they are all numbers.
    std::atomic<const KivNumberDefaults*> numberDefaults{nullptr};
    /// The element and attribute names are valid XML names and no attribute name repeats, so
    /// storing into a fresh "DataMember" may append without looking for an earlier attribute.
    std::atomic<bool> xmlNamesChecked{false};
    std::atomic<bool> prepared{false};  // the record and the defaults were worked out
};

/// The facts of one class level, stated once next to its field table.
struct KivClassLevel {
    const char* className;  // for messages and the version converter
    const char* element;    // XML element name literal (often another class's name)
    WORD loaderConstant;    // class constant handed to the version converter on load
    UINT flags;
    std::span<const KivFieldDef> fields;
    KivLevelCache* cache = nullptr;        // null: nothing is prepared, every walk is the plain one
    const KivLevelLink* engine = nullptr;  // set when the class's Serialize is the engine's own

    /// A level writes "DataMember" only when it has stored fields of its own.
    bool HasDataMember() const {
        for (const auto& f : fields)
            if (f.IsStored()) return true;
        return false;
    }
};
