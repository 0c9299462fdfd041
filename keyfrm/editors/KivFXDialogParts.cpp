#include "keyfrm/editors/KivFXDialogParts.h"

#include "keyfrm/core/KivFXKeyFrmModule.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "kivbase/gui/CKivModuleRC.h"

namespace {

// The dialogs' label font: 9 points (in tenths) of the system face.
constexpr int kLabelFontTenths = 90;
constexpr const wchar_t* kLabelFontFace = L"System Fonts";

}  // namespace

KivFXDialogParts::KivFXDialogParts() { font.CreatePointFont(kLabelFontTenths, kLabelFontFace); }

int KivFXDialogParts::LoadMarker() {
    return CKivModuleRC::LoadBitmapW(KivFXKeyFrmGetModuleHandle(), IDB_TIME_RULER, marker);
}

void KivFXDialogParts::MakeControls(CWnd& dialog) { autoMaker.AutoMake(&dialog); }

void KivFXDialogParts::CreateToolTip(CWnd& dialog) {
    if (!toolTip.m_hWnd) toolTip.Create(&dialog);
    HideToolTip();
}

void KivFXDialogParts::HideToolTip() {
    if (toolTip.m_hWnd) toolTip.ShowWindow(SW_HIDE);
}

CSize KivFXDialogParts::MarkerSize() const {
    BITMAP info{};
    if (!marker.m_hObject || !marker.GetBitmap(&info)) return CSize(0, 0);
    return CSize(info.bmWidth, info.bmHeight);
}
