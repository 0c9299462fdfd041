#include "platform/ui/Resources.h"

#include <algorithm>
#include <map>
#include <utility>

#include "platform/ui/Handles.h"

namespace {

template <class T>
using Table = std::map<std::pair<UINT, LANGID>, T>;

struct ModuleData {
    HINSTANCE handle = nullptr;
    Table<CString> strings;
    Table<KivDialogTemplate> dialogs;
    Table<std::vector<KivMenuItemTemplate>> menus;
    Table<KivBitmapResource> bitmaps;
};

struct ResourceState {
    std::vector<ModuleData> modules;  // in registration order
    LANGID language = kLangEnglish;
    HINSTANCE current = nullptr;
};

ResourceState& State() {
    // Kept until exit: a module's resources may end in a static destructor of its own.
    static auto& state = *new ResourceState();
    return state;
}

ModuleData* FindModule(HINSTANCE h) {
    for (ModuleData& m : State().modules)
        if (m.handle == h) return &m;
    return nullptr;
}

template <class T>
const T* LookupIn(const Table<T>& table, UINT id) {
    const LANGID chosen = State().language;
    for (LANGID lang : {chosen, kLangEnglish, kLangNeutral}) {
        const auto it = table.find({id, lang});
        if (it != table.end()) return &it->second;
    }
    return nullptr;
}

template <class T>
std::optional<T> Lookup(HINSTANCE module, UINT id, Table<T> ModuleData::*table) {
    if (module) {
        const ModuleData* m = FindModule(module);
        if (!m) return std::nullopt;
        if (const T* v = LookupIn(m->*table, id)) return *v;
        return std::nullopt;
    }
    if (const ModuleData* m = FindModule(State().current))
        if (const T* v = LookupIn(m->*table, id)) return *v;
    for (const ModuleData& m : State().modules)
        if (const T* v = LookupIn(m.*table, id)) return *v;
    return std::nullopt;
}

}  // namespace

KivResourceModule::KivResourceModule() : m_handle(KivHandleFromValue<HINSTANCE>(KivNewHandleValue())) {
    ModuleData data;
    data.handle = m_handle;
    State().modules.push_back(std::move(data));
}

KivResourceModule::~KivResourceModule() {
    auto& mods = State().modules;
    mods.erase(std::remove_if(mods.begin(), mods.end(), [this](const ModuleData& m) { return m.handle == m_handle; }), mods.end());
    if (State().current == m_handle) State().current = nullptr;
}

void KivResourceModule::AddString(UINT id, const CString& text, LANGID lang) {
    if (ModuleData* m = FindModule(m_handle)) m->strings[{id, lang}] = text;
}

void KivResourceModule::AddDialog(UINT id, const KivDialogTemplate& tmpl, LANGID lang) {
    if (ModuleData* m = FindModule(m_handle)) m->dialogs[{id, lang}] = tmpl;
}

void KivResourceModule::AddMenu(UINT id, const std::vector<KivMenuItemTemplate>& items, LANGID lang) {
    if (ModuleData* m = FindModule(m_handle)) m->menus[{id, lang}] = items;
}

BOOL KivResourceModule::AddBitmap(UINT id, int width, int height, const std::vector<COLORREF>& pixels, LANGID lang) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) return FALSE;
    ModuleData* m = FindModule(m_handle);
    if (!m) return FALSE;
    m->bitmaps[{id, lang}] = KivBitmapResource{width, height, pixels};
    return TRUE;
}

void KivSetResourceLanguage(LANGID lang) { State().language = lang; }
LANGID KivGetResourceLanguage() { return State().language; }

std::optional<CString> KivFindString(HINSTANCE module, UINT id) { return Lookup(module, id, &ModuleData::strings); }
std::optional<KivDialogTemplate> KivFindDialog(HINSTANCE module, UINT id) { return Lookup(module, id, &ModuleData::dialogs); }
std::optional<std::vector<KivMenuItemTemplate>> KivFindMenu(HINSTANCE module, UINT id) {
    return Lookup(module, id, &ModuleData::menus);
}
std::optional<KivBitmapResource> KivFindBitmap(HINSTANCE module, UINT id) { return Lookup(module, id, &ModuleData::bitmaps); }

int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int bufferMax) {
    if (!buffer || bufferMax <= 0) return 0;
    buffer[0] = 0;
    const std::optional<CString> text = KivFindString(module, id);
    if (!text) return 0;
    const int n = std::min(text->GetLength(), bufferMax - 1);
    std::copy_n(text->GetString(), n, buffer);
    buffer[n] = 0;
    return n;
}

BOOL KivLoadString(HINSTANCE module, UINT id, CString& text) {
    std::optional<CString> found = KivFindString(module, id);
    text = found ? *found : CString();
    return found.has_value();
}

HINSTANCE AfxGetResourceHandle() { return State().current; }
void AfxSetResourceHandle(HINSTANCE module) { State().current = module; }
