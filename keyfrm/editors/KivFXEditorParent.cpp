#include "keyfrm/editors/KivFXEditorParent.h"

bool KivFXSendToParent(CWnd& editor, UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND self = editor.m_hWnd;
    if (!self) return false;
    CWnd* parent = editor.GetParent();
    if (!parent || msg == 0) return true;
    parent->SendMessage(msg, wParam, lParam);
    return IsWindow(self) != FALSE;
}
