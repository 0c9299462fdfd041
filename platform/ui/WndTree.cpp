// CWnd geometry, visibility, text, font, focus and capture.
#include <algorithm>
#include <utility>

#include "platform/ui/Wnd.h"
#include "platform/ui/WndInternal.h"

CWnd* CWnd::GetParent() const {
    if (!m_hWnd) return nullptr;
    return m_state->parent ? m_state->parent : m_state->owner;
}

CWnd* CWnd::GetDlgItem(int id) const {
    if (!m_hWnd) return nullptr;
    for (CWnd* c : m_state->children)
        if (static_cast<int>(c->m_state->id) == id) return c;
    return nullptr;
}

int CWnd::GetDlgCtrlID() const { return m_hWnd ? static_cast<int>(m_state->id) : 0; }

int CWnd::SetDlgCtrlID(int id) {
    if (!m_hWnd) return 0;
    return static_cast<int>(std::exchange(m_state->id, static_cast<UINT>(id)));
}

DWORD CWnd::GetStyle() const { return m_hWnd ? m_state->style : 0; }
DWORD CWnd::GetExStyle() const { return m_hWnd ? m_state->exStyle : 0; }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
    if (!m_hWnd) return FALSE;
    m_state->style = (m_state->style & ~remove) | add;
    return TRUE;
}

void CWnd::GetClientRect(LPRECT rect) const {
    if (!rect) return;
    *rect = m_hWnd ? CRect(0, 0, m_state->rect.Width(), m_state->rect.Height()) : CRect();
}

namespace {
// Screen position of a window's client origin.
CPoint ClientOrigin(const CWnd* w) {
    CPoint p;
    for (; w; w = w->State()->parent) p.Offset(w->State()->rect.left, w->State()->rect.top);
    return p;
}
}  // namespace

void CWnd::GetWindowRect(LPRECT rect) const {
    if (!rect) return;
    if (!m_hWnd) {
        *rect = CRect();
        return;
    }
    *rect = CRect(ClientOrigin(this), m_state->rect.Size());
}

void CWnd::ClientToScreen(LPPOINT pt) const {
    if (!pt || !m_hWnd) return;
    const CPoint o = ClientOrigin(this);
    pt->x += o.x;
    pt->y += o.y;
}

void CWnd::ClientToScreen(LPRECT rect) const {
    if (!rect || !m_hWnd) return;
    const CPoint o = ClientOrigin(this);
    CRect r(*rect);
    r.OffsetRect(o.x, o.y);
    *rect = r;
}

void CWnd::ScreenToClient(LPPOINT pt) const {
    if (!pt || !m_hWnd) return;
    const CPoint o = ClientOrigin(this);
    pt->x -= o.x;
    pt->y -= o.y;
}

void CWnd::ScreenToClient(LPRECT rect) const {
    if (!rect || !m_hWnd) return;
    const CPoint o = ClientOrigin(this);
    CRect r(*rect);
    r.OffsetRect(-o.x, -o.y);
    *rect = r;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    if (!m_hWnd) return;
    const HWND self = m_hWnd;
    CRect oldOnScreen;
    GetWindowRect(&oldOnScreen);
    const CRect old = m_state->rect;
    m_state->rect = CRect(x, y, x + std::max(width, 0), y + std::max(height, 0));
    if (old.TopLeft() != m_state->rect.TopLeft()) SendMessage(WM_MOVE, 0, MAKELPARAM(x, y));
    if (IsWindow(self) && old.Size() != m_state->rect.Size())
        SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(m_state->rect.Width(), m_state->rect.Height()));
    if (!IsWindow(self) || !repaint || !IsWindowVisible()) return;
    KivInvalidateScreenArea(oldOnScreen, this);
    InvalidateTree(CRect(0, 0, m_state->rect.Width(), m_state->rect.Height()), true);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    if (rect) MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::IsWindowVisible() const {
    if (!m_hWnd) return FALSE;
    for (const CWnd* w = this; w; w = w->m_state->parent)
        if (!(w->m_state->style & WS_VISIBLE)) return FALSE;
    return TRUE;
}

