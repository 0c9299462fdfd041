// The drawing objects a device context selects: pens, brushes, fonts and bitmaps, their
// handles and the stock objects, plus the system colours.
#pragma once

#include <memory>

#include "platform/fw/CObject.h"
#include "platform/ui/FontRender.h"
#include "platform/ui/Handles.h"
#include "platform/ui/Surface.h"

class CDC;

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;

constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;

// Stock object indices.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;

// System colour indices.
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;

/// Pixels per inch of the old system's screen, which point sizes are converted with.
constexpr int kScreenPixelsPerInch = 96;

/// a * b / c rounded half away from zero, as the old system's MulDiv; -1 when c is 0.
int MulDiv(int a, int b, int c);

/// The colour of a system colour index; black for an unknown index.
COLORREF GetSysColor(int index);

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};
struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    UINT_PTR lbHatch;
};
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

/// Bitmaps larger than this on either side are refused (an allocation that size is a
/// mistake, not a picture).
constexpr int kMaxBitmapSide = 16384;

/// What a device context copies out of a pen when it is selected.
struct KivPenData {
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};
struct KivBrushData {
    bool hollow = false;
    COLORREF color = 0xFFFFFF;
};

/// Root of the drawing objects: owns one handle, released by DeleteObject or destruction.
class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    enum class Kind { None, Pen, Brush, Font, Bitmap };

    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    Kind GetKind() const { return m_kind; }
    /// Releases the handle; FALSE when there is none or the object is a stock object.
    BOOL DeleteObject();
    /// The live object of a handle, or null.
    static CGdiObject* FromHandle(HGDIOBJ h);

protected:
    /// Gives the object a new handle of a kind; FALSE when it already has one.
    BOOL AttachNew(Kind kind);
    virtual void ReleaseData() {}

private:
    friend CGdiObject* KivStockObject(int index);
    Kind m_kind = Kind::None;
    bool m_stock = false;
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    /// A pen; on failure (see CreatePen) the object stays without a handle.
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    /// Solid (PS_SOLID, PS_INSIDEFRAME) or null pens of any width (0 means 1); FALSE for the
    /// dashed styles, which this system does not draw, or when the pen already exists.
    BOOL CreatePen(int style, int width, COLORREF color);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN h);
    int GetLogPen(LOGPEN* out) const;
    const KivPenData& Data() const { return m_data; }

private:
    friend CGdiObject* KivStockObject(int index);
    KivPenData m_data;
};

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    /// FALSE when the brush already exists.
    BOOL CreateSolidBrush(COLORREF color);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH h);
    int GetLogBrush(LOGBRUSH* out) const;
    const KivBrushData& Data() const { return m_data; }

private:
    friend CGdiObject* KivStockObject(int index);
    KivBrushData m_data;
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    /// A font of nPointSize tenths of a point at 96 pixels per inch (the old system's
    /// screen); FALSE when the font already exists. A face with no installed file draws
    /// with a fallback face, or draws nothing when no font file is found at all.
    BOOL CreatePointFont(int nPointSize, LPCWSTR faceName, CDC* dc = nullptr);
    BOOL CreateFontIndirect(const LOGFONTW* lf);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCWSTR faceName);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT h);
    int GetLogFont(LOGFONTW* out) const;
    /// The resolved font; null before creation.
    std::shared_ptr<const KivFontInstance> Instance() const { return m_instance; }

protected:
    void ReleaseData() override { m_instance.reset(); }

private:
    friend CGdiObject* KivStockObject(int index);
    LOGFONTW m_logFont{};
    std::shared_ptr<const KivFontInstance> m_instance;
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    /// A black 32-bit bitmap; FALSE for a size outside 1..kMaxBitmapSide or when the bitmap
    /// already exists. The device context only names the old system's signature.
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    /// A bitmap from 32-bit rows (bytes blue, green, red, unused; top row first) or black
    /// when bits is null; FALSE for other formats or sizes.
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    /// The bitmap resource of that id from a module (null: any module, the current resource
    /// module first) in the resource language; FALSE when there is none.
    BOOL LoadBitmap(HINSTANCE module, UINT id);
    BOOL LoadBitmap(UINT id) { return LoadBitmap(nullptr, id); }
    BOOL LoadBitmapW(UINT id) { return LoadBitmap(nullptr, id); }
    int GetBitmap(BITMAP* out) const;
    /// Copies up to count bytes of 32-bit rows in or out; returns the bytes copied.
    DWORD SetBitmapBits(DWORD count, const void* bits);
    DWORD GetBitmapBits(DWORD count, void* bits) const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP h);
    /// The pixels; null before creation.
    std::shared_ptr<KivSurface> Surface() const { return m_surface; }

protected:
    void ReleaseData() override { m_surface.reset(); }

private:
    friend CGdiObject* KivStockObject(int index);
    BOOL CreateFromSurface(std::shared_ptr<KivSurface> surface);
    std::shared_ptr<KivSurface> m_surface;
};

/// The stock object of an index as a handle, or null for an index this system lacks.
HGDIOBJ GetStockObject(int index);
/// The same as an object (stock objects live until exit), or null.
CGdiObject* KivStockObject(int index);
/// The 1 x 1 bitmap a new memory device context starts with.
CBitmap* KivDefaultBitmap();
