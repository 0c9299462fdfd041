#include "keyfrm/editors/KivFXEditorMessages.h"

#include "kivbase/gui/KivGuiMessages.h"
#include "platform/ui/Messages.h"

namespace {

KivFXEditorMessageIds g_ids;

}  // namespace

const KivFXEditorMessageIds& KivFXEditorMessages() { return g_ids; }

BOOL KivFXRegisterEditorMessages() {
    KivFXEditorMessageIds ids;
    ids.modifyFromInsKFWnd = RegisterWindowMessageW(kMsgModifyFromInsKFWnd);
    ids.insModeFromInsKFWnd = RegisterWindowMessageW(kMsgInsModeFromInsKFWnd);
    ids.ctrlModeFromInsKFWnd = RegisterWindowMessageW(kMsgCtrlModeFromInsKFWnd);
    ids.modifyFromInsKFDlg = RegisterWindowMessageW(kMsgModifyFromInsKFDlg);
    ids.modifyFromPosiKFDlg = RegisterWindowMessageW(kMsgModifyFromPosiKFDlg);
    ids.modifyFromClrKFDlg = RegisterWindowMessageW(kMsgModifyFromClrKFDlg);
    BOOL ok = ids.modifyFromInsKFWnd && ids.insModeFromInsKFWnd && ids.ctrlModeFromInsKFWnd && ids.modifyFromInsKFDlg &&
              ids.modifyFromPosiKFDlg && ids.modifyFromClrKFDlg;
    // The kit's messages are registered for its other users; the library never uses them.
    for (LPCWSTR name : kKivGuiMessageNames) ok = RegisterWindowMessageW(name) && ok;
    g_ids = ids;
    return ok;
}
