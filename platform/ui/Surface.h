// A 32-bit drawing surface (the screen, a bitmap) and the conversion between the framework's
// COLORREF (0x00BBGGRR) and a surface pixel (0x00RRGGBB, bytes blue, green, red, 0 in memory).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/fw/KivTypes.h"

using KivPixel = std::uint32_t;

/// Pixels carry no alpha: drawing always leaves the top byte 0, as the old system's
/// drawing calls did on 32-bit surfaces.
constexpr KivPixel kPixelRgbMask = 0x00FFFFFF;

/// The value GetPixel gives for a point outside the surface or its clip.
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

constexpr KivPixel KivPixelFromColor(COLORREF c) {
    return (static_cast<KivPixel>(GetRValue(c)) << 16) | (static_cast<KivPixel>(GetGValue(c)) << 8) | GetBValue(c);
}
constexpr COLORREF KivColorFromPixel(KivPixel p) {
    return RGB(static_cast<BYTE>((p >> 16) & 0xFF), static_cast<BYTE>((p >> 8) & 0xFF), static_cast<BYTE>(p & 0xFF));
}

struct KivSurface {
    int width = 0;
    int height = 0;
    std::vector<KivPixel> pixels;  // rows top-down, width pixels each

    KivSurface() = default;
    KivSurface(int w, int h, KivPixel fill = 0)
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
          pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    KivPixel& At(int x, int y) { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    KivPixel At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};
