#include "platform/ui/FontRender.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <string>

#include "platform/fw/CString.h"

namespace {

constexpr const char* kDefaultFontDirectory = "/usr/share/fonts/truetype";
// Em height used for a logical font that asks for the default height (lfHeight 0).
constexpr int kDefaultEmPixels = 12;
// Glyph bitmaps kept per font instance before the cache starts over.
constexpr size_t kMaxCachedGlyphs = 4096;
// Sizes beyond this are refused as nonsense (a glyph would not fit any surface).
constexpr int kMaxEmPixels = 2048;

enum class Family { Sans, Serif, Mono, DejaVu, Cjk };

struct FamilyFiles {
    // Relative paths of regular, bold, italic and bold italic.
    std::array<const char*, 4> styles;
    const char* altFolder;  // a second folder the same files may live in, or null
};

const FamilyFiles& FilesOf(Family f) {
    static const FamilyFiles sans{{"liberation/LiberationSans-Regular.ttf", "liberation/LiberationSans-Bold.ttf",
                                   "liberation/LiberationSans-Italic.ttf", "liberation/LiberationSans-BoldItalic.ttf"},
                                  "liberation2"};
    static const FamilyFiles serif{{"liberation/LiberationSerif-Regular.ttf", "liberation/LiberationSerif-Bold.ttf",
                                    "liberation/LiberationSerif-Italic.ttf", "liberation/LiberationSerif-BoldItalic.ttf"},
                                   "liberation2"};
    static const FamilyFiles mono{{"liberation/LiberationMono-Regular.ttf", "liberation/LiberationMono-Bold.ttf",
                                   "liberation/LiberationMono-Italic.ttf", "liberation/LiberationMono-BoldItalic.ttf"},
                                  "liberation2"};
    static const FamilyFiles dejavu{{"dejavu/DejaVuSans.ttf", "dejavu/DejaVuSans-Bold.ttf", "dejavu/DejaVuSans-Oblique.ttf",
                                     "dejavu/DejaVuSans-BoldOblique.ttf"},
                                    nullptr};
    static const FamilyFiles cjk{{"wqy/wqy-microhei.ttc", "wqy/wqy-microhei.ttc", "wqy/wqy-microhei.ttc",
                                  "wqy/wqy-microhei.ttc"},
                                 nullptr};
    switch (f) {
        case Family::Sans: return sans;
        case Family::Serif: return serif;
        case Family::Mono: return mono;
        case Family::Cjk: return cjk;
        case Family::DejaVu: break;
    }
    return dejavu;
}

// The old system's face names that have a metric-compatible or matching package font;
// every other name gets the DejaVu fallback.
Family FamilyOf(std::wstring_view name) {
    std::wstring key(name);
    for (wchar_t& c : key)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    static const std::pair<const wchar_t*, Family> table[] = {
        {L"arial", Family::Sans},
        {L"helvetica", Family::Sans},
        {L"liberation sans", Family::Sans},
        {L"times new roman", Family::Serif},
        {L"times", Family::Serif},
        {L"liberation serif", Family::Serif},
        {L"courier new", Family::Mono},
        {L"courier", Family::Mono},
        {L"liberation mono", Family::Mono},
        {L"simsun", Family::Cjk},
        {L"nsimsun", Family::Cjk},
        {L"simhei", Family::Cjk},
        {L"microsoft yahei", Family::Cjk},
        {L"mingliu", Family::Cjk},
        {L"pmingliu", Family::Cjk},
        {L"microsoft jhenghei", Family::Cjk},
        {L"wenquanyi micro hei", Family::Cjk},
        {L"\u5b8b\u4f53", Family::Cjk},              // SimSun in Chinese
        {L"\u9ed1\u4f53", Family::Cjk},              // SimHei in Chinese
        {L"\u5fae\u8f6f\u96c5\u9ed1", Family::Cjk},  // Microsoft YaHei in Chinese
        {L"\u7d30\u660e\u9ad4", Family::Cjk},        // MingLiU in Chinese
        {L"\u65b0\u7d30\u660e\u9ad4", Family::Cjk},  // PMingLiU in Chinese
    };
    for (const auto& [n, fam] : table)
        if (key == n) return fam;
    return Family::DejaVu;
}

std::string& FontDirectory() {
    static std::string dir = kDefaultFontDirectory;
    return dir;
}

FT_Library Library() {
    // One FreeType library for the process, kept until exit: fonts may be drawn from any
    // static object's destructor.
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return lib;
}

}  // namespace

