#include "kivbase/gui/CKivAquaEdit.h"

#include <cmath>
#include <cwchar>
#include <string>

#include "kivbase/gui/KivGuiFont.h"
#include "platform/ui/DC.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Screen.h"

IMPLEMENT_DYNAMIC(CKivAquaEdit, CWnd)

namespace {

// Page keys move the value by this many steps.
constexpr double kPageSteps = 10.0;
// Room between the value box's edges and its text, in pixels.
constexpr int kTextPadding = 3;
// Values this large are shown as they are: rounding them to decimals gains nothing and
// the scaled product could leave the range of a double's exact integers.
constexpr double kRoundingLimit = 1e15;
// At most this many characters may be typed (any double fits).
constexpr int kMaxTypedLength = 32;

constexpr COLORREF kValueBack = RGB(255, 255, 255);
// A value on a keyframe is drawn on amber, as the host's timeline draws keyframes.
constexpr COLORREF kKeyFrameBack = RGB(255, 214, 120);
constexpr COLORREF kFocusFrame = RGB(0, 84, 227);
constexpr COLORREF kTypingText = RGB(0, 0, 160);

}  // namespace

AquaEdit_Describ KivAquaEditDescrib(LPCWSTR label, int id) {
    AquaEdit_Describ d{};
    d.lpszLabel = label;
    d.lpszUnit = nullptr;
    d.dStep = 1.0;
    d.dMax = 1000.0;
    d.dMin = -1000.0;
    d.dValue = 0.0;
    d.dDragScale = 1.0;
    d.nID = id;
    return d;
}

CKivAquaEdit::CKivAquaEdit() = default;

CKivAquaEdit::~CKivAquaEdit() {
    if (m_hWnd) DestroyWindow();
}

BOOL CKivAquaEdit::AutoCreate(CWnd* parent, const RECT& rect, const AquaEdit_Describ& describ) {
    return CreateFromDescrib(parent, rect, describ);
}

BOOL CKivAquaEdit::CreateNormalEdit(CWnd* parent, UINT id, AquaEdit_Precision_Type precision) {
    CWnd* placeholder = parent && parent->m_hWnd ? parent->GetDlgItem(static_cast<int>(id)) : nullptr;
    if (!placeholder) return FALSE;
    // The placeholder's text names the value: it becomes the label.
    CString label;
    placeholder->GetWindowText(label);
    label.Trim();
    AquaEdit_Describ d = KivAquaEditDescrib(label.IsEmpty() ? nullptr : label.GetString(), static_cast<int>(id));
    d.ePrecision = precision;
    return CreateOverControl(parent, d);
}

BOOL CKivAquaEdit::CreateOverControl(CWnd* parent, const AquaEdit_Describ& d) {
    if (!parent || !parent->m_hWnd || m_hWnd) return FALSE;
    CRect r;
    CWnd* placeholder = d.nID != 0 ? parent->GetDlgItem(d.nID) : nullptr;
    if (placeholder) {
        placeholder->GetWindowRect(&r);
        parent->ScreenToClient(&r);
    }
    // The edit is made first with another id, so a failure leaves the placeholder; then the
    // placeholder goes and the edit takes over its id, so that GetDlgItem finds the edit.
    AquaEdit_Describ unplaced = d;
    unplaced.nID = 0;
    if (!CreateFromDescrib(parent, r, unplaced)) return FALSE;
    if (placeholder) placeholder->DestroyWindow();
    SetDlgCtrlID(d.nID);
    return TRUE;
}

BOOL CKivAquaEdit::CreateFromDescrib(CWnd* parent, const RECT& rect, const AquaEdit_Describ& d) {
    if (!parent || !parent->m_hWnd || m_hWnd) return FALSE;
    m_label = d.lpszLabel ? CString(d.lpszLabel) : CString();
    m_unit = d.lpszUnit ? CString(d.lpszUnit) : CString();
    m_step = std::isfinite(d.dStep) && d.dStep > 0.0 ? d.dStep : 1.0;
    m_dragScale = std::isfinite(d.dDragScale) && d.dDragScale > 0.0 ? d.dDragScale : m_step;
    m_precision = d.ePrecision >= AquaEdit_Precision_0 && d.ePrecision <= AquaEdit_Precision_3 ? d.ePrecision
                                                                                               : AquaEdit_Precision_0;
    m_min = -1000.0;
    m_max = 1000.0;
    SetRange(d.dMin, d.dMax);
    m_value = std::isnan(d.dValue) ? Conform(0.0) : Conform(d.dValue);
    if (!CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect, parent, static_cast<UINT>(d.nID)))
        return FALSE;
    SetFont(parent->GetFont(), FALSE);
    return TRUE;
}

