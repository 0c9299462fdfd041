#include "platform/ui/DC.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

IMPLEMENT_DYNAMIC(CDC, CObject)

namespace {

KivHandleTable<CDC>& DCs() {
    // Kept until exit: DCs of static objects may end after every other static.
    static auto& table = *new KivHandleTable<CDC>();
    return table;
}

bool InRange(int v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; }
bool InRange(int a, int b, int c, int d) { return InRange(a) && InRange(b) && InRange(c) && InRange(d); }

int RegionKind(const KivRegion& r) {
    if (r.IsEmpty()) return NULLREGION;
    return r.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace

CDC::CDC() { Open(); }

void CDC::Open() {
    m_hDC = KivHandleFromValue<HDC>(DCs().Add(this));
    m_state = KivDCState();
    ClipChanged();
    m_origin = CPoint(0, 0);
    SelectStockObject(BLACK_PEN);
    SelectStockObject(WHITE_BRUSH);
    SelectStockObject(SYSTEM_FONT);
}

CDC::~CDC() { ReleaseHandle(); }

void CDC::ReleaseHandle() {
    if (m_hDC) DCs().Remove(KivHandleValue(m_hDC));
    m_hDC = nullptr;
}

CDC* CDC::FromHandle(HDC h) { return h ? DCs().Find(KivHandleValue(h)) : nullptr; }

BOOL CDC::CreateCompatibleDC(CDC*) {
    if (HasSurface()) return FALSE;
    // A DC ended by DeleteDC starts again with a new handle and the default state.
    if (!m_hDC) Open();
    CBitmap* bmp = KivDefaultBitmap();
    m_state.bitmap = bmp->m_hObject;
    m_state.surface = bmp->Surface();
    // The shared 1 x 1 default bitmap is never drawn on.
    m_state.systemClip.Clear();
    ClipChanged();
    m_origin = CPoint(0, 0);
    return TRUE;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    m_state.surface.reset();
    m_state.systemClip.Clear();
    ClipChanged();
    m_saved.clear();
    ReleaseHandle();
    return TRUE;
}

void CDC::AttachSurface(std::shared_ptr<KivSurface> surface, const KivRegion& clip, CPoint origin) {
    m_state.surface = std::move(surface);
    m_state.systemClip = clip;
    ClipChanged();
    m_origin = origin;
}

int CDC::SaveDC() {
    if (!m_hDC) return 0;
    m_saved.push_back(m_state);
    return static_cast<int>(m_saved.size());
}

BOOL CDC::RestoreDC(int saved) {
    const int depth = static_cast<int>(m_saved.size());
    const int level = saved < 0 ? depth + 1 + saved : saved;
    if (level < 1 || level > depth) return FALSE;
    m_state = m_saved[static_cast<size_t>(level - 1)];
    ClipChanged();
    m_saved.resize(static_cast<size_t>(level - 1));
    return TRUE;
}

HGDIOBJ CDC::SelectHandle(HGDIOBJ object) {
    CGdiObject* o = CGdiObject::FromHandle(object);
    if (!o || !m_hDC) return nullptr;
    HGDIOBJ previous = nullptr;
    switch (o->GetKind()) {
        case CGdiObject::Kind::Pen:
            previous = m_state.pen;
            m_state.pen = object;
            m_state.penData = static_cast<CPen*>(o)->Data();
            break;
        case CGdiObject::Kind::Brush:
            previous = m_state.brush;
            m_state.brush = object;
            m_state.brushData = static_cast<CBrush*>(o)->Data();
            break;
        case CGdiObject::Kind::Font:
            previous = m_state.font;
            m_state.font = object;
            m_state.fontInstance = static_cast<CFont*>(o)->Instance();
            break;
        case CGdiObject::Kind::Bitmap:
            // Only a memory DC draws on a bitmap.
            if (!m_state.bitmap) return nullptr;
            previous = m_state.bitmap;
            m_state.bitmap = object;
            m_state.surface = static_cast<CBitmap*>(o)->Surface();
            m_state.systemClip.Clear();
            if (o != KivDefaultBitmap()) m_state.systemClip.Add(CRect(0, 0, m_state.surface->width, m_state.surface->height));
            ClipChanged();
            break;
        case CGdiObject::Kind::None: return nullptr;
    }
    return previous;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return SelectHandle(object); }
CGdiObject* CDC::SelectObject(CGdiObject* object) {
    return object ? CGdiObject::FromHandle(SelectHandle(object->m_hObject)) : nullptr;
}
CPen* CDC::SelectObject(CPen* pen) { return pen ? CPen::FromHandle(static_cast<HPEN>(SelectHandle(pen->m_hObject))) : nullptr; }
CBrush* CDC::SelectObject(CBrush* brush) {
    return brush ? CBrush::FromHandle(static_cast<HBRUSH>(SelectHandle(brush->m_hObject))) : nullptr;
}
CFont* CDC::SelectObject(CFont* font) {
    return font ? CFont::FromHandle(static_cast<HFONT>(SelectHandle(font->m_hObject))) : nullptr;
}
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return bitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(SelectHandle(bitmap->m_hObject))) : nullptr;
}
CGdiObject* CDC::SelectStockObject(int index) {
    const HGDIOBJ h = GetStockObject(index);
    return h ? CGdiObject::FromHandle(SelectHandle(h)) : nullptr;
}

CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(m_state.pen)); }
CBrush* CDC::GetCurrentBrush() const { return CBrush::FromHandle(static_cast<HBRUSH>(m_state.brush)); }
CFont* CDC::GetCurrentFont() const { return CFont::FromHandle(static_cast<HFONT>(m_state.font)); }
CBitmap* CDC::GetCurrentBitmap() const { return CBitmap::FromHandle(static_cast<HBITMAP>(m_state.bitmap)); }

COLORREF CDC::SetTextColor(COLORREF color) {
    return std::exchange(m_state.textColor, color & kPixelRgbMask);
}
COLORREF CDC::SetBkColor(COLORREF color) { return std::exchange(m_state.bkColor, color & kPixelRgbMask); }
int CDC::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return std::exchange(m_state.bkMode, mode);
}
int CDC::SetROP2(int rop2) {
    if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
    return std::exchange(m_state.rop2, rop2);
}
CPoint CDC::SetViewportOrg(int x, int y) { return std::exchange(m_state.viewportOrg, CPoint(x, y)); }

namespace {
// Surface coordinates are computed wide and kept within this reach, far outside any surface,
// so that nothing overflows on the way (the line walk multiplies two spans of up to twice
// this reach and still fits 64 bits).
constexpr std::int64_t kSurfaceReach = std::int64_t{1} << 29;
int Shift(int v, int by1, int by2) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{v} + by1 + by2, -kSurfaceReach, kSurfaceReach));
}
}  // namespace

CPoint CDC::ToSurface(int x, int y) const {
    return CPoint(Shift(x, m_origin.x, m_state.viewportOrg.x), Shift(y, m_origin.y, m_state.viewportOrg.y));
}
CRect CDC::ToSurface(const CRect& r) const {
    return CRect(Shift(r.left, m_origin.x, m_state.viewportOrg.x), Shift(r.top, m_origin.y, m_state.viewportOrg.y),
                 Shift(r.right, m_origin.x, m_state.viewportOrg.x), Shift(r.bottom, m_origin.y, m_state.viewportOrg.y));
}

const KivRegion& CDC::EffectiveClip() const {
    ClipCache& c = m_clipCache;
    const KivSurface* surface = m_state.surface.get();
    if (c.valid && c.surface == surface && (!surface || (c.width == surface->width && c.height == surface->height))) return c.clip;
    c.clip = m_state.systemClip;
    if (m_state.userClip) c.clip.Intersect(*m_state.userClip);
    if (surface) c.clip.Intersect(CRect(0, 0, surface->width, surface->height));
    c.valid = true;
    c.surface = surface;
    c.width = surface ? surface->width : 0;
    c.height = surface ? surface->height : 0;
    return c.clip;
}

