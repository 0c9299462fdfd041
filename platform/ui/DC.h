// Device contexts: drawing on the screen through a window (CPaintDC, CClientDC) or on a
// bitmap (a memory DC), with the old system's pixel rules: lines leave out their last
// point, rectangles leave out their right and bottom edges.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "platform/fw/CGeometry.h"
#include "platform/fw/CObject.h"
#include "platform/fw/CString.h"
#include "platform/ui/GdiObjects.h"
#include "platform/ui/Raster.h"
#include "platform/ui/Region.h"

class CWnd;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;

constexpr UINT DST_BITMAP = 0x0004;
constexpr UINT DSS_NORMAL = 0x0000;

constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD BI_RGB = 0;

constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_ERROR = 0;

struct RGBQUAD {
    BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
};
struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;  // > 0: rows bottom-up; < 0: rows top-down
    WORD biPlanes;
    WORD biBitCount;  // 24 or 32
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

/// Everything SaveDC keeps and RestoreDC brings back.
struct KivDCState {
    HGDIOBJ pen = nullptr, brush = nullptr, font = nullptr, bitmap = nullptr;
    KivPenData penData;
    KivBrushData brushData;
    std::shared_ptr<const KivFontInstance> fontInstance;
    std::shared_ptr<KivSurface> surface;
    KivRegion systemClip;                 // surface pixels: the window's visible part, or the bitmap
    std::optional<KivRegion> userClip;    // surface pixels
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    CPoint position;
    CPoint viewportOrg;
};

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    /// A DC with nothing to draw on until CreateCompatibleDC (or a window DC subclass).
    CDC();
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    /// The live DC of a handle, or null.
    static CDC* FromHandle(HDC h);

    /// A memory DC drawing on its selected bitmap (1 x 1 until one is selected); FALSE when
    /// this DC is already in use. After DeleteDC the object becomes a new DC with the
    /// default pen, brush, font and colours.
    BOOL CreateCompatibleDC(CDC* dc);
    /// Ends the DC; drawing afterwards does nothing until CreateCompatibleDC.
    BOOL DeleteDC();

    // State. SaveDC returns the new level (FALSE on failure); RestoreDC takes a level or
    // a negative count back from the top and returns FALSE for a level that is not saved.
    int SaveDC();
    BOOL RestoreDC(int saved);
    /// Select returns the object selected before, or null when it no longer exists or the
    /// new object has no handle (then nothing changes).
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectObject(CGdiObject* object);
    HGDIOBJ SelectObject(HGDIOBJ object);
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_state.textColor; }
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_state.bkColor; }
    /// Returns the previous mode, 0 for a mode other than TRANSPARENT or OPAQUE.
    int SetBkMode(int mode);
    int GetBkMode() const { return m_state.bkMode; }
    /// Returns the previous mix, 0 for a value outside R2_BLACK..R2_WHITE.
    int SetROP2(int rop2);
    int GetROP2() const { return m_state.rop2; }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT pt) { return SetViewportOrg(pt.x, pt.y); }
    CPoint GetViewportOrg() const { return m_state.viewportOrg; }
    /// Clip changes in logical coordinates; they return the kind of region left.
    int IntersectClipRect(int l, int t, int r, int b);
    int IntersectClipRect(LPCRECT r) { return IntersectClipRect(r->left, r->top, r->right, r->bottom); }
    int ExcludeClipRect(int l, int t, int r, int b);
    int ExcludeClipRect(LPCRECT r) { return ExcludeClipRect(r->left, r->top, r->right, r->bottom); }
    int GetClipBox(LPRECT r) const;
    BOOL PtVisible(int x, int y) const;
    /// Whether any pixel of the rectangle (logical coordinates) lies in the clip.
    BOOL RectVisible(LPCRECT r) const;

    // Lines and shapes, with the selected pen, brush and mix.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT pt) { return MoveTo(pt.x, pt.y); }
    CPoint GetCurrentPosition() const { return m_state.position; }
    /// Draws to (x, y) leaving that point out and moves there; FALSE for coordinates
    /// beyond kMaxCoordinate.
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT pt) { return LineTo(pt.x, pt.y); }
    BOOL Polyline(const POINT* points, int count);
    BOOL Rectangle(int l, int t, int r, int b);
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    BOOL Ellipse(int l, int t, int r, int b);
    BOOL Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
    /// Returns the colour set, or CLR_INVALID outside the clip.
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT pt, COLORREF color) { return SetPixel(pt.x, pt.y, color); }
    /// CLR_INVALID outside the clip.
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT pt) const { return GetPixel(pt.x, pt.y); }

    // Fills, not affected by the mix. FillSolidRect leaves the background colour set to
    // its colour, as the framework's does.
    void FillSolidRect(LPCRECT r, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    /// One rectangle of FillSolidRects.
    struct SolidFill {
        CRect rect;
        COLORREF color;
    };
    /// FillSolidRect for each in order (later ones paint over earlier ones), with the clip
    /// found once: many small fills (a thousand 4 x 4 marks) cost little more than their pixels.
    void FillSolidRects(const SolidFill* fills, std::size_t count);
    void FillRect(LPCRECT r, CBrush* brush);
    void FrameRect(LPCRECT r, CBrush* brush);
    void Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);

    // Text with the selected font; the top-left of the text cell is at the point.
    BOOL TextOut(int x, int y, LPCWSTR text, int count);
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text.GetString(), text.GetLength()); }
    /// Returns the text height (with DT_VCENTER or DT_BOTTOM: from the rectangle's top to
    /// the text's bottom); 0 for null arguments. count -1 means up to the null.
    int DrawText(LPCWSTR text, int count, LPRECT rect, UINT format);
    int DrawText(const CString& text, LPRECT rect, UINT format) { return DrawText(text.GetString(), text.GetLength(), rect, format); }
    CSize GetTextExtent(LPCWSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text.GetString(), text.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRICW tm) const;

    // Pictures.
    /// Copies from another DC (its selected bitmap, or the screen of a window DC) with a
    /// ternary raster operation; FALSE without a source where the operation needs one.
    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    /// Scales 24- or 32-bit rows (nearest pixel) into the destination; returns the number of
    /// source rows, 0 for a format it does not know or non-positive sizes.
    int StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                      int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
    /// DST_BITMAP with DSS_NORMAL: the bitmap (cut to size when size is not zero) at pt;
    /// FALSE for other kinds and states.
    BOOL DrawState(CPoint pt, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush = nullptr);
    BOOL DrawState(CPoint pt, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush = nullptr);

