// The colour dialog's drawing: the five surfaces (colour field, luminance and alpha strips,
// colour and alpha bars), the preview, the keyframe marks, the current-location marker and
// the painting that puts them on the screen.
#include <algorithm>
#include <cmath>

#include "keyfrm/editors/CKivFXClr32KeyFrmDlg.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/CKivFXColor32KeyFrmList.h"
#include "kivbase/gui/KivPicture.h"

namespace {

constexpr double kByteMax = 255.0;
constexpr COLORREF kLumMarkerColor = RGB(220, 220, 220);  // XOR-ed onto the strip
constexpr COLORREF kAlphaMarkerColor = RGB(255, 0, 0);
constexpr COLORREF kDragKeyFrmColor = RGB(255, 0, 0);
constexpr COLORREF kTimeLineColor = RGB(255, 255, 0);
constexpr COLORREF kFrameColor = RGB(0, 0, 0);
constexpr RGBQUAD kWhite{255, 255, 255, 0};
// The markers on the strips: inset this far from each side, reaching this far above the
// value's row and this high in all.
constexpr int kMarkerInset = 1;
constexpr int kMarkerAbove = 3;
constexpr int kMarkerHeight = 6;

RGBQUAD Quad(BYTE r, BYTE g, BYTE b) { return {b, g, r, 0}; }
RGBQUAD Quad(tagCOLOR32 c) { return Quad(c.red, c.green, c.blue); }
RGBQUAD Grey(BYTE v) { return Quad(v, v, v); }

// The byte at fraction i / n of the range: the integer part of (i / n x 255).
BYTE Scaled(int i, int n) { return static_cast<BYTE>(static_cast<double>(i) / n * kByteMax); }

// The colour field's colour for each saturation byte (rows of 256) and hue byte, at the
// field's luminance: made once, shared by every dialog.
const std::vector<RGBQUAD>& FieldColours() {
    static const std::vector<RGBQUAD> colours = [] {
        std::vector<RGBQUAD> c(256 * 256);
        for (int sat = 0; sat < 256; ++sat)
            for (int hue = 0; hue < 256; ++hue)
                c[static_cast<size_t>(sat) * 256 + static_cast<size_t>(hue)] = Quad(KivPublicHLSA2RGBA(
                    {static_cast<BYTE>(hue), CKivFXClr32KeyFrmDlg::kFieldLuminance, static_cast<BYTE>(sat), 255}));
        return c;
    }();
    return colours;
}

// The row of a marker for value (0..255) on a strip of height h.
int MarkerTop(double value, int h) { return static_cast<int>(value / kByteMax * h) - kMarkerAbove; }

}  // namespace

CSize CKivFXClr32KeyFrmDlg::SurfaceSize(Surface s) const {
    const auto surface = m_surfaces[s].bitmap.Surface();
    return surface ? CSize(surface->width, surface->height) : CSize();
}

void CKivFXClr32KeyFrmDlg::FillLines(Surface s, const std::vector<RGBQUAD>& colours, bool rows) {
    const CSize size = SurfaceSize(s);
    if (size.cx <= 0 || size.cy <= 0) return;
    std::vector<RGBQUAD> px(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy), kWhite);
    for (int y = 0; y < size.cy; ++y) {
        RGBQUAD* row = px.data() + static_cast<size_t>(y) * static_cast<size_t>(size.cx);
        if (rows) {
            if (static_cast<size_t>(y) < colours.size()) std::fill(row, row + size.cx, colours[static_cast<size_t>(y)]);
        } else {
            std::copy_n(colours.begin(), std::min<size_t>(colours.size(), static_cast<size_t>(size.cx)), row);
        }
    }
    m_surfaces[s].bitmap.SetBitmapBits(static_cast<DWORD>(px.size() * sizeof(RGBQUAD)), px.data());
}

