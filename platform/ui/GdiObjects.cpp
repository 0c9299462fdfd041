#include "platform/ui/GdiObjects.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/ui/Resources.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

namespace {

// Point sizes in CreatePointFont are tenths of a point, and a point is 1/72 inch.
constexpr int kTenthPointsPerInch = 720;
constexpr int kBytesPerPixel = 4;

KivHandleTable<CGdiObject>& Objects() {
    // Kept until exit: static pens, brushes and fonts may be destroyed after any other static.
    static auto& table = *new KivHandleTable<CGdiObject>();
    return table;
}

struct SysColor {
    int index;
    COLORREF color;
};
// The classic light theme.
constexpr SysColor kSysColors[] = {
    {COLOR_WINDOW, RGB(255, 255, 255)},     {COLOR_WINDOWFRAME, RGB(100, 100, 100)}, {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
    {COLOR_HIGHLIGHT, RGB(51, 153, 255)},   {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)}, {COLOR_BTNFACE, RGB(240, 240, 240)},
    {COLOR_BTNSHADOW, RGB(160, 160, 160)},  {COLOR_GRAYTEXT, RGB(109, 109, 109)},    {COLOR_BTNTEXT, RGB(0, 0, 0)},
    {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)}, {COLOR_3DDKSHADOW, RGB(105, 105, 105)}, {COLOR_3DLIGHT, RGB(227, 227, 227)},
};

}  // namespace

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t n = std::int64_t{a} * b;
    const std::int64_t q = (std::llabs(n) * 2 + std::llabs(std::int64_t{c})) / (2 * std::llabs(std::int64_t{c}));
    return static_cast<int>(((n < 0) != (c < 0)) ? -q : q);
}

COLORREF GetSysColor(int index) {
    for (const SysColor& c : kSysColors)
        if (c.index == index) return c.color;
    return RGB(0, 0, 0);
}

CGdiObject::~CGdiObject() {
    if (m_hObject && !m_stock) Objects().Remove(KivHandleValue(m_hObject));
}

BOOL CGdiObject::AttachNew(Kind kind) {
    if (m_hObject) return FALSE;
    m_hObject = KivHandleFromValue<HGDIOBJ>(Objects().Add(this));
    m_kind = kind;
    return TRUE;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject || m_stock) return FALSE;
    Objects().Remove(KivHandleValue(m_hObject));
    m_hObject = nullptr;
    m_kind = Kind::None;
    ReleaseData();
    return TRUE;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ h) { return h ? Objects().Find(KivHandleValue(h)) : nullptr; }

namespace {
template <class T>
T* FromHandleOfKind(HGDIOBJ h, CGdiObject::Kind kind) {
    CGdiObject* o = CGdiObject::FromHandle(h);
    return o && o->GetKind() == kind ? static_cast<T*>(o) : nullptr;
}
}  // namespace

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    if (style != PS_SOLID && style != PS_INSIDEFRAME && style != PS_NULL) return FALSE;
    if (!AttachNew(Kind::Pen)) return FALSE;
    m_data = KivPenData{style, std::max(width, 1), color & kPixelRgbMask};
    return TRUE;
}

CPen* CPen::FromHandle(HPEN h) { return FromHandleOfKind<CPen>(h, Kind::Pen); }

int CPen::GetLogPen(LOGPEN* out) const {
    if (!m_hObject || !out) return 0;
    *out = LOGPEN{static_cast<UINT>(m_data.style), POINT{m_data.width, 0}, m_data.color};
    return static_cast<int>(sizeof(LOGPEN));
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    if (!AttachNew(Kind::Brush)) return FALSE;
    m_data = KivBrushData{false, color & kPixelRgbMask};
    return TRUE;
}

CBrush* CBrush::FromHandle(HBRUSH h) { return FromHandleOfKind<CBrush>(h, Kind::Brush); }

