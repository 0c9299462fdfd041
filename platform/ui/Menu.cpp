#include "platform/ui/Menu.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/ui/Messages.h"
#include "platform/ui/Resources.h"
#include "platform/ui/Wnd.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {

// The bits of an item's flags the state query reports.
constexpr UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR;
constexpr unsigned kPopupCountShift = 8;

struct MenuItem {
    UINT flags = 0;
    UINT id = 0;
    CString text;
    HMENU sub = nullptr;
};

struct MenuData {
    std::vector<MenuItem> items;
    CMenu* holder = nullptr;           // the object that holds the handle, if any
    std::unique_ptr<CMenu> wrapper;    // made by FromHandle when no object holds it
};

std::map<std::uintptr_t, MenuData>& Menus() {
    // Kept until exit: static menus may be destroyed after any other static.
    static auto& menus = *new std::map<std::uintptr_t, MenuData>();
    return menus;
}

MenuData* Find(HMENU h) {
    auto& m = Menus();
    const auto it = m.find(KivHandleValue(h));
    return it == m.end() ? nullptr : &it->second;
}

void Destroy(HMENU h) {
    MenuData* d = Find(h);
    if (!d) return;
    std::vector<HMENU> subs;
    for (const MenuItem& item : d->items)
        if (item.sub) subs.push_back(item.sub);
    if (d->holder) d->holder->m_hMenu = nullptr;
    // The wrapper is deleted with the entry; take it out first so its destructor runs
    // after the entry is gone.
    std::unique_ptr<CMenu> wrapper = std::move(d->wrapper);
    Menus().erase(KivHandleValue(h));
    wrapper.reset();
    for (HMENU s : subs) Destroy(s);
}

// The item of a command id anywhere in the menu tree, or at a position of this menu.
MenuItem* Locate(HMENU h, UINT idOrPos, UINT flags) {
    MenuData* d = Find(h);
    if (!d) return nullptr;
    if (flags & MF_BYPOSITION) return idOrPos < d->items.size() ? &d->items[idOrPos] : nullptr;
    for (MenuItem& item : d->items) {
        if (item.sub) {
            if (MenuItem* inner = Locate(item.sub, idOrPos, flags)) return inner;
        } else if (!(item.flags & MF_SEPARATOR) && item.id == idOrPos) {
            return &item;
        }
    }
    return nullptr;
}

HMENU NewMenu() {
    const HMENU h = KivHandleFromValue<HMENU>(KivNewHandleValue());
    Menus()[KivHandleValue(h)];
    return h;
}

BOOL Build(CMenu& menu, const std::vector<KivMenuItemTemplate>& items) {
    for (const KivMenuItemTemplate& t : items) {
        if (t.flags & MF_POPUP) {
            CMenu sub;
            if (!sub.CreatePopupMenu() || !Build(sub, t.popup)) return FALSE;
            const HMENU h = sub.Detach();
            if (!menu.AppendMenuW(MF_POPUP | (t.flags & ~MF_POPUP), reinterpret_cast<UINT_PTR>(h), t.text)) {
                Destroy(h);
                return FALSE;
            }
        } else if (!menu.AppendMenuW(t.flags, t.id, t.text)) {
            return FALSE;
        }
    }
    return TRUE;
}

KivPopupMenuHandler& Handler() {
    static KivPopupMenuHandler handler;
    return handler;
}

}  // namespace

CMenu::~CMenu() {
    if (!m_wrapper) DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU h) {
    MenuData* d = Find(h);
    if (!d) return nullptr;
    if (d->holder) return d->holder;
    if (!d->wrapper) {
        d->wrapper = std::make_unique<CMenu>();
        d->wrapper->m_hMenu = h;
        d->wrapper->m_wrapper = true;
    }
    return d->wrapper.get();
}

BOOL CMenu::CreatePopupMenu() {
    if (m_hMenu) return FALSE;
    return Attach(NewMenu());
}

BOOL CMenu::CreateMenu() { return CreatePopupMenu(); }

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) return FALSE;
    const HMENU h = m_hMenu;
    m_hMenu = nullptr;
    if (!Find(h)) return FALSE;
    Destroy(h);
    return TRUE;
}

BOOL CMenu::LoadMenu(HINSTANCE module, UINT id) {
    if (m_hMenu) return FALSE;
    const auto items = KivFindMenu(module, id);
    if (!items || !CreateMenu()) return FALSE;
    if (!Build(*this, *items)) {
        DestroyMenu();
        return FALSE;
    }
    return TRUE;
}

BOOL CMenu::Attach(HMENU h) {
    MenuData* d = Find(h);
    if (m_hMenu || !d || d->holder) return FALSE;
    m_hMenu = h;
    d->holder = this;
    return TRUE;
}

