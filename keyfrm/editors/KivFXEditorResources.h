// The library's resources: the editors' menu texts (string table), the interpolation menu,
// the curve and position dialogs' templates and the current-frame marker bitmap, in English
// and in Simplified and Traditional Chinese, registered under the library's module handle.
#pragma once

#include "platform/ui/Resources.h"

// Command ids of the editors' menus; each item's text is the string-table entry of its id.
constexpr UINT ID_MENU_FORWARD_ONE_FRAME = 32772;
constexpr UINT ID_MENU_BACK_ONE_FRAME = 32773;
constexpr UINT ID_MENU_TO_TAIL = 32774;
constexpr UINT ID_MENU_TO_START = 32775;
constexpr UINT ID_MENU_DEL_SEL_KF = 32776;
constexpr UINT ID_MENU_ADD_KF = 32777;
constexpr UINT ID_MENU_DEL_ALL_KF = 32778;
constexpr UINT ID_MENU_INS_LINE_MODE = 32779;
constexpr UINT ID_MENU_INS_BEZIER_MODE = 32780;
constexpr UINT ID_MENU_INS_NONE_CTRL = 32781;
constexpr UINT ID_MENU_INS_LINKAGE_CTRL = 32782;
constexpr UINT ID_MENU_INS_SYMMETRY_CTRL = 32783;
constexpr UINT ID_MENU_ZOOM_OUT = 32784;  // kept in the string table; no menu uses it
constexpr UINT ID_MENU_ZOOM_IN = 32785;   // kept in the string table; no menu uses it
constexpr UINT ID_MENU_SHOW_ZOOM_OUT = 32786;
constexpr UINT ID_MENU_SHOW_ZOOM_IN = 32787;
constexpr UINT ID_MENU_SHOW_RECOVER = 32788;
constexpr UINT kFirstMenuStringId = ID_MENU_FORWARD_ONE_FRAME;
constexpr UINT kLastMenuStringId = ID_MENU_SHOW_RECOVER;

/// The interpolation menu (not loaded by the editors, which build their menus item by item).
constexpr UINT IDR_MENU_INTERPOLATION = 1011;
/// The curve dialog's template: a child dialog of 199 x 100 units, 10-point Times New Roman.
constexpr UINT IDD_INS_KEYFRM_DLG = 130;
/// The position dialog's template: a child dialog in the curve dialog's font, 240 x 195
/// units (420 x 366 pixels): with its 20-pixel margins, title and time strip, the X-Y view
/// (380 x 305) has the 5:4 shape of a 720 x 576 video frame, large enough to tell a path's
/// keyframes and handles apart.
constexpr UINT IDD_POSI_KEYFRM_DLG = 132;
constexpr short kPosiDialogWidthDlu = 240;
constexpr short kPosiDialogHeightDlu = 195;
/// The current-frame marker: a 15 x 10 triangle pointing down.
constexpr UINT IDB_TIME_RULER = 25001;

/// Registers every resource above in module, in the three languages (the template and the
/// bitmap are the same in all of them and registered once).
void KivFXAddEditorResources(KivResourceModule& module);
