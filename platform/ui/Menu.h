// Menus: popup menus built item by item or loaded from a module's menu resource, the item
// queries, and TrackPopupMenu, which here asks a handler the host or a test installs.
#pragma once

#include <functional>

#include "platform/fw/CGeometry.h"
#include "platform/fw/CObject.h"
#include "platform/fw/CString.h"
#include "platform/ui/Handles.h"

class CWnd;

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

/// What the queries give for an item that does not exist.
constexpr UINT kMenuNoItem = 0xFFFFFFFF;

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)
public:
    CMenu() = default;
    /// Destroys the menu this object still holds.
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    /// The object holding a live menu (or a wrapper that lives as long as the menu), or null.
    static CMenu* FromHandle(HMENU h);

    /// A new empty menu; FALSE when this object already holds one.
    BOOL CreatePopupMenu();
    BOOL CreateMenu();
    /// Destroys the menu and its submenus; FALSE when there is none.
    BOOL DestroyMenu();
    /// Builds the menu resource of that id (null module: any module); FALSE when missing.
    BOOL LoadMenu(HINSTANCE module, UINT id);
    BOOL LoadMenu(UINT id) { return LoadMenu(nullptr, id); }
    /// Takes or gives up a menu handle without destroying anything.
    BOOL Attach(HMENU h);
    HMENU Detach();

    /// MF_STRING (with MF_CHECKED, MF_GRAYED, MF_DISABLED), MF_SEPARATOR, or MF_POPUP with a
    /// submenu handle as the id (the submenu then belongs to this menu). FALSE without a
    /// menu, for a dead submenu, or for bitmap and owner-drawn items.
    BOOL AppendMenuW(UINT flags, UINT_PTR idNewItem = 0, LPCWSTR text = nullptr);
    BOOL AppendMenu(UINT flags, UINT_PTR idNewItem = 0, LPCWSTR text = nullptr) { return AppendMenuW(flags, idNewItem, text); }
    /// Return the previous check or enable state, kMenuNoItem when the item is missing.
    UINT CheckMenuItem(UINT idOrPos, UINT flags);
    UINT EnableMenuItem(UINT idOrPos, UINT flags);

    /// -1 without a menu.
    int GetMenuItemCount() const;
    /// The command id at a position; 0 for a separator, kMenuNoItem for a popup or a
    /// position out of range.
    UINT GetMenuItemID(int pos) const;
    /// MF_ flags of the item (MF_BYPOSITION or MF_BYCOMMAND, the latter searching
    /// submenus); a popup also has its item count in bits 8 to 15; kMenuNoItem if missing.
    UINT GetMenuState(UINT idOrPos, UINT flags) const;
    /// The item's text; returns its length, 0 (and empty text) when missing.
    int GetMenuString(UINT idOrPos, CString& text, UINT flags) const;
    /// The submenu at a position, or null.
    CMenu* GetSubMenu(int pos) const;

    /// Asks the popup menu handler which item to choose (0: none). With TPM_RETURNCMD the
    /// chosen id is returned; otherwise the owner gets its WM_COMMAND and the result is
    /// TRUE when an item was chosen. A choice that is not an enabled command item of this
    /// menu counts as none; without a handler nothing is chosen. FALSE (nothing asked)
    /// without a live owner window.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);

private:
    bool m_wrapper = false;  // made by FromHandle: never destroys the menu
};

using KivPopupMenuHandler = std::function<UINT(const CMenu& menu, CPoint screenPt)>;
/// Installs what TrackPopupMenu asks (an empty handler: choose nothing).
void KivSetPopupMenuHandler(std::function<UINT(const CMenu& menu, CPoint screenPt)> handler);
/// The handler in force (so a presenter can put the previous one back).
KivPopupMenuHandler KivGetPopupMenuHandler();

/// A loop that waits for input inside a call (a popup menu's) asks KivModalLoopMustEnd on
/// every turn and, when it is true, ends at once with nothing chosen, so the program's own
/// loop gets to act (on a signal that asks the program to end, say). The host installs the
/// check (empty: never); returns the one it replaces.
std::function<bool()> KivSetModalLoopEndCheck(std::function<bool()> check);
bool KivModalLoopMustEnd();
