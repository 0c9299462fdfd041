// The colour dialog's mouse: picking in the colour field, the luminance and alpha strips,
// dragging keyframes and the current location along the strip between the bars, and
// deleting a keyframe with the right button.
#include <algorithm>
#include <cmath>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/editors/CKivFXClr32KeyFrmDlg.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/editors/KivFXTimeStrip.h"
#include "keyfrm/tracks/CKivFXColor32KeyFrmList.h"

namespace {

constexpr double kByteMax = 255.0;
// The current-location marker reaches this far either side of its line.
constexpr int kTimeLineHalfWidth = 3;
// A moved mark or marker is repainted this far either side of its old and new place.
constexpr int kRepaintHalfWidth = 5;

}  // namespace

// ---- Geometry of the keyframe strip ------------------------------------------------------

bool CKivFXClr32KeyFrmDlg::StripLocation(int x, double& location) const {
    const int width = m_rcKeyFrmStrip.Width();
    if (width <= 0) return false;
    location = std::clamp(static_cast<double>(x - m_rcKeyFrmStrip.left) / width, 0.0, 1.0);
    return true;
}

double CKivFXClr32KeyFrmDlg::Fraction(int y, const CRect& strip) {
    if (strip.Height() <= 0) return 0.0;
    return std::clamp(static_cast<double>(y - strip.top) / strip.Height(), 0.0, 1.0);
}

int CKivFXClr32KeyFrmDlg::GetTimeLine() const {
    return m_rcKeyFrmStrip.left + KivTruncToPixel(m_rcKeyFrmStrip.Width() * m_dCurLocation);
}

CRect CKivFXClr32KeyFrmDlg::GetTimeLineRect() const {
    const int x = GetTimeLine();
    return CRect(x - kTimeLineHalfWidth, m_rcKeyFrmStrip.top, x + kTimeLineHalfWidth, m_rcKeyFrmStrip.bottom);
}

CRect CKivFXClr32KeyFrmDlg::GetKeyFrmRect(const CKivFXColor32KeyFrm* keyframe) const {
    if (!keyframe) return CRect();
    const int h = m_rcKeyFrmStrip.Height();
    const int left = m_rcKeyFrmStrip.left + KivTruncToPixel(m_rcKeyFrmStrip.Width() * keyframe->Location) - h / 2;
    return CRect(left, m_rcKeyFrmStrip.top, left + h, m_rcKeyFrmStrip.bottom);
}

CKivFXColor32KeyFrm* CKivFXClr32KeyFrmDlg::HitKeyFrm(CPoint point) const {
    if (!m_pClrList) return nullptr;
    for (int i = 0; i < m_pClrList->GetKeyFrmCount(); ++i) {
        CKivFXColor32KeyFrm* k = m_pClrList->GetFXKeyFrm(i);
        if (k && GetKeyFrmRect(k).PtInRect(point)) return k;
    }
    return nullptr;
}

void CKivFXClr32KeyFrmDlg::InvalidateStrip(int x0, int x1) {
    if (!m_hWnd) return;
    // From the colour bar's top to the alpha bar's bottom: the marker's line crosses both bars.
    const int top = m_surfaces[kSurfClrBar].area.top, bottom = m_surfaces[kSurfAlphaBar].area.bottom;
    const CRect band(std::min(x0, x1) - kRepaintHalfWidth, std::min(top, m_rcKeyFrmStrip.top),
                     std::max(x0, x1) + kRepaintHalfWidth, std::max(bottom, m_rcKeyFrmStrip.bottom));
    InvalidateRect(&band, TRUE);
}

// ---- Buttons ----------------------------------------------------------------------------

void CKivFXClr32KeyFrmDlg::OnLButtonDown(UINT, CPoint point) {
    if (m_bDragging) {
        Default();
        return;
    }
    int kind = kDragNone;
    if (m_surfaces[kSurfClrPic].area.PtInRect(point)) {
        kind = kDragClrPic;
    } else if (m_surfaces[kSurfLum].area.PtInRect(point)) {
        kind = kDragLum;
    } else if (m_surfaces[kSurfAlpha].area.PtInRect(point)) {
        kind = kDragAlpha;
    } else if (m_rcKeyFrmStrip.PtInRect(point)) {
        if (GetTimeLineRect().PtInRect(point)) {
            kind = kDragTL;
        } else {
            m_pDragKF = HitKeyFrm(point);
            if (m_pDragKF) kind = kDragKeyFrm;
        }
    }
    if (kind != kDragNone) {
        m_bDragging = TRUE;
        m_nDragKind = kind;
        switch (kind) {
            case kDragClrPic: BeginDragClrPic(point); break;
            case kDragLum: BeginDragLum(point); break;
            case kDragAlpha: BeginDragAlpha(point); break;
            case kDragKeyFrm: BeginDragKeyFrm(point); break;
            default: BeginDragTL(point); break;
        }
        SetCapture();
        UpdateWindow();
    }
    Default();
}

void CKivFXClr32KeyFrmDlg::OnMouseMove(UINT, CPoint point) {
    if (m_bDragging) Drag(point);
    Default();
}

