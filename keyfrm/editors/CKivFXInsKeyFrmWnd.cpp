// The curve window's state, creation, coordinate mapping, time line, menu and commands.
// Painting is in CKivFXInsKeyFrmWndPaint.cpp, hit testing and drags in CKivFXInsKeyFrmWndDrag.cpp.
#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"

#include <algorithm>

#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXEditorMenu.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/editors/KivFXEditorParent.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

IMPLEMENT_DYNCREATE(CKivFXInsKeyFrmWnd, CWnd)

namespace {

// UpdateTimeLine repaints this many pixels either side of the old and the new line.
constexpr int kTimeLineStripHalfWidth = 2;
}  // namespace

CKivFXInsKeyFrmWnd::CKivFXInsKeyFrmWnd() = default;

CKivFXInsKeyFrmWnd::~CKivFXInsKeyFrmWnd() {
    if (m_hWnd) DestroyWindow();
}

int CKivFXInsKeyFrmWnd::Create(DWORD style, CWnd* parent, const CRect& rect) {
    const BOOL created = CreateEx(0, nullptr, nullptr, style, rect, parent, kControlId);
    if (created && parent) {
        const LRESULT font = parent->SendMessage(WM_GETFONT);
        SendMessage(WM_SETFONT, static_cast<WPARAM>(font), MAKELPARAM(TRUE, 0));
    }
    return created;
}

void CKivFXInsKeyFrmWnd::SetKeyFrmList(CKivFXInsKeyFrmList* track) {
    CancelDrag();
    m_pKFList = track;
    m_view.Drop();
    if (!track) return;
    m_fTopValue = track->MaxValue;
    m_fBottomValue = track->MinValue;
    m_fDefValue = track->DefValue;
}

void CKivFXInsKeyFrmWnd::UpdateTimeLine(int frame) {
    if (frame == m_nTimeLine) return;
    if (!m_hWnd) {
        m_nTimeLine = frame;
        return;
    }
    CRect client;
    GetClientRect(&client);
    auto invalidateStrip = [&](int x) {
        const CRect strip(x - kTimeLineStripHalfWidth, client.top, x + kTimeLineStripHalfWidth, client.bottom);
        InvalidateRect(&strip, TRUE);
    };
    invalidateStrip(FrameToPixelX(m_nTimeLine, 0));
    m_nTimeLine = frame;
    invalidateStrip(FrameToPixelX(m_nTimeLine, 0));
    UpdateWindow();
}

void CKivFXInsKeyFrmWnd::FlushWindow() { RepaintNow(); }

void CKivFXInsKeyFrmWnd::RepaintNow() {
    Invalidate(TRUE);
    UpdateWindow();
}

// ---- Coordinate mapping -------------------------------------------------------------

int CKivFXInsKeyFrmWnd::FrameToPixelX(int frame, int relative) const {
    double f = frame;
    if (relative == 0) f -= m_lScrollPos;
    return KivTruncToPixel(f * m_dPixelPreFrame + 0.5);
}

int CKivFXInsKeyFrmWnd::PixelToFrameX(int x, int relative) const {
    const double d = x / m_dPixelPreFrame;
    double frame = std::trunc(x >= 0 ? d + 0.5 : d - 0.5);
    if (relative == 0) frame += m_lScrollPos;
    return KivTruncToInt(frame);
}

int CKivFXInsKeyFrmWnd::ValueToPixelY(float value) const {
    const float fromTop = m_fTopValue - value;
    const double d = fromTop / m_dValuePrePixel;
    return KivTruncToPixel(fromTop >= 0.0f ? d + 0.5 : d - 0.5) + kMargin;
}

float CKivFXInsKeyFrmWnd::PixelToValueY(int y) const {
    // The half unit is added to the value, not to the pixel count.
    return m_fTopValue - KivToFloat(static_cast<double>(y - kMargin) * m_dValuePrePixel + 0.5);
}