protected:
    /// Makes this a DC drawing on a surface through a clip, logical (0, 0) at origin.
    void AttachSurface(std::shared_ptr<KivSurface> surface, const KivRegion& clip, CPoint origin);
    void ReleaseHandle();

private:
    /// Takes a new handle and the default state.
    void Open();
    CPoint ToSurface(int x, int y) const;
    CRect ToSurface(const CRect& r) const;
    /// The clip the drawing calls use: the system clip, the user clip and the surface. Kept
    /// until one of them changes, since a curve drawn column by column calls it per column.
    const KivRegion& EffectiveClip() const;
    /// Forgets the kept EffectiveClip (after the clip or the surface changed).
    void ClipChanged() { m_clipCache.valid = false; }
    /// Whether a surface point lies in EffectiveClip(), without building it.
    bool ClipContains(CPoint surfacePoint) const;
    bool HasSurface() const { return m_state.surface != nullptr; }
    void StrokeSegment(KivRaster& raster, CPoint a, CPoint b);
    /// BitBlt's SRCCOPY from another surface: area (this surface's pixels, within it and
    /// the clip's bounds) from src at (xSrc, ySrc) onwards, where area's top-left
    /// corresponds to origin.
    void CopyRows(const KivRegion& clip, const CRect& area, CPoint origin, const CDC& src, int xSrc, int ySrc);
    BOOL DrawShape(int l, int t, int r, int b, KivShapeMasks masks);
    void DrawTextLine(KivRaster& raster, int x, int y, std::wstring_view text);
    HGDIOBJ SelectHandle(HGDIOBJ object);

    KivDCState m_state;
    CPoint m_origin;  // surface position of logical (0, 0) before the viewport origin
    std::vector<KivDCState> m_saved;
    // EffectiveClip's last answer, with the surface and size it was made for (a screen
    // surface may be resized while a DC on it lives).
    struct ClipCache {
        bool valid = false;
        const KivSurface* surface = nullptr;
        int width = 0, height = 0;
        KivRegion clip;
    };
    mutable ClipCache m_clipCache;
};

/// A DC for the invalid part of a window during WM_PAINT: sends WM_ERASEBKGND when erasing
/// is pending and validates the window.
class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    struct PAINTSTRUCT {
        HDC hdc;
        BOOL fErase;  // TRUE when the background still needs erasing
        RECT rcPaint;
    } m_ps{};
    HWND m_hWnd = nullptr;
};

/// A DC for a window's whole visible client area.
class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;
    HWND m_hWnd = nullptr;
};

/// Restores a DC's whole state (pens, brushes, fonts, colours, mix, clip) when it leaves
/// scope.
class KivSaveDC {
public:
    explicit KivSaveDC(CDC& dc) : m_dc(dc), m_level(dc.SaveDC()) {}
    ~KivSaveDC() {
        if (m_level) m_dc.RestoreDC(m_level);
    }
    KivSaveDC(const KivSaveDC&) = delete;
    KivSaveDC& operator=(const KivSaveDC&) = delete;

private:
    CDC& m_dc;
    int m_level;
};

/// Selects an object into a DC and selects the previous one back when it leaves scope.
class KivSelectObject {
public:
    KivSelectObject(CDC& dc, CGdiObject& object) : m_dc(dc), m_previous(dc.SelectObject(object.m_hObject)) {}
    ~KivSelectObject() {
        if (m_previous) m_dc.SelectObject(m_previous);
    }
    KivSelectObject(const KivSelectObject&) = delete;
    KivSelectObject& operator=(const KivSelectObject&) = delete;

private:
    CDC& m_dc;
    HGDIOBJ m_previous;
};
