// The colour dialog's state, creation, layout, surfaces' set-up, the edits and the message
// to the parent. Drawing is in CKivFXClr32KeyFrmDlgPaint.cpp, the mouse in
// CKivFXClr32KeyFrmDlgDrag.cpp.
#include "keyfrm/editors/CKivFXClr32KeyFrmDlg.h"

#include <algorithm>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/core/KivFXKeyFrmModule.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/tracks/CKivFXColor32KeyFrmList.h"
#include "platform/ui/WeakWnd.h"

IMPLEMENT_DYNCREATE(CKivFXClr32KeyFrmDlg, CKivAquaBaseDlg)

namespace {

// The edits' range: one channel byte.
constexpr double kChannelMin = 0.0;
constexpr double kChannelMax = 255.0;
constexpr int kEditCount = 4;

// The surfaces in Surface order, by the control that gives each its place.
constexpr std::array<int, 5> kSurfaceIds = {IDC_CLR_PIC, IDC_CLR_LUMINANCE, IDC_CLR_ALPHA, IDC_CLR_RGB_BAR,
                                            IDC_CLR_ALPHA_BAR};

// The build-editor layout, in pixels from the client's edges (L, T, R, B) and from A, the
// alpha strip's right edge.
constexpr int kMargin = 10;         // client edges to the field, the bars and the preview
constexpr int kBelowField = 75;     // client height the square field leaves for what is below it
constexpr int kStripWidth = 20;     // luminance and alpha strips
constexpr int kLumGap = 5;          // field's right edge to the luminance strip
constexpr int kAlphaGap = 30;       // field's right edge to the alpha strip
constexpr int kRightReach = 95;     // the bars and edits end at most this far right of A
constexpr int kPreviewLeft = 20;    // A to the preview
constexpr int kPreviewRight = 90;   // A to the preview's right edge at most
constexpr int kPreviewBottom = 30;  // client top to the preview's bottom
constexpr int kEditLeft = 15;       // A to the edits
constexpr int kEditHeight = 23;
constexpr int kFirstEditTop = 153;  // client bottom to the red edit's top; the others follow
constexpr int kColourBarTop = 60;   // client bottom to the colour bar's top
constexpr int kBarHeight = 20;
constexpr int kAlphaBarTop = 30;    // client bottom to the alpha bar's top

// A rectangle whose right and bottom never pass its left and top: tiny clients give empty
// areas instead of inverted ones.
CRect Ordered(int l, int t, int r, int b) { return CRect(l, t, std::max(l, r), std::max(t, b)); }

// Sets the framework's resource module for a scope.
class ResourceScope {
public:
    explicit ResourceScope(HINSTANCE module) : m_previous(AfxGetResourceHandle()) { AfxSetResourceHandle(module); }
    ~ResourceScope() { AfxSetResourceHandle(m_previous); }
    ResourceScope(const ResourceScope&) = delete;
    ResourceScope& operator=(const ResourceScope&) = delete;

private:
    HINSTANCE m_previous;
};

BYTE ToChannel(double v) { return static_cast<BYTE>(std::clamp(v, kChannelMin, kChannelMax)); }

}  // namespace

CKivFXClr32KeyFrmDlg::CKivFXClr32KeyFrmDlg(CWnd* parent) : CKivAquaBaseDlg(IDD_CLR_KEYFRM_DLG, parent) {}

CKivFXClr32KeyFrmDlg::CKivFXClr32KeyFrmDlg(CKivFXColor32KeyFrmList* track, CWnd* parent)
    : CKivAquaBaseDlg(IDD_CLR_KEYFRM_DLG, parent), m_pClrList(track), m_dCurLocation(0.5) {}

CKivFXClr32KeyFrmDlg::~CKivFXClr32KeyFrmDlg() {
    // While the edits and surfaces still exist: the window's end may reach them.
    if (m_hWnd) DestroyWindow();
}

int CKivFXClr32KeyFrmDlg::Create(CWnd* parent) { return DlgCreate(KivFXKeyFrmGetModuleHandle(), parent, IDD_CLR_KEYFRM_DLG); }

