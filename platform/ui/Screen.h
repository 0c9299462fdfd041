// The one screen all top-level windows live on: its pixels after painting, PNG output,
// painting of everything invalid, and the mouse and keyboard input a person would give.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/fw/CGeometry.h"
#include "platform/ui/Messages.h"

class CWnd;

class KivScreen {
public:
    /// The screen (1024 x 768 until resized).
    static KivScreen& Get();

    /// Changes the size (each side kept within 1..kMaxBitmapSide); the screen is repainted
    /// from scratch, and every top-level window with WS_MAXIMIZE is sized to cover it.
    void Resize(int width, int height);
    int GetWidth() const;
    int GetHeight() const;
    /// What is on the screen after painting; CLR_INVALID outside it.
    COLORREF GetPixel(int x, int y) const;
    /// The pixels, rows top-down, 0x00RRGGBB each (for presenters).
    const std::uint32_t* GetBits() const;
    /// Writes the screen as an 8-bit RGB PNG; FALSE when the file cannot be written.
    BOOL SavePng(LPCWSTR path) const;
    /// The bounds of what painting may have changed since the last call (the whole screen
    /// after Resize), then forgets them; empty when nothing.
    CRect TakeChangedArea();
    /// The same as disjoint rectangles within the screen, so that presenters copy only what
    /// changed and not the space between; empty when nothing changed.
    std::vector<CRect> TakeChangedRects();

    /// Mouse input in screen coordinates: sent to the window holding the capture, else to
    /// the topmost enabled visible window under the point, in its client coordinates. A
    /// button is MK_LBUTTON, MK_RBUTTON or MK_MBUTTON (other values are ignored). Like the keys, every
    /// message goes through PreTranslateMessage of its window and that window's parents first.
    void MouseDown(CPoint pt, UINT button = MK_LBUTTON);
    void MouseMove(CPoint pt);
    void MouseUp(CPoint pt, UINT button = MK_LBUTTON);
    /// The wheel turned by delta (multiples of WHEEL_DELTA, positive away from the person)
    /// with the pointer at pt: WM_MOUSEWHEEL to the window under the pointer (the capture
    /// does not take it).
    void MouseWheel(CPoint pt, int delta);
    /// The cursor the windows under pt ask for (WM_SETCURSOR from the deepest window up
    /// through its parents); the arrow when none asks.
    KivCursor CursorAt(CPoint pt) const;
    /// The second press of a double click (WM_LBUTTONDBLCLK or WM_RBUTTONDBLCLK).
    void MouseDoubleClick(CPoint pt, UINT button = MK_LBUTTON);
    /// MK_SHIFT and MK_CONTROL as held now; they travel in mouse messages.
    void SetModifiers(UINT modifiers);
    UINT GetModifiers() const;
    /// Keyboard input to the window with the focus. In a dialog, Enter and Escape become
    /// IDOK and IDCANCEL commands unless the focused window asks for every key. VK_SHIFT
    /// and VK_CONTROL also set and clear the modifiers, as a keyboard would.
    void KeyDown(UINT vk);
    void KeyUp(UINT vk);
    void Char(UINT ch);

    /// UpdateWindow on every window with invalid parts, parents before children and lower
    /// windows before higher ones; the desktop too.
    void PaintAll();
    /// The window the mouse would reach at a screen point (ignoring the capture), or null.
    CWnd* WindowFromPoint(CPoint pt) const;
    /// The topmost visible top-level window, or null (presenters show its text as their title
    /// and send it WM_CLOSE when a person closes them).
    CWnd* GetTopWindow() const;

private:
    KivScreen();
    void SendMouse(CPoint pt, UINT msg);
    UINT m_buttons = 0;
    UINT m_modifiers = 0;
};

/// Whether a key is held: the high bit (0x8000) is set for VK_SHIFT and VK_CONTROL while
/// the screen's modifiers hold them; every other key reads as up (0).
SHORT GetKeyState(int vk);

/// Asks the focused window which keys it handles itself (WM_GETDLGCODE).
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT DLGC_WANTALLKEYS = 0x0004;
