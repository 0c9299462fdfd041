#include "platform/ui/Screen.h"

#include <algorithm>

#include "platform/ui/GdiObjects.h"
#include "platform/ui/Png.h"
#include "platform/ui/Wnd.h"
#include "platform/ui/WndInternal.h"

namespace {

constexpr int kDefaultScreenWidth = 1024;
constexpr int kDefaultScreenHeight = 768;
// The classic desktop colour, shown wherever no window is.
constexpr COLORREF kDesktopColor = RGB(58, 110, 165);
// Mouse and key messages carry a repeat count of one in the low word of lParam.
constexpr LPARAM kSingleKeyPress = 1;

struct ScreenData {
    std::shared_ptr<KivSurface> surface;
    KivRegion desktopInvalid;
};

ScreenData& Data() {
    // Kept until exit, like the window system it belongs to.
    static ScreenData* data = [] {
        auto* d = new ScreenData();
        d->surface = std::make_shared<KivSurface>(kDefaultScreenWidth, kDefaultScreenHeight, KivPixelFromColor(kDesktopColor));
        return d;
    }();
    return *data;
}

void InvalidateWindowsIn(const std::vector<CWnd*>& windows, const CRect& area, CWnd* except) {
    for (CWnd* w : windows) {
        if (w == except || !(w->GetStyle() & WS_VISIBLE)) continue;
        CRect onScreen, part;
        w->GetWindowRect(&onScreen);
        if (part.IntersectRect(onScreen, area)) {
            w->ScreenToClient(&part);
            w->InvalidateRect(&part, TRUE);
            InvalidateWindowsIn(w->State()->children, area, except);
        }
    }
}

void PaintTree(HWND h) {
    CWnd* w = CWnd::FromHandle(h);
    if (!w) return;
    w->UpdateWindow();
    if (!IsWindow(h)) return;
    std::vector<HWND> children;
    for (CWnd* c : w->State()->children) children.push_back(c->m_hWnd);
    for (HWND c : children) PaintTree(c);
}

CWnd* DeepestAt(CWnd* w, CPoint screenPt) {
    const auto& children = w->State()->children;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CWnd* c = *it;
        if (!(c->GetStyle() & WS_VISIBLE) || !c->IsWindowEnabled()) continue;
        CRect r;
        c->GetWindowRect(&r);
        if (r.PtInRect(screenPt)) return DeepestAt(c, screenPt);
    }
    return w;
}

}  // namespace

std::shared_ptr<KivSurface> KivScreenSurface() { return Data().surface; }

CRect KivScreenBounds() { return CRect(0, 0, Data().surface->width, Data().surface->height); }

void KivInvalidateScreenArea(const CRect& area, CWnd* except) {
    CRect onScreen;
    if (!onScreen.IntersectRect(area, KivScreenBounds())) return;
    Data().desktopInvalid.Add(onScreen);
    InvalidateWindowsIn(KivWindows().topLevels, onScreen, except);
}

void KivPaintDesktop() {
    ScreenData& d = Data();
    if (d.desktopInvalid.IsEmpty()) return;
    KivRegion bare = d.desktopInvalid;
    for (CWnd* w : KivWindows().topLevels)
        if (w->GetStyle() & WS_VISIBLE) {
            CRect r;
            w->GetWindowRect(&r);
            bare.Subtract(r);
        }
    KivRaster raster(*d.surface, bare);
    raster.FillRect(KivScreenBounds(), KivPixelFromColor(kDesktopColor), R2_COPYPEN);
    d.desktopInvalid.Clear();
}

KivScreen::KivScreen() = default;

KivScreen& KivScreen::Get() {
    static KivScreen* screen = new KivScreen();  // kept until exit with the window system
    return *screen;
}

void KivScreen::Resize(int width, int height) {
    ScreenData& d = Data();
    *d.surface = KivSurface(std::clamp(width, 1, kMaxBitmapSide), std::clamp(height, 1, kMaxBitmapSide),
                            KivPixelFromColor(kDesktopColor));
    KivInvalidateScreenArea(KivScreenBounds(), nullptr);
}