void CKivFXClr32KeyFrmDlg::DoDataExchange(CDataExchange*) {}

void CKivFXClr32KeyFrmDlg::OnOK() {}

void CKivFXClr32KeyFrmDlg::OnCancel() {}

BOOL CKivFXClr32KeyFrmDlg::OnInitDialog() {
    m_autoMaker.AutoMake(this);
    CKivAquaBaseDlg::OnInitDialog();
    CreateActive();
    // The edits start on the track's colour at the current location, so that finishing a
    // strip drag never writes the edits' initial white over a keyframe's colour.
    if (m_pClrList) {
        TakeTrackColor();
        UpCurLumForRGB();
        UpAquaEditState();
    }
    RedrawSurfaces();
    m_bInitialized = TRUE;
    return TRUE;
}

int CKivFXClr32KeyFrmDlg::CreateActive() {
    const ResourceScope resources(KivFXKeyFrmGetModuleHandle());
    int made = 1;
    for (int i = 0; i < kEditCount; ++i) {
        CKivAquaEdit& edit = m_edits[static_cast<size_t>(i)];
        if (!edit.CreateNormalEdit(this, static_cast<UINT>(IDC_CLR_RED + i), AquaEdit_Precision_0)) {
            made = 0;
            continue;
        }
        edit.SetRange(kChannelMin, kChannelMax);
        edit.SetValue(kChannelMax, 0);
    }
    return made;
}

CKivAquaEdit* CKivFXClr32KeyFrmDlg::Edit(int index) {
    CKivAquaEdit& e = m_edits[static_cast<size_t>(index)];
    return e.m_hWnd ? &e : nullptr;
}

const CKivAquaEdit* CKivFXClr32KeyFrmDlg::Edit(int index) const {
    const CKivAquaEdit& e = m_edits[static_cast<size_t>(index)];
    return e.m_hWnd ? &e : nullptr;
}

CKivAquaEdit* CKivFXClr32KeyFrmDlg::GetAquaEdit(int id) {
    if (id < IDC_CLR_RED || id > IDC_CLR_ALPHA_EDIT) return nullptr;
    return Edit(id - IDC_CLR_RED);
}

CRect CKivFXClr32KeyFrmDlg::GetAreaRect(int id) const {
    if (id == IDC_CLR_SHOW) return m_rcColorShow;
    for (size_t i = 0; i < kSurfaceIds.size(); ++i)
        if (kSurfaceIds[i] == id) return m_surfaces[i].area;
    return CRect();
}

// ---- Layout and surfaces -------------------------------------------------------------

