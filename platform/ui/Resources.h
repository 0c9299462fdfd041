// Resources per module and language: string tables, dialog templates, menus and bitmaps
// that a module registers under its module handle, looked up by id in the language the
// host chose, with English standing in for a missing entry.
#pragma once

#include <optional>
#include <vector>

#include "platform/fw/CString.h"
#include "platform/fw/KivTypes.h"

using LANGID = WORD;
constexpr LANGID kLangNeutral = 0x0000;
constexpr LANGID kLangEnglish = 0x0409;             // English (United States)
constexpr LANGID kLangChineseSimplified = 0x0804;   // Chinese (PRC)
constexpr LANGID kLangChineseTraditional = 0x0404;  // Chinese (Taiwan)

/// One control of a dialog template, placed in dialog units.
struct KivDialogItemTemplate {
    UINT id = 0;
    CString className;  // "Static", or a class registered with the window system
    CString text;
    DWORD style = 0;    // WS_CHILD is implied; WS_VISIBLE shows it
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
};

/// A dialog template: size and place in dialog units of its font.
struct KivDialogTemplate {
    DWORD style = 0;  // DS_SETFONT: pointSize and faceName give the font
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    CString caption;
    WORD pointSize = 8;
    CString faceName = L"MS Shell Dlg";
    std::vector<KivDialogItemTemplate> items;
};

/// One menu item of a menu resource; a popup item holds its own items.
struct KivMenuItemTemplate {
    UINT flags = 0;  // MF_STRING, MF_SEPARATOR, MF_POPUP, MF_CHECKED, MF_GRAYED
    UINT id = 0;
    CString text;
    std::vector<KivMenuItemTemplate> popup;
};

struct KivBitmapResource {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // rows top-down
};

/// The resources of one module; its handle is valid from construction to destruction.
class KivResourceModule {
public:
    /// Registers a new module with no resources.
    KivResourceModule();
    /// Forgets the module's resources; its handle then finds nothing.
    ~KivResourceModule();
    KivResourceModule(const KivResourceModule&) = delete;
    KivResourceModule& operator=(const KivResourceModule&) = delete;

    HINSTANCE GetHandle() const { return m_handle; }
    /// Adds or replaces an entry for a language.
    void AddString(UINT id, const CString& text, LANGID lang = kLangEnglish);
    void AddDialog(UINT id, const KivDialogTemplate& tmpl, LANGID lang = kLangEnglish);
    void AddMenu(UINT id, const std::vector<KivMenuItemTemplate>& items, LANGID lang = kLangEnglish);
    /// FALSE when the pixels do not match the size or the size is not positive.
    BOOL AddBitmap(UINT id, int width, int height, const std::vector<COLORREF>& pixels, LANGID lang = kLangNeutral);

private:
    HINSTANCE m_handle;
};

/// The language resources are looked up in (English by default). Entries missing in it
/// come from English, then from language-neutral entries.
void KivSetResourceLanguage(LANGID lang);
LANGID KivGetResourceLanguage();

/// Lookups by id. A null module searches the current resource module first, then every
/// module in the order they were registered. Empty when nothing matches.
std::optional<CString> KivFindString(HINSTANCE module, UINT id);
std::optional<KivDialogTemplate> KivFindDialog(HINSTANCE module, UINT id);
std::optional<std::vector<KivMenuItemTemplate>> KivFindMenu(HINSTANCE module, UINT id);
std::optional<KivBitmapResource> KivFindBitmap(HINSTANCE module, UINT id);

/// Copies a string-table entry into buffer (at most bufferMax - 1 characters and a null);
/// returns the characters copied, 0 when there is no such entry or no room.
int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int bufferMax);
/// The whole string-table entry; FALSE (and text emptied) when there is none.
BOOL KivLoadString(HINSTANCE module, UINT id, CString& text);

/// The module searched first by lookups without a module (null: none).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
