#include "keyfrm/editors/KivFXClrDlgResources.h"

#include "platform/ui/Messages.h"

KivDialogTemplate KivFXClrKeyFrmDlgTemplate() {
    constexpr short kWidthDlu = 215;
    constexpr short kHeightDlu = 148;
    constexpr WORD kPoints = 10;
    constexpr DWORD kHidden = 0;
    KivDialogTemplate t;
    t.style = WS_CHILD | DS_SETFONT;
    t.cx = kWidthDlu;
    t.cy = kHeightDlu;
    t.pointSize = kPoints;
    t.faceName = L"Times New Roman";
    // id, class, text, style, extended style, x, y, width, height
    t.items = {
        {IDC_CLR_PIC, L"Static", L"Static", kHidden, 0, 10, 5, 100, 100},
        {IDC_CLR_LUMINANCE, L"Static", L"Lumination", kHidden, 0, 113, 5, 15, 100},
        {IDC_CLR_ALPHA, L"Static", L"Alpha", kHidden, 0, 130, 5, 15, 100},
        {IDC_CLR_SHOW, L"Static", L"", WS_VISIBLE | SS_BLACKFRAME, 0, 155, 6, 45, 14},
        {IDC_CLR_RED, L"Static", L"Red", kHidden, 0, 155, 35, 45, 14},
        {IDC_CLR_GREEN, L"Static", L"Green", kHidden, 0, 155, 54, 45, 14},
        {IDC_CLR_BLUE, L"Static", L"Blue ", kHidden, 0, 155, 73, 45, 14},
        {IDC_CLR_ALPHA_EDIT, L"Static", L"Alpha", kHidden, 0, 155, 92, 45, 14},
        {IDC_CLR_RGB_BAR, L"Static", L"", SS_BLACKFRAME, 0, 10, 109, 190, 15},
        {IDC_CLR_ALPHA_BAR, L"Static", L"", SS_BLACKFRAME, 0, 10, 130, 190, 15},
    };
    return t;
}

void KivFXAddClrDlgResources(KivResourceModule& module) { module.AddDialog(IDD_CLR_KEYFRM_DLG, KivFXClrKeyFrmDlgTemplate()); }
