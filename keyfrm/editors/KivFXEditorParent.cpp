#include "keyfrm/editors/KivFXEditorParent.h"

#include "platform/ui/WeakWnd.h"

bool KivFXSendToParent(CWnd& editor, UINT msg, WPARAM wParam, LPARAM lParam) {
    const KivWeakWnd alive(editor);
    if (!alive) return false;
    CWnd* parent = editor.GetParent();
    if (!parent || msg == 0) return true;
    parent->SendMessage(msg, wParam, lParam);
    return alive.Alive();
}
