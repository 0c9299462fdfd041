#include "keyfrm/editors/KivFXEditorMenu.h"

#include "keyfrm/core/KivFXKeyFrmModule.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "keyfrm/tracks/KivFXHandleModes.h"
#include "kivbase/gui/CKivModuleRC.h"

CKivFXEditorMenu::CKivFXEditorMenu() { m_menu.CreatePopupMenu(); }

CKivFXEditorMenu::~CKivFXEditorMenu() {
    if (IsValid()) m_menu.DestroyMenu();
}

void CKivFXEditorMenu::Item(UINT id, bool checked) {
    if (!IsValid()) return;
    CKivModuleRC::AppendMenuW(KivFXKeyFrmGetModuleHandle(), &m_menu, id, checked ? MF_CHECKED : 0);
}

void CKivFXEditorMenu::Separator() {
    if (IsValid()) m_menu.AppendMenuW(MF_SEPARATOR);
}

void CKivFXEditorMenu::AppendFrameItems(int current, int in, int out) {
    const bool afterIn = current > in;
    const bool beforeOut = current < out;
    if (afterIn) Item(ID_MENU_TO_START);
    if (beforeOut) Item(ID_MENU_TO_TAIL);
    if (afterIn) Item(ID_MENU_FORWARD_ONE_FRAME);
    if (beforeOut) Item(ID_MENU_BACK_ONE_FRAME);
    Separator();
}

void CKivFXEditorMenu::AppendKeyFrameItems(bool keyAtCurrent, bool hasSelected, int keyFrameCount) {
    if (!keyAtCurrent) Item(ID_MENU_ADD_KF);
    if (hasSelected) Item(ID_MENU_DEL_SEL_KF);
    if (keyFrameCount > 0) {
        Item(ID_MENU_DEL_ALL_KF);
        Separator();
    } else if (!keyAtCurrent || hasSelected) {
        Separator();
    }
}

void CKivFXEditorMenu::AppendInsModeItems(int insMode, int ctrlMode) {
    if (KivFXMenuOffersInsKinds(insMode)) {
        Item(ID_MENU_INS_LINE_MODE, insMode == kInsModeLinear);
        Item(ID_MENU_INS_BEZIER_MODE, insMode == kInsModeBezier);
    }
    if (KivFXMenuOffersCtrlModes(insMode)) {
        const KivFXCtrlMode checked = KivFXMenuCheckedCtrlMode(ctrlMode);
        Separator();
        Item(ID_MENU_INS_NONE_CTRL, checked == kCtrlModeNone);
        Item(ID_MENU_INS_LINKAGE_CTRL, checked == kCtrlModeLinkage);
        Item(ID_MENU_INS_SYMMETRY_CTRL, checked == kCtrlModeSymmetry);
    }
}

void CKivFXEditorMenu::AppendZoomItems(bool offerZoomOut, bool offerRecover) {
    Item(ID_MENU_SHOW_ZOOM_IN);
    if (offerZoomOut) Item(ID_MENU_SHOW_ZOOM_OUT);
    if (offerRecover) Item(ID_MENU_SHOW_RECOVER);
}

void CKivFXEditorMenu::Track(CWnd& owner, CPoint clientPoint) {
    if (!IsValid() || !owner.m_hWnd) return;
    owner.ClientToScreen(&clientPoint);
    m_menu.TrackPopupMenu(0, clientPoint.x, clientPoint.y, &owner);
    m_menu.DestroyMenu();
}
