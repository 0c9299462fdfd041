// Internal state of the window system shared by windows, device contexts and the screen:
// the tree of windows, focus, capture and the message being dispatched. Not for hosts.
#pragma once

#include <memory>
#include <vector>

#include "platform/fw/CGeometry.h"
#include "platform/ui/Handles.h"
#include "platform/ui/Region.h"
#include "platform/ui/Surface.h"

class CWnd;
class CDC;
struct KivWndClass;

struct KivWndState {
    CWnd* parent = nullptr;        // child windows
    CWnd* owner = nullptr;         // top-level windows created with a parent
    std::vector<CWnd*> children;   // bottom of the stacking order first
    CRect rect;                    // in the parent's client area, or on the screen
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT id = 0;
    CString text;
    const KivWndClass* cls = nullptr;
    KivRegion invalid;             // client coordinates
    bool erase = false;
    HFONT font = nullptr;
    bool isDialog = false;
    bool destroying = false;
    std::vector<std::unique_ptr<CDC>> dcs;  // from GetDC, until ReleaseDC or destruction
};

struct KivMessage {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

struct KivWindowSystem {
    KivHandleTable<CWnd> windows;
    std::vector<CWnd*> topLevels;  // bottom first
    HWND focus = nullptr;
    HWND capture = nullptr;
    std::vector<KivMessage> dispatching;
};

KivWindowSystem& KivWindows();

/// The screen's pixels (shared by window DCs) and its size as a rectangle.
std::shared_ptr<KivSurface> KivScreenSurface();
CRect KivScreenBounds();
/// Marks part of the screen (screen coordinates) for repainting: the desktop there and
/// every visible window it touches, except the window `except` and its descendants.
void KivInvalidateScreenArea(const CRect& area, CWnd* except);
/// The part of a window's client area visible on the screen, in screen coordinates.
KivRegion KivVisibleRegion(CWnd* wnd);
/// Widens the screen's changed area (screen coordinates) by what a DC on it may draw.
void KivNoteScreenChange(const CRect& area);
void KivNoteScreenChange(const KivRegion& area);
/// Paints the invalid part of the desktop.
void KivPaintDesktop();