int CBrush::GetLogBrush(LOGBRUSH* out) const {
    if (!m_hObject || !out) return 0;
    *out = LOGBRUSH{m_data.hollow ? BS_NULL : BS_SOLID, m_data.color, 0};
    return static_cast<int>(sizeof(LOGBRUSH));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCWSTR faceName, CDC*) {
    // Whole pixels, truncated, as the framework converts (9 points give 12 pixels).
    const LONG pixels = kScreenPixelsPerInch * nPointSize / kTenthPointsPerInch;
    const LOGFONTW lf = KivMakeLogFont(faceName, -std::abs(pixels));
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* lf) {
    if (!lf || m_hObject) return FALSE;
    AttachNew(Kind::Font);
    m_logFont = *lf;
    m_logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    m_instance = KivFontInstance::Create(m_logFont);
    return TRUE;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                       BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, LPCWSTR faceName) {
    LOGFONTW lf = KivMakeLogFont(faceName, height, weight);
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    return CreateFontIndirect(&lf);
}

CFont* CFont::FromHandle(HFONT h) { return FromHandleOfKind<CFont>(h, Kind::Font); }

int CFont::GetLogFont(LOGFONTW* out) const {
    if (!m_hObject || !out) return 0;
    *out = m_logFont;
    return static_cast<int>(sizeof(LOGFONTW));
}

BOOL CBitmap::CreateFromSurface(std::shared_ptr<KivSurface> surface) {
    if (!AttachNew(Kind::Bitmap)) return FALSE;
    m_surface = std::move(surface);
    return TRUE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int width, int height) {
    if (m_hObject || width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide) return FALSE;
    return CreateFromSurface(std::make_shared<KivSurface>(width, height));
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || bitsPerPixel != 32) return FALSE;
    if (!CreateCompatibleBitmap(nullptr, width, height)) return FALSE;
    if (bits) SetBitmapBits(static_cast<DWORD>(width) * static_cast<DWORD>(height) * kBytesPerPixel, bits);
    return TRUE;
}

BOOL CBitmap::LoadBitmap(HINSTANCE module, UINT id) {
    if (m_hObject) return FALSE;
    const std::optional<KivBitmapResource> res = KivFindBitmap(module, id);
    if (!res || res->width > kMaxBitmapSide || res->height > kMaxBitmapSide) return FALSE;
    auto surface = std::make_shared<KivSurface>(res->width, res->height);
    std::transform(res->pixels.begin(), res->pixels.end(), surface->pixels.begin(), KivPixelFromColor);
    return CreateFromSurface(std::move(surface));
}

int CBitmap::GetBitmap(BITMAP* out) const {
    if (!m_surface || !out) return 0;
    *out = BITMAP{0, m_surface->width, m_surface->height, m_surface->width * kBytesPerPixel, 1, 32, nullptr};
    return static_cast<int>(sizeof(BITMAP));
}

DWORD CBitmap::SetBitmapBits(DWORD count, const void* bits) {
    if (!m_surface || !bits) return 0;
    const size_t n = std::min<size_t>(count, m_surface->pixels.size() * kBytesPerPixel);
    const auto* src = static_cast<const unsigned char*>(bits);
    // Whole pixels first (the unused fourth byte is dropped), then a last partial pixel.
    const size_t whole = n / kBytesPerPixel;
    for (size_t i = 0; i < whole; ++i, src += kBytesPerPixel)
        m_surface->pixels[i] = KivPixel{src[0]} | (KivPixel{src[1]} << 8) | (KivPixel{src[2]} << 16);
    for (size_t i = whole * kBytesPerPixel; i < n; ++i, ++src) {
        KivPixel& p = m_surface->pixels[i / kBytesPerPixel];
        const unsigned shift = static_cast<unsigned>(i % kBytesPerPixel) * 8;
        p = (p & ~(KivPixel{0xFF} << shift)) | (KivPixel{*src} << shift);
        p &= kPixelRgbMask;
    }
    return static_cast<DWORD>(n);
}