int KivScreen::GetWidth() const { return Data().surface->width; }
int KivScreen::GetHeight() const { return Data().surface->height; }

COLORREF KivScreen::GetPixel(int x, int y) const {
    const KivSurface& s = *Data().surface;
    return s.Inside(x, y) ? KivColorFromPixel(s.At(x, y)) : CLR_INVALID;
}

const std::uint32_t* KivScreen::GetBits() const { return Data().surface->pixels.data(); }

BOOL KivScreen::SavePng(LPCWSTR path) const {
    const KivSurface& s = *Data().surface;
    return KivSavePng(path, s.width, s.height, s.pixels.data());
}

CWnd* KivScreen::WindowFromPoint(CPoint pt) const {
    const auto& tops = KivWindows().topLevels;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        CWnd* w = *it;
        if (!(w->GetStyle() & WS_VISIBLE)) continue;
        CRect r;
        w->GetWindowRect(&r);
        if (r.PtInRect(pt)) return DeepestAt(w, pt);
    }
    return nullptr;
}

void KivScreen::SendMouse(CPoint pt, UINT msg) {
    CWnd* target = CWnd::GetCapture();
    if (!target) {
        target = WindowFromPoint(pt);
        if (!target || !target->IsWindowEnabled()) return;
    }
    CPoint client = pt;
    target->ScreenToClient(&client);
    target->SendMessage(msg, m_buttons | m_modifiers, MAKELPARAM(client.x, client.y));
}

void KivScreen::MouseDown(CPoint pt, UINT button) {
    if (button != MK_LBUTTON && button != MK_RBUTTON) return;
    m_buttons |= button;
    SendMouse(pt, button == MK_LBUTTON ? WM_LBUTTONDOWN : WM_RBUTTONDOWN);
}

void KivScreen::MouseDoubleClick(CPoint pt, UINT button) {
    if (button != MK_LBUTTON && button != MK_RBUTTON) return;
    m_buttons |= button;
    SendMouse(pt, button == MK_LBUTTON ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK);
}

void KivScreen::MouseMove(CPoint pt) { SendMouse(pt, WM_MOUSEMOVE); }

void KivScreen::MouseUp(CPoint pt, UINT button) {
    if (button != MK_LBUTTON && button != MK_RBUTTON) return;
    m_buttons &= ~button;
    SendMouse(pt, button == MK_LBUTTON ? WM_LBUTTONUP : WM_RBUTTONUP);
}

void KivScreen::SetModifiers(UINT modifiers) { m_modifiers = modifiers & (MK_SHIFT | MK_CONTROL); }

void KivScreen::KeyDown(UINT vk) {
    CWnd* focus = CWnd::GetFocus();
    if (!focus) return;
    if (vk == VK_RETURN || vk == VK_ESCAPE) {
        CWnd* dialog = focus;
        while (dialog && !dialog->State()->isDialog) dialog = dialog->State()->parent;
        if (dialog && !(focus->SendMessage(WM_GETDLGCODE, vk, 0) & DLGC_WANTALLKEYS)) {
            dialog->SendMessage(WM_COMMAND, MAKEWPARAM(vk == VK_RETURN ? IDOK : IDCANCEL, BN_CLICKED), 0);
            return;
        }
    }
    focus->SendMessage(WM_KEYDOWN, vk, kSingleKeyPress);
}

void KivScreen::KeyUp(UINT vk) {
    if (CWnd* focus = CWnd::GetFocus()) focus->SendMessage(WM_KEYUP, vk, kSingleKeyPress);
}

void KivScreen::Char(UINT ch) {
    if (CWnd* focus = CWnd::GetFocus()) focus->SendMessage(WM_CHAR, ch, kSingleKeyPress);
}

void KivScreen::PaintAll() {
    KivPaintDesktop();
    std::vector<HWND> tops;
    for (CWnd* w : KivWindows().topLevels) tops.push_back(w->m_hWnd);
    for (HWND h : tops) PaintTree(h);
}
