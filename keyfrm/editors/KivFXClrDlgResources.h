// The colour dialog's template (131) and its control ids: the places of the colour field,
// the strips, the bars, the preview and the four edits, in dialog units.
#pragma once

#include "platform/ui/Resources.h"

/// The colour dialog's template: a child dialog of 215 x 148 units, 10-point Times New Roman.
constexpr UINT IDD_CLR_KEYFRM_DLG = 131;

// Its controls: hidden statics that only give places, except the framed preview.
constexpr int IDC_CLR_PIC = 1000;        // colour field
constexpr int IDC_CLR_LUMINANCE = 1001;  // luminance strip
constexpr int IDC_CLR_ALPHA = 1002;      // alpha strip
constexpr int IDC_CLR_RGB_BAR = 1003;    // colour bar
constexpr int IDC_CLR_ALPHA_BAR = 1004;  // alpha bar
constexpr int IDC_CLR_RED = 1005;        // placeholder of the red edit
constexpr int IDC_CLR_GREEN = 1006;      // placeholder of the green edit
constexpr int IDC_CLR_BLUE = 1007;       // placeholder of the blue edit
constexpr int IDC_CLR_ALPHA_EDIT = 1008; // placeholder of the alpha edit
constexpr int IDC_CLR_SHOW = 1065;       // colour preview

/// Template 131 with its ten controls.
KivDialogTemplate KivFXClrKeyFrmDlgTemplate();
/// Registers template 131 in module (the same in every language, registered once).
void KivFXAddClrDlgResources(KivResourceModule& module);
