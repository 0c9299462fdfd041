// Picture transfers of the device context: BitBlt, PatBlt, StretchDIBits and DrawState.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/ui/DC.h"

namespace {

constexpr unsigned kRopTableShift = 16;
// The truth-table bits of a ternary operation with the source bit set, and with it clear.
constexpr unsigned kSourceSetBits = 0xCC;
constexpr unsigned kSourceClearBits = 0x33;
constexpr unsigned kDrawStateKindMask = 0x000F;
constexpr unsigned kDrawStateFlagsMask = 0xFFF0;

bool UsesSource(DWORD rop) {
    const unsigned table = (rop >> kRopTableShift) & 0xFF;
    return ((table & kSourceSetBits) >> 2) != (table & kSourceClearBits);
}

}  // namespace

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop) {
    if (width < 0 || height < 0 || width > kMaxCoordinate || height > kMaxCoordinate) return FALSE;
    if (std::abs(x) > kMaxCoordinate || std::abs(y) > kMaxCoordinate || std::abs(xSrc) > kMaxCoordinate ||
        std::abs(ySrc) > kMaxCoordinate)
        return FALSE;
    const bool needsSource = UsesSource(rop);
    if (needsSource && (!src || !src->HasSurface())) return FALSE;
    if (!HasSurface()) return TRUE;
    const KivRegion& clip = EffectiveClip();
    KivRaster raster(*m_state.surface, clip);
    // Only the part of the block that can reach the destination is walked.
    const CPoint origin = ToSurface(x, y);
    CRect area;
    if (!area.IntersectRect(CRect(origin.x, origin.y, origin.x + width, origin.y + height), raster.Limit())) return TRUE;
    if (rop == SRCCOPY && src->m_state.surface != m_state.surface) {
        CopyRows(clip, area, origin, *src, xSrc, ySrc);
        return TRUE;
    }
    area.OffsetRect(-origin.x, -origin.y);
    const size_t areaWidth = static_cast<size_t>(area.Width());
    // Read the source part first so that a copy within one surface may overlap.
    std::vector<KivPixel> block;
    std::vector<bool> present;
    if (needsSource) {
        block.resize(areaWidth * static_cast<size_t>(area.Height()));
        present.resize(block.size());
        const KivSurface& s = *src->m_state.surface;
        for (int j = area.top; j < area.bottom; ++j)
            for (int i = area.left; i < area.right; ++i) {
                const CPoint sp = src->ToSurface(xSrc + i, ySrc + j);
                if (!s.Inside(sp.x, sp.y)) continue;
                const size_t k = static_cast<size_t>(j - area.top) * areaWidth + static_cast<size_t>(i - area.left);
                block[k] = s.At(sp.x, sp.y);
                present[k] = true;
            }
    }
    const KivPixel pattern = KivPixelFromColor(m_state.brushData.color);
    for (int j = area.top; j < area.bottom; ++j)
        for (int i = area.left; i < area.right; ++i) {
            const size_t k = static_cast<size_t>(j - area.top) * areaWidth + static_cast<size_t>(i - area.left);
            if (needsSource && !present[k]) continue;
            const CPoint dp(origin.x + i, origin.y + j);
            if (!raster.Visible(dp.x, dp.y)) continue;
            KivPixel& d = m_state.surface->At(dp.x, dp.y);
            d = KivApplyRop3(rop, pattern, needsSource ? block[k] : 0, d);
        }
    return TRUE;
}

void CDC::CopyRows(const KivRegion& clip, const CRect& area, CPoint origin, const CDC& src, int xSrc, int ySrc) {
    // A plain copy between two surfaces: whole runs of pixels, clip rectangle by clip
    // rectangle (they are disjoint), instead of testing every pixel.
    KivSurface& d = *m_state.surface;
    const KivSurface& s = *src.m_state.surface;
    for (const CRect& c : clip.Rects()) {
        CRect r;
        if (!r.IntersectRect(c, area)) continue;
        for (int y = r.top; y < r.bottom; ++y) {
            const CPoint first = src.ToSurface(xSrc + (r.left - origin.x), ySrc + (y - origin.y));
            if (first.y < 0 || first.y >= s.height) continue;
            // Source columns first.x .. first.x + width - 1, cut to the source surface.
            const int skip = std::max(0, -first.x);
            const int count = std::min(r.Width(), s.width - first.x) - skip;
            if (count <= 0) continue;
            const KivPixel* from = &s.pixels[static_cast<size_t>(first.y) * static_cast<size_t>(s.width) + static_cast<size_t>(first.x + skip)];
            std::copy_n(from, count, &d.At(r.left + skip, y));
        }
    }
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
    if (UsesSource(rop)) return FALSE;
    return BitBlt(x, y, width, height, nullptr, 0, 0, rop);
}