void CKivFXClr32KeyFrmDlg::BuildEditorLayot() {
    if (!m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    const int L = client.left, T = client.top, R = client.right, B = client.bottom;
    const int S = std::max(0, B - T - kBelowField);
    const int A = L + kMargin + S + kAlphaGap + kStripWidth;
    const int E = std::min(R - kMargin, A + kRightReach);
    auto place = [this](int id, const CRect& r) {
        if (CWnd* c = GetDlgItem(id)) c->MoveWindow(&r, TRUE);
    };
    place(IDC_CLR_PIC, Ordered(L + kMargin, T + kMargin, L + kMargin + S, T + kMargin + S));
    const int lumLeft = L + kMargin + S + kLumGap;
    place(IDC_CLR_LUMINANCE, Ordered(lumLeft, T + kMargin, lumLeft + kStripWidth, T + kMargin + S));
    place(IDC_CLR_ALPHA, Ordered(A - kStripWidth, T + kMargin, A, T + kMargin + S));
    place(IDC_CLR_RGB_BAR, Ordered(L + kMargin, B - kColourBarTop, E, B - kColourBarTop + kBarHeight));
    place(IDC_CLR_ALPHA_BAR, Ordered(L + kMargin, B - kAlphaBarTop, E, B - kAlphaBarTop + kBarHeight));
    place(IDC_CLR_SHOW, Ordered(A + kPreviewLeft, T + kMargin, std::min(R - kMargin, A + kPreviewRight), T + kPreviewBottom));
    for (int i = 0; i < kEditCount; ++i) {
        const int top = B - kFirstEditTop + i * kEditHeight;
        place(IDC_CLR_RED + i, Ordered(A + kEditLeft, top, E, top + kEditHeight));
    }
    RedrawSurfaces();
    Invalidate(TRUE);
}

void CKivFXClr32KeyFrmDlg::OnSize(UINT, int, int) {
    Default();
    if (m_bInitialized && m_bBuildEditor) BuildEditorLayot();
}

int CKivFXClr32KeyFrmDlg::CreateDrawDC() {
    auto areaOf = [this](int id) {
        CRect r;
        if (CWnd* c = GetDlgItem(id)) {
            c->GetWindowRect(&r);
            ScreenToClient(&r);
        }
        return r;
    };
    for (size_t i = 0; i < m_surfaces.size(); ++i) InitDC(&m_surfaces[i].dc, areaOf(kSurfaceIds[i]));
    m_rcColorShow = areaOf(IDC_CLR_SHOW);
    // Between the bars, one pixel clear of each.
    const CRect& bar = m_surfaces[kSurfClrBar].area;
    const CRect& alphaBar = m_surfaces[kSurfAlphaBar].area;
    m_rcKeyFrmStrip = Ordered(bar.left, bar.bottom + 1, bar.right, alphaBar.top - 1);
    return 1;
}

void CKivFXClr32KeyFrmDlg::InitDC(CDC* surface, CRect area) {
    const auto it = std::find_if(m_surfaces.begin(), m_surfaces.end(), [surface](const MemSurface& s) { return &s.dc == surface; });
    if (it == m_surfaces.end()) return;
    MemSurface& s = *it;
    s.dc.DeleteDC();
    s.bitmap.DeleteObject();
    s.area = area;
    CClientDC screen(this);
    s.dc.CreateCompatibleDC(&screen);
    if (area.Width() > 0 && area.Height() > 0 && s.bitmap.CreateCompatibleBitmap(&screen, area.Width(), area.Height()))
        s.dc.SelectObject(&s.bitmap);
}

void CKivFXClr32KeyFrmDlg::ShowSurface(Surface s) {
    const CRect area = m_surfaces[s].area;
    if (m_hWnd) InvalidateRect(&area, FALSE);
}

void CKivFXClr32KeyFrmDlg::ShowColorShow() {
    if (m_hWnd) InvalidateRect(&m_rcColorShow, FALSE);
}

void CKivFXClr32KeyFrmDlg::RefurbishWindow() {
    if (!m_hWnd) return;
    DrawFXClrRGBDC();
    DrawFXClrADC();
    ShowColorShow();
    InvalidateStrip(m_rcKeyFrmStrip.left, m_rcKeyFrmStrip.right);
    UpdateWindow();
}

// ---- The edits -----------------------------------------------------------------------

tagCOLOR32 CKivFXClr32KeyFrmDlg::EditColor() const {
    BYTE v[kEditCount] = {255, 255, 255, 255};
    for (int i = 0; i < kEditCount; ++i)
        if (const CKivAquaEdit* e = Edit(i)) v[i] = ToChannel(e->GetValue());
    return {v[2], v[1], v[0], v[3]};
}

void CKivFXClr32KeyFrmDlg::SetEditColor(BYTE r, BYTE g, BYTE b) {
    const BYTE v[] = {r, g, b};
    for (int i = 0; i < 3; ++i)
        if (CKivAquaEdit* e = Edit(i)) e->SetValue(v[i], 0);
}

void CKivFXClr32KeyFrmDlg::SetEditColor(tagCOLOR32 c) {
    SetEditColor(c.red, c.green, c.blue);
    if (CKivAquaEdit* e = Edit(3)) e->SetValue(c.alpha, 0);
}

void CKivFXClr32KeyFrmDlg::WriteEditColor() {
    if (!m_pClrList) return;
    const tagCOLOR32 c = EditColor();
    m_pClrList->SendKeyFrmValue(m_dCurLocation, c.red, c.green, c.blue, c.alpha);
}

void CKivFXClr32KeyFrmDlg::TakeTrackColor() {
    if (!m_pClrList) return;
    tagCOLOR32 c{};
    m_pClrList->InsValue(m_dCurLocation, c.red, c.green, c.blue, c.alpha);
    SetEditColor(c);
}

void CKivFXClr32KeyFrmDlg::UpCurLumForRGB() {
    const tagCOLOR32 c = EditColor();
    const tagCOLORHLSA hls = KivPublicRGBA2HLSA({c.blue, c.green, c.red, 255});
    m_cCurHue = hls.hue;
    m_cCurLum = hls.luminance;
    m_cCurSat = hls.saturation;
}

void CKivFXClr32KeyFrmDlg::UpCurRGBForLum(BYTE& r, BYTE& g, BYTE& b) {
    const tagCOLOR32 c = KivPublicHLSA2RGBA({m_cCurHue, m_cCurLum, m_cCurSat, 255});
    r = c.red;
    g = c.green;
    b = c.blue;
}

void CKivFXClr32KeyFrmDlg::UpAquaEditState() {
    if (!m_pClrList) return;
    const bool onKey = KivFXKeyFrmIsPoint(m_dCurLocation, m_pClrList) != 0;
    for (int i = 0; i < kEditCount; ++i)
        if (CKivAquaEdit* e = Edit(i)) e->SetValueState(onKey ? CKivAquaEdit::CE_VALUE_KEYFRAME : CKivAquaEdit::CE_VALUE_NORMAL);
}

void CKivFXClr32KeyFrmDlg::ModifyAquaEdit(int id) {
    if (id >= IDC_CLR_RED && id <= IDC_CLR_BLUE) ShowColorShow();
}

void CKivFXClr32KeyFrmDlg::EndModifyAquaEdit(int id) {
    if (id < IDC_CLR_RED || id > IDC_CLR_ALPHA_EDIT) return;
    // Without a track nothing is written; the strips and the preview still follow the edits.
    WriteEditColor();
    if (id == IDC_CLR_ALPHA_EDIT) {
        DrawAlphaDC();
    } else {
        UpCurLumForRGB();
        DrawLuminanceDC();
    }
    DrawFXClrRGBDC();
    DrawFXClrADC();
    ShowColorShow();
    UpAquaEditState();
    // A keyframe may have been made at the current location.
    InvalidateStrip(m_rcKeyFrmStrip.left, m_rcKeyFrmStrip.right);
    UpdateWindow();
}

BOOL CKivFXClr32KeyFrmDlg::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    const int control = static_cast<int>(id);
    if (!extra && control >= IDC_CLR_RED && control <= IDC_CLR_ALPHA_EDIT) {
        if (static_cast<UINT>(code) == CEN_VALUE_CHANGING) {
            ModifyAquaEdit(control);
            return TRUE;
        }
        if (static_cast<UINT>(code) == CEN_VALUE_CHANGED) {
            EndModifyAquaEdit(control);
            SendToModifyMsg(1, 0);
            return TRUE;
        }
    }
    return CKivAquaBaseDlg::OnCmdMsg(id, code, extra, handlerInfo);
}

// ---- Track and parent ------------------------------------------------------------------

void CKivFXClr32KeyFrmDlg::SetFXClrList(CKivFXColor32KeyFrmList* track) {
    CancelDrag();
    m_pClrList = track;
    if (m_bInitialized && track) {
        TakeTrackColor();
        UpCurLumForRGB();
        UpAquaEditState();
    }
}

bool CKivFXClr32KeyFrmDlg::SendToModifyMsg(int trackChanged, int frameChanged) {
    if (!m_hWnd) return false;
    CWnd* parent = GetParent();
    const UINT msg = KivFXEditorMessages().modifyFromClrKFDlg;
    if (!m_pClrList || !parent || msg == 0) return true;
    const KivWeakWnd alive(*this);
    parent->SendMessage(msg, static_cast<WPARAM>(trackChanged), static_cast<LPARAM>(frameChanged));
    return alive.Alive();
}
