#include "kivbase/gui/CVyFrameSkin.h"

#include "platform/ui/DC.h"
#include "platform/ui/Resources.h"

namespace {

// The title strip's colours: the old system's active caption and its text.
constexpr COLORREF kTitleBack = RGB(10, 36, 106);
constexpr COLORREF kTitleText = RGB(255, 255, 255);
// Room between an item of the title strip and the strip's edges.
constexpr int kTitleItemMargin = 2;
// The close box's cross stays this far inside the box.
constexpr int kCrossInset = 3;

}  // namespace

BOOL CVyFrameSkin::VyGetTitleRect(CRect& rect) {
    rect.SetRectEmpty();
    CWnd* wnd = ThisWnd();
    if (!wnd || !wnd->m_hWnd || (wnd->GetStyle() & WS_CAPTION) != WS_CAPTION) return FALSE;
    wnd->GetClientRect(&rect);
    rect.bottom = rect.top + kTitleHeight;
    return TRUE;
}

BOOL CVyFrameSkin::VyGetTitleItemRect(int item, CRect& rect) {
    CRect title;
    if (item < 0 || item >= kTitleItemCount || !VyGetTitleRect(title)) {
        rect.SetRectEmpty();
        return FALSE;
    }
    const int right = title.right - kTitleItemMargin - item * (kTitleItemSize + kTitleItemMargin);
    rect = CRect(right - kTitleItemSize, title.top + kTitleItemMargin, right, title.top + kTitleItemMargin + kTitleItemSize);
    return TRUE;
}

void CVyFrameSkin::VyOnLock(BOOL lock) {
    if (lock) {
        ++m_locks;
        return;
    }
    if (m_locks == 0) return;
    if (--m_locks == 0)
        if (CWnd* wnd = ThisWnd(); wnd && wnd->m_hWnd) wnd->Invalidate(TRUE);
}

HINSTANCE CVyFrameSkin::GetResourceHandle() const { return m_module ? m_module : AfxGetResourceHandle(); }

COLORREF CVyFrameSkin::VyFaceColor() const { return GetSysColor(COLOR_BTNFACE); }

void CVyFrameSkin::VyDrawFrame(CDC& dc) {
    CWnd* wnd = ThisWnd();
    if (!wnd || !wnd->m_hWnd || VyIsLocked()) return;
    CRect client;
    wnd->GetClientRect(&client);
    dc.FillSolidRect(&client, VyFaceColor());
    CRect title;
    if (!VyGetTitleRect(title)) return;
    CPen cross(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));  // outlives the guard that deselects it
    KivSaveDC saved(dc);
    dc.FillSolidRect(&title, kTitleBack);
    if (CFont* font = wnd->GetFont()) dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kTitleText);
    CString caption;
    wnd->GetWindowText(caption);
    CRect text(title);
    text.left += kTitleItemMargin * 2;
    dc.DrawText(caption, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    CRect close;
    if (!VyGetTitleItemRect(0, close)) return;
    dc.FillSolidRect(&close, GetSysColor(COLOR_BTNFACE));
    dc.Draw3dRect(&close, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    dc.SelectObject(&cross);
    dc.MoveTo(close.left + kCrossInset, close.top + kCrossInset);
    dc.LineTo(close.right - kCrossInset, close.bottom - kCrossInset);
    dc.MoveTo(close.right - kCrossInset - 1, close.top + kCrossInset);
    dc.LineTo(close.left + kCrossInset - 1, close.bottom - kCrossInset);
}
