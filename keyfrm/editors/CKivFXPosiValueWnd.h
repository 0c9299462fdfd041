// The position dialog's coordinate window: a small child window with three numeric edits
// through which a host shows and takes the current keyframe's X, Y and Z. The edits are laid
// out from the right edge (X rightmost), and their notifications reach the window's parent
// as WM_COMMAND from the window itself.
#pragma once

#include "kivbase/gui/CKivAquaEdit.h"
#include "platform/ui/Wnd.h"

class CKivFXPosiValueWnd : public CWnd {
    DECLARE_DYNCREATE(CKivFXPosiValueWnd)
public:
    /// Control ids of the X, Y and Z edits (GetDlgItem returns the edits).
    static constexpr UINT kIdX = 100;
    static constexpr UINT kIdY = 200;
    static constexpr UINT kIdZ = 300;
    /// The width of each edit, and the room left free at the client's left and right edges.
    static constexpr int kEditWidth = 65;
    static constexpr int kSideInset = 2;

    /// The three edits without windows; background black. The host creates the window with
    /// CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, id).
    CKivFXPosiValueWnd();
    ~CKivFXPosiValueWnd() override;

    /// Sets the colour the client area is erased with; no repaint.
    void SetBackColor(COLORREF color) { m_crBack = color; }
    COLORREF GetBackColor() const { return m_crBack; }
    /// Shows the three values (each clamped to its edit's range), without notifying.
    void SetValue(double x, double y, double z);
    /// The three values the edits hold.
    void GetValue(double& x, double& y, double& z) const;
    /// Marks the three values as sitting on a keyframe or not.
    void SetValueState(CKivAquaEdit::CE_VALUE_STATE state);
    /// Places the edits: within the client less kSideInset on the left and right, X in the
    /// rightmost kEditWidth pixels, Y left of it, Z left of Y, each the full client height.
    void BulidEditPosi();

    CKivAquaEdit& EditX() { return m_editX; }
    CKivAquaEdit& EditY() { return m_editY; }
    CKivAquaEdit& EditZ() { return m_editZ; }

    /// Notifications 0xCE01, 0xCE02 and 0xDE01 of the three edits go on to the parent
    /// (NotifyParent); then the framework's routing.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

protected:
    /// Default processing (-1 when it fails), then the three edits, labelled "X ", "Y " and
    /// "Z ", range -1000 to 1000; -1 when an edit cannot be made.
    int OnCreate(LPCREATESTRUCT cs) override;
    /// Fills the client area with the background colour.
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    /// Sends WM_COMMAND to the parent: the notification code in the high word of wParam,
    /// this window's own control id in the low word, its handle in lParam. Nothing without
    /// a parent. False when the window is gone afterwards (the parent destroyed it).
    bool NotifyParent(UINT code);

private:
    CKivAquaEdit m_editX;
    CKivAquaEdit m_editY;
    CKivAquaEdit m_editZ;
    COLORREF m_crBack = RGB(0, 0, 0);
};
