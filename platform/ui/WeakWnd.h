// A weak handle to a window: "did it survive?" after a call that may run the host's code.
// A window that tells its parent something (SendMessage runs the parent's handler before it
// returns) may be destroyed by that handler, and a window that deletes itself in
// PostNcDestroy is then freed memory. Take the handle before such a call and check it before
// touching the window or its members again.
#pragma once

#include "platform/ui/Wnd.h"

class KivWeakWnd {
public:
    explicit KivWeakWnd(const CWnd& wnd) : m_hWnd(wnd.m_hWnd) {}
    /// True while the window lives. Window handles are never reused, so a handle whose
    /// window is gone never names another one; a CWnd without a window is never alive.
    bool Alive() const { return m_hWnd && IsWindow(m_hWnd); }
    explicit operator bool() const { return Alive(); }

private:
    HWND m_hWnd;
};