double CKivAquaEdit::Conform(double value) const {
    if (value < m_min) value = m_min;
    if (value > m_max) value = m_max;
    return value;
}

void CKivAquaEdit::SetRange(double minValue, double maxValue) {
    if (std::isnan(minValue) || std::isnan(maxValue)) return;
    if (minValue > maxValue) std::swap(minValue, maxValue);
    m_min = minValue;
    m_max = maxValue;
    m_value = Conform(m_value);
    Redraw();
}

void CKivAquaEdit::SetValue(double value, int notify) {
    if (std::isnan(value)) return;
    const double v = Conform(value);
    const bool changed = v != m_value;
    m_value = v;
    Redraw();
    if (notify && changed) {
        Notify(CEN_VALUE_CHANGING);
        Notify(CEN_VALUE_CHANGED);
    }
}

void CKivAquaEdit::SetValueState(CE_VALUE_STATE state) {
    if (state == m_state) return;
    m_state = state;
    Redraw();
}

CString CKivAquaEdit::GetDisplayText() const {
    if (m_typing) return m_typed;
    double v = m_value;
    if (v == 0.0) v = 0.0;  // no "-0"
    CString text;
    text.Format(L"%.*f", static_cast<int>(m_precision), v);
    if (text.GetLength() > 1 && text.GetString()[0] == L'-' && std::wcstod(text.GetString(), nullptr) == 0.0)
        text = CString(text.GetString() + 1);  // a tiny negative value rounds to "0", not "-0"
    return text;
}

bool CKivAquaEdit::ChangeByPerson(double value) {
    double v = Conform(value);
    if (std::fabs(v) < kRoundingLimit) {
        const double scale = std::pow(10.0, static_cast<int>(m_precision));
        v = Conform(std::round(v * scale) / scale);
    }
    if (v == m_value) return false;
    m_value = v;
    Redraw();
    Notify(CEN_VALUE_CHANGING);
    return true;
}

void CKivAquaEdit::StepBy(double steps) {
    if (ChangeByPerson(m_value + steps * m_step)) Notify(CEN_VALUE_CHANGED);
}

void CKivAquaEdit::Notify(UINT code) {
    if (!m_hWnd) return;
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), static_cast<int>(code)), reinterpret_cast<LPARAM>(m_hWnd));
}

void CKivAquaEdit::Redraw() {
    if (m_hWnd) Invalidate(FALSE);
}

CRect CKivAquaEdit::ValueBox() const {
    CRect client;
    GetClientRect(&client);
    CClientDC measure(const_cast<CKivAquaEdit*>(this));
    KivSelectObject font(measure, KivGuiFontOf(*this));
    if (!m_label.IsEmpty()) client.left += measure.GetTextExtent(m_label).cx + kTextPadding;
    if (!m_unit.IsEmpty()) client.right -= measure.GetTextExtent(m_unit).cx + kTextPadding;
    if (client.right < client.left) client.right = client.left;
    return client;
}

