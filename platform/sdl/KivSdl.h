// Presents the window system's screen in a real SDL2 window and feeds it the mouse and
// keyboard of a person, through the same KivScreen calls the tests make.
#pragma once

#include <functional>

/// Opens a window the size of the screen and runs until the window is closed or idle
/// returns false: real input goes to KivScreen, idle runs, everything invalid is painted
/// and shown. While it runs, popup menus are drawn in the window and chosen with the mouse
/// or Escape. Returns 0 on a normal end, 1 when SDL or its window cannot be started.
int KivSdlRun(const char* title, std::function<bool()> idle);