void CKivFXClr32KeyFrmDlg::DrawClrPicDC() {
    const CSize size = SurfaceSize(kSurfClrPic);
    if (size.cx <= 0 || size.cy <= 0) return;
    // Hue runs left to right and saturation top to bottom at the field's luminance. The
    // pixels depend on the size alone, so they are computed once per size.
    if (size != m_fieldSize) {
        // Every pixel is one of the 256 x 256 hue and saturation bytes' colours: the columns'
        // hues and the rows' saturations are looked up there, and a row whose saturation
        // byte equals the one above is a copy of it (a field taller than 256 pixels).
        const std::vector<RGBQUAD>& colours = FieldColours();
        const size_t w = static_cast<size_t>(size.cx);
        std::vector<BYTE> hues(w);
        for (size_t i = 0; i < w; ++i) hues[i] = Scaled(static_cast<int>(i), size.cx);
        m_fieldPixels.resize(w * static_cast<size_t>(size.cy));
        for (int j = 0; j < size.cy; ++j) {
            RGBQUAD* row = m_fieldPixels.data() + static_cast<size_t>(j) * w;
            const BYTE sat = Scaled(j, size.cy);
            if (j > 0 && sat == Scaled(j - 1, size.cy)) {
                std::copy_n(row - w, w, row);
                continue;
            }
            const RGBQUAD* byHue = colours.data() + static_cast<size_t>(sat) * 256;
            for (size_t i = 0; i < w; ++i) row[i] = byHue[hues[i]];
        }
        m_fieldSize = size;
    }
    m_surfaces[kSurfClrPic].bitmap.SetBitmapBits(static_cast<DWORD>(m_fieldPixels.size() * sizeof(RGBQUAD)), m_fieldPixels.data());
    ShowSurface(kSurfClrPic);
}

void CKivFXClr32KeyFrmDlg::DrawLuminanceDC() {
    const CSize size = SurfaceSize(kSurfLum);
    if (size.cx <= 0 || size.cy <= 0) return;
    std::vector<RGBQUAD> rows(static_cast<size_t>(size.cy));
    for (int i = 0; i < size.cy; ++i) rows[static_cast<size_t>(i)] = Quad(KivPublicHLSA2RGBA({m_cCurHue, Scaled(i, size.cy), m_cCurSat, 255}));
    DrawStrip(kSurfLum, rows, kLumMarkerColor, true, m_cCurLum);
}

void CKivFXClr32KeyFrmDlg::DrawAlphaDC() {
    const CSize size = SurfaceSize(kSurfAlpha);
    if (size.cx <= 0 || size.cy <= 0) return;
    std::vector<RGBQUAD> rows(static_cast<size_t>(size.cy));
    for (int i = 0; i < size.cy; ++i) rows[static_cast<size_t>(i)] = Grey(Scaled(i, size.cy));
    DrawStrip(kSurfAlpha, rows, kAlphaMarkerColor, false, EditColor().alpha);
}

void CKivFXClr32KeyFrmDlg::DrawStrip(Surface s, const std::vector<RGBQUAD>& rows, COLORREF marker, bool xorMarker, double value) {
    FillLines(s, rows, true);
    CDC& dc = m_surfaces[s].dc;
    CPen pen(PS_SOLID, 1, marker);
    KivSaveDC saved(dc);
    dc.SelectObject(&pen);
    dc.SelectStockObject(NULL_BRUSH);
    if (xorMarker) {
        dc.SetROP2(R2_XORPEN);
        dc.SetBkMode(TRANSPARENT);
    }
    const int width = SurfaceSize(s).cx;
    const int top = MarkerTop(value, static_cast<int>(rows.size()));
    dc.Rectangle(kMarkerInset, top, width - kMarkerInset, top + kMarkerHeight);
    ShowSurface(s);
}

void CKivFXClr32KeyFrmDlg::RedrawSurfaces() {
    CreateDrawDC();
    DrawClrPicDC();
    DrawLuminanceDC();
    DrawAlphaDC();
    DrawFXClrRGBDC();
    DrawFXClrADC();
}

void CKivFXClr32KeyFrmDlg::DrawFXClrRGBDC() { DrawBar(kSurfClrBar, false); }

void CKivFXClr32KeyFrmDlg::DrawFXClrADC() { DrawBar(kSurfAlphaBar, true); }

