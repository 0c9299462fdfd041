// What the keyframe dialogs with a time strip own besides their state: the kit's
// auto-maker, the frame tip, the 9-point label font and the current-frame marker bitmap,
// with the steps of creation and initialisation they take part in.
#pragma once

#include "kivbase/gui/CKivAquaAutoMaker.h"
#include "kivbase/gui/CKivToolTipDlg.h"
#include "platform/ui/GdiObjects.h"

class KivFXDialogParts {
public:
    /// Creates the font (CreatePointFont 90, "System Fonts"); no windows yet.
    KivFXDialogParts();
    KivFXDialogParts(const KivFXDialogParts&) = delete;
    KivFXDialogParts& operator=(const KivFXDialogParts&) = delete;

    /// Loads the marker bitmap (25001) from the library's module; 0 when it is missing (the
    /// marker is then not drawn).
    int LoadMarker();
    /// The first step of OnInitDialog: the auto-maker builds its controls on dialog.
    void MakeControls(CWnd& dialog);
    /// After the base's OnInitDialog: the frame tip, owned by dialog, created and hidden.
    void CreateToolTip(CWnd& dialog);
    /// Hides the frame tip (nothing before it exists).
    void HideToolTip();
    /// The marker's size in pixels; 0 x 0 before LoadMarker.
    CSize MarkerSize() const;

    CKivAquaAutoMaker autoMaker;
    CKivToolTipDlg toolTip;
    CFont font;
    CBitmap marker;
};
