#include "kivbase/gui/CKivAquaAutoMaker.h"

CKivAquaAutoMaker::CKivAquaAutoMaker() = default;

CKivAquaAutoMaker::~CKivAquaAutoMaker() = default;

void CKivAquaAutoMaker::AddEdit(const AquaEdit_Describ& describ) { m_describs.push_back(describ); }

BOOL CKivAquaAutoMaker::AutoMake(CWnd* dialog) {
    if (!dialog || !dialog->m_hWnd) return FALSE;
    BOOL all = TRUE;
    for (const AquaEdit_Describ& d : m_describs) {
        if (GetEdit(d.nID)) continue;  // made by an earlier call
        auto edit = std::make_unique<CKivAquaEdit>();
        if (!edit->CreateOverControl(dialog, d)) {
            all = FALSE;
            continue;
        }
        m_edits.push_back(std::move(edit));
    }
    return all;
}

CKivAquaEdit* CKivAquaAutoMaker::GetEdit(int id) const {
    for (const auto& e : m_edits)
        if (e->m_hWnd && e->GetDlgCtrlID() == id) return e.get();
    return nullptr;
}
