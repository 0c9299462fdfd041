// The position dialog's right-button menu and its fifteen commands, which a host may also
// send as WM_COMMAND.
#include <algorithm>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/editors/CKivFXPosiKeyFrmDlg.h"
#include "keyfrm/editors/KivFXEditorMenu.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

void CKivFXPosiKeyFrmDlg::CreateMenu(CPoint point) {
    if (!m_hWnd) return;
    CKivFXEditorMenu menu;
    menu.AppendFrameItems(m_nCurFrame, m_range.in, m_range.out);
    // Without a track only the frame and zoom commands have anything to act on.
    if (m_pKFList) {
        menu.AppendKeyFrameItems(KivFXKeyFrmIsPoint(GetLocation(m_nCurFrame), m_pKFList) != 0,
                                 m_pKFList->IsHasSelectKF() != 0, m_pKFList->GetKeyFrmCount());
        menu.AppendInsModeItems(m_pKFList->InsMode, m_pKFList->CtrlMode);
        menu.Separator();
    }
    menu.AppendZoomItems(m_fZoomScale > kZoomMin, m_fZoomScale != kZoomRecover);
    menu.Track(*this, point);
}

BOOL CKivFXPosiKeyFrmDlg::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
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

void CKivFXPosiKeyFrmDlg::OnMenuToStart() {
    if (m_nCurFrame == m_range.in) return;
    UpTimeLine(m_range.in);
    SendToModifyMsg(0, 1);
}

void CKivFXPosiKeyFrmDlg::OnMenuToTail() {
    if (m_nCurFrame == m_range.out) return;
    UpTimeLine(m_range.out);
    SendToModifyMsg(0, 1);
}

void CKivFXPosiKeyFrmDlg::OnMenuForwardOneFrame() {
    // "Forward" goes one frame toward story in.
    if (m_nCurFrame <= m_range.in) return;
    UpTimeLine(m_nCurFrame - 1);
    SendToModifyMsg(0, 1);
}

void CKivFXPosiKeyFrmDlg::OnMenuBackOneFrame() {
    if (m_nCurFrame >= m_range.out) return;
    UpTimeLine(m_nCurFrame + 1);
    SendToModifyMsg(0, 1);
}

void CKivFXPosiKeyFrmDlg::OnMenuAddKF() {
    if (!m_pKFList) return;
    CKivFXPosiKeyFrm* k = m_pKFList->AddKeyFrm(GetLocation(m_nCurFrame));
    if (!k) return;
    m_pKFList->SetSelectKF(k, 1);
    InvalidateStripAndXY();
    SendToModifyMsg(1, 0);
}

void CKivFXPosiKeyFrmDlg::OnMenuDelSelKF() {
    if (!m_pKFList) return;
    // A keyframe dragged while the host sends the command must not outlive the drag.
    if (m_pDragKF && m_pDragKF->IsSelect()) CancelDrag();
    m_pKFList->DeleteSelectKeyFrm();
    InvalidateStripAndXY();
    SendToModifyMsg(1, 0);
}

void CKivFXPosiKeyFrmDlg::OnMenuDelAllKF() {
    if (!m_pKFList) return;
    if (m_pDragKF) CancelDrag();
    m_pKFList->DeleteAll();
    InvalidateStripAndXY();
    SendToModifyMsg(1, 0);
}

void CKivFXPosiKeyFrmDlg::OnMenuInsLineMode() { SetInsMode(kInsModeLinear); }

void CKivFXPosiKeyFrmDlg::OnMenuInsBezierMode() { SetInsMode(kInsModeBezier); }

void CKivFXPosiKeyFrmDlg::SetInsMode(int mode) {
    if (!m_pKFList || m_pKFList->InsMode == mode) return;
    m_pKFList->InsMode = mode;
    RepaintXY();
    SendToModifyMsg(1, 0);
}

void CKivFXPosiKeyFrmDlg::OnMenuInsNoneCtrl() { SetCtrlMode(kCtrlModeNone); }

void CKivFXPosiKeyFrmDlg::OnMenuInsLinkageCtrl() { SetCtrlMode(kCtrlModeLinkage); }

void CKivFXPosiKeyFrmDlg::OnMenuInsSymmetryCtrl() { SetCtrlMode(kCtrlModeSymmetry); }

void CKivFXPosiKeyFrmDlg::SetCtrlMode(int mode) {
    // Coupling shows nowhere and is not reported: no repaint, no message.
    if (m_pKFList) m_pKFList->CtrlMode = mode;
}

void CKivFXPosiKeyFrmDlg::OnMenuShowZoonIn() { SetZoomScale(std::min(m_fZoomScale + kZoomStep, kZoomMax)); }

void CKivFXPosiKeyFrmDlg::OnMenuShowZoonOut() { SetZoomScale(std::max(m_fZoomScale - kZoomStep, kZoomMin)); }

void CKivFXPosiKeyFrmDlg::OnMenuShowRecover() { SetZoomScale(kZoomRecover); }

void CKivFXPosiKeyFrmDlg::SetZoomScale(float scale) {
    m_fZoomScale = scale;
    CalcuPrePixel();
    RepaintXY();
}
