// The font the kit's controls draw with: the one their parent gave them, or the system's
// GUI font.
#pragma once

#include "platform/ui/Wnd.h"

/// The window's font, or the stock DEFAULT_GUI_FONT when it has none.
inline CGdiObject& KivGuiFontOf(const CWnd& wnd) {
    if (CFont* f = wnd.GetFont()) return *f;
    return *KivStockObject(DEFAULT_GUI_FONT);
}
