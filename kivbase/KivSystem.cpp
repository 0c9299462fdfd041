#include "kivbase/KivSystem.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace {

constexpr const char* kDefaultTempFolder = "/tmp";

struct TickSource {
    std::mutex lock;
    std::function<DWORD()> source;
};

TickSource& Ticks() {
    static TickSource ticks;
    return ticks;
}

DWORD MonotonicTicks() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<DWORD>(static_cast<unsigned long long>(ms.count()));  // wraps, as the tick count does
}

}  // namespace

CString KivGetTempFilePath() {
    const char* env = std::getenv("TMPDIR");
    CString path(env && *env ? env : kDefaultTempFolder);
    if (path.IsEmpty() || path[path.GetLength() - 1] != L'/') path += L'/';
    return path;
}

BOOL KivPublicDoesFileExist(LPCWSTR path) {
    if (!path || !*path) return FALSE;
    struct stat st {};
    if (::stat(CString(path).ToUtf8().c_str(), &st) != 0) return FALSE;
    return S_ISDIR(st.st_mode) ? FALSE : TRUE;
}

DWORD KivGetTickCount() {
    TickSource& t = Ticks();
    std::function<DWORD()> source;
    {
        const std::scoped_lock hold(t.lock);
        source = t.source;
    }
    return source ? source() : MonotonicTicks();
}

void KivSetTickCountSource(std::function<DWORD()> source) {
    TickSource& t = Ticks();
    const std::scoped_lock hold(t.lock);
    t.source = std::move(source);
}
