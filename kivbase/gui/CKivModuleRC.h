// The resource helpers of the maker's module-resource library: menu items and bitmaps
// taken from the resources of one module (the library's own, for its editors).
#pragma once

#include "platform/ui/GdiObjects.h"
#include "platform/ui/Menu.h"

class CKivModuleRC {
public:
    /// Appends to menu an item of that command id whose text is the module's string-table
    /// entry of the same id, with MF_ flags (MF_CHECKED for a check mark). Returns 1, or 0
    /// (nothing appended) for a null menu, a menu without a handle, a module without that
    /// string, or flags the menu refuses.
    static int AppendMenuW(HINSTANCE module, CMenu* menu, UINT id, UINT flags);
    /// Loads the module's bitmap resource of that id into bitmap, replacing the bitmap it
    /// held. Returns 1, or 0 (bitmap unchanged) when the module has no such bitmap.
    static int LoadBitmapW(HINSTANCE module, UINT id, CBitmap& bitmap);
    /// The module's string-table entry of that id; empty when there is none.
    static CString LoadStringW(HINSTANCE module, UINT id);
};
