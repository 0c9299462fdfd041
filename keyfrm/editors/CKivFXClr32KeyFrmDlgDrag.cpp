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
#include "platform/ui/WeakWnd.h"

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

KivFXDragController CKivFXClr32KeyFrmDlg::MakeDrag() {
    using Drag = KivFXDragController;
    std::vector<Drag::Kind> kinds(kDragTL + 1);
    kinds[kDragClrPic] = {false, [this](CPoint p) { BeginDragClrPic(p); }, [this](CPoint p) { DragClrPic(p); },
                          [this] { EndDragClrPic(); }};
    kinds[kDragLum] = {false, [this](CPoint p) { BeginDragLum(p); }, [this](CPoint p) { DragLum(p); }, [this] { EndDragLum(); }};
    kinds[kDragAlpha] = {false, [this](CPoint p) { BeginDragAlpha(p); }, [this](CPoint p) { DragAlpha(p); },
                         [this] { EndDragAlpha(); }};
    kinds[kDragKeyFrm] = {true, [this](CPoint p) { BeginDragKeyFrm(p); }, [this](CPoint p) { DragKeyFrm(p); },
                          [this] { EndDragKeyFrm(); }};
    kinds[kDragTL] = {false, [this](CPoint p) { BeginDragTL(p); }, [this](CPoint p) { DragTL(p); }, [this] { EndDragTL(); }};
    Drag::Hooks hooks;
    hooks.track = [this] { return m_pClrList; };
    hooks.grabbed = [this](int) { UpdateWindow(); };
    // Colour drags tell the host only at their end; each step shows at once.
    hooks.tell = [this](Drag::Phase phase, int kind) {
        if (phase == Drag::Phase::moved) UpdateWindow();
        if (phase == Drag::Phase::ended) SendToModifyMsg(kind == kDragTL ? 0 : 1, kind == kDragTL ? 1 : 0);
    };
    hooks.ending = [this](int kind) {
        if (kind == kDragKeyFrm) InvalidateStrip(m_rcKeyFrmStrip.left, m_rcKeyFrmStrip.right);  // its red outline goes
        UpAquaEditState();
        UpdateWindow();
    };
    // The keyframe may be gone (the host removed it, or the track), so its place is not read:
    // the whole strip is repainted.
    hooks.cancelled = [this](int kind) {
        if (kind == kDragKeyFrm) InvalidateStrip(m_rcKeyFrmStrip.left, m_rcKeyFrmStrip.right);
    };
    return Drag(*this, std::move(kinds), std::move(hooks));
}

void CKivFXClr32KeyFrmDlg::OnLButtonDown(UINT, CPoint point) {
    if (m_drag.IsDragging()) {
        Default();
        return;
    }
    const KivWeakWnd alive(*this);
    if (m_surfaces[kSurfClrPic].area.PtInRect(point)) {
        m_drag.Press(kDragClrPic, point);
    } else if (m_surfaces[kSurfLum].area.PtInRect(point)) {
        m_drag.Press(kDragLum, point);
    } else if (m_surfaces[kSurfAlpha].area.PtInRect(point)) {
        m_drag.Press(kDragAlpha, point);
    } else if (m_rcKeyFrmStrip.PtInRect(point)) {
        if (GetTimeLineRect().PtInRect(point))
            m_drag.Press(kDragTL, point);
        else if (CKivFXColor32KeyFrm* hit = HitKeyFrm(point))
            m_drag.Press(kDragKeyFrm, point, hit);
    }
    if (alive) Default();
}

void CKivFXClr32KeyFrmDlg::OnMouseMove(UINT, CPoint point) {
    const KivWeakWnd alive(*this);
    if (m_drag.IsDragging()) Drag(point);
    if (alive) Default();
}

void CKivFXClr32KeyFrmDlg::OnLButtonUp(UINT, CPoint) {
    const KivWeakWnd alive(*this);
    if (m_drag.IsDragging()) EndDrag();
    if (alive) Default();
}

void CKivFXClr32KeyFrmDlg::OnRButtonDown(UINT, CPoint point) {
    CKivFXColor32KeyFrm* hit = m_rcKeyFrmStrip.PtInRect(point) ? HitKeyFrm(point) : nullptr;
    // The keyframe being dragged stays: its drag holds it until the left button is released.
    if (hit && !(m_drag.GetKind() == kDragKeyFrm && hit == DraggedKF())) {
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

void CKivFXClr32KeyFrmDlg::Drag(CPoint point) { m_drag.Move(point); }

void CKivFXClr32KeyFrmDlg::EndDrag() { m_drag.End(); }

void CKivFXClr32KeyFrmDlg::CancelDrag() { m_drag.Cancel(false); }

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

void CKivFXClr32KeyFrmDlg::BeginDragKeyFrm(CPoint) {
    if (CKivFXColor32KeyFrm* k = DraggedKF()) {
        SetEditColor(k->GetColor32());
        const CRect mark = GetKeyFrmRect(k);
        InvalidateStrip(mark.left, mark.right);  // outlined red while dragged
    }
    DrawLuminanceDC();
    DrawAlphaDC();
    ShowColorShow();
}

void CKivFXClr32KeyFrmDlg::DragKeyFrm(CPoint point) {
    double location = 0.0;
    CKivFXColor32KeyFrm* k = DraggedKF();
    if (!k || !StripLocation(point.x, location)) return;
    const int oldX = GetKeyFrmRect(k).CenterPoint().x;
    // Off another keyframe by one pixel's worth of location (in single precision) at a time.
    const float step = static_cast<float>(1.0 / m_rcKeyFrmStrip.Width());
    KivFXPlaceDraggedKF(m_pClrList, k, location, step, point.x == m_drag.Last().x);
    const int newX = GetKeyFrmRect(k).CenterPoint().x;
    // The mark is as wide as the strip is high; the band around each place covers it.
    const int reach = std::max(0, m_rcKeyFrmStrip.Height() / 2 + 1 - kRepaintHalfWidth);
    InvalidateStrip(oldX - reach, oldX + reach);
    InvalidateStrip(newX - reach, newX + reach);
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

void CKivFXClr32KeyFrmDlg::BeginDragTL(CPoint) {}

void CKivFXClr32KeyFrmDlg::DragTL(CPoint point) {
    double location = 0.0;
    if (!StripLocation(point.x, location)) return;
    const int oldX = GetTimeLine();
    m_dCurLocation = location;
    UpAquaEditState();
    InvalidateStrip(oldX, oldX);
    InvalidateStrip(GetTimeLine(), GetTimeLine());
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
