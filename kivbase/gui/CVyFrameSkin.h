// The skin mix-in of the GUI kit's dialogs: the title strip and its items of a captioned
// dialog, locking the skin's drawing while a dialog rebuilds itself, and the module the
// dialog's resources come from.
#pragma once

#include "platform/fw/CGeometry.h"
#include "platform/ui/Wnd.h"

class CVyFrameSkin {
public:
    /// The title strip's height in pixels on a dialog with a caption.
    static constexpr int kTitleHeight = 18;
    /// The square items (close first) at the right end of the title strip.
    static constexpr int kTitleItemSize = 14;
    static constexpr int kTitleItemCount = 1;

    virtual ~CVyFrameSkin() = default;

    /// The window the skin draws on.
    virtual CWnd* ThisWnd() = 0;
    /// The title strip in client coordinates; FALSE (and an empty rectangle) for a window
    /// without WS_CAPTION or without a window.
    virtual BOOL VyGetTitleRect(CRect& rect);
    /// An item of the title strip (0: the close box); FALSE for an item that does not exist.
    virtual BOOL VyGetTitleItemRect(int item, CRect& rect);
    /// Locks (nonzero) or unlocks the skin's drawing; locks nest. Unlocking the last lock
    /// repaints the whole window.
    virtual void VyOnLock(BOOL lock);
    BOOL VyIsLocked() const { return m_locks > 0; }
    /// The module the dialog was created from (its template, strings and bitmaps), or the
    /// current resource module when it was not created from a module.
    HINSTANCE GetResourceHandle() const;
    /// The colour the skin fills the client area with: the system's face colour unless a
    /// dialog chooses its own.
    virtual COLORREF VyFaceColor() const;

protected:
    /// Draws the skin (face and, with a caption, the title strip) on a DC of the window.
    void VyDrawFrame(CDC& dc);
    void SetResourceHandle(HINSTANCE module) { m_module = module; }

private:
    int m_locks = 0;
    HINSTANCE m_module = nullptr;
};
