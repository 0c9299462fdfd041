#include "platform/ui/Dialog.h"

#include <cmath>
#include <cstdint>

#include "platform/ui/WndClass.h"
#include "platform/ui/WndInternal.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

// Dialog units: a quarter of the average character width, an eighth of its height.
constexpr int kDluPerCharWidth = 4;
constexpr int kDluPerCharHeight = 8;
// Template point sizes become pixels at 72 points per inch.
constexpr int kPointsPerInch = 72;
// Without DS_SETFONT dialogs use the old system's dialog font, 8 points.
constexpr WORD kDefaultDialogPoints = 8;
constexpr const wchar_t* kDefaultDialogFace = L"MS Shell Dlg";

}  // namespace

CSize KivDialogBaseUnits(const KivFontInstance& font) {
    static const wchar_t* const kAlphabet = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    // The width of both alphabets over 26, halved with rounding up: the old system's
    // average character width for dialogs.
    const int cx = font.TextWidth(kAlphabet);
    return CSize((cx / 26 + 1) / 2, font.Metrics().tmHeight);
}

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    if (m_hWnd) DestroyWindow();
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) { return Create(nullptr, templateId, parent); }

BOOL CDialog::Create(HINSTANCE module, UINT templateId, CWnd* parent) {
    m_nIDTemplate = templateId;
    const std::optional<KivDialogTemplate> tmpl = KivFindDialog(module, templateId);
    if (!tmpl) return FALSE;
    return CreateIndirect(*tmpl, parent ? parent : m_pParentWnd);
}

void CDialog::MapDialogRect(LPRECT rect) const {
    if (!rect) return;
    rect->left = MulDiv(rect->left, m_baseUnits.cx, kDluPerCharWidth);
    rect->right = MulDiv(rect->right, m_baseUnits.cx, kDluPerCharWidth);
    rect->top = MulDiv(rect->top, m_baseUnits.cy, kDluPerCharHeight);
    rect->bottom = MulDiv(rect->bottom, m_baseUnits.cy, kDluPerCharHeight);
}

BOOL CDialog::CreateIndirect(const KivDialogTemplate& tmpl, CWnd* parent) {
    if (m_hWnd) return FALSE;
    const bool setFont = (tmpl.style & DS_SETFONT) != 0;
    const WORD points = setFont ? tmpl.pointSize : kDefaultDialogPoints;
    const CString face = setFont ? tmpl.faceName : CString(kDefaultDialogFace);
    m_font = std::make_unique<CFont>();
    const LOGFONTW lf = KivMakeLogFont(face, -MulDiv(points, kScreenPixelsPerInch, kPointsPerInch));
    m_font->CreateFontIndirect(&lf);
    m_baseUnits = KivDialogBaseUnits(*m_font->Instance());

    CRect rect(tmpl.x, tmpl.y, tmpl.x + tmpl.cx, tmpl.y + tmpl.cy);
    MapDialogRect(&rect);
    if (!(tmpl.style & WS_CHILD) && parent) {
        // A popup dialog is placed relative to its owner's client area.
        CPoint origin;
        parent->ClientToScreen(&origin);
        rect.OffsetRect(origin.x, origin.y);
    }
    m_pParentWnd = parent;
    if (!CreateEx(tmpl.exStyle, kDialogClassName, tmpl.caption, tmpl.style & ~WS_VISIBLE, rect, parent, 0)) return FALSE;
    const HWND self = m_hWnd;
    State()->isDialog = true;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*m_font)), FALSE);

    m_controls.clear();
    for (const KivDialogItemTemplate& item : tmpl.items) {
        CRect r(item.x, item.y, item.x + item.cx, item.y + item.cy);
        MapDialogRect(&r);
        auto control = std::make_unique<CWnd>();
        if (!IsWindow(self) ||
            !control->CreateEx(item.exStyle, item.className, item.text, item.style | WS_CHILD, r, this, item.id)) {
            if (IsWindow(self)) DestroyWindow();
            return FALSE;
        }
        control->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*m_font)), FALSE);
        m_controls.push_back(std::move(control));
    }
    if (!IsWindow(self)) return FALSE;
    CWnd* firstTab = nullptr;
    for (const auto& c : m_controls)
        if (c->m_hWnd && (c->GetStyle() & WS_TABSTOP) && (c->GetStyle() & WS_VISIBLE) && c->IsWindowEnabled()) {
            firstTab = c.get();
            break;
        }
    const LRESULT setFocus = SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTab ? firstTab->m_hWnd : nullptr), 0);
    if (!IsWindow(self)) return FALSE;
    if (setFocus && firstTab && firstTab->m_hWnd) firstTab->SetFocus();
    if (tmpl.style & WS_VISIBLE) ShowWindow(SW_SHOW);
    return IsWindow(self);
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) return OnInitDialog();
    return CWnd::WindowProc(msg, wParam, lParam);
}

BOOL CDialog::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo)) return TRUE;
    if (code != CN_COMMAND || extra) return FALSE;
    if (id == IDOK) {
        OnOK();
        return TRUE;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result) {
    m_result = result;
    ShowWindow(SW_HIDE);
}

INT_PTR CDialog::DoModal() { return -1; }