int CDC::IntersectClipRect(int l, int t, int r, int b) {
    if (!HasSurface()) return RGN_ERROR;
    KivRegion user = m_state.userClip ? *m_state.userClip : m_state.systemClip;
    user.Intersect(ToSurface(CRect(l, t, r, b)));
    m_state.userClip = user;
    ClipChanged();
    return RegionKind(EffectiveClip());
}

int CDC::ExcludeClipRect(int l, int t, int r, int b) {
    if (!HasSurface()) return RGN_ERROR;
    KivRegion user = m_state.userClip ? *m_state.userClip : m_state.systemClip;
    user.Subtract(ToSurface(CRect(l, t, r, b)));
    m_state.userClip = user;
    ClipChanged();
    return RegionKind(EffectiveClip());
}

int CDC::GetClipBox(LPRECT r) const {
    if (!r) return RGN_ERROR;
    const KivRegion& clip = EffectiveClip();
    CRect box = clip.Bounds();
    box.OffsetRect(-(m_origin.x + m_state.viewportOrg.x), -(m_origin.y + m_state.viewportOrg.y));
    *r = box;
    return RegionKind(clip);
}

BOOL CDC::PtVisible(int x, int y) const {
    const CPoint p = ToSurface(x, y);
    return EffectiveClip().Contains(p.x, p.y);
}

BOOL CDC::RectVisible(LPCRECT r) const {
    if (!r) return FALSE;
    const CRect area = ToSurface(CRect(*r));
    CRect common;
    for (const CRect& c : EffectiveClip().Rects())
        if (common.IntersectRect(c, area)) return TRUE;
    return FALSE;
}

CPoint CDC::MoveTo(int x, int y) { return std::exchange(m_state.position, CPoint(x, y)); }

void CDC::StrokeSegment(KivRaster& raster, CPoint a, CPoint b) {
    const KivPenData& pen = m_state.penData;
    if (pen.style == PS_NULL) return;
    const KivPixel color = KivPixelFromColor(pen.color);
    if (pen.width <= 1) {
        raster.Line(a, b, color, m_state.rop2);
        return;
    }
    raster.FillMask(KivWideLineMask(a, b, pen.width, raster.Limit()), color, m_state.rop2);
}

BOOL CDC::LineTo(int x, int y) {
    const CPoint from = m_state.position;
    if (!InRange(from.x, from.y, x, y)) return FALSE;
    m_state.position = CPoint(x, y);
    if (!HasSurface()) return TRUE;
    const KivRegion& clip = EffectiveClip();
    KivRaster raster(*m_state.surface, clip);
    StrokeSegment(raster, ToSurface(from.x, from.y), ToSurface(x, y));
    return TRUE;
}

BOOL CDC::Polyline(const POINT* points, int count) {
    if (!points || count < 2) return FALSE;
    for (int i = 0; i < count; ++i)
        if (!InRange(points[i].x, points[i].y, 0, 0)) return FALSE;
    if (!HasSurface()) return TRUE;
    const KivRegion& clip = EffectiveClip();
    KivRaster raster(*m_state.surface, clip);
    for (int i = 0; i + 1 < count; ++i)
        StrokeSegment(raster, ToSurface(points[i].x, points[i].y), ToSurface(points[i + 1].x, points[i + 1].y));
    return TRUE;
}

