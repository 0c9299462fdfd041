// A vertex of the triangle emitter, in the emitter's own coordinates.
#pragma once

#include "kivbase/KivBlockParts.h"
#include "kivbase/persist/KivFieldTable.h"

struct SKivFXEmitVertex {
    double x;
    double y;

    constexpr bool operator==(const SKivFXEmitVertex&) const = default;
};

/// Stored image, 16 bytes: the two doubles x, y.
template <>
struct KivBlockCodec<SKivFXEmitVertex> {
    static constexpr UINT kSize = 16;
    static constexpr bool kLoadsAsImage = true;
    static constexpr bool kStoresAsImage = true;
    static constexpr KivBlockPart kParts[] = {{"x", KivPartType::f64, 0}, {"y", KivPartType::f64, 8}};
    static void Pack(const SKivFXEmitVertex& v, BYTE* out) {
        KivPutF64(out, v.x);
        KivPutF64(out + 8, v.y);
    }
    static void Unpack(const BYTE* in, SKivFXEmitVertex& v) {
        v.x = KivGetF64(in);
        v.y = KivGetF64(in + 8);
    }
};