struct KivFontFaceHandle {
    FT_Face face = nullptr;
    int ppem = 0;
};

namespace {

// Opened faces by file and pixel size, kept for the life of the process (reachable, so no
// leak is reported; fonts are few).
KivFontFaceHandle* OpenFace(const std::string& path, int ppem) {
    static auto& faces = *new std::map<std::pair<std::string, int>, KivFontFaceHandle*>();
    const auto key = std::make_pair(path, ppem);
    if (const auto it = faces.find(key); it != faces.end()) return it->second;
    KivFontFaceHandle* handle = nullptr;
    FT_Library lib = Library();
    FT_Face face = nullptr;
    std::error_code ec;
    if (lib && std::filesystem::is_regular_file(path, ec) && FT_New_Face(lib, path.c_str(), 0, &face) == 0) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem)) == 0) {
            handle = new KivFontFaceHandle{face, ppem};  // owned by the cache above, until exit
        } else {
            FT_Done_Face(face);
        }
    }
    faces.emplace(key, handle);
    return handle;
}

std::string FindFile(Family fam, int style) {
    const FamilyFiles& files = FilesOf(fam);
    const std::filesystem::path root(FontDirectory());
    std::error_code ec;
    const std::filesystem::path main = root / files.styles[static_cast<size_t>(style)];
    if (std::filesystem::is_regular_file(main, ec)) return main.string();
    if (files.altFolder) {
        const std::filesystem::path alt = root / files.altFolder / main.filename();
        if (std::filesystem::is_regular_file(alt, ec)) return alt.string();
    }
    // A missing style falls back to the family's regular file.
    if (style != 0) return FindFile(fam, 0);
    return {};
}

struct FaceMetrics {
    double upem, winAscent, winDescent, lineGap, avgWidth, maxAdvance;
};

FaceMetrics MetricsOf(FT_Face face) {
    FaceMetrics m{};
    m.upem = face->units_per_EM > 0 ? face->units_per_EM : 1000;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        m.winAscent = os2->usWinAscent;
        m.winDescent = os2->usWinDescent;
        m.avgWidth = os2->xAvgCharWidth;
    } else {
        m.winAscent = face->ascender;
        m.winDescent = -face->descender;
        m.avgWidth = face->max_advance_width / 2.0;
    }
    m.lineGap = face->height - (face->ascender - face->descender);
    m.maxAdvance = face->max_advance_width;
    return m;
}

int Scale(double units, int ppem, double upem) { return static_cast<int>(std::lround(units * ppem / upem)); }

}  // namespace

void KivSetFontDirectory(LPCWSTR dir) {
    FontDirectory() = dir && *dir ? CString(dir).ToUtf8() : std::string(kDefaultFontDirectory);
}

LOGFONTW KivMakeLogFont(LPCWSTR faceName, LONG height, LONG weight) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    if (faceName) {
        int i = 0;
        for (; i < LF_FACESIZE - 1 && faceName[i]; ++i) lf.lfFaceName[i] = faceName[i];
        lf.lfFaceName[i] = 0;
    }
    return lf;
}

