#include "kivbase/gui/CKivToolTipDlg.h"

#include <algorithm>

#include "kivbase/gui/KivGuiFont.h"
#include "platform/ui/DC.h"
#include "platform/ui/Screen.h"

IMPLEMENT_DYNAMIC(CKivToolTipDlg, CWnd)

namespace {

// Pixels between the frame and the text on each side.
constexpr int kPaddingX = 4;
constexpr int kPaddingY = 2;
// The tool-tip colours of the old system's default scheme.
constexpr COLORREF kTipBack = RGB(255, 255, 225);
constexpr COLORREF kTipText = RGB(0, 0, 0);
constexpr COLORREF kTipFrame = RGB(0, 0, 0);

}  // namespace

CKivToolTipDlg::CKivToolTipDlg() = default;

CKivToolTipDlg::~CKivToolTipDlg() {
    if (m_hWnd) DestroyWindow();
}

BOOL CKivToolTipDlg::Create(CWnd* owner) {
    if (m_hWnd) return FALSE;
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, nullptr, WS_POPUP, CRect(0, 0, 1, 1), owner, 0))
        return FALSE;
    if (owner) SetFont(owner->GetFont(), FALSE);
    const CSize size = TipSize();
    MoveWindow(0, 0, size.cx, size.cy, FALSE);
    return TRUE;
}

CSize CKivToolTipDlg::TipSize() {
    CClientDC dc(this);
    KivSelectObject font(dc, KivGuiFontOf(*this));
    TEXTMETRICW tm{};
    dc.GetTextMetrics(&tm);
    const CSize text = dc.GetTextExtent(m_text);
    return CSize(text.cx + 2 * kPaddingX + 2, static_cast<int>(tm.tmHeight) + 2 * kPaddingY + 2);
}

void CKivToolTipDlg::SetToolTipText(const CString& text) {
    m_text = text;
    if (!m_hWnd) return;
    CRect r;
    GetWindowRect(&r);
    const CSize size = TipSize();
    MoveWindow(r.left, r.top, size.cx, size.cy, TRUE);
    Invalidate(FALSE);
}

void CKivToolTipDlg::UpdateTip(CPoint screenPoint) {
    if (!m_hWnd) return;
    CRect r;
    GetWindowRect(&r);
    const KivScreen& screen = KivScreen::Get();
    const int x = std::max(0, std::min(screenPoint.x, screen.GetWidth() - r.Width()));
    const int y = std::max(0, std::min(screenPoint.y, screen.GetHeight() - r.Height()));
    MoveWindow(x, y, r.Width(), r.Height(), TRUE);
}

void CKivToolTipDlg::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    KivSaveDC saved(dc);
    dc.SelectObject(KivGuiFontOf(*this).m_hObject);
    dc.FillSolidRect(&client, kTipBack);
    dc.Draw3dRect(&client, kTipFrame, kTipFrame);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kTipText);
    CRect text(client);
    text.DeflateRect(kPaddingX + 1, 0);
    dc.DrawText(m_text, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
