// Presents the window system's screen in a real SDL2 window and feeds it the mouse and
// keyboard of a person, through the same KivScreen calls the tests make.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/fw/CGeometry.h"

/// One real window showing the screen. Only what painting changed is copied to it.
class KivSdlPresenter {
public:
    KivSdlPresenter();
    ~KivSdlPresenter();
    KivSdlPresenter(const KivSdlPresenter&) = delete;
    KivSdlPresenter& operator=(const KivSdlPresenter&) = delete;

    /// Starts SDL's video and opens a resizable window the size of the screen. False when
    /// SDL, the window or its renderer cannot be started; Error() then says why in a line.
    bool Open(const char* title);
    const std::string& Error() const;
    /// The SDL video driver the window is shown through ("x11", "wayland", "dummy"...);
    /// empty before Open succeeds.
    std::string VideoDriver() const;
    /// Copies the screen's changed rectangles (KivScreen::TakeChangedRects) to the window and
    /// shows them; shows nothing when nothing changed and nothing asked for a redraw. Returns
    /// the bounds of what was copied.
    CRect PresentChanged();
    /// Shows whole frames of pixels the size of the screen (a menu over the screen).
    void PresentFrame(const std::uint32_t* pixels);
    /// Follows the screen's size after the window was resized (the screen is resized too).
    void FollowWindowSize(int width, int height);
    /// Shows the text of the screen's top window as the window's title (fallback when it
    /// has none).
    void FollowTitle(const char* fallback);
    /// The next PresentChanged shows the window again even if nothing changed (uncovered).
    void RequestRedraw();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

/// Opens a window the size of the screen and runs until idle returns false or no top-level
/// window is left on the screen: real input goes to KivScreen, idle runs, everything invalid
/// is painted and what changed is shown. Closing the real window sends WM_CLOSE to the
/// screen's top window (which may ask first); without one the run ends. The title follows
/// the top window's text. While it runs, popup menus are drawn in the window and chosen with
/// the mouse or the keys (Up, Down, Home, End, Enter; Escape dismisses). The wheel and the
/// middle button reach the screen as WM_MOUSEWHEEL and WM_MBUTTONDOWN/UP, the cursor takes
/// the shape KivScreen::CursorAt asks for, and the clipboard is the display's.
/// Returns 0 on a normal end, 1 when SDL or its window cannot be started (see
/// KivSdlLastError).
int KivSdlRun(const char* title, std::function<bool()> idle);
/// Why the last KivSdlRun could not start, in one line; empty after a normal run.
const std::string& KivSdlLastError();