void CKivFXInsKeyFrmWnd::CalcuPrePixel() {
    if (!m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    // A client no taller than the two margins counts as one pixel of plot, so the scale
    // stays finite and keeps its sign.
    const int plotHeight = std::max(1, (client.bottom - kMargin) - (client.top + kMargin));
    m_dValuePrePixel = (static_cast<double>(m_fTopValue) - static_cast<double>(m_fBottomValue)) / plotHeight;
}

int CKivFXInsKeyFrmWnd::GetStoryIn() const {
    CRect client;
    if (m_hWnd) GetClientRect(&client);
    return PixelToFrameX(client.left, 0);
}

int CKivFXInsKeyFrmWnd::GetStoryOut() const {
    CRect client;
    if (m_hWnd) GetClientRect(&client);
    return PixelToFrameX(client.right, 0);
}

CPoint CKivFXInsKeyFrmWnd::PartPoint(const CKivFXValueKeyFrm& k, int part) const {
    if (part == kPartKeyFrm) return CPoint(FrameToPixelX(k.Frame, 0), ValueToPixelY(k.Value));
    const SKivFXBezierHandle& h = part == kPartForePt ? k.PtFore : k.PtAfter;
    // A handle's frame is the keyframe's plus its offset truncated toward zero.
    const int frame = KivTruncToInt(static_cast<double>(k.Frame) + std::trunc(h.PosOffset));
    return CPoint(FrameToPixelX(frame, 0), ValueToPixelY(k.Value + h.ValueOffset));
}

CSize CKivFXInsKeyFrmWnd::HandleExtent(const CKivFXValueKeyFrm& k, int part) const {
    const CPoint key = PartPoint(k, kPartKeyFrm);
    const CPoint handle = PartPoint(k, part);
    return CSize(handle.x - key.x, handle.y - key.y);
}

CRect CKivFXInsKeyFrmWnd::GetKeyFrmRect(CKivFXValueKeyFrm* keyframe, int part) const {
    if (!keyframe) return CRect();
    return KivFXNoteRect(PartPoint(*keyframe, part));
}

void CKivFXInsKeyFrmWnd::CalcuBezierPoints(CPoint* out, CKivFXValueKeyFrm* keyframe) const {
    if (!out || !keyframe) return;
    out[0] = PartPoint(*keyframe, kPartForePt);
    out[1] = PartPoint(*keyframe, kPartKeyFrm);
    out[2] = PartPoint(*keyframe, kPartAfterPt);
}

void CKivFXInsKeyFrmWnd::CalcuBezierPoints(CPoint* out, CKivFXValueKeyFrm* a, CKivFXValueKeyFrm* b) const {
    if (!out || !a || !b) return;
    out[0] = PartPoint(*a, kPartKeyFrm);
    out[1] = PartPoint(*a, kPartAfterPt);
    out[2] = PartPoint(*b, kPartForePt);
    out[3] = PartPoint(*b, kPartKeyFrm);
}

double CKivFXInsKeyFrmWnd::FramesOfPixels(int k) const {
    return std::fabs(static_cast<double>(PixelToFrameX(k, 0)) - static_cast<double>(PixelToFrameX(0, 0)));
}

float CKivFXInsKeyFrmWnd::ValuesOfPixels(int k) const { return std::fabs(PixelToValueY(k) - PixelToValueY(0)); }

void CKivFXInsKeyFrmWnd::OnSize(UINT, int, int) {
    Default();
    CalcuPrePixel();
}

// ---- Messages to the parent -----------------------------------------------------------

bool CKivFXInsKeyFrmWnd::SendToParent(UINT msg, WPARAM wParam, LPARAM lParam) {
    return KivFXSendToParent(*this, msg, wParam, lParam);
}

void CKivFXInsKeyFrmWnd::SendToModifyMsg(unsigned char phase) {
    if (!m_pKFList || !DraggedKF() || m_nDragIndex < 0) return;
    InsKFWndModifyInfo info{m_nDragIndex, m_nSignID, phase};
    SendToParent(KivFXEditorMessages().modifyFromInsKFWnd, 0, reinterpret_cast<LPARAM>(&info));
}

// ---- Right-button menu and commands ------------------------------------------------------

void CKivFXInsKeyFrmWnd::OnRButtonDown(UINT, CPoint point) {
    CreateMenu(point);
    Default();
}

void CKivFXInsKeyFrmWnd::CreateMenu(CPoint point) {
    // Without a track there is nothing to choose.
    if (!m_pKFList || !m_hWnd) return;
    CKivFXEditorMenu menu;
    menu.AppendInsModeItems(m_pKFList->InsMode, m_pKFList->CtrlMode);
    menu.Track(*this, point);
}

BOOL CKivFXInsKeyFrmWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    if (code == CN_COMMAND && !extra) {
        switch (id) {
            case ID_MENU_INS_LINE_MODE: OnMenuInsLineMode(); return TRUE;
            case ID_MENU_INS_BEZIER_MODE: OnMenuInsBezierMode(); return TRUE;
            case ID_MENU_INS_NONE_CTRL: OnMenuInsNoneCtrl(); return TRUE;
            case ID_MENU_INS_LINKAGE_CTRL: OnMenuInsLinkageCtrl(); return TRUE;
            case ID_MENU_INS_SYMMETRY_CTRL: OnMenuInsSymmetryCtrl(); return TRUE;
            default: break;
        }
    }
    return CWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

void CKivFXInsKeyFrmWnd::OnMenuInsLineMode() {
    if (!m_pKFList || m_pKFList->InsMode == kInsModeLinear) return;
    m_pKFList->InsMode = kInsModeLinear;
    RepaintNow();
    // lParam 1: the track was Bezier before the switch.
    SendToParent(KivFXEditorMessages().insModeFromInsKFWnd, static_cast<WPARAM>(m_nSignID), 1);
}

void CKivFXInsKeyFrmWnd::OnMenuInsBezierMode() {
    if (!m_pKFList || m_pKFList->InsMode == kInsModeBezier) return;
    m_pKFList->InsMode = kInsModeBezier;
    RepaintNow();
    // lParam 0: the track was linear before the switch.
    SendToParent(KivFXEditorMessages().insModeFromInsKFWnd, static_cast<WPARAM>(m_nSignID), 0);
}

void CKivFXInsKeyFrmWnd::OnMenuInsNoneCtrl() { SetCtrlMode(kCtrlModeNone); }
void CKivFXInsKeyFrmWnd::OnMenuInsLinkageCtrl() { SetCtrlMode(kCtrlModeLinkage); }
void CKivFXInsKeyFrmWnd::OnMenuInsSymmetryCtrl() { SetCtrlMode(kCtrlModeSymmetry); }

void CKivFXInsKeyFrmWnd::SetCtrlMode(int mode) {
    if (!m_pKFList) return;
    const int previous = m_pKFList->CtrlMode;
    m_pKFList->CtrlMode = mode;
    // Sent even when the mode was already in force: the host learns what was chosen.
    SendToParent(KivFXEditorMessages().ctrlModeFromInsKFWnd, static_cast<WPARAM>(m_nSignID), previous);
}
