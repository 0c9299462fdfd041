// The base of the library's editor dialogs: a skinned modeless dialog created from a
// template of a given module (the library's own, for its editors).
#pragma once

#include "kivbase/gui/CVyDialog.h"
#include "kivbase/gui/CVyFrameSkin.h"

class CKivAquaBaseDlg : public CVyDialog, public CVyFrameSkin {
    DECLARE_DYNAMIC(CKivAquaBaseDlg)
public:
    /// Remembers the template (130, 131 or 132 for the library's editors) and the parent.
    CKivAquaBaseDlg(UINT templateId, CWnd* parent);
    ~CKivAquaBaseDlg() override;

    /// Creates the modeless dialog from the template of that id in module (null: the current
    /// resource module first, then any); the dialog's later resource look-ups use module.
    /// Returns 1, or 0 when the template is missing, the dialog already exists or creation fails.
    int DlgCreate(HINSTANCE module, CWnd* parent, UINT templateId);

    CWnd* ThisWnd() override { return this; }
    BOOL OnInitDialog() override;

protected:
    void DrawBackground(CDC& dc) override;
};
