// Modeless dialogs created from dialog templates: controls placed from dialog units through
// the template font's metrics, OnInitDialog, data exchange, and OK and Cancel.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/Resources.h"
#include "platform/ui/Wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    /// Remembers the template and parent for Create; no window yet.
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    using CWnd::Create;
    /// Creates the modeless dialog from the template resource (the current resource module
    /// first, then any module); FALSE when the template is missing or creation fails.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    /// The same from the template of one module.
    BOOL Create(HINSTANCE module, UINT templateId, CWnd* parent);
    /// Creates the dialog from a template in memory: the dialog and its controls (each a
    /// child window with the template font), then WM_INITDIALOG; the dialog is shown
    /// afterwards when the template has WS_VISIBLE. FALSE when a control's class is unknown
    /// or the dialog is destroyed while being created.
    virtual BOOL CreateIndirect(const KivDialogTemplate& tmpl, CWnd* parent = nullptr);

    /// Called once the controls exist; the default exchanges data into the controls and
    /// returns TRUE (the focus then goes to the first WS_TABSTOP control).
    virtual BOOL OnInitDialog();
    /// IDOK: the default exchanges data out of the controls and ends the dialog.
    virtual void OnOK();
    /// IDCANCEL: the default ends the dialog.
    virtual void OnCancel();
    /// A modeless dialog is hidden and keeps the result.
    void EndDialog(int result);
    int GetEndResult() const { return m_result; }
    /// There is no modal loop in this system: returns -1 without showing anything.
    virtual INT_PTR DoModal();

    /// Dialog units to pixels through the dialog font: x and widths times the average
    /// character width over 4, y and heights times the character height over 8, rounded.
    void MapDialogRect(LPRECT rect) const;
    /// The dialog font's average character width and height in pixels.
    CSize GetBaseUnits() const { return m_baseUnits; }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

private:
    std::unique_ptr<CFont> m_font;
    std::vector<std::unique_ptr<CWnd>> m_controls;
    CSize m_baseUnits{4, 8};
    int m_result = 0;
};

/// The average character width (the old system's rule over the 52 letters) and the
/// character height of a font, which dialog units are based on.
CSize KivDialogBaseUnits(const KivFontInstance& font);
