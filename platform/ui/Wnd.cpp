// CWnd creation, destruction and message dispatch.
#include "platform/ui/Wnd.h"

#include <algorithm>

#include "platform/ui/WndClass.h"
#include "platform/ui/WndInternal.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)

KivWindowSystem& KivWindows() {
    // Kept until exit: windows of static objects may be destroyed after any other static.
    static KivWindowSystem* system = new KivWindowSystem();
    return *system;
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd) DestroyWindow();
}

CWnd* CWnd::FromHandle(HWND h) { return h ? KivWindows().windows.Find(KivHandleValue(h)) : nullptr; }

BOOL IsWindow(HWND h) { return CWnd::FromHandle(h) != nullptr; }

LRESULT SendMessageW(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* w = CWnd::FromHandle(h);
    return w ? w->SendMessage(msg, wParam, lParam) : 0;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext*) {
    return CreateEx(0, className, windowName, style, rect, parent, id, nullptr);
}

namespace {

// New top-level windows go on top, but below windows that stay topmost unless they are.
void InsertTopLevel(CWnd* wnd, bool topmost) {
    auto& list = KivWindows().topLevels;
    auto pos = list.end();
    if (!topmost)
        while (pos != list.begin() && ((*(pos - 1))->GetExStyle() & WS_EX_TOPMOST)) --pos;
    list.insert(pos, wnd);
}

}  // namespace

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param) {
    if (m_hWnd) return FALSE;
    if (parent && !parent->m_hWnd) return FALSE;
    if ((style & WS_CHILD) && !parent) return FALSE;
    const KivWndClass* cls = KivFindWndClass(className);
    if (!cls) return FALSE;

    m_state = std::make_unique<KivWndState>();
    KivWndState& s = *m_state;
    s.cls = cls;
    s.style = style;
    s.exStyle = exStyle;
    s.id = id;
    s.text = CString(windowName);
    s.rect = CRect(rect.left, rect.top, std::max(rect.left, rect.right), std::max(rect.top, rect.bottom));
    if ((style & WS_MAXIMIZE) && !(style & WS_CHILD)) s.rect = KivScreenBounds();
    m_hWnd = KivHandleFromValue<HWND>(KivWindows().windows.Add(this));
    if (style & WS_CHILD) {
        s.parent = parent;
        parent->m_state->children.push_back(this);
    } else {
        s.owner = parent;
        InsertTopLevel(this, (exStyle & WS_EX_TOPMOST) != 0);
    }

    const HWND self = m_hWnd;
    CREATESTRUCTW cs{param, nullptr, nullptr, parent ? parent->m_hWnd : nullptr, s.rect.Height(), s.rect.Width(),
                     s.rect.top, s.rect.left, static_cast<LONG>(style), windowName, className, exStyle};
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        if (IsWindow(self)) DestroyWindow();
        return FALSE;
    }
    if (!IsWindow(self)) return FALSE;
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(m_state->rect.Width(), m_state->rect.Height()));
    if (IsWindow(self)) SendMessage(WM_MOVE, 0, MAKELPARAM(m_state->rect.left, m_state->rect.top));
    if (!IsWindow(self)) return FALSE;
    if (IsWindowVisible()) InvalidateTree(CRect(0, 0, m_state->rect.Width(), m_state->rect.Height()), true);
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd || !m_state || m_state->destroying) return FALSE;
    KivWindowSystem& ws = KivWindows();
    m_state->destroying = true;
    const HWND self = m_hWnd;

    if (IsWindowVisible()) {
        CRect onScreen;
        GetWindowRect(&onScreen);
        KivInvalidateScreenArea(onScreen, this);
    }
    // Focus and capture leave the window and everything below it.
    auto insideThis = [this](HWND h) {
        for (CWnd* w = FromHandle(h); w; w = w->m_state->parent)
            if (w == this) return true;
        return false;
    };
    if (ws.focus && insideThis(ws.focus)) {
        const HWND lost = ws.focus;
        ws.focus = nullptr;
        SendMessageW(lost, WM_KILLFOCUS, 0, 0);
    }
    if (ws.capture && insideThis(ws.capture)) ws.capture = nullptr;

    for (CWnd* top : std::vector<CWnd*>(ws.topLevels))
        if (IsWindow(top->m_hWnd) && top->m_state->owner == this) top->DestroyWindow();

    SendMessage(WM_DESTROY);
    if (m_state)
        for (CWnd* child : std::vector<CWnd*>(m_state->children))
            if (IsWindow(child->m_hWnd)) child->DestroyWindow();
    SendMessage(WM_NCDESTROY);

    if (m_state->parent) {
        auto& siblings = m_state->parent->m_state->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    } else {
        ws.topLevels.erase(std::remove(ws.topLevels.begin(), ws.topLevels.end(), this), ws.topLevels.end());
    }
    ws.windows.Remove(KivHandleValue(self));
    m_hWnd = nullptr;
    m_state.reset();
    PostNcDestroy();
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return 0;
    auto& stack = KivWindows().dispatching;
    stack.push_back(KivMessage{m_hWnd, msg, wParam, lParam});
    const LRESULT result = WindowProc(msg, wParam, lParam);
    stack.pop_back();
    return result;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(msg, wParam, lParam, &result)) result = DefWindowProc(msg, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return 0;
    if (m_state->cls && m_state->cls->proc) return m_state->cls->proc(this, msg, wParam, lParam);
    return KivDefaultWindowProc(this, msg, wParam, lParam);
}

