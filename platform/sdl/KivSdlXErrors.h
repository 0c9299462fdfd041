// Keeps an X server's refusal of an event sent to a window that is already gone from ending
// the program: SDL wakes its own waiting loop with an event sent over a second connection to
// the display, which can reach the server after the window was destroyed at quit.
#pragma once

/// While one lives, a BadWindow error on an X_SendEvent request is dropped; every other X
/// error goes to the handler that was there before (Xlib's own prints it and exits). Made
/// before SDL's video starts, so SDL's handler passes errors on to this one; nothing without
/// X11 support at build time.
class KivSdlXErrorGuard {
public:
    KivSdlXErrorGuard();
    ~KivSdlXErrorGuard();
    KivSdlXErrorGuard(const KivSdlXErrorGuard&) = delete;
    KivSdlXErrorGuard& operator=(const KivSdlXErrorGuard&) = delete;
};
