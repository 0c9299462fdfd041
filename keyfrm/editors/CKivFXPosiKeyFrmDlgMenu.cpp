// The position dialog's right-button menu and its fifteen commands, which a host may also
// send as WM_COMMAND.
#include <algorithm>

#include "keyfrm/editors/CKivFXPosiKeyFrmDlg.h"
#include "keyfrm/editors/KivFXKeyFrmDlgCommands.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

namespace {
using Commands = KivFXKeyFrmDlgCommands<CKivFXPosiKeyFrmDlg>;
}  // namespace

void CKivFXPosiKeyFrmDlg::CreateMenu(CPoint point) {
    if (!m_hWnd) return;
    CKivFXEditorMenu menu;
    Commands::AppendFrameAndTrackItems(*this, menu);
    menu.AppendZoomItems(m_fZoomScale > kZoomMin, m_fZoomScale != kZoomRecover);
    menu.Track(*this, point);
}

BOOL CKivFXPosiKeyFrmDlg::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    if (code == CN_COMMAND && !extra && Commands::Route(*this, id)) return TRUE;
    return CKivAquaBaseDlg::OnCmdMsg(id, code, extra, handlerInfo);
}

void CKivFXPosiKeyFrmDlg::OnMenuToStart() { Commands::ToStart(*this); }

void CKivFXPosiKeyFrmDlg::OnMenuToTail() { Commands::ToTail(*this); }

void CKivFXPosiKeyFrmDlg::OnMenuForwardOneFrame() { Commands::ForwardOneFrame(*this); }

void CKivFXPosiKeyFrmDlg::OnMenuBackOneFrame() { Commands::BackOneFrame(*this); }

// A keyframe edit shows on the strip and in the X-Y rectangle; a change of interpolation kind
// only in the rectangle.
void CKivFXPosiKeyFrmDlg::OnMenuAddKF() { Commands::AddKF(*this, &CKivFXPosiKeyFrmDlg::InvalidateStripAndXY); }

void CKivFXPosiKeyFrmDlg::OnMenuDelSelKF() { Commands::DelSelKF(*this, &CKivFXPosiKeyFrmDlg::InvalidateStripAndXY); }

void CKivFXPosiKeyFrmDlg::OnMenuDelAllKF() { Commands::DelAllKF(*this, &CKivFXPosiKeyFrmDlg::InvalidateStripAndXY); }

void CKivFXPosiKeyFrmDlg::OnMenuInsLineMode() { Commands::SetInsMode(*this, kInsModeLinear, &CKivFXPosiKeyFrmDlg::RepaintXY); }

void CKivFXPosiKeyFrmDlg::OnMenuInsBezierMode() { Commands::SetInsMode(*this, kInsModeBezier, &CKivFXPosiKeyFrmDlg::RepaintXY); }

void CKivFXPosiKeyFrmDlg::OnMenuInsNoneCtrl() { Commands::SetCtrlMode(*this, kCtrlModeNone); }

void CKivFXPosiKeyFrmDlg::OnMenuInsLinkageCtrl() { Commands::SetCtrlMode(*this, kCtrlModeLinkage); }

void CKivFXPosiKeyFrmDlg::OnMenuInsSymmetryCtrl() { Commands::SetCtrlMode(*this, kCtrlModeSymmetry); }

void CKivFXPosiKeyFrmDlg::OnMenuShowZoonIn() { SetZoomScale(std::min(m_fZoomScale + kZoomStep, kZoomMax)); }

void CKivFXPosiKeyFrmDlg::OnMenuShowZoonOut() { SetZoomScale(std::max(m_fZoomScale - kZoomStep, kZoomMin)); }

void CKivFXPosiKeyFrmDlg::OnMenuShowRecover() { SetZoomScale(kZoomRecover); }

void CKivFXPosiKeyFrmDlg::SetZoomScale(float scale) {
    m_fZoomScale = scale;
    CalcuPrePixel();
    RepaintXY();
}