void CKivFXClr32KeyFrmDlg::OnLButtonUp(UINT, CPoint) {
    if (m_bDragging) {
        const HWND self = m_hWnd;
        EndDrag();
        if (!IsWindow(self)) return;
    }
    Default();
}

void CKivFXClr32KeyFrmDlg::OnRButtonDown(UINT, CPoint point) {
    CKivFXColor32KeyFrm* hit = m_rcKeyFrmStrip.PtInRect(point) ? HitKeyFrm(point) : nullptr;
    // The keyframe being dragged stays: its drag holds it until the left button is released.
    if (hit && !(m_nDragKind == kDragKeyFrm && hit == m_pDragKF)) {
        if (POSITION pos = m_pClrList->Find(hit)) m_pClrList->DeleteAt(pos);
        UpAquaEditState();
        TakeTrackColor();
        DrawLuminanceDC();
        DrawAlphaDC();
        DrawFXClrRGBDC();
        DrawFXClrADC();
        ShowColorShow();
        InvalidateStrip(m_rcKeyFrmStrip.left, m_rcKeyFrmStrip.right);
        UpdateWindow();
        if (!SendToModifyMsg(1, 0)) return;
    }
    Default();
}

// ---- Drags --------------------------------------------------------------------------------

void CKivFXClr32KeyFrmDlg::Drag(CPoint point) {
    switch (m_nDragKind) {
        case kDragClrPic: DragClrPic(point); break;
        case kDragLum: DragLum(point); break;
        case kDragAlpha: DragAlpha(point); break;
        case kDragKeyFrm:
            // The host may have removed the keyframe meanwhile: the drag then ends quietly.
            if (!m_pClrList || m_pClrList->GetFXKeyFrmIndex(m_pDragKF) < 0) {
                CancelDrag();
                return;
            }
            DragKeyFrm(point);
            break;
        case kDragTL: DragTL(point); break;
        default: return;
    }
    UpdateWindow();
}

void CKivFXClr32KeyFrmDlg::EndDrag() {
    const int kind = m_nDragKind;
    if (kind == kDragKeyFrm && (!m_pClrList || m_pClrList->GetFXKeyFrmIndex(m_pDragKF) < 0)) m_pDragKF = nullptr;
    switch (kind) {
        case kDragClrPic: EndDragClrPic(); break;
        case kDragLum: EndDragLum(); break;
        case kDragAlpha: EndDragAlpha(); break;
        case kDragKeyFrm: EndDragKeyFrm(); break;
        case kDragTL: EndDragTL(); break;
        default: break;
    }
    EndDragState();
    UpAquaEditState();
    UpdateWindow();
    if (kind == kDragTL)
        SendToModifyMsg(0, 1);
    else if (kind != kDragNone)
        SendToModifyMsg(1, 0);
}

void CKivFXClr32KeyFrmDlg::EndDragState() {
    // The dragged keyframe's red outline goes. The keyframe itself may be gone (the host
    // removed it, or the track), so its place is not read: the whole strip is repainted.
    if (m_pDragKF) InvalidateStrip(m_rcKeyFrmStrip.left, m_rcKeyFrmStrip.right);
    m_bDragging = FALSE;
    m_nDragKind = kDragNone;
    m_pDragKF = nullptr;
    if (m_hWnd && GetCapture() == this) ReleaseCapture();
}

void CKivFXClr32KeyFrmDlg::CancelDrag() { EndDragState(); }

// Colour field.

int CKivFXClr32KeyFrmDlg::PickClrHitClrPic(CPoint point, BYTE& r, BYTE& g, BYTE& b) {
    const CRect& field = m_surfaces[kSurfClrPic].area;
    if (!field.PtInRect(point)) return 0;
    m_cCurHue = static_cast<BYTE>(static_cast<double>(point.x - field.left) / field.Width() * kByteMax);
    m_cCurSat = static_cast<BYTE>(static_cast<double>(point.y - field.top) / field.Height() * kByteMax);
    // At either end of the luminance every hue and saturation is the same black or white;
    // a pick there takes the luminance the field is drawn with, so that it gives the colour
    // under the pointer.
    if (m_cCurLum == 0 || m_cCurLum == 255) m_cCurLum = kFieldLuminance;
    UpCurRGBForLum(r, g, b);
    return 1;
}

void CKivFXClr32KeyFrmDlg::BeginDragClrPic(CPoint point) { DragClrPic(point); }

void CKivFXClr32KeyFrmDlg::DragClrPic(CPoint point) {
    BYTE r = 0, g = 0, b = 0;
    if (!PickClrHitClrPic(point, r, g, b)) return;
    SetEditColor(r, g, b);
    DrawLuminanceDC();
    ShowColorShow();
}

void CKivFXClr32KeyFrmDlg::EndDragClrPic() {
    WriteEditColor();
    DrawLuminanceDC();
    DrawFXClrRGBDC();
    DrawFXClrADC();
    InvalidateStrip(m_rcKeyFrmStrip.left, m_rcKeyFrmStrip.right);  // a new mark may show
}

