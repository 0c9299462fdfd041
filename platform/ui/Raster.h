// Pixel-level drawing on a surface through a clip region: the old system's 1-pixel line rule,
// fills, raster operations, wide-pen and ellipse pixel masks. Coordinates are surface pixels.
#pragma once

#include <cstddef>

#include <vector>

#include "platform/ui/Region.h"
#include "platform/ui/Surface.h"

/// Binary raster operations (mix modes) for pens and brushes.
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

/// Ternary raster operations for BitBlt.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

/// Coordinates beyond this magnitude are refused by the line and shape calls, as the old
/// system limited its coordinate space (and so that the line arithmetic cannot overflow).
constexpr int kMaxCoordinate = 1 << 27;

KivPixel KivApplyRop2(int rop2, KivPixel pen, KivPixel dst);
KivPixel KivApplyRop3(DWORD rop3, KivPixel pattern, KivPixel source, KivPixel dst);

/// A set of pixels inside a bounding rectangle, so a shape touches each pixel once.
class KivPixelMask {
public:
    KivPixelMask() = default;
    explicit KivPixelMask(const CRect& bounds);
    void Set(int x, int y);
    bool Test(int x, int y) const;
    const CRect& Bounds() const { return m_bounds; }

private:
    CRect m_bounds;
    std::vector<unsigned char> m_bits;
};

/// The pixels of a wide round-capped line of the given width from a to b (both ends
/// included), limited to `limit`.
KivPixelMask KivWideLineMask(CPoint a, CPoint b, int width, const CRect& limit);
/// Adds a wide line's pixels to an existing mask.
void KivAddWideLine(KivPixelMask& mask, CPoint a, CPoint b, int width);
/// The outline (pen of penWidth; 0 for no pen) and interior pixels of a shape in box (right
/// and bottom exclusive), limited to `limit`; the two never share a pixel.
using KivShapeMasks = void (*)(const CRect& box, int penWidth, const CRect& limit, KivPixelMask& outline,
                               KivPixelMask& interior);
/// The ellipse inscribed in box.
void KivEllipseMasks(const CRect& box, int penWidth, const CRect& limit, KivPixelMask& outline, KivPixelMask& interior);
/// The rectangle; without a pen its inside is one pixel smaller to the right and bottom,
/// as the old system fills it.
void KivRectangleMasks(const CRect& box, int penWidth, const CRect& limit, KivPixelMask& outline, KivPixelMask& interior);

/// Drawing on one surface through one clip region (both in surface pixels).
class KivRaster {
public:
    KivRaster(KivSurface& surface, const KivRegion& clip);

    bool Visible(int x, int y) const;
    /// Limits of any drawing: the clip's bounds within the surface.
    const CRect& Limit() const { return m_limit; }
    void Plot(int x, int y, KivPixel color, int rop2);
    /// Mixes color into the pixel by coverage (0 leaves it, 255 replaces it).
    void Blend(int x, int y, KivPixel color, int coverage);
    void FillRect(const CRect& r, KivPixel color, int rop2);
    /// FillRect with R2_COPYPEN for one of many small fills in turn: part names the clip's
    /// part that held the last fill whole (start it at 0); a fill within it is made without
    /// walking the other parts, as neighbouring marks mostly share one.
    void FillRectWithin(const CRect& r, KivPixel color, std::size_t& part);
    /// The old system's 1-pixel line: every pixel from a up to but not including b; a line
    /// and its reverse light the same pixels apart from their end points. End points must lie
    /// within ±(1 << 29) so that the arithmetic stays in 64 bits.
    void Line(CPoint a, CPoint b, KivPixel color, int rop2);
    void FillMask(const KivPixelMask& mask, KivPixel color, int rop2);
    KivPixel Get(int x, int y) const { return m_surface.At(x, y); }
    KivSurface& Surface() { return m_surface; }

private:
    KivSurface& m_surface;
    const KivRegion& m_clip;
    CRect m_limit;
};
