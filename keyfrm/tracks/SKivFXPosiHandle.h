// The handle of a position keyframe: offsets from the keyframe's position along each axis.
#pragma once

#include "kivbase/KivBlockParts.h"
#include "kivbase/persist/KivFieldTable.h"

struct SKivFXPosiHandle {
    float X;
    float Y;
    float Z;
};

/// Stored image, 12 bytes: the three floats in axis order.
template <>
struct KivBlockCodec<SKivFXPosiHandle> {
    static constexpr UINT kSize = 12;
    static constexpr bool kLoadsAsImage = true;
    static constexpr bool kStoresAsImage = true;
    static constexpr KivBlockPart kParts[] = {{"X", KivPartType::f32, 0}, {"Y", KivPartType::f32, 4}, {"Z", KivPartType::f32, 8}};
    static void Pack(const SKivFXPosiHandle& h, BYTE* out) {
        KivPutF32(out, h.X);
        KivPutF32(out + 4, h.Y);
        KivPutF32(out + 8, h.Z);
    }
    static void Unpack(const BYTE* in, SKivFXPosiHandle& h) {
        h.X = KivGetF32(in);
        h.Y = KivGetF32(in + 4);
        h.Z = KivGetF32(in + 8);
    }
};
