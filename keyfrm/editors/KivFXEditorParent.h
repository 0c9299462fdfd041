// How an editor tells the window that holds it: a registered message sent to its parent,
// handled before the call returns. A record travels as lParam and is valid only during
// the call.
#pragma once

#include "platform/ui/Wnd.h"

/// Sends msg to the editor's parent window (GetParent()). Nothing is sent without a window,
/// without a parent or for a message that was never registered (id 0). Returns false when
/// the editor's window was destroyed while the parent handled the message, so the caller
/// must not go on touching it; true otherwise.
bool KivFXSendToParent(CWnd& editor, UINT msg, WPARAM wParam, LPARAM lParam);

/// Sends msg with wParam 0 and lParam the address of record; as KivFXSendToParent.
template <class Record>
bool KivFXSendRecordToParent(CWnd& editor, UINT msg, const Record& record) {
    return KivFXSendToParent(editor, msg, 0, reinterpret_cast<LPARAM>(&record));
}