DWORD CBitmap::GetBitmapBits(DWORD count, void* bits) const {
    if (!m_surface || !bits) return 0;
    const size_t n = std::min<size_t>(count, m_surface->pixels.size() * kBytesPerPixel);
    auto* dst = static_cast<unsigned char*>(bits);
    for (size_t i = 0; i < n; ++i)
        dst[i] = static_cast<unsigned char>(m_surface->pixels[i / kBytesPerPixel] >> ((i % kBytesPerPixel) * 8));
    return static_cast<DWORD>(n);
}

CBitmap* CBitmap::FromHandle(HBITMAP h) { return FromHandleOfKind<CBitmap>(h, Kind::Bitmap); }

namespace {
// Stock indices run up to DEFAULT_GUI_FONT; one more slot holds the default bitmap.
constexpr int kStockSlots = DEFAULT_GUI_FONT + 2;
constexpr int kDefaultBitmapSlot = DEFAULT_GUI_FONT + 1;
// The system font: a bold face with a 16-pixel cell, like the old system's.
constexpr LONG kSystemFontCell = 16;
// The dialog font: 8 points at 96 pixels per inch.
constexpr LONG kGuiFontEm = 11;
}  // namespace

CGdiObject* KivStockObject(int index) {
    if (index < 0 || index >= kStockSlots) return nullptr;
    // Stock objects are never deleted: a device context may hold one until process exit.
    static std::array<CGdiObject*, kStockSlots> stock = [] {
        std::array<CGdiObject*, kStockSlots> s{};
        auto brush = [](COLORREF c, bool hollow) {
            auto* b = new CBrush();
            b->AttachNew(CGdiObject::Kind::Brush);
            b->m_data = KivBrushData{hollow, c};
            return b;
        };
        auto pen = [](COLORREF c, int style) {
            auto* p = new CPen();
            p->AttachNew(CGdiObject::Kind::Pen);
            p->m_data = KivPenData{style, 1, c};
            return p;
        };
        auto font = [](LOGFONTW lf) {
            auto* f = new CFont();
            f->CreateFontIndirect(&lf);
            return f;
        };
        s[WHITE_BRUSH] = brush(RGB(255, 255, 255), false);
        s[LTGRAY_BRUSH] = brush(RGB(192, 192, 192), false);
        s[GRAY_BRUSH] = brush(RGB(128, 128, 128), false);
        s[DKGRAY_BRUSH] = brush(RGB(64, 64, 64), false);
        s[BLACK_BRUSH] = brush(RGB(0, 0, 0), false);
        s[NULL_BRUSH] = brush(RGB(0, 0, 0), true);
        s[WHITE_PEN] = pen(RGB(255, 255, 255), PS_SOLID);
        s[BLACK_PEN] = pen(RGB(0, 0, 0), PS_SOLID);
        s[NULL_PEN] = pen(RGB(0, 0, 0), PS_NULL);
        s[SYSTEM_FONT] = font(KivMakeLogFont(L"System", kSystemFontCell, FW_BOLD));
        s[ANSI_VAR_FONT] = font(KivMakeLogFont(L"MS Sans Serif", -kGuiFontEm));
        s[DEFAULT_GUI_FONT] = font(KivMakeLogFont(L"MS Shell Dlg", -kGuiFontEm));
        auto* bmp = new CBitmap();
        bmp->CreateCompatibleBitmap(nullptr, 1, 1);
        s[kDefaultBitmapSlot] = bmp;
        for (CGdiObject* o : s)
            if (o) o->m_stock = true;
        return s;
    }();
    return stock[static_cast<size_t>(index)];
}

HGDIOBJ GetStockObject(int index) {
    if (index == kDefaultBitmapSlot) return nullptr;
    CGdiObject* o = KivStockObject(index);
    return o ? o->m_hObject : nullptr;
}

CBitmap* KivDefaultBitmap() { return static_cast<CBitmap*>(KivStockObject(kDefaultBitmapSlot)); }
