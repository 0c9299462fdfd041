// Whether what the screen shows of a window is the picture a full repaint gives: a partial
// repaint that missed something leaves pixels a full one changes.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Screen.h"
#include "platform/ui/Wnd.h"

/// What the screen shows of a window.
inline std::vector<COLORREF> ShownPixels(const CWnd& w) {
    CRect r;
    w.GetWindowRect(&r);
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) pixels.push_back(KivScreen::Get().GetPixel(x, y));
    return pixels;
}

/// Empty when a full repaint of the window leaves its picture as it is; else where not.
inline std::string DifferenceFromFullRepaint(CWnd& w) {
    KivScreen::Get().PaintAll();
    const std::vector<COLORREF> before = ShownPixels(w);
    w.Invalidate(TRUE);
    KivScreen::Get().PaintAll();
    const std::vector<COLORREF> after = ShownPixels(w);
    CRect r;
    w.GetWindowRect(&r);
    int differing = 0;
    std::string first;
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i] && differing++ == 0)
            first = std::to_string(static_cast<int>(i) % r.Width()) + "," + std::to_string(static_cast<int>(i) / r.Width());
    return differing ? std::to_string(differing) + " pixels differ, the first at " + first : std::string();
}