// Luminance strip.

void CKivFXClr32KeyFrmDlg::BeginDragLum(CPoint point) { DragLum(point); }

void CKivFXClr32KeyFrmDlg::DragLum(CPoint point) {
    m_cCurLum = static_cast<BYTE>(Fraction(point.y, m_surfaces[kSurfLum].area) * kByteMax);
    BYTE r = 0, g = 0, b = 0;
    UpCurRGBForLum(r, g, b);
    SetEditColor(r, g, b);
    DrawLuminanceDC();
    ShowColorShow();
}

void CKivFXClr32KeyFrmDlg::EndDragLum() {
    WriteEditColor();
    DrawFXClrRGBDC();
    DrawFXClrADC();
    InvalidateStrip(m_rcKeyFrmStrip.left, m_rcKeyFrmStrip.right);
}

// Alpha strip.

void CKivFXClr32KeyFrmDlg::BeginDragAlpha(CPoint point) { DragAlpha(point); }

void CKivFXClr32KeyFrmDlg::DragAlpha(CPoint point) {
    const double alpha = std::trunc(Fraction(point.y, m_surfaces[kSurfAlpha].area) * kByteMax);
    if (CKivAquaEdit* e = GetAquaEdit(IDC_CLR_ALPHA_EDIT)) e->SetValue(alpha, 0);
    DrawAlphaDC();
    ShowColorShow();
}

void CKivFXClr32KeyFrmDlg::EndDragAlpha() {
    WriteEditColor();
    DrawFXClrRGBDC();
    DrawFXClrADC();
    InvalidateStrip(m_rcKeyFrmStrip.left, m_rcKeyFrmStrip.right);
}

// Keyframes.

void CKivFXClr32KeyFrmDlg::BeginDragKeyFrm(CPoint point) {
    if (m_pDragKF) {
        SetEditColor(m_pDragKF->GetColor32());
        const CRect mark = GetKeyFrmRect(m_pDragKF);
        InvalidateStrip(mark.left, mark.right);  // outlined red while dragged
    }
    DrawLuminanceDC();
    DrawAlphaDC();
    ShowColorShow();
    m_ptLast = point;
}

void CKivFXClr32KeyFrmDlg::DragKeyFrm(CPoint point) {
    double location = 0.0;
    if (!m_pDragKF || !StripLocation(point.x, location)) return;
    const int oldX = GetKeyFrmRect(m_pDragKF).CenterPoint().x;
    // Off another keyframe by one pixel's worth of location (in single precision) at a time.
    const float step = static_cast<float>(1.0 / m_rcKeyFrmStrip.Width());
    KivFXPlaceDraggedKF(m_pClrList, m_pDragKF, location, step, point.x == m_ptLast.x);
    const int newX = GetKeyFrmRect(m_pDragKF).CenterPoint().x;
    // The mark is as wide as the strip is high; the band around each place covers it.
    const int reach = std::max(0, m_rcKeyFrmStrip.Height() / 2 + 1 - kRepaintHalfWidth);
    InvalidateStrip(oldX - reach, oldX + reach);
    InvalidateStrip(newX - reach, newX + reach);
    m_ptLast = point;
    UpAquaEditState();
}

void CKivFXClr32KeyFrmDlg::EndDragKeyFrm() {
    UpAquaEditState();
    TakeTrackColor();
    DrawLuminanceDC();
    DrawAlphaDC();
    DrawFXClrRGBDC();
    DrawFXClrADC();
    ShowColorShow();
    InvalidateStrip(m_rcKeyFrmStrip.left, m_rcKeyFrmStrip.right);
}

// Current location.

void CKivFXClr32KeyFrmDlg::BeginDragTL(CPoint point) { m_ptLast = point; }

void CKivFXClr32KeyFrmDlg::DragTL(CPoint point) {
    double location = 0.0;
    if (!StripLocation(point.x, location)) return;
    const int oldX = GetTimeLine();
    m_dCurLocation = location;
    UpAquaEditState();
    InvalidateStrip(oldX, oldX);
    InvalidateStrip(GetTimeLine(), GetTimeLine());
    m_ptLast = point;
}

void CKivFXClr32KeyFrmDlg::EndDragTL() { FollowCurLocation(); }

void CKivFXClr32KeyFrmDlg::FollowCurLocation() {
    UpAquaEditState();
    TakeTrackColor();
    UpCurLumForRGB();
    DrawLuminanceDC();
    DrawAlphaDC();
    DrawFXClrRGBDC();
    DrawFXClrADC();
    ShowColorShow();
    InvalidateStrip(m_rcKeyFrmStrip.left, m_rcKeyFrmStrip.right);
}

void CKivFXClr32KeyFrmDlg::UpCurLocation(double location) {
    if (std::isnan(location)) return;
    const int oldX = GetTimeLine();
    m_dCurLocation = std::clamp(location, 0.0, 1.0);
    if (!m_bInitialized) return;
    InvalidateStrip(oldX, oldX);
    FollowCurLocation();
    UpdateWindow();
}
