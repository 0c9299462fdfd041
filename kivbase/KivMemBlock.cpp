#include "kivbase/KivMemBlock.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr unsigned kOpaque = 255;

// a * b / 255 rounded to nearest, for a, b in 0..255 (exact at both ends).
unsigned MulDiv255(unsigned a, unsigned b) { return (a * b + kOpaque / 2) / kOpaque; }

tagCOLOR32 BlendOver(tagCOLOR32 s, tagCOLOR32 d) {
    const unsigned a = s.alpha, rest = kOpaque - a;
    const auto mix = [&](BYTE sc, BYTE dc) { return static_cast<BYTE>((sc * a + dc * rest + kOpaque / 2) / kOpaque); };
    return {mix(s.blue, d.blue), mix(s.green, d.green), mix(s.red, d.red),
            static_cast<BYTE>(a + MulDiv255(d.alpha, rest))};
}

bool WritesRow(KIV_ENUM_FIELD_TYPE field, long long row) {
    if (field == KIV_FIELD_FRAME) return true;
    return (row % 2 == 0) == (field == KIV_FIELD_UPPER);
}

}  // namespace

int CKivMemBlock::InitBlock(CSize size, const tagCOLOR32* initial, int /*reserved*/) {
    if (size.cx <= 0 || size.cy <= 0) return 0;
    const long long count = static_cast<long long>(size.cx) * size.cy;
    if (count > kMaxPixels) return 0;
    std::unique_ptr<tagCOLOR32[]> pixels(new (std::nothrow) tagCOLOR32[static_cast<size_t>(count)]());
    if (!pixels) return 0;
    if (initial) std::memcpy(pixels.get(), initial, static_cast<size_t>(count) * sizeof(tagCOLOR32));
    m_pixels = std::move(pixels);
    m_size = size;
    return 1;
}

void CKivMemBlock::Close() {
    m_pixels.reset();
    m_size = CSize();
}

void CKivMemBlock::ClearBlock(const RECT* rect, tagCOLOR32 color) {
    if (!m_pixels) return;
    const CRect bounds(0, 0, m_size.cx, m_size.cy);
    CRect r;
    if (!r.IntersectRect(rect ? *rect : bounds, bounds)) return;
    for (int y = r.top; y < r.bottom; ++y) {
        tagCOLOR32* row = m_pixels.get() + static_cast<size_t>(y) * m_size.cx;
        std::fill(row + r.left, row + r.right, color);
    }
}

int CKivMemBlock::Copy(int x, int y, const CKivMemBlock* src, CRect srcRect, MIXMODE mode, int /*reserved*/,
                       KIV_ENUM_FIELD_TYPE field) {
    if (!src || !src->m_pixels) return 0;
    if (field != KIV_FIELD_UPPER && field != KIV_FIELD_LOWER && field != KIV_FIELD_FRAME) return 0;
    if (!m_pixels) return 1;

    // 64-bit so that extreme coordinates cannot overflow while clipping.
    long long sl = srcRect.left, st = srcRect.top;
    long long dx = x, dy = y;
    if (sl < 0) { dx -= sl; sl = 0; }
    if (st < 0) { dy -= st; st = 0; }
    const long long sr = std::min<long long>(srcRect.right, src->m_size.cx);
    const long long sb = std::min<long long>(srcRect.bottom, src->m_size.cy);
    if (dx < 0) { sl -= dx; dx = 0; }
    if (dy < 0) { st -= dy; dy = 0; }
    const long long w = std::min(sr - sl, m_size.cx - dx);
    const long long h = std::min(sb - st, m_size.cy - dy);
    if (w <= 0 || h <= 0) return 1;

    // When src is this block the areas may overlap: walk so that every source pixel is read
    // before it is overwritten.
    const bool bottomUp = dy > st;
    const bool rightToLeft = dx > sl;
    const bool blend = mode == MIXMODE_ALPHABLEND;
    for (long long j = 0; j < h; ++j) {
        const long long row = bottomUp ? h - 1 - j : j;
        if (!WritesRow(field, dy + row)) continue;
        const tagCOLOR32* s = src->m_pixels.get() + (st + row) * src->m_size.cx + sl;
        tagCOLOR32* d = m_pixels.get() + (dy + row) * m_size.cx + dx;
        if (!blend) {
            std::memmove(d, s, static_cast<size_t>(w) * sizeof(tagCOLOR32));
            continue;
        }
        for (long long i = 0; i < w; ++i) {
            const long long col = rightToLeft ? w - 1 - i : i;
            d[col] = BlendOver(s[col], d[col]);
        }
    }
    return 1;
}
