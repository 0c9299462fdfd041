#include "kivbase/KivVersion.h"

#include <map>
#include <mutex>
#include <new>
#include <string>
#include <string_view>

#include "platform/fw/CString.h"

int KivVersionConvert(WORD stored, WORD /*classConstant*/, int& converted, const wchar_t* /*className*/) {
    converted = static_cast<std::int16_t>(stored);
    return 1;
}

namespace {

struct NameTable {
    std::mutex lock;
    std::map<std::string, std::wstring, std::less<>> names;
};

// Never destroyed: a loader running from another object's static destructor may still ask.
NameTable& Names() {
    static NameTable* table = new NameTable;
    return *table;
}

}  // namespace

const wchar_t* KivPublicToUnicode(const char* name) {
    if (!name) return L"";
    try {
        // The table itself is made on first use, which can run out of memory too.
        NameTable& t = Names();
        const std::scoped_lock hold(t.lock);
        const std::string_view key(name);
        if (auto it = t.names.find(key); it != t.names.end()) return it->second.c_str();
        // Map nodes never move, and the wide text is never changed again, so c_str() stays put.
        const auto added = t.names.emplace(std::string(key), CString::FromUtf8(key).Str());
        return added.first->second.c_str();
    } catch (const std::bad_alloc&) {
        return L"";
    }
}
