#include "kivbase/gui/CKivAquaBaseDlg.h"

IMPLEMENT_DYNAMIC(CKivAquaBaseDlg, CVyDialog)

CKivAquaBaseDlg::CKivAquaBaseDlg(UINT templateId, CWnd* parent) : CVyDialog(templateId, parent) {}

CKivAquaBaseDlg::~CKivAquaBaseDlg() {
    if (m_hWnd) DestroyWindow();
}

int CKivAquaBaseDlg::DlgCreate(HINSTANCE module, CWnd* parent, UINT templateId) {
    if (m_hWnd) return 0;
    SetResourceHandle(module);
    return CDialog::Create(module, templateId, parent) ? 1 : 0;
}

BOOL CKivAquaBaseDlg::OnInitDialog() { return CVyDialog::OnInitDialog(); }

void CKivAquaBaseDlg::DrawBackground(CDC& dc) { VyDrawFrame(dc); }
