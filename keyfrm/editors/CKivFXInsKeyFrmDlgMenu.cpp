// The curve dialog's right-button menu and its fifteen commands, which a host may also send
// as WM_COMMAND.
#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"
#include "keyfrm/editors/KivFXEditorMenu.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

void CKivFXInsKeyFrmDlg::CreateMenu(CPoint point) {
    if (!m_hWnd) return;
    CKivFXEditorMenu menu;
    menu.AppendFrameItems(m_nCurFrame, m_range.in, m_range.out);
    // Without a track only the frame and margin commands have anything to act on.
    if (m_pKFList) {
        menu.AppendKeyFrameItems(KivFXKeyFrmIsPoint(GetLocation(m_nCurFrame), m_pKFList) != 0,
                                 m_pKFList->IsHasSelectKF() != 0, m_pKFList->GetKeyFrmCount());
        menu.AppendInsModeItems(m_pKFList->InsMode, m_pKFList->CtrlMode);
        menu.Separator();
    }
    menu.AppendZoomItems(m_uHMargin > kMarginStep || m_uVMargin > kMarginStep,
                         m_uHMargin != kMarginStep || m_uVMargin != kMarginStep);
    menu.Track(*this, point);
}

BOOL CKivFXInsKeyFrmDlg::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    if (code == CN_COMMAND && !extra) {
        switch (id) {
            case ID_MENU_TO_START: OnMenuToStart(); return TRUE;
            case ID_MENU_TO_TAIL: OnMenuToTail(); return TRUE;
            case ID_MENU_FORWARD_ONE_FRAME: OnMenuForwardOneFrame(); return TRUE;
            case ID_MENU_BACK_ONE_FRAME: OnMenuBackOneFrame(); return TRUE;
            case ID_MENU_ADD_KF: OnMenuAddKF(); return TRUE;
            case ID_MENU_DEL_SEL_KF: OnMenuDelSelKF(); return TRUE;
            case ID_MENU_DEL_ALL_KF: OnMenuDelAllKF(); return TRUE;
            case ID_MENU_INS_LINE_MODE: OnMenuInsLineMode(); return TRUE;
            case ID_MENU_INS_BEZIER_MODE: OnMenuInsBezierMode(); return TRUE;
            case ID_MENU_INS_NONE_CTRL: OnMenuInsNoneCtrl(); return TRUE;
            case ID_MENU_INS_LINKAGE_CTRL: OnMenuInsLinkageCtrl(); return TRUE;
            case ID_MENU_INS_SYMMETRY_CTRL: OnMenuInsSymmetryCtrl(); return TRUE;
            case ID_MENU_SHOW_ZOOM_IN: OnMenuShowZoonIn(); return TRUE;
            case ID_MENU_SHOW_ZOOM_OUT: OnMenuShowZoonOut(); return TRUE;
            case ID_MENU_SHOW_RECOVER: OnMenuShowRecover(); return TRUE;
            default: break;
        }
    }
    return CKivAquaBaseDlg::OnCmdMsg(id, code, extra, handlerInfo);
}

void CKivFXInsKeyFrmDlg::OnMenuToStart() {
    if (m_nCurFrame == m_range.in) return;
    UpTimeLine(m_range.in);
    SendToModifyMsg(0, 1);
}

void CKivFXInsKeyFrmDlg::OnMenuToTail() {
    if (m_nCurFrame == m_range.out) return;
    UpTimeLine(m_range.out);
    SendToModifyMsg(0, 1);
}

void CKivFXInsKeyFrmDlg::OnMenuForwardOneFrame() {
    // "Forward" goes one frame toward story in.
    if (m_nCurFrame <= m_range.in) return;
    UpTimeLine(m_nCurFrame - 1);
    SendToModifyMsg(0, 1);
}

void CKivFXInsKeyFrmDlg::OnMenuBackOneFrame() {
    if (m_nCurFrame >= m_range.out) return;
    UpTimeLine(m_nCurFrame + 1);
    SendToModifyMsg(0, 1);
}

void CKivFXInsKeyFrmDlg::OnMenuAddKF() {
    if (!m_pKFList) return;
    CKivFXValueKeyFrm* k = m_pKFList->AddKeyFrm(GetLocation(m_nCurFrame));
    if (!k) return;
    m_pKFList->SetSelectKF(k, 1);
    RepaintNow();
    SendToModifyMsg(1, 0);
}

void CKivFXInsKeyFrmDlg::OnMenuDelSelKF() {
    if (!m_pKFList) return;
    // A keyframe dragged while the host sends the command must not outlive the drag.
    if (m_pDragKF && m_pDragKF->IsSelect()) CancelDrag();
    m_pKFList->DeleteSelectKeyFrm();
    RepaintNow();
    SendToModifyMsg(1, 0);
}

void CKivFXInsKeyFrmDlg::OnMenuDelAllKF() {
    if (!m_pKFList) return;
    if (m_pDragKF) CancelDrag();
    m_pKFList->DeleteAll();
    RepaintNow();
    SendToModifyMsg(1, 0);
}

void CKivFXInsKeyFrmDlg::OnMenuInsLineMode() { SetInsMode(kInsModeLinear); }

void CKivFXInsKeyFrmDlg::OnMenuInsBezierMode() { SetInsMode(kInsModeBezier); }

void CKivFXInsKeyFrmDlg::SetInsMode(int mode) {
    if (!m_pKFList || m_pKFList->InsMode == mode) return;
    m_pKFList->InsMode = mode;
    RepaintNow();
    SendToModifyMsg(1, 0);
}

void CKivFXInsKeyFrmDlg::OnMenuInsNoneCtrl() { SetCtrlMode(kCtrlModeNone); }

void CKivFXInsKeyFrmDlg::OnMenuInsLinkageCtrl() { SetCtrlMode(kCtrlModeLinkage); }

void CKivFXInsKeyFrmDlg::OnMenuInsSymmetryCtrl() { SetCtrlMode(kCtrlModeSymmetry); }

void CKivFXInsKeyFrmDlg::SetCtrlMode(int mode) {
    // Coupling shows nowhere and is not reported: no repaint, no message.
    if (m_pKFList) m_pKFList->CtrlMode = mode;
}

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
