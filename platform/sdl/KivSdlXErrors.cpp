#include "platform/sdl/KivSdlXErrors.h"

#ifdef KIVSDL_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace {

using Handler = int (*)(Display*, XErrorEvent*);

Handler g_previous = nullptr;
int g_guards = 0;

int DropHarmless(Display* display, XErrorEvent* error) {
    // An event sent to a window that is gone has nobody to reach: nothing was changed and
    // there is nothing the program could do about it.
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return g_previous ? g_previous(display, error) : 0;
}

}  // namespace

KivSdlXErrorGuard::KivSdlXErrorGuard() {
    if (g_guards++ == 0) g_previous = XSetErrorHandler(DropHarmless);
}

KivSdlXErrorGuard::~KivSdlXErrorGuard() {
    if (--g_guards == 0) XSetErrorHandler(g_previous);
}

#else

KivSdlXErrorGuard::KivSdlXErrorGuard() = default;
KivSdlXErrorGuard::~KivSdlXErrorGuard() = default;

#endif
