#include "kivbase/gui/CKivModuleRC.h"

#include "platform/ui/Resources.h"

int CKivModuleRC::AppendMenuW(HINSTANCE module, CMenu* menu, UINT id, UINT flags) {
    if (!menu || !menu->m_hMenu) return 0;
    CString text;
    if (!KivLoadString(module, id, text)) return 0;
    // Only the item's state comes from flags: the item is always a text item.
    const UINT state = flags & ~(MF_POPUP | MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW | MF_BYPOSITION);
    return menu->AppendMenuW(MF_STRING | state, id, text) ? 1 : 0;
}

int CKivModuleRC::LoadBitmapW(HINSTANCE module, UINT id, CBitmap& bitmap) {
    if (!KivFindBitmap(module, id)) return 0;
    bitmap.DeleteObject();
    return bitmap.LoadBitmap(module, id) ? 1 : 0;
}

CString CKivModuleRC::LoadStringW(HINSTANCE module, UINT id) {
    CString text;
    KivLoadString(module, id, text);
    return text;
}
