#include "keyfrm/editors/CKivFXPosiValueWnd.h"

#include "keyfrm/editors/KivFXEditorParent.h"

IMPLEMENT_DYNCREATE(CKivFXPosiValueWnd, CWnd)

CKivFXPosiValueWnd::CKivFXPosiValueWnd() = default;

CKivFXPosiValueWnd::~CKivFXPosiValueWnd() {
    if (m_hWnd) DestroyWindow();
}

int CKivFXPosiValueWnd::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    const CRect empty;
    struct Edit {
        CKivAquaEdit& edit;
        LPCWSTR label;
        UINT id;
    };
    for (const Edit& e : {Edit{m_editX, L"X ", kIdX}, Edit{m_editY, L"Y ", kIdY}, Edit{m_editZ, L"Z ", kIdZ}})
        if (!e.edit.AutoCreate(this, empty, KivAquaEditDescrib(e.label, static_cast<int>(e.id)))) return -1;
    return 0;
}

BOOL CKivFXPosiValueWnd::OnEraseBkgnd(CDC* dc) {
    if (!dc) return FALSE;
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, m_crBack);
    return TRUE;
}

void CKivFXPosiValueWnd::OnSize(UINT, int, int) {
    Default();
    BulidEditPosi();
}

void CKivFXPosiValueWnd::BulidEditPosi() {
    if (!m_hWnd) return;
    CRect area;
    GetClientRect(&area);
    area.DeflateRect(kSideInset, 0);
    int right = area.right;
    for (CKivAquaEdit* edit : {&m_editX, &m_editY, &m_editZ}) {
        if (edit->m_hWnd) edit->MoveWindow(right - kEditWidth, area.top, kEditWidth, area.Height(), TRUE);
        right -= kEditWidth;
    }
}

void CKivFXPosiValueWnd::SetValue(double x, double y, double z) {
    m_editX.SetValue(x, 0);
    m_editY.SetValue(y, 0);
    m_editZ.SetValue(z, 0);
}

void CKivFXPosiValueWnd::GetValue(double& x, double& y, double& z) const {
    x = m_editX.GetValue();
    y = m_editY.GetValue();
    z = m_editZ.GetValue();
}

void CKivFXPosiValueWnd::SetValueState(CKivAquaEdit::CE_VALUE_STATE state) {
    m_editX.SetValueState(state);
    m_editY.SetValueState(state);
    m_editZ.SetValueState(state);
}

BOOL CKivFXPosiValueWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    const UINT notification = static_cast<UINT>(code);
    const bool fromEdit = id == kIdX || id == kIdY || id == kIdZ;
    const bool forwarded =
        notification == CEN_VALUE_CHANGING || notification == CEN_VALUE_CHANGED || notification == DEN_VALUE_ENTERED;
    if (fromEdit && forwarded) {
        // The parent may have destroyed this window while it handled the notification.
        if (!NotifyParent(notification)) return TRUE;
    }
    return CWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

bool CKivFXPosiValueWnd::NotifyParent(UINT code) {
    if (!m_hWnd) return false;
    const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), static_cast<WORD>(code));
    return KivFXSendToParent(*this, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(m_hWnd));
}
