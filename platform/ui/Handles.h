// Opaque handles of the window system (windows, device contexts, GDI objects, menus) and
// the table that maps a handle back to its live object, so a stale handle finds nothing.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "platform/fw/KivTypes.h"

struct HWND__ { int unused; };
struct HDC__ { int unused; };
struct HPEN__ { int unused; };
struct HBRUSH__ { int unused; };
struct HFONT__ { int unused; };
struct HBITMAP__ { int unused; };
struct HMENU__ { int unused; };
using HWND = HWND__*;
using HDC = HDC__*;
using HPEN = HPEN__*;
using HBRUSH = HBRUSH__*;
using HFONT = HFONT__*;
using HBITMAP = HBITMAP__*;
using HMENU = HMENU__*;
using HGDIOBJ = void*;
using HCURSOR = void*;
using HICON = void*;

/// A fresh handle value, never reused in the life of the process (handles are tokens, not
/// addresses: they are never dereferenced).
std::uintptr_t KivNewHandleValue();

template <class H>
H KivHandleFromValue(std::uintptr_t v) {
    return reinterpret_cast<H>(v);
}
template <class H>
std::uintptr_t KivHandleValue(H h) {
    return reinterpret_cast<std::uintptr_t>(h);
}

/// Live objects by handle; Find gives null for a handle whose object is gone.
template <class T>
class KivHandleTable {
public:
    std::uintptr_t Add(T* object) {
        const std::uintptr_t v = KivNewHandleValue();
        m_map[v] = object;
        return v;
    }
    void Remove(std::uintptr_t v) { m_map.erase(v); }
    T* Find(std::uintptr_t v) const {
        const auto it = m_map.find(v);
        return it == m_map.end() ? nullptr : it->second;
    }
    size_t Size() const { return m_map.size(); }

private:
    std::unordered_map<std::uintptr_t, T*> m_map;
};