HMENU CMenu::Detach() {
    const HMENU h = m_hMenu;
    if (MenuData* d = Find(h); d && d->holder == this) d->holder = nullptr;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::AppendMenuW(UINT flags, UINT_PTR idNewItem, LPCWSTR text) {
    MenuData* d = Find(m_hMenu);
    if (!d || (flags & (MF_BITMAP | MF_OWNERDRAW))) return FALSE;
    MenuItem item;
    item.flags = flags;
    if (flags & MF_SEPARATOR) {
        item.flags = MF_SEPARATOR;
    } else if (flags & MF_POPUP) {
        item.sub = reinterpret_cast<HMENU>(idNewItem);
        if (item.sub == m_hMenu || !Find(item.sub)) return FALSE;
        item.text = CString(text);
    } else {
        item.id = static_cast<UINT>(idNewItem);
        item.text = CString(text);
    }
    Find(m_hMenu)->items.push_back(item);
    return TRUE;
}

UINT CMenu::CheckMenuItem(UINT idOrPos, UINT flags) {
    MenuItem* item = Locate(m_hMenu, idOrPos, flags);
    if (!item) return kMenuNoItem;
    const UINT previous = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

UINT CMenu::EnableMenuItem(UINT idOrPos, UINT flags) {
    MenuItem* item = Locate(m_hMenu, idOrPos, flags);
    if (!item) return kMenuNoItem;
    const UINT previous = item->flags & (MF_GRAYED | MF_DISABLED);
    item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return previous;
}

int CMenu::GetMenuItemCount() const {
    const MenuData* d = Find(m_hMenu);
    return d ? static_cast<int>(d->items.size()) : -1;
}

UINT CMenu::GetMenuItemID(int pos) const {
    const MenuData* d = Find(m_hMenu);
    if (!d || pos < 0 || static_cast<size_t>(pos) >= d->items.size()) return kMenuNoItem;
    const MenuItem& item = d->items[static_cast<size_t>(pos)];
    if (item.sub) return kMenuNoItem;
    return (item.flags & MF_SEPARATOR) ? 0 : item.id;
}

UINT CMenu::GetMenuState(UINT idOrPos, UINT flags) const {
    const MenuItem* item = Locate(m_hMenu, idOrPos, flags);
    if (!item) return kMenuNoItem;
    UINT state = item->flags & kStateFlags;
    if (item->sub) {
        const MenuData* sub = Find(item->sub);
        state |= MF_POPUP | (static_cast<UINT>(sub ? sub->items.size() : 0) << kPopupCountShift);
    }
    return state;
}

int CMenu::GetMenuString(UINT idOrPos, CString& text, UINT flags) const {
    const MenuItem* item = Locate(m_hMenu, idOrPos, flags);
    text = item ? item->text : CString();
    return text.GetLength();
}

CMenu* CMenu::GetSubMenu(int pos) const {
    const MenuData* d = Find(m_hMenu);
    if (!d || pos < 0 || static_cast<size_t>(pos) >= d->items.size()) return nullptr;
    const HMENU sub = d->items[static_cast<size_t>(pos)].sub;
    return sub ? FromHandle(sub) : nullptr;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT) {
    // As in the old system, a menu is tracked only for a live owner window.
    if (!Find(m_hMenu) || !owner || !owner->m_hWnd) return FALSE;
    const KivPopupMenuHandler handler = Handler();  // a copy: the handler may replace itself
    UINT chosen = handler ? handler(*this, CPoint(x, y)) : 0;
    if (chosen != 0) {
        const MenuItem* item = Locate(m_hMenu, chosen, MF_BYCOMMAND);
        if (!item || (item->flags & (MF_GRAYED | MF_DISABLED))) chosen = 0;
    }
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen == 0) return FALSE;
    if (owner->m_hWnd) owner->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<int>(chosen), 0), 0);
    return TRUE;
}

void KivSetPopupMenuHandler(std::function<UINT(const CMenu& menu, CPoint screenPt)> handler) {
    Handler() = std::move(handler);
}

KivPopupMenuHandler KivGetPopupMenuHandler() { return Handler(); }

namespace {
std::function<bool()>& ModalLoopEndCheck() {
    static std::function<bool()> check;
    return check;
}
}  // namespace

std::function<bool()> KivSetModalLoopEndCheck(std::function<bool()> check) {
    return std::exchange(ModalLoopEndCheck(), std::move(check));
}

bool KivModalLoopMustEnd() {
    const std::function<bool()>& check = ModalLoopEndCheck();
    return check && check();
}