void CKivAquaEdit::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    KivSaveDC saved(dc);
    dc.SelectObject(KivGuiFontOf(*this).m_hObject);
    dc.SetBkMode(TRANSPARENT);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));

    const CRect box = ValueBox();
    dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
    if (!m_label.IsEmpty()) {
        CRect r(client.left, client.top, box.left, client.bottom);
        dc.DrawText(m_label, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (!m_unit.IsEmpty()) {
        CRect r(box.right + kTextPadding, client.top, client.right, client.bottom);
        dc.DrawText(m_unit, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    dc.FillSolidRect(&box, m_state == CE_VALUE_KEYFRAME ? kKeyFrameBack : kValueBack);
    if (m_focused)
        dc.Draw3dRect(&box, kFocusFrame, kFocusFrame);
    else
        dc.Draw3dRect(&box, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    CRect text(box);
    text.DeflateRect(kTextPadding, 0);
    dc.SetTextColor(m_typing ? kTypingText : GetSysColor(COLOR_WINDOWTEXT));
    dc.DrawText(GetDisplayText(), &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void CKivAquaEdit::OnLButtonDown(UINT, CPoint point) {
    if (m_typing) CommitTyping();
    SetFocus();
    m_dragging = true;
    m_dragStartY = point.y;
    m_dragStartValue = m_value;
    SetCapture();
}

void CKivAquaEdit::OnMouseMove(UINT, CPoint point) {
    if (!m_dragging) return;
    // Up is more: one drag scale per pixel from where the button went down.
    ChangeByPerson(m_dragStartValue + static_cast<double>(m_dragStartY - point.y) * m_dragScale);
}

void CKivAquaEdit::OnLButtonUp(UINT, CPoint) {
    if (!m_dragging) return;
    EndDragChange();
    ReleaseCapture();
}

void CKivAquaEdit::OnCaptureChanged(CWnd*) {
    // The capture went elsewhere in the middle of a drag: the change ends where it is.
    if (m_dragging) EndDragChange();
}

void CKivAquaEdit::EndDragChange() {
    m_dragging = false;
    if (m_value != m_dragStartValue) Notify(CEN_VALUE_CHANGED);
}

void CKivAquaEdit::OnKeyDown(UINT ch, UINT, UINT) {
    if (m_typing) {
        if (ch == VK_RETURN) CommitTyping();
        if (ch == VK_ESCAPE) CancelTyping();
        if (ch == VK_BACK && !m_typed.IsEmpty()) {
            m_typed = CString(std::wstring(m_typed.GetString(), static_cast<size_t>(m_typed.GetLength() - 1)).c_str());
            Redraw();
        }
        return;
    }
    switch (ch) {
        case VK_UP: StepBy(1.0); break;
        case VK_DOWN: StepBy(-1.0); break;
        case VK_PRIOR: StepBy(kPageSteps); break;
        case VK_NEXT: StepBy(-kPageSteps); break;
        case VK_HOME:
            if (ChangeByPerson(m_min)) Notify(CEN_VALUE_CHANGED);
            break;
        case VK_END:
            if (ChangeByPerson(m_max)) Notify(CEN_VALUE_CHANGED);
            break;
        default: break;
    }
}

void CKivAquaEdit::OnChar(UINT ch, UINT, UINT) {
    const bool numeric = (ch >= L'0' && ch <= L'9') || ch == L'.' || ch == L'-' || ch == L'+' || ch == L'e' || ch == L'E';
    if (!numeric || m_typed.GetLength() >= kMaxTypedLength) return;
    if (!m_typing) {
        m_typing = true;
        m_typed = CString();
    }
    const wchar_t add[2] = {static_cast<wchar_t>(ch), 0};
    m_typed = m_typed + CString(add);
    Redraw();
}

void CKivAquaEdit::CommitTyping() {
    if (!m_typing) return;
    const CString typed = m_typed;
    CancelTyping();
    wchar_t* end = nullptr;
    const double v = std::wcstod(typed.GetString(), &end);
    // Text that is not wholly a number changes nothing.
    if (typed.IsEmpty() || !end || *end != 0 || std::isnan(v)) return;
    if (!ChangeByPerson(v)) return;
    Notify(DEN_VALUE_ENTERED);
    Notify(CEN_VALUE_CHANGED);
}

void CKivAquaEdit::CancelTyping() {
    m_typing = false;
    m_typed = CString();
    Redraw();
}

void CKivAquaEdit::OnSetFocus(CWnd*) {
    m_focused = true;
    Redraw();
}

void CKivAquaEdit::OnKillFocus(CWnd*) {
    m_focused = false;
    CommitTyping();
    Redraw();
}

LRESULT CKivAquaEdit::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // While text is typed, Enter and Escape finish or drop it instead of closing the dialog.
    if (msg == WM_GETDLGCODE) return m_typing ? DLGC_WANTALLKEYS : 0;
    return CWnd::WindowProc(msg, wParam, lParam);
}
