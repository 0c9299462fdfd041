#include "kivbase/gui/CVyDialog.h"

IMPLEMENT_DYNAMIC(CVyDialog, CDialog)

CVyDialog::CVyDialog() = default;

CVyDialog::CVyDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

CVyDialog::~CVyDialog() = default;

BOOL CVyDialog::OnInitDialog() { return CDialog::OnInitDialog(); }

void CVyDialog::CalcWindowRect(LPRECT, UINT) {}

BOOL CVyDialog::OnEraseBkgnd(CDC* dc) {
    if (dc) DrawBackground(*dc);
    return TRUE;
}

void CVyDialog::DrawBackground(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
}