void CKivFXClr32KeyFrmDlg::DrawBar(Surface s, bool alphas) {
    const CSize size = SurfaceSize(s);
    if (size.cx <= 0 || size.cy <= 0) return;
    const int W = size.cx;
    // Without a track the bar shows nothing: the dialog's face.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    std::vector<RGBQUAD> columns(static_cast<size_t>(W), Quad(GetRValue(face), GetGValue(face), GetBValue(face)));
    if (m_pClrList) {
        // Column x stands for the location the keyframe strip gives it, x / W, and shows what
        // the track renders there.
        for (int x = 0; x < W; ++x) {
            tagCOLOR32 c;
            m_pClrList->InsValue(static_cast<double>(x) / W, c.red, c.green, c.blue, c.alpha);
            columns[static_cast<size_t>(x)] = alphas ? Grey(c.alpha) : Quad(c);
        }
    }
    FillLines(s, columns, false);
    ShowSurface(s);
}

void CKivFXClr32KeyFrmDlg::DrawColorShow() {
    CWnd* show = GetDlgItem(IDC_CLR_SHOW);
    if (!show) return;
    CRect client;
    show->GetClientRect(&client);
    const int w = client.Width(), h = client.Height();
    CKivMemBlock back, front;
    if (!back.InitBlock(CSize(w, h), nullptr, 0) || !front.InitBlock(CSize(w, h), nullptr, 0)) return;
    if (!KivPictureFillBack(&back, KIV_BACK_CHECKER, 0)) return;
    BITMAPINFO info;
    KivPublicInitBmpInfo(&info, w, h);
    front.ClearBlock(nullptr, EditColor());
    back.Copy(0, 0, &front, CRect(0, 0, w, h), MIXMODE_ALPHABLEND, 1, KIV_FIELD_FRAME);
    CDC* dc = show->GetDC();
    if (!dc) return;
    dc->StretchDIBits(client.left, client.top, client.Width(), client.Height(), 0, 0, w, h, back.GetAddress(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
    show->ReleaseDC(dc);
}

void CKivFXClr32KeyFrmDlg::OnPaint() {
    CPaintDC dc(this);
    const CRect painted(dc.m_ps.rcPaint);
    for (MemSurface& s : m_surfaces) {
        const CSize size = s.bitmap.Surface() ? CSize(s.bitmap.Surface()->width, s.bitmap.Surface()->height) : CSize();
        CRect hit;
        if (size.cx > 0 && hit.IntersectRect(s.area, painted))
            dc.BitBlt(s.area.left, s.area.top, size.cx, size.cy, &s.dc, 0, 0, SRCCOPY);
    }
    CRect previewHit;
    if (previewHit.IntersectRect(m_rcColorShow, painted)) DrawColorShow();
    DrawKeyFrmNode(&dc);
    DrawTimeLine(&dc);
    CRect client;
    GetClientRect(&client);
    KivSaveDC saved(dc);
    dc.Draw3dRect(&client, kFrameColor, kFrameColor);
}

void CKivFXClr32KeyFrmDlg::DrawKeyFrmNode(CDC* dc) {
    if (!dc || !m_pClrList) return;
    CPen dragPen(PS_SOLID, 1, kDragKeyFrmColor);
    for (int i = 0; i < m_pClrList->GetKeyFrmCount(); ++i) {
        CKivFXColor32KeyFrm* k = m_pClrList->GetFXKeyFrm(i);
        if (!k) continue;
        const tagCOLOR32 c = k->GetColor32();
        CBrush brush(RGB(c.red, c.green, c.blue));
        // The others keep the DC's own pen.
        KivSaveDC saved(*dc);
        dc->SelectObject(&brush);
        if (k == DraggedKF()) dc->SelectObject(&dragPen);
        const CRect mark = GetKeyFrmRect(k);
        dc->Ellipse(&mark);
    }
}

void CKivFXClr32KeyFrmDlg::DrawTimeLine(CDC* dc) {
    if (!dc || m_rcKeyFrmStrip.IsRectEmpty()) return;
    const CRect r = GetTimeLineRect();
    dc->FillSolidRect(&r, kTimeLineColor);
    CPen pen(PS_SOLID, 1, kTimeLineColor);
    KivSaveDC saved(*dc);
    dc->SelectObject(&pen);
    dc->SetROP2(R2_XORPEN);
    const int x = GetTimeLine();
    dc->MoveTo(x, m_surfaces[kSurfClrBar].area.top);
    dc->LineTo(x, m_rcKeyFrmStrip.top);
    dc->MoveTo(x, m_rcKeyFrmStrip.bottom);
    dc->LineTo(x, m_surfaces[kSurfAlphaBar].area.bottom);
}
