// kfx render FILE --editor colour-dialog [--size WxH] [--track N] [--location L] -o OUT.png:
// a file's colour track drawn by the colour dialog on the headless screen.
#include <cstdio>

#include "KfxCommands.h"
#include "KfxProject.h"
#include "KfxRender.h"
#include "keyfrm/editors/CKivFXClr32KeyFrmDlg.h"
#include "keyfrm/tracks/CKivFXColor32KeyFrmList.h"
#include "platform/ui/WindowSystem.h"

void KfxRenderColourDialog(CKivFXColor32KeyFrmList& track, const KfxColourView& view, const std::string& png) {
    // Without a size the template's own size decides; it is known once the dialog exists.
    const CSize first = view.size ? *view.size : CSize(1, 1);
    CWnd host;
    KfxCreateDrawingHost(host, first);
    CKivFXClr32KeyFrmDlg dialog(&track);
    dialog.SetBuildEditor(view.size ? 1 : 0);
    if (!dialog.Create(&host)) throw KfxError("cannot create the colour dialog");
    CRect area(CPoint(0, 0), first);
    if (view.size) {
        dialog.MoveWindow(&area);
    } else {
        dialog.GetWindowRect(&area);
        area.OffsetRect(-area.left, -area.top);
        KivScreen::Get().Resize(area.Width(), area.Height());
        host.MoveWindow(&area);
    }
    dialog.UpCurLocation(view.location);
    dialog.ShowWindow(SW_SHOW);
    KfxSaveScreen(png);
}

int KfxRenderColourCommand(CObList& list, const std::string& file, int n, const KfxColourView& view, const std::string& png) {
    auto* track = static_cast<CKivFXColor32KeyFrmList*>(KfxFindObjectOf(list, RUNTIME_CLASS(CKivFXColor32KeyFrmList), n));
    if (!track) return KfxFail(file + ": no colour track number " + std::to_string(n) + " in it");
    KfxRenderColourDialog(*track, view, png);
    std::printf("%s: colour track %d (%d keyframes) drawn into %s\n", file.c_str(), n, track->GetKeyFrmCount(), png.c_str());
    return kKfxOk;
}
