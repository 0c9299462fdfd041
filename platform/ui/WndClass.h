// Window classes: the default class, the dialog class, the static control and classes a
// host registers; a class gives its windows a background and their default processing.
#pragma once

#include <optional>

#include "platform/fw/CString.h"
#include "platform/ui/Handles.h"

class CWnd;

constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;

/// The class name dialogs are created with.
constexpr const wchar_t* kDialogClassName = L"#32770";
/// The class name of static controls (compared without regard to case).
constexpr const wchar_t* kStaticClassName = L"STATIC";

/// The default processing of a class's windows, called by CWnd::DefWindowProc.
using KivClassProc = LRESULT (*)(CWnd* wnd, UINT msg, WPARAM wParam, LPARAM lParam);

struct KivWndClass {
    CString name;
    UINT style = 0;
    std::optional<COLORREF> background;  // erased with this colour; none: not erased
    KivClassProc proc = nullptr;         // null: the window system's own default processing
};

/// The class of that name (without regard to ASCII case), the default class for null, or
/// null when no such class is registered.
const KivWndClass* KivFindWndClass(LPCWSTR name);
/// Registers a class; FALSE for an empty name or one already taken.
BOOL KivRegisterWndClass(const KivWndClass& cls);
/// Registers (once) and names a class with that style and background brush (a brush handle,
/// or a system colour index plus one); the name stays valid until the process ends.
LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr, HICON icon = nullptr);

/// The window system's own default processing of a message (what DefWindowProc does for a
/// class without a procedure of its own).
LRESULT KivDefaultWindowProc(CWnd* wnd, UINT msg, WPARAM wParam, LPARAM lParam);
