#include "platform/ui/WndClass.h"

#include <algorithm>
#include <map>
#include <string>

#include "platform/ui/Wnd.h"
#include "platform/ui/WndInternal.h"

namespace {

// The name windows created without a class name get.
constexpr const wchar_t* kDefaultClassName = L"AfxWnd";
// Brush values up to this are system colour indices plus one, as the old system allowed.
constexpr std::uintptr_t kMaxSysColorBrush = 64;

std::wstring FoldCase(LPCWSTR name) {
    std::wstring key(name);
    for (wchar_t& c : key)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return key;
}

LRESULT StaticProc(CWnd* wnd, UINT msg, WPARAM wParam, LPARAM lParam);

std::map<std::wstring, KivWndClass>& Classes() {
    // Kept until exit: windows destroyed by static destructors still reach their class.
    static auto& classes = *[] {
        auto* c = new std::map<std::wstring, KivWndClass>();
        (*c)[FoldCase(kDefaultClassName)] = KivWndClass{kDefaultClassName, CS_DBLCLKS, std::nullopt, nullptr};
        (*c)[FoldCase(kDialogClassName)] = KivWndClass{kDialogClassName, CS_DBLCLKS, GetSysColor(COLOR_BTNFACE), nullptr};
        (*c)[FoldCase(kStaticClassName)] = KivWndClass{kStaticClassName, 0, GetSysColor(COLOR_BTNFACE), StaticProc};
        return c;
    }();
    return classes;
}

void FillBackground(CWnd* wnd, HDC hdc, COLORREF color) {
    CDC* dc = CDC::FromHandle(hdc);
    if (!dc) return;
    CRect client;
    wnd->GetClientRect(&client);
    CBrush brush(color);
    dc->FillRect(&client, &brush);
}

// The static control: frames and rectangles in the system colours, or its text.
void PaintStatic(CWnd* wnd) {
    CPaintDC dc(wnd);
    CRect client;
    wnd->GetClientRect(&client);
    const DWORD style = wnd->GetStyle();
    const DWORD kind = style & SS_TYPEMASK;
    const COLORREF black = GetSysColor(COLOR_WINDOWFRAME), gray = GetSysColor(COLOR_BTNSHADOW), white = GetSysColor(COLOR_WINDOW);
    switch (kind) {
        case SS_BLACKRECT: dc.FillSolidRect(&client, black); return;
        case SS_GRAYRECT: dc.FillSolidRect(&client, gray); return;
        case SS_WHITERECT: dc.FillSolidRect(&client, white); return;
        case SS_BLACKFRAME: {
            CBrush b(black);
            dc.FrameRect(&client, &b);
            return;
        }
        case SS_GRAYFRAME: {
            CBrush b(gray);
            dc.FrameRect(&client, &b);
            return;
        }
        case SS_WHITEFRAME: {
            CBrush b(white);
            dc.FrameRect(&client, &b);
            return;
        }
        default: break;
    }
    CString text;
    wnd->GetWindowText(text);
    if (text.IsEmpty()) return;
    if (CFont* f = wnd->GetFont()) dc.SelectObject(f);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
    UINT format = DT_WORDBREAK;
    if (kind == SS_CENTER) format |= DT_CENTER;
    if (kind == SS_RIGHT) format |= DT_RIGHT;
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    dc.DrawText(text, &client, format);
}

bool IsFrameStatic(const CWnd* wnd) {
    const DWORD kind = wnd->GetStyle() & SS_TYPEMASK;
    return kind == SS_BLACKFRAME || kind == SS_GRAYFRAME || kind == SS_WHITEFRAME;
}

LRESULT StaticProc(CWnd* wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: PaintStatic(wnd); return 0;
        // A frame is hollow, as the old system drew it: its inside shows what its parent
        // painted there (a preview drawn into the frame, for instance).
        case WM_ERASEBKGND:
            if (IsFrameStatic(wnd)) return 0;
            return KivDefaultWindowProc(wnd, msg, wParam, lParam);
        case WM_SETTEXT: {
            const LRESULT r = KivDefaultWindowProc(wnd, msg, wParam, lParam);
            wnd->Invalidate();
            return r;
        }
        default: return KivDefaultWindowProc(wnd, msg, wParam, lParam);
    }
}

}  // namespace

const KivWndClass* KivFindWndClass(LPCWSTR name) {
    const auto& classes = Classes();
    const auto it = classes.find(FoldCase(name ? name : kDefaultClassName));
    return it == classes.end() ? nullptr : &it->second;
}

BOOL KivRegisterWndClass(const KivWndClass& cls) {
    if (cls.name.IsEmpty()) return FALSE;
    return Classes().emplace(FoldCase(cls.name), cls).second;
}

LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR, HBRUSH background, HICON) {
    std::optional<COLORREF> color;
    const std::uintptr_t v = KivHandleValue(background);
    if (v != 0 && v <= kMaxSysColorBrush)
        color = GetSysColor(static_cast<int>(v - 1));
    else if (CBrush* b = CBrush::FromHandle(background); b && !b->Data().hollow)
        color = b->Data().color;
    CString name;
    name.Format(L"Afx:%x:%x", classStyle, color ? static_cast<unsigned>(*color) : 0xFFFFFFFFu);
    auto& classes = Classes();
    auto it = classes.find(FoldCase(name));
    if (it == classes.end()) it = classes.emplace(FoldCase(name), KivWndClass{name, classStyle, color, nullptr}).first;
    return it->second.name.GetString();
}

LRESULT KivDefaultWindowProc(CWnd* wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    KivWndState* s = wnd->State();
    if (!s) return 0;
    switch (msg) {
        case WM_SETFONT:
            s->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(static_cast<DWORD_PTR>(lParam))) wnd->Invalidate();
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
        case WM_SETTEXT: s->text = CString(reinterpret_cast<LPCWSTR>(lParam)); return TRUE;
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<LPWSTR>(lParam);
            const int max = static_cast<int>(wParam);
            if (!buffer || max <= 0) return 0;
            const int n = std::min(s->text.GetLength(), max - 1);
            std::copy_n(s->text.GetString(), n, buffer);
            buffer[n] = 0;
            return n;
        }
        case WM_GETTEXTLENGTH: return s->text.GetLength();
        case WM_ERASEBKGND:
            if (!s->cls || !s->cls->background) return 0;
            FillBackground(wnd, reinterpret_cast<HDC>(wParam), *s->cls->background);
            return 1;
        case WM_PAINT: {
            CPaintDC dc(wnd);
            return 0;
        }
        case WM_CLOSE: wnd->DestroyWindow(); return 0;
        default: return 0;
    }
}
