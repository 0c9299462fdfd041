// Colours of the base library: the 32-bit pixel (blue, green, red, alpha in memory), its
// hue-luminance-saturation form, the conversions between them and a small colour object.
#pragma once

#include "platform/fw/KivTypes.h"

/// One pixel as pixel blocks hold it. Read as a little-endian DWORD it is the packed colour
/// alpha << 24 | red << 16 | green << 8 | blue that colour fields store.
struct tagCOLOR32 {
    BYTE blue;
    BYTE green;
    BYTE red;
    BYTE alpha;

    static constexpr tagCOLOR32 FromDWORD(DWORD packed) {
        return {static_cast<BYTE>(packed), static_cast<BYTE>(packed >> 8), static_cast<BYTE>(packed >> 16),
                static_cast<BYTE>(packed >> 24)};
    }
    constexpr DWORD ToDWORD() const {
        return (DWORD{alpha} << 24) | (DWORD{red} << 16) | (DWORD{green} << 8) | DWORD{blue};
    }
    constexpr bool operator==(const tagCOLOR32&) const = default;
};
static_assert(sizeof(tagCOLOR32) == 4, "a pixel is four bytes with no padding");

/// A colour as hue, luminance, saturation and alpha, each 0..255. Hue runs once round the
/// colour circle in 256 steps (0 red, about 85 green, about 171 blue; 255 is just short of red).
struct tagCOLORHLSA {
    BYTE hue;
    BYTE luminance;
    BYTE saturation;
    BYTE alpha;

    constexpr bool operator==(const tagCOLORHLSA&) const = default;
};
static_assert(sizeof(tagCOLORHLSA) == 4, "four bytes, as the colour dialog keeps them");

/// RGB of a hue-luminance-saturation colour (the usual double-cone model, each channel
/// rounded to the nearest byte); alpha is passed through. Saturation 0 gives grey, luminance
/// 0 black and 255 white whatever the hue.
tagCOLOR32 KivPublicHLSA2RGBA(tagCOLORHLSA hlsa);
/// The inverse: the triple nearest the colour, that is the double-cone values rounded to
/// bytes, moved to a neighbouring triple when that converts back closer. Greys get hue 0 and
/// saturation 0 and come back exactly; alpha is passed through. Round trip from RGB: every
/// channel within 1 unit for colours whose chroma (largest less smallest channel) is at
/// most kHlsExactChroma, within 2 for all others. No 256-step hue can do better for vivid
/// colours: the 1530 fully saturated colours share one luminance and one saturation.
tagCOLORHLSA KivPublicRGBA2HLSA(tagCOLOR32 rgba);
/// The largest chroma for which the round trip RGB -> HLS -> RGB keeps every channel within
/// one unit (two thirds of the range).
constexpr int kHlsExactChroma = 171;

/// A colour value that converts to the pixel pointer colour arrays take. Opaque white when
/// default-constructed, as colour fields default.
class CKivColor32 {
public:
    CKivColor32() : m_color(tagCOLOR32::FromDWORD(kOpaqueWhite)) {}
    explicit CKivColor32(tagCOLOR32 color) : m_color(color) {}
    explicit CKivColor32(DWORD packed) : m_color(tagCOLOR32::FromDWORD(packed)) {}

    void SetColor(BYTE red, BYTE green, BYTE blue, BYTE alpha) { m_color = {blue, green, red, alpha}; }
    tagCOLOR32 GetColor() const { return m_color; }
    DWORD GetDWORD() const { return m_color.ToDWORD(); }
    operator tagCOLOR32*() { return &m_color; }
    operator const tagCOLOR32*() const { return &m_color; }

    static constexpr DWORD kOpaqueWhite = 0xFFFFFFFFu;

private:
    tagCOLOR32 m_color;
};
