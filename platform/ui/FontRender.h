// Text through FreeType with fonts from the system's font packages: logical font records,
// text metrics, the mapping of the old system's face names to installed files, and glyphs.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/fw/KivTypes.h"

constexpr int LF_FACESIZE = 32;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
/// Weights from this value up are drawn with the bold face.
constexpr LONG kBoldWeightThreshold = 600;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE GB2312_CHARSET = 134;
constexpr BYTE CHINESEBIG5_CHARSET = 136;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE CLEARTYPE_QUALITY = 5;

struct LOGFONTW {
    LONG lfHeight;  // < 0: character (em) height in pixels; > 0: cell height; 0: default
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;  // ANTIALIASED_QUALITY or CLEARTYPE_QUALITY: smoothed; otherwise 1-bit glyphs
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};
using LOGFONT = LOGFONTW;

struct TEXTMETRICW {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    WCHAR tmFirstChar;
    WCHAR tmLastChar;
    WCHAR tmDefaultChar;
    WCHAR tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
using TEXTMETRIC = TEXTMETRICW;
using LPTEXTMETRICW = TEXTMETRICW*;

/// One rendered glyph: coverage 0..255 per pixel, placed relative to the pen position on
/// the baseline (left bearing, and top as the distance from the baseline up).
struct KivGlyph {
    int width = 0;
    int rows = 0;
    int left = 0;
    int top = 0;
    int advance = 0;
    std::vector<std::uint8_t> coverage;
};

struct KivFontFaceHandle;  // an opened face at one pixel size (FreeType inside)

/// A logical font resolved to installed files at a pixel size. When no file can be found
/// the instance still has metrics (from the requested height) but draws nothing.
class KivFontInstance {
public:
    /// Never null.
    static std::shared_ptr<const KivFontInstance> Create(const LOGFONTW& lf);

    const TEXTMETRICW& Metrics() const { return m_metrics; }
    bool HasFace() const { return m_primary != nullptr; }
    bool Underline() const { return m_underline; }
    /// The glyph of a character (from a fallback face when the font lacks it), or null
    /// when no face is available.
    const KivGlyph* Glyph(char32_t ch) const;
    /// The width of a run of text in pixels.
    int TextWidth(std::wstring_view text) const;

private:
    KivFontInstance() = default;
    const KivGlyph* Render(KivFontFaceHandle* face, char32_t ch) const;

    TEXTMETRICW m_metrics{};
    bool m_mono = true;
    bool m_underline = false;
    KivFontFaceHandle* m_primary = nullptr;
    std::vector<KivFontFaceHandle*> m_fallbacks;
    mutable std::map<char32_t, KivGlyph> m_glyphs;
};

/// The folder below which the font packages' files are looked for (their Debian layout:
/// liberation/, dejavu/, wqy/). Changing it affects fonts created afterwards.
void KivSetFontDirectory(LPCWSTR dir);

/// A logical font record for a face name and an em height in pixels (negative lfHeight).
LOGFONTW KivMakeLogFont(LPCWSTR faceName, LONG height, LONG weight = FW_NORMAL);
