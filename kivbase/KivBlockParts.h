// What a fixed-size block holds, part by part, under the names hosts know (a handle's
// ValueOffset and PosOffset, a point's x, y, z), so that tools can show a block's values
// instead of its bytes. A codec names its parts in kParts; KivBlockField records them.
#pragma once

#include <span>
#include <string>

#include "kivbase/persist/KivFieldTable.h"

/// The type of one part of a block's stored image (little-endian, as the codecs write it).
enum class KivPartType : BYTE { i32, u32, f32, f64 };

/// One named part of a block: its type and where it starts in the stored image.
struct KivBlockPart {
    const char* name;
    KivPartType type;
    UINT offset;
};

/// Bytes a part of that type takes in the stored image.
constexpr UINT KivPartBytes(KivPartType type) { return type == KivPartType::f64 ? 8 : 4; }

/// The parts recorded for a block field, in image order; empty for a field that is not a
/// block or whose codec names none (tools then show its bytes).
std::span<const KivBlockPart> KivBlockPartsOf(const KivFieldDef& field);
/// Records the parts of the block field whose member accessor is addr (idempotent).
void KivRegisterBlockParts(void* (*addr)(CObject*), std::span<const KivBlockPart> parts);

/// One part's value read from a stored image, spelled as the XML format spells numbers
/// (the shortest text that reads back to the same value).
std::string KivFormatPart(const KivBlockPart& part, const BYTE* image);

/// A block field (KivEnc::block in both formats) declared as KivField declares it, with its
/// codec's kParts recorded for display when the codec names them.
template <auto MP, class D = int>
KivFieldDef KivBlockField(const char* name, const D& def = D{}, UINT flags = 0) {
    using T = typename kiv_detail::MemberPointerTraits<decltype(MP)>::Type;
    const KivFieldDef f = KivField<MP>(name, KivEnc::block, KivXml::block, def, flags);
    if constexpr (requires { KivBlockCodec<T>::kParts; }) KivRegisterBlockParts(f.addr, KivBlockCodec<T>::kParts);
    return f;
}
