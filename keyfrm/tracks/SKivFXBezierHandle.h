// The Bezier handle of a scalar keyframe: a value offset added to the keyframe's value
// and a horizontal offset in the track's position unit (location or frames).
#pragma once

#include "kivbase/KivBlockParts.h"
#include "kivbase/persist/KivFieldTable.h"

struct SKivFXBezierHandle {
    float ValueOffset;
    double PosOffset;
};

/// Stored image, 16 bytes: the float, four reserved zero bytes, the double.
template <>
struct KivBlockCodec<SKivFXBezierHandle> {
    static constexpr UINT kSize = 16;
    static constexpr bool kLoadsAsImage = true;  // the reserved bytes land in the padding
    static constexpr bool kStoresAsImage = true;
    static constexpr UINT kStoredZeroAt = 4;     // the padding, stored as the reserved zeros
    static constexpr KivBlockPart kParts[] = {{"ValueOffset", KivPartType::f32, 0}, {"PosOffset", KivPartType::f64, 8}};
    static void Pack(const SKivFXBezierHandle& h, BYTE* out) {
        KivPutF32(out, h.ValueOffset);
        KivPutU32(out + 4, 0);
        KivPutF64(out + 8, h.PosOffset);
    }
    static void Unpack(const BYTE* in, SKivFXBezierHandle& h) {
        h.ValueOffset = KivGetF32(in);
        h.PosOffset = KivGetF64(in + 8);
    }
};