LRESULT CWnd::Default() {
    const auto& stack = KivWindows().dispatching;
    if (stack.empty() || stack.back().hwnd != m_hWnd) return 0;
    const KivMessage m = stack.back();
    return DefWindowProc(m.msg, m.wParam, m.lParam);
}

BOOL CWnd::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const UINT flags = static_cast<UINT>(wParam);
    const UINT repeat = LOWORD(static_cast<DWORD_PTR>(lParam));
    const UINT keyFlags = HIWORD(static_cast<DWORD_PTR>(lParam));
    *result = 0;
    switch (msg) {
        case WM_CREATE: *result = OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)); return TRUE;
        case WM_DESTROY: OnDestroy(); return TRUE;
        case WM_SIZE: OnSize(flags, LOWORD(static_cast<DWORD_PTR>(lParam)), HIWORD(static_cast<DWORD_PTR>(lParam))); return TRUE;
        case WM_MOVE: OnMove(pt.x, pt.y); return TRUE;
        case WM_PAINT: OnPaint(); return TRUE;
        case WM_ERASEBKGND: *result = OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam))); return TRUE;
        case WM_COMMAND:
            if (!OnCommand(wParam, lParam)) return FALSE;
            return TRUE;
        case WM_LBUTTONDOWN: OnLButtonDown(flags, pt); return TRUE;
        case WM_LBUTTONUP: OnLButtonUp(flags, pt); return TRUE;
        case WM_LBUTTONDBLCLK: OnLButtonDblClk(flags, pt); return TRUE;
        case WM_RBUTTONDOWN: OnRButtonDown(flags, pt); return TRUE;
        case WM_RBUTTONUP: OnRButtonUp(flags, pt); return TRUE;
        case WM_RBUTTONDBLCLK: OnRButtonDblClk(flags, pt); return TRUE;
        case WM_MOUSEMOVE: OnMouseMove(flags, pt); return TRUE;
        case WM_KEYDOWN: OnKeyDown(flags, repeat, keyFlags); return TRUE;
        case WM_KEYUP: OnKeyUp(flags, repeat, keyFlags); return TRUE;
        case WM_CHAR: OnChar(flags, repeat, keyFlags); return TRUE;
        case WM_SETFOCUS: OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return TRUE;
        case WM_KILLFOCUS: OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return TRUE;
        case WM_CAPTURECHANGED: OnCaptureChanged(FromHandle(reinterpret_cast<HWND>(lParam))); return TRUE;
        case WM_CLOSE: OnClose(); return TRUE;
        default: return FALSE;
    }
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(LOWORD(wParam), static_cast<int>(HIWORD(wParam)), nullptr, nullptr);
}

BOOL CWnd::OnCmdMsg(UINT, int, void*, AFX_CMDHANDLERINFO*) { return FALSE; }

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::PostNcDestroy() {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}
