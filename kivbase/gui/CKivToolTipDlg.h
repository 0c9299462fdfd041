// The GUI kit's tool tip: a small top-level popup, owned by a dialog, that shows one line
// of text at a screen point (the frame number while a marker is dragged, for instance).
#pragma once

#include "platform/ui/Wnd.h"

class CKivToolTipDlg : public CWnd {
    DECLARE_DYNAMIC(CKivToolTipDlg)
public:
    /// No window until Create.
    CKivToolTipDlg();
    ~CKivToolTipDlg() override;

    using CWnd::Create;
    /// Creates the hidden popup, owned by owner (it goes when the owner goes), drawing with
    /// the owner's font. FALSE when the tip already exists.
    virtual BOOL Create(CWnd* owner);
    /// Sets the text and sizes the tip to it.
    void SetToolTipText(const CString& text);
    const CString& GetToolTipText() const { return m_text; }
    /// Puts the tip's top-left corner at a screen point, moved back inside the screen
    /// where it would stick out.
    void UpdateTip(CPoint screenPoint);

protected:
    void OnPaint() override;

private:
    CSize TipSize();

    CString m_text;
};