BOOL CWnd::ShowWindow(int cmdShow) {
    if (!m_hWnd) return FALSE;
    const BOOL wasVisible = (m_state->style & WS_VISIBLE) != 0;
    const bool show = cmdShow != SW_HIDE && cmdShow != SW_MINIMIZE;
    if (show == static_cast<bool>(wasVisible)) return wasVisible;
    if (show) {
        m_state->style |= WS_VISIBLE;
        if (IsWindowVisible()) InvalidateTree(CRect(0, 0, m_state->rect.Width(), m_state->rect.Height()), true);
        return wasVisible;
    }
    const bool wasOnScreen = IsWindowVisible();
    CRect onScreen;
    GetWindowRect(&onScreen);
    m_state->style &= ~WS_VISIBLE;
    KivWindowSystem& ws = KivWindows();
    for (CWnd* f = FromHandle(ws.focus); f; f = f->m_state->parent)
        if (f == this) {
            const HWND lost = ws.focus;
            ws.focus = nullptr;
            SendMessageW(lost, WM_KILLFOCUS, 0, 0);
            break;
        }
    if (wasOnScreen) KivInvalidateScreenArea(onScreen, this);
    return wasVisible;
}

BOOL CWnd::EnableWindow(BOOL enable) {
    if (!m_hWnd) return FALSE;
    const BOOL wasDisabled = (m_state->style & WS_DISABLED) != 0;
    if (enable)
        m_state->style &= ~WS_DISABLED;
    else
        m_state->style |= WS_DISABLED;
    if (static_cast<bool>(wasDisabled) == !enable) return wasDisabled;
    SendMessage(WM_ENABLE, enable ? TRUE : FALSE);
    if (!enable && m_hWnd && KivWindows().focus == m_hWnd) {
        KivWindows().focus = nullptr;
        SendMessage(WM_KILLFOCUS);
    }
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const { return m_hWnd && !(m_state->style & WS_DISABLED); }

BOOL CWnd::BringWindowToTop() {
    if (!m_hWnd) return FALSE;
    auto& list = m_state->parent ? m_state->parent->m_state->children : KivWindows().topLevels;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    auto pos = list.end();
    if (!m_state->parent && !(m_state->exStyle & WS_EX_TOPMOST))
        while (pos != list.begin() && ((*(pos - 1))->GetExStyle() & WS_EX_TOPMOST)) --pos;
    list.insert(pos, this);
    if (IsWindowVisible()) InvalidateTree(CRect(0, 0, m_state->rect.Width(), m_state->rect.Height()), true);
    return TRUE;
}

void CWnd::SetWindowText(LPCWSTR text) { SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }

void CWnd::GetWindowText(CString& text) const { text = m_hWnd ? m_state->text : CString(); }

int CWnd::GetWindowTextLength() const { return m_hWnd ? m_state->text.GetLength() : 0; }

void CWnd::SetDlgItemText(int id, LPCWSTR text) {
    if (CWnd* item = GetDlgItem(id)) item->SetWindowText(text);
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? static_cast<HFONT>(*font) : nullptr), MAKELPARAM(redraw ? 1 : 0, 0));
}

CFont* CWnd::GetFont() const {
    // WM_GETFONT through the window's own dispatch, as the framework does.
    return CFont::FromHandle(reinterpret_cast<HFONT>(const_cast<CWnd*>(this)->SendMessage(WM_GETFONT)));
}

CWnd* CWnd::SetFocus() {
    if (!m_hWnd || !IsWindowEnabled()) return nullptr;
    KivWindowSystem& ws = KivWindows();
    const HWND old = ws.focus;
    if (old == m_hWnd) return this;
    const HWND self = m_hWnd;
    ws.focus = self;
    if (old) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(self), 0);
    if (IsWindow(self) && ws.focus == self) SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return FromHandle(old);
}

CWnd* CWnd::GetFocus() { return FromHandle(KivWindows().focus); }

CWnd* CWnd::SetCapture() {
    if (!m_hWnd) return nullptr;
    KivWindowSystem& ws = KivWindows();
    const HWND old = ws.capture;
    ws.capture = m_hWnd;
    if (old && old != m_hWnd) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(m_hWnd));
    return FromHandle(old);
}

CWnd* CWnd::GetCapture() { return FromHandle(KivWindows().capture); }

BOOL ReleaseCapture() {
    KivWindowSystem& ws = KivWindows();
    const HWND old = ws.capture;
    ws.capture = nullptr;
    if (old) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}
