// The registered window messages the editors send their parent windows. Hosts register the
// same names with RegisterWindowMessageW (or read the ids here) to recognise them.
#pragma once

#include "platform/fw/KivTypes.h"

inline constexpr const wchar_t* kMsgModifyFromInsKFWnd = L"WM_MODIFY_FROM_INSKFWND";
inline constexpr const wchar_t* kMsgInsModeFromInsKFWnd = L"WM_INS_MODE_FROM_INSKFWND";
inline constexpr const wchar_t* kMsgCtrlModeFromInsKFWnd = L"WM_CTRL_MODE_FROM_INSKFWND";
inline constexpr const wchar_t* kMsgModifyFromInsKFDlg = L"WM_MODIFY_FROM_INSKFDLG";
inline constexpr const wchar_t* kMsgModifyFromPosiKFDlg = L"WM_MODIFY_FROM_POSIKFDLG";
inline constexpr const wchar_t* kMsgModifyFromClrKFDlg = L"WM_MODIFY_FROM_CLRKFDLG";

/// The ids of the six editor messages, as registered when the library loaded.
struct KivFXEditorMessageIds {
    UINT modifyFromInsKFWnd = 0;
    UINT insModeFromInsKFWnd = 0;
    UINT ctrlModeFromInsKFWnd = 0;
    UINT modifyFromInsKFDlg = 0;
    UINT modifyFromPosiKFDlg = 0;
    UINT modifyFromClrKFDlg = 0;
};

/// The registered ids (all 0 before the library's start-up).
const KivFXEditorMessageIds& KivFXEditorMessages();
/// Registers the six editor messages and the GUI kit's five by name; part of the
/// library's start-up. FALSE when the window system has no ids left.
BOOL KivFXRegisterEditorMessages();
