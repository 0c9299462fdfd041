// The skinned dialog of the GUI kit: a modeless dialog whose background is drawn by its
// skin (the CVyFrameSkin mix-in of the dialogs built on it).
#pragma once

#include "platform/ui/Dialog.h"

class CVyDialog : public CDialog {
    DECLARE_DYNAMIC(CVyDialog)
public:
    CVyDialog();
    /// Remembers the template and parent for creation; no window yet.
    CVyDialog(UINT templateId, CWnd* parent);
    ~CVyDialog() override;

    /// The framework's data exchange into the controls; TRUE.
    BOOL OnInitDialog() override;
    /// Turns a client rectangle into the window rectangle; this window system draws no
    /// frame outside the client area, so the rectangle stays as it is.
    virtual void CalcWindowRect(LPRECT clientRect, UINT adjustType = 0);

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
    /// Draws the dialog's background on dc; the default fills the face colour.
    virtual void DrawBackground(CDC& dc);
};
