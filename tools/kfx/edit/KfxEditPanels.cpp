#include "KfxEditPanels.h"

#include "platform/ui/DC.h"

namespace {

// Text inset from a panel's edges, and the help panel's line height and key column width.
constexpr int kInset = 8;
constexpr int kHelpLineHeight = 19;
constexpr int kHelpKeyColumn = 190;
constexpr COLORREF kListBack = RGB(236, 236, 232);
constexpr COLORREF kStatusBack = RGB(48, 52, 60);
constexpr COLORREF kStatusText = RGB(236, 236, 236);
constexpr COLORREF kHelpBack = RGB(255, 255, 240);
constexpr COLORREF kHelpFrame = RGB(90, 90, 90);

void DrawLine(CDC& dc, const std::wstring& text, CRect r, UINT align = DT_LEFT) {
    dc.DrawText(text.c_str(), &r, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

/// What every panel's paint begins with: its client filled with its background, the GUI font
/// and transparent text, the DC's state given back when the paint ends.
struct PanelPaint {
    PanelPaint(CWnd* panel, COLORREF back) : dc(panel), saved(dc) {
        panel->GetClientRect(&client);
        dc.SelectStockObject(DEFAULT_GUI_FONT);
        dc.SetBkMode(TRANSPARENT);
        dc.FillSolidRect(&client, back);
    }
    CPaintDC dc;
    KivSaveDC saved;
    CRect client;
};

}  // namespace

// ---- Track list -----------------------------------------------------------------------

void KfxTrackListPanel::SetRows(std::vector<std::wstring> rows) {
    m_rows = std::move(rows);
    if (m_hWnd) Invalidate(TRUE);
}

void KfxTrackListPanel::SetChosen(int row) {
    m_chosen = row;
    if (m_hWnd) Invalidate(TRUE);
}

void KfxTrackListPanel::OnPaint() {
    PanelPaint paint(this, kListBack);
    CDC& dc = paint.dc;
    const CRect& client = paint.client;
    dc.SetTextColor(GetSysColor(COLOR_GRAYTEXT));
    DrawLine(dc, L"Tracks", CRect(kInset, 0, client.right, kRowHeight));
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const CRect row(0, static_cast<int>(i + 1) * kRowHeight, client.right, static_cast<int>(i + 2) * kRowHeight);
        const bool chosen = static_cast<int>(i) == m_chosen;
        if (chosen) dc.FillSolidRect(&row, GetSysColor(COLOR_HIGHLIGHT));
        dc.SetTextColor(GetSysColor(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        DrawLine(dc, m_rows[i], CRect(kInset, row.top, row.right - kInset, row.bottom));
    }
    dc.FillSolidRect(client.right - 1, 0, 1, client.bottom, GetSysColor(COLOR_BTNSHADOW));
}

void KfxTrackListPanel::OnLButtonDown(UINT, CPoint point) {
    const int row = point.y / kRowHeight - 1;
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    m_picked = row;
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), kTrackListPicked), reinterpret_cast<LPARAM>(m_hWnd));
}

// ---- Status line ----------------------------------------------------------------------

void KfxStatusLine::SetText(const std::wstring& text) {
    if (text == m_text) return;
    m_text = text;
    if (m_hWnd) Invalidate(FALSE);
}

void KfxStatusLine::OnPaint() {
    PanelPaint paint(this, kStatusBack);
    CDC& dc = paint.dc;
    const CRect& client = paint.client;
    dc.SetTextColor(kStatusText);
    DrawLine(dc, m_text, CRect(kInset, 0, client.right - kInset, client.bottom));
}

// ---- Help -----------------------------------------------------------------------------

void KfxHelpPanel::SetLines(std::vector<std::pair<std::wstring, std::wstring>> lines) {
    m_lines = std::move(lines);
    if (m_hWnd) Invalidate(TRUE);
}

void KfxHelpPanel::OnPaint() {
    PanelPaint paint(this, kHelpBack);
    CDC& dc = paint.dc;
    const CRect& client = paint.client;
    dc.Draw3dRect(&client, kHelpFrame, kHelpFrame);
    dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    int y = kInset;
    for (const auto& [key, what] : m_lines) {
        DrawLine(dc, key, CRect(2 * kInset, y, 2 * kInset + kHelpKeyColumn, y + kHelpLineHeight));
        DrawLine(dc, what, CRect(2 * kInset + kHelpKeyColumn, y, client.right - kInset, y + kHelpLineHeight));
        y += kHelpLineHeight;
    }
}

void KfxHelpPanel::OnLButtonDown(UINT, CPoint) { ShowWindow(SW_HIDE); }
