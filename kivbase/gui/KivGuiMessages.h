// The window messages the GUI kit knows by name. A library using the kit registers them
// when it loads; nothing in the kit or the library sends them.
#pragma once

#include <array>

#include "platform/fw/KivTypes.h"

inline constexpr std::array<LPCWSTR, 5> kKivGuiMessageNames = {
    L"WM_CG_PAINT_ATTR_PREVIEW",
    L"WM_DEBUG_OUT",
    L"WM_KIV_DRAGCTRL_TO_DOCK_NOTIFY",
    L"WM_TO_PARENT_CLOSE_FLOATWND",
    L"WM_CG_DRAW_PAINT_ATTR_PREVIEW",
};
