// The curve dialog's right-button menu and its fifteen commands, which a host may also send
// as WM_COMMAND.
#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"
#include "keyfrm/editors/KivFXKeyFrmDlgCommands.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

namespace {
using Commands = KivFXKeyFrmDlgCommands<CKivFXInsKeyFrmDlg>;
}  // namespace

void CKivFXInsKeyFrmDlg::CreateMenu(CPoint point) {
    if (!m_hWnd) return;
    CKivFXEditorMenu menu;
    Commands::AppendFrameAndTrackItems(*this, menu);
    menu.AppendZoomItems(m_uHMargin > kMarginStep || m_uVMargin > kMarginStep,
                         m_uHMargin != kMarginStep || m_uVMargin != kMarginStep);
    menu.Track(*this, point);
}

BOOL CKivFXInsKeyFrmDlg::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    if (code == CN_COMMAND && !extra && Commands::Route(*this, id)) return TRUE;
    return CKivAquaBaseDlg::OnCmdMsg(id, code, extra, handlerInfo);
}

void CKivFXInsKeyFrmDlg::OnMenuToStart() { Commands::ToStart(*this); }

void CKivFXInsKeyFrmDlg::OnMenuToTail() { Commands::ToTail(*this); }

void CKivFXInsKeyFrmDlg::OnMenuForwardOneFrame() { Commands::ForwardOneFrame(*this); }

void CKivFXInsKeyFrmDlg::OnMenuBackOneFrame() { Commands::BackOneFrame(*this); }

void CKivFXInsKeyFrmDlg::OnMenuAddKF() { Commands::AddKF(*this, &CKivFXInsKeyFrmDlg::RepaintNow); }

void CKivFXInsKeyFrmDlg::OnMenuDelSelKF() { Commands::DelSelKF(*this, &CKivFXInsKeyFrmDlg::RepaintNow); }

void CKivFXInsKeyFrmDlg::OnMenuDelAllKF() { Commands::DelAllKF(*this, &CKivFXInsKeyFrmDlg::RepaintNow); }

void CKivFXInsKeyFrmDlg::OnMenuInsLineMode() { Commands::SetInsMode(*this, kInsModeLinear, &CKivFXInsKeyFrmDlg::RepaintNow); }

void CKivFXInsKeyFrmDlg::OnMenuInsBezierMode() { Commands::SetInsMode(*this, kInsModeBezier, &CKivFXInsKeyFrmDlg::RepaintNow); }

void CKivFXInsKeyFrmDlg::OnMenuInsNoneCtrl() { Commands::SetCtrlMode(*this, kCtrlModeNone); }

void CKivFXInsKeyFrmDlg::OnMenuInsLinkageCtrl() { Commands::SetCtrlMode(*this, kCtrlModeLinkage); }

void CKivFXInsKeyFrmDlg::OnMenuInsSymmetryCtrl() { Commands::SetCtrlMode(*this, kCtrlModeSymmetry); }

void CKivFXInsKeyFrmDlg::OnMenuShowZoonIn() { MoveMargins(static_cast<int>(kMarginStep)); }

void CKivFXInsKeyFrmDlg::OnMenuShowZoonOut() { MoveMargins(-static_cast<int>(kMarginStep)); }

void CKivFXInsKeyFrmDlg::OnMenuShowRecover() {
    m_uHMargin = kMarginStep;
    m_uVMargin = kMarginStep;
    CalcuPrePixel();
    RepaintNow();
}

void CKivFXInsKeyFrmDlg::MoveMargins(int delta) {
    // Margins are never below the minimum here, so shrinking by one step stays at 0 or
    // more; CalcuPrePixel raises it back to the minimum.
    m_uHMargin += static_cast<UINT>(delta);
    m_uVMargin += static_cast<UINT>(delta);
    CalcuPrePixel();
    RepaintNow();
}
