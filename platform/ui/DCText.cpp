// Text output of the device context: TextOut, DrawText and text measurement.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/DC.h"

namespace {

// Removes the mnemonic markers: "&x" shows x, "&&" shows one ampersand.
std::wstring StripPrefixes(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        else if (text[i] == L'&') continue;
        out += text[i];
    }
    return out;
}

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::wstring cur;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            lines.push_back(cur);
            cur.clear();
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            cur += text[i];
        }
    }
    lines.push_back(cur);
    return lines;
}

// Greedy breaking at spaces so that each line fits the width; a word wider than the width
// stays whole on its own line.
std::vector<std::wstring> WrapLine(const std::wstring& line, int width, const KivFontInstance& font) {
    std::vector<std::wstring> out;
    std::wstring cur;
    size_t i = 0;
    while (i < line.size()) {
        size_t end = line.find(L' ', i);
        if (end == std::wstring::npos) end = line.size();
        const std::wstring word = line.substr(i, end - i);
        const std::wstring candidate = cur.empty() ? word : cur + L' ' + word;
        if (!cur.empty() && font.TextWidth(candidate) > width) {
            out.push_back(cur);
            cur = word;
        } else {
            cur = candidate;
        }
        i = end + 1;
    }
    out.push_back(cur);
    return out;
}

}  // namespace

void CDC::DrawTextLine(KivRaster& raster, int x, int y, std::wstring_view text) {
    const KivFontInstance* font = m_state.fontInstance.get();
    if (!font) return;
    const TEXTMETRICW& tm = font->Metrics();
    const int width = font->TextWidth(text);
    if (m_state.bkMode == OPAQUE)
        raster.FillRect(CRect(x, y, x + width, y + tm.tmHeight), KivPixelFromColor(m_state.bkColor), R2_COPYPEN);
    const KivPixel color = KivPixelFromColor(m_state.textColor);
    const int baseline = y + tm.tmAscent;
    int penX = x;
    for (wchar_t ch : text) {
        const KivGlyph* g = font->Glyph(static_cast<char32_t>(ch));
        if (!g) continue;
        const int gx = penX + g->left, gy = baseline - g->top;
        for (int row = 0; row < g->rows; ++row)
            for (int col = 0; col < g->width; ++col) {
                const int cov = g->coverage[static_cast<size_t>(row) * static_cast<size_t>(g->width) + static_cast<size_t>(col)];
                if (cov) raster.Blend(gx + col, gy + row, color, cov);
            }
        penX += g->advance;
    }
    if (font->Underline() && font->HasFace())
        for (int ux = x; ux < x + width; ++ux) raster.Plot(ux, baseline + 1, color, R2_COPYPEN);
}

BOOL CDC::TextOut(int x, int y, LPCWSTR text, int count) {
    if (!text || count < 0) return FALSE;
    if (!HasSurface()) return TRUE;
    const KivRegion& clip = EffectiveClip();
    KivRaster raster(*m_state.surface, clip);
    const CPoint p = ToSurface(x, y);
    DrawTextLine(raster, p.x, p.y, std::wstring_view(text, static_cast<size_t>(count)));
    return TRUE;
}

CSize CDC::GetTextExtent(LPCWSTR text, int count) const {
    const KivFontInstance* font = m_state.fontInstance.get();
    if (!font || !text || count < 0) return CSize(0, 0);
    return CSize(font->TextWidth(std::wstring_view(text, static_cast<size_t>(count))), font->Metrics().tmHeight);
}

BOOL CDC::GetTextMetrics(LPTEXTMETRICW tm) const {
    if (!tm || !m_state.fontInstance) return FALSE;
    *tm = m_state.fontInstance->Metrics();
    return TRUE;
}

int CDC::DrawText(LPCWSTR text, int count, LPRECT rect, UINT format) {
    const KivFontInstance* font = m_state.fontInstance.get();
    if (!text || !rect || !font) return 0;
    const std::wstring_view raw = count < 0 ? std::wstring_view(text) : std::wstring_view(text, static_cast<size_t>(count));
    const std::wstring shown = (format & DT_NOPREFIX) ? std::wstring(raw) : StripPrefixes(raw);
    const CRect box(*rect);
    const int lineHeight = font->Metrics().tmHeight;

    std::vector<std::wstring> lines;
    if (format & DT_SINGLELINE) {
        lines.push_back(shown);
    } else {
        for (const std::wstring& l : SplitLines(shown)) {
            if (format & DT_WORDBREAK) {
                for (std::wstring& w : WrapLine(l, box.Width(), *font)) lines.push_back(std::move(w));
            } else {
                lines.push_back(l);
            }
        }
    }
    int widest = 0;
    for (const std::wstring& l : lines) widest = std::max(widest, font->TextWidth(l));
    const int totalHeight = lineHeight * static_cast<int>(lines.size());

    if (format & DT_CALCRECT) {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + totalHeight;
        return totalHeight;
    }

    int y = box.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = box.top + (box.Height() - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = box.bottom - lineHeight;
    }
    if (HasSurface()) {
        KivRegion clip = EffectiveClip();
        if (!(format & DT_NOCLIP)) clip.Intersect(ToSurface(box));
        KivRaster raster(*m_state.surface, clip);
        int lineY = y;
        for (const std::wstring& l : lines) {
            const int w = font->TextWidth(l);
            int x = box.left;
            if (format & DT_CENTER)
                x = box.left + (box.Width() - w) / 2;
            else if (format & DT_RIGHT)
                x = box.right - w;
            const CPoint p = ToSurface(x, lineY);
            DrawTextLine(raster, p.x, p.y, l);
            lineY += lineHeight;
        }
    }
    if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) return y + totalHeight - box.top;
    return totalHeight;
}