int CDC::StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                       int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    if (!bits || !info || usage != DIB_RGB_COLORS) return 0;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0) return 0;
    if (destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) return 0;
    if (destWidth > kMaxCoordinate || destHeight > kMaxCoordinate || std::abs(xDest) > kMaxCoordinate ||
        std::abs(yDest) > kMaxCoordinate)
        return 0;
    const std::int64_t dibWidth = h.biWidth;
    const std::int64_t dibHeight = std::abs(static_cast<std::int64_t>(h.biHeight));
    const bool bottomUp = h.biHeight > 0;
    const std::int64_t bytesPerPixel = h.biBitCount / 8;
    // Rows are padded to whole 32-bit words.
    const std::int64_t stride = ((dibWidth * h.biBitCount + 31) / 32) * 4;
    if (h.biSizeImage != 0 && h.biSizeImage < stride * dibHeight) return 0;
    if (!HasSurface()) return srcHeight;
    const auto* base = static_cast<const unsigned char*>(bits);
    const KivPixel pattern = KivPixelFromColor(m_state.brushData.color);
    const KivRegion& clip = EffectiveClip();
    KivRaster raster(*m_state.surface, clip);
    // Only destination pixels inside the drawing limits are walked.
    const CPoint origin = ToSurface(xDest, yDest);
    CRect area;
    if (!area.IntersectRect(CRect(origin.x, origin.y, origin.x + destWidth, origin.y + destHeight), raster.Limit()))
        return srcHeight;
    area.OffsetRect(-origin.x, -origin.y);
    for (int j = area.top; j < area.bottom; ++j) {
        const CPoint rowStart(origin.x, origin.y + j);
        // Nearest source pixel to the destination pixel's centre.
        const std::int64_t sj = (2 * std::int64_t{j} + 1) * srcHeight / (2 * std::int64_t{destHeight});
        // For bottom-up rows the source rectangle's y counts from the bottom row.
        const std::int64_t row = bottomUp ? ySrc + srcHeight - 1 - sj : ySrc + sj;
        if (row < 0 || row >= dibHeight) continue;
        const unsigned char* line = base + row * stride;
        for (int i = area.left; i < area.right; ++i) {
            const CPoint dp(rowStart.x + i, rowStart.y);
            if (!raster.Visible(dp.x, dp.y)) continue;
            const std::int64_t col = xSrc + (2 * std::int64_t{i} + 1) * srcWidth / (2 * std::int64_t{destWidth});
            if (col < 0 || col >= dibWidth) continue;
            const unsigned char* px = line + col * bytesPerPixel;
            const KivPixel s = (KivPixel{px[2]} << 16) | (KivPixel{px[1]} << 8) | px[0];
            KivPixel& d = m_state.surface->At(dp.x, dp.y);
            d = KivApplyRop3(rop, pattern, s, d);
        }
    }
    return srcHeight;
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP bitmap, UINT flags, HBRUSH) {
    if ((flags & kDrawStateKindMask) != DST_BITMAP || (flags & kDrawStateFlagsMask) != DSS_NORMAL) return FALSE;
    CBitmap* bmp = CBitmap::FromHandle(bitmap);
    if (!bmp || !bmp->Surface()) return FALSE;
    const KivSurface& s = *bmp->Surface();
    const int w = size.cx > 0 ? std::min(size.cx, static_cast<LONG>(s.width)) : s.width;
    const int hgt = size.cy > 0 ? std::min(size.cy, static_cast<LONG>(s.height)) : s.height;
    if (!HasSurface()) return TRUE;
    const KivRegion& clip = EffectiveClip();
    KivRaster raster(*m_state.surface, clip);
    for (int j = 0; j < hgt; ++j)
        for (int i = 0; i < w; ++i) {
            const CPoint dp = ToSurface(pt.x + i, pt.y + j);
            if (raster.Visible(dp.x, dp.y)) m_state.surface->At(dp.x, dp.y) = s.At(i, j);
        }
    return TRUE;
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush) {
    return DrawState(pt, size, bitmap ? static_cast<HBITMAP>(*bitmap) : nullptr, flags,
                     brush ? static_cast<HBRUSH>(*brush) : nullptr);
}
