// Block codecs for the framework's point and rectangle, so members of those types default
// and copy through field tables (and could be stored as raw blocks).
#pragma once

#include "kivbase/persist/KivFieldTable.h"
#include "platform/fw/CGeometry.h"

/// Stored image, 8 bytes: x, y as 32-bit signed.
template <>
struct KivBlockCodec<CPoint> {
    static constexpr UINT kSize = 8;
    static constexpr bool kLoadsAsImage = true;
    static constexpr bool kStoresAsImage = true;
    static void Pack(const CPoint& p, BYTE* out) {
        KivPutI32(out, p.x);
        KivPutI32(out + 4, p.y);
    }
    static void Unpack(const BYTE* in, CPoint& p) {
        p.x = KivGetI32(in);
        p.y = KivGetI32(in + 4);
    }
};

/// Stored image, 16 bytes: left, top, right, bottom as 32-bit signed.
template <>
struct KivBlockCodec<CRect> {
    static constexpr UINT kSize = 16;
    static constexpr bool kLoadsAsImage = true;
    static constexpr bool kStoresAsImage = true;
    static void Pack(const CRect& r, BYTE* out) {
        KivPutI32(out, r.left);
        KivPutI32(out + 4, r.top);
        KivPutI32(out + 8, r.right);
        KivPutI32(out + 12, r.bottom);
    }
    static void Unpack(const BYTE* in, CRect& r) {
        r.SetRect(KivGetI32(in), KivGetI32(in + 4), KivGetI32(in + 8), KivGetI32(in + 12));
    }
};
