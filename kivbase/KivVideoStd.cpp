#include "kivbase/KivVideoStd.h"

#include <atomic>
#include <cstdint>

namespace {

// Both sides in one word, so that a reader never sees the width of one size with the
// height of another; constant-initialised, so it is right even before static constructors run.
constexpr std::uint64_t Pack(int cx, int cy) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32) | static_cast<std::uint32_t>(cy);
}
CSize Unpack(std::uint64_t v) {
    return CSize(static_cast<int>(static_cast<std::uint32_t>(v >> 32)), static_cast<int>(static_cast<std::uint32_t>(v)));
}

constinit std::atomic<std::uint64_t> g_resSize{Pack(CKivVideoStd::kDefaultWidth, CKivVideoStd::kDefaultHeight)};

}  // namespace

CSize CKivVideoStd::GetResSize() { return Unpack(g_resSize.load()); }

CRect CKivVideoStd::GetResRect() { return CRect(CPoint(0, 0), GetResSize()); }

BOOL CKivVideoStd::SetResSize(CSize size) {
    if (size.cx <= 0 || size.cy <= 0) return FALSE;
    g_resSize.store(Pack(size.cx, size.cy));
    return TRUE;
}