BOOL CDC::DrawShape(int l, int t, int r, int b, KivShapeMasks masks) {
    if (!InRange(l, t, r, b)) return FALSE;
    if (!HasSurface()) return TRUE;
    CRect box = ToSurface(CRect(l, t, r, b));
    box.NormalizeRect();
    const KivRegion& clip = EffectiveClip();
    KivRaster raster(*m_state.surface, clip);
    const KivPenData& pen = m_state.penData;
    KivPixelMask outline, interior;
    masks(box, pen.style == PS_NULL ? 0 : pen.width, raster.Limit(), outline, interior);
    if (!m_state.brushData.hollow) raster.FillMask(interior, KivPixelFromColor(m_state.brushData.color), m_state.rop2);
    raster.FillMask(outline, KivPixelFromColor(pen.color), m_state.rop2);
    return TRUE;
}

BOOL CDC::Rectangle(int l, int t, int r, int b) { return DrawShape(l, t, r, b, KivRectangleMasks); }

BOOL CDC::Ellipse(int l, int t, int r, int b) { return DrawShape(l, t, r, b, KivEllipseMasks); }

bool CDC::ClipContains(CPoint p) const {
    // A point lies in the intersection exactly when it lies in each part: no region is built.
    return m_state.surface && m_state.surface->Inside(p.x, p.y) && m_state.systemClip.Contains(p.x, p.y) &&
           (!m_state.userClip || m_state.userClip->Contains(p.x, p.y));
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    const CPoint p = ToSurface(x, y);
    if (!HasSurface() || !ClipContains(p)) return CLR_INVALID;
    m_state.surface->At(p.x, p.y) = KivPixelFromColor(color);
    return color & kPixelRgbMask;
}

COLORREF CDC::GetPixel(int x, int y) const {
    const CPoint p = ToSurface(x, y);
    if (!HasSurface() || !ClipContains(p)) return CLR_INVALID;
    return KivColorFromPixel(m_state.surface->At(p.x, p.y));
}

void CDC::FillSolidRect(LPCRECT r, COLORREF color) {
    SetBkColor(color);
    if (!r || !HasSurface()) return;
    CRect box = ToSurface(CRect(*r));
    box.NormalizeRect();
    const KivRegion& clip = EffectiveClip();
    KivRaster(*m_state.surface, clip).FillRect(box, KivPixelFromColor(color), R2_COPYPEN);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    const CRect r(x, y, Shift(x, cx, 0), Shift(y, cy, 0));
    FillSolidRect(&r, color);
}

void CDC::FillSolidRects(const SolidFill* fills, std::size_t count) {
    if (!fills || count == 0) return;
    SetBkColor(fills[count - 1].color);
    if (!HasSurface()) return;
    KivRaster raster(*m_state.surface, EffectiveClip());
    std::size_t part = 0;
    for (std::size_t i = 0; i < count; ++i) {
        CRect box = ToSurface(fills[i].rect);
        box.NormalizeRect();
        raster.FillRectWithin(box, KivPixelFromColor(fills[i].color), part);
    }
}

void CDC::FillRect(LPCRECT r, CBrush* brush) {
    if (!r || !brush || !brush->m_hObject || brush->Data().hollow || !HasSurface()) return;
    const KivRegion& clip = EffectiveClip();
    KivRaster(*m_state.surface, clip).FillRect(ToSurface(CRect(*r)), KivPixelFromColor(brush->Data().color), R2_COPYPEN);
}

void CDC::FrameRect(LPCRECT r, CBrush* brush) {
    if (!r) return;
    const CRect b(*r);
    if (b.IsRectEmpty()) return;
    const CRect sides[4] = {CRect(b.left, b.top, b.right, b.top + 1), CRect(b.left, b.bottom - 1, b.right, b.bottom),
                            CRect(b.left, b.top + 1, b.left + 1, b.bottom - 1), CRect(b.right - 1, b.top + 1, b.right, b.bottom - 1)};
    for (const CRect& s : sides) FillRect(&s, brush);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight) {
    if (!r) return;
    Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    // The framework's four strips: the negative extents put the right and bottom strips on
    // the last column and row inside the rectangle.
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}