std::shared_ptr<const KivFontInstance> KivFontInstance::Create(const LOGFONTW& lf) {
    std::shared_ptr<KivFontInstance> inst(new KivFontInstance());
    size_t nameLength = 0;
    while (nameLength < LF_FACESIZE && lf.lfFaceName[nameLength]) ++nameLength;
    const std::wstring_view name(lf.lfFaceName, nameLength);
    const Family fam = FamilyOf(name);
    const int style = (lf.lfWeight >= kBoldWeightThreshold ? 1 : 0) + (lf.lfItalic ? 2 : 0);
    inst->m_mono = lf.lfQuality != ANTIALIASED_QUALITY && lf.lfQuality != CLEARTYPE_QUALITY;
    inst->m_underline = lf.lfUnderline != 0;

    const std::string path = FindFile(fam, style);
    // The em size follows from the requested height the old system's way: a negative
    // height is the em itself, a positive one the whole cell (ascent plus descent).
    int ppem = lf.lfHeight < 0 ? -lf.lfHeight : (lf.lfHeight == 0 ? kDefaultEmPixels : lf.lfHeight);
    ppem = std::clamp(ppem, 1, kMaxEmPixels);
    if (!path.empty() && lf.lfHeight > 0) {
        if (KivFontFaceHandle* probe = OpenFace(path, ppem)) {
            const FaceMetrics fm = MetricsOf(probe->face);
            ppem = std::clamp(static_cast<int>(std::lround(lf.lfHeight * fm.upem / (fm.winAscent + fm.winDescent))), 1, kMaxEmPixels);
        }
    }
    inst->m_primary = path.empty() ? nullptr : OpenFace(path, ppem);
    for (Family fb : {Family::DejaVu, Family::Cjk}) {
        if (fb == fam) continue;
        const std::string fbPath = FindFile(fb, style);
        if (!fbPath.empty())
            if (KivFontFaceHandle* h = OpenFace(fbPath, ppem)) inst->m_fallbacks.push_back(h);
    }

    TEXTMETRICW& tm = inst->m_metrics;
    if (inst->m_primary) {
        const FaceMetrics fm = MetricsOf(inst->m_primary->face);
        tm.tmAscent = Scale(fm.winAscent, ppem, fm.upem);
        tm.tmDescent = Scale(fm.winDescent, ppem, fm.upem);
        tm.tmExternalLeading = std::max(0, Scale(fm.lineGap - ((fm.winAscent + fm.winDescent) - (inst->m_primary->face->ascender - inst->m_primary->face->descender)), ppem, fm.upem));
        tm.tmAveCharWidth = Scale(fm.avgWidth, ppem, fm.upem);
        tm.tmMaxCharWidth = Scale(fm.maxAdvance, ppem, fm.upem);
    } else {
        // No file: plausible metrics (ascent four fifths of the em) so layouts still work.
        tm.tmAscent = (ppem * 4 + 4) / 5 + 1;
        tm.tmDescent = ppem - (ppem * 4 + 4) / 5 + 1;
        tm.tmAveCharWidth = (ppem + 1) / 2;
        tm.tmMaxCharWidth = ppem;
    }
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - ppem);
    tm.tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFFFC;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = lf.lfItalic;
    tm.tmUnderlined = lf.lfUnderline;
    tm.tmStruckOut = lf.lfStrikeOut;
    tm.tmCharSet = lf.lfCharSet;
    return inst;
}

const KivGlyph* KivFontInstance::Render(KivFontFaceHandle* h, char32_t ch) const {
    const FT_UInt index = FT_Get_Char_Index(h->face, ch);
    if (index == 0 && h != m_primary) return nullptr;
    const FT_Int32 flags = FT_LOAD_RENDER | (m_mono ? (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Glyph(h->face, index, flags) != 0) return nullptr;
    const FT_GlyphSlot slot = h->face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    if (m_glyphs.size() >= kMaxCachedGlyphs) m_glyphs.clear();
    KivGlyph& g = m_glyphs[ch];
    g.width = static_cast<int>(bm.width);
    g.rows = static_cast<int>(bm.rows);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    // Hinted advances are whole pixels; round the 26.6 value in case hinting is off.
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    g.coverage.assign(static_cast<size_t>(g.width) * static_cast<size_t>(g.rows), 0);
    for (int y = 0; y < g.rows; ++y) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        for (int x = 0; x < g.width; ++x) {
            std::uint8_t cov;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                cov = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
                cov = row[x];
            else
                cov = 0;
            g.coverage[static_cast<size_t>(y) * static_cast<size_t>(g.width) + static_cast<size_t>(x)] = cov;
        }
    }
    return &g;
}

const KivGlyph* KivFontInstance::Glyph(char32_t ch) const {
    if (!m_primary) return nullptr;
    if (const auto it = m_glyphs.find(ch); it != m_glyphs.end()) return &it->second;
    if (FT_Get_Char_Index(m_primary->face, ch) == 0)
        for (KivFontFaceHandle* fb : m_fallbacks)
            if (const KivGlyph* g = Render(fb, ch)) return g;
    return Render(m_primary, ch);
}

int KivFontInstance::TextWidth(std::wstring_view text) const {
    if (!m_primary) return static_cast<int>(text.size()) * m_metrics.tmAveCharWidth;
    int w = 0;
    for (wchar_t c : text)
        if (const KivGlyph* g = Glyph(static_cast<char32_t>(c))) w += g->advance;
    return w;
}
