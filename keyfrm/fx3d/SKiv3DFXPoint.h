// A point in 3-D frame space (pixels, depth), as the distort effect keeps its corners.
#pragma once

#include "kivbase/KivBlockParts.h"
#include "kivbase/persist/KivFieldTable.h"

struct SKiv3DFXPoint {
    float x;
    float y;
    float z;

    constexpr bool operator==(const SKiv3DFXPoint&) const = default;
};

/// Stored image, 12 bytes: the three floats x, y, z.
template <>
struct KivBlockCodec<SKiv3DFXPoint> {
    static constexpr UINT kSize = 12;
    static constexpr bool kLoadsAsImage = true;
    static constexpr bool kStoresAsImage = true;
    static constexpr KivBlockPart kParts[] = {{"x", KivPartType::f32, 0}, {"y", KivPartType::f32, 4}, {"z", KivPartType::f32, 8}};
    static void Pack(const SKiv3DFXPoint& p, BYTE* out) {
        KivPutF32(out, p.x);
        KivPutF32(out + 4, p.y);
        KivPutF32(out + 8, p.z);
    }
    static void Unpack(const BYTE* in, SKiv3DFXPoint& p) {
        p.x = KivGetF32(in);
        p.y = KivGetF32(in + 4);
        p.z = KivGetF32(in + 8);
    }
};
