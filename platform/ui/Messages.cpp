#include "platform/ui/Messages.h"

#include <map>
#include <string>

namespace {

// The last id a registered message may take (ids are 16-bit).
constexpr UINT kLastRegisteredMessage = 0xFFFF;

std::wstring FoldAsciiCase(LPCWSTR name) {
    std::wstring key(name);
    for (wchar_t& c : key)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return key;
}

}  // namespace

UINT RegisterWindowMessageW(LPCWSTR name) {
    if (!name || !*name) return 0;
    static std::map<std::wstring, UINT> ids;
    const std::wstring key = FoldAsciiCase(name);
    if (const auto it = ids.find(key); it != ids.end()) return it->second;
    const UINT id = kFirstRegisteredMessage + static_cast<UINT>(ids.size());
    if (id > kLastRegisteredMessage) return 0;
    ids.emplace(key, id);
    return id;
}
