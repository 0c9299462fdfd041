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
// A presenter sends each changed rectangle as a request of its own; past this many pieces
// one bounding rectangle costs less, and keeping the region small keeps adding to it cheap.
constexpr size_t kMaxChangedRects = 256;

struct ScreenData {
    std::shared_ptr<KivSurface> surface;
    KivRegion desktopInvalid;
    KivRegion changed;  // what DCs on the screen may have drawn since it was last taken
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

// Gives the window input is meant for, and its parents after it, a look first; true when
// one of them kept the message or the window is gone by then.
bool PreTranslated(CWnd* target, UINT msg, WPARAM wParam, LPARAM lParam, CPoint screenPt) {
    MSG m{target->m_hWnd, msg, wParam, lParam, 0, POINT{screenPt.x, screenPt.y}};
    for (HWND h = target->m_hWnd; h;) {
        CWnd* w = CWnd::FromHandle(h);
        if (!w) break;
        if (w->PreTranslateMessage(&m)) return true;
        if (!IsWindow(h)) break;
        CWnd* parent = w->State()->parent;
        h = parent ? parent->m_hWnd : nullptr;
    }
    return !IsWindow(m.hwnd);
}

// Sends input to a window unless it or a parent keeps it in PreTranslateMessage.
void SendInput(CWnd* target, UINT msg, WPARAM wParam, LPARAM lParam, CPoint screenPt) {
    if (PreTranslated(target, msg, wParam, lParam, screenPt)) return;
    target->SendMessage(msg, wParam, lParam);
}

UINT ModifierOfKey(UINT vk) {
    if (vk == VK_SHIFT) return MK_SHIFT;
    if (vk == VK_CONTROL) return MK_CONTROL;
    return 0;
}

}  // namespace

std::shared_ptr<KivSurface> KivScreenSurface() { return Data().surface; }

void KivNoteScreenChange(const CRect& area) {
    KivRegion& changed = Data().changed;
    changed.Add(area);
    if (changed.Rects().size() > kMaxChangedRects) changed = KivRegion(changed.Bounds());
}

void KivNoteScreenChange(const KivRegion& area) {
    for (const CRect& r : area.Rects()) KivNoteScreenChange(r);
}

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
    KivNoteScreenChange(bare);
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
    d.changed = KivRegion(KivScreenBounds());
    const CRect all = KivScreenBounds();
    for (CWnd* w : std::vector<CWnd*>(KivWindows().topLevels))
        if (IsWindow(w->m_hWnd) && (w->GetStyle() & WS_MAXIMIZE)) w->MoveWindow(&all, FALSE);
    KivInvalidateScreenArea(all, nullptr);
}

CRect KivScreen::TakeChangedArea() {
    CRect changed;
    changed.IntersectRect(Data().changed.Bounds(), KivScreenBounds());
    Data().changed.Clear();
    return changed;
}

std::vector<CRect> KivScreen::TakeChangedRects() {
    KivRegion& changed = Data().changed;
    changed.Intersect(KivScreenBounds());
    std::vector<CRect> rects = changed.Rects();
    changed.Clear();
    return rects;
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

CWnd* KivScreen::GetTopWindow() const {
    const auto& tops = KivWindows().topLevels;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if ((*it)->GetStyle() & WS_VISIBLE) return *it;
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
    SendInput(target, msg, m_buttons | m_modifiers, MAKELPARAM(client.x, client.y), pt);
}

void KivScreen::MouseDown(CPoint pt, UINT button) {
    if (button != MK_LBUTTON && button != MK_RBUTTON && button != MK_MBUTTON) return;
    m_buttons |= button;
    SendMouse(pt, button == MK_LBUTTON ? WM_LBUTTONDOWN : button == MK_RBUTTON ? WM_RBUTTONDOWN : WM_MBUTTONDOWN);
}

void KivScreen::MouseWheel(CPoint pt, int delta) {
    CWnd* target = WindowFromPoint(pt);
    if (!target || !target->IsWindowEnabled() || delta == 0) return;
    const int turned = std::clamp(delta, -32768, 32767);
    const WPARAM wParam = MAKEWPARAM(m_buttons | m_modifiers, static_cast<WORD>(static_cast<short>(turned)));
    SendInput(target, WM_MOUSEWHEEL, wParam, MAKELPARAM(pt.x, pt.y), pt);
}

KivCursor KivScreen::CursorAt(CPoint pt) const {
    CWnd* const under = WindowFromPoint(pt);
    for (CWnd* w = under; w; w = w->GetParent()) {
        const LRESULT asked = w->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(under->m_hWnd), MAKELPARAM(pt.x, pt.y));
        if (asked > 0 && asked <= static_cast<LRESULT>(KivCursor::text)) return static_cast<KivCursor>(asked);
    }
    return KivCursor::arrow;
}

void KivScreen::MouseDoubleClick(CPoint pt, UINT button) {
    if (button != MK_LBUTTON && button != MK_RBUTTON) return;
    m_buttons |= button;
    SendMouse(pt, button == MK_LBUTTON ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK);
}

void KivScreen::MouseMove(CPoint pt) { SendMouse(pt, WM_MOUSEMOVE); }

void KivScreen::MouseUp(CPoint pt, UINT button) {
    if (button != MK_LBUTTON && button != MK_RBUTTON && button != MK_MBUTTON) return;
    m_buttons &= ~button;
    SendMouse(pt, button == MK_LBUTTON ? WM_LBUTTONUP : button == MK_RBUTTON ? WM_RBUTTONUP : WM_MBUTTONUP);
}

void KivScreen::SetModifiers(UINT modifiers) { m_modifiers = modifiers & (MK_SHIFT | MK_CONTROL); }

void KivScreen::KeyDown(UINT vk) {
    m_modifiers |= ModifierOfKey(vk);
    CWnd* focus = CWnd::GetFocus();
    if (!focus) return;
    const HWND target = focus->m_hWnd;
    if (PreTranslated(focus, WM_KEYDOWN, vk, kSingleKeyPress, CPoint()) || !IsWindow(target)) return;
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
    m_modifiers &= ~ModifierOfKey(vk);
    if (CWnd* focus = CWnd::GetFocus()) SendInput(focus, WM_KEYUP, vk, kSingleKeyPress, CPoint());
}

void KivScreen::Char(UINT ch) {
    if (CWnd* focus = CWnd::GetFocus()) SendInput(focus, WM_CHAR, ch, kSingleKeyPress, CPoint());
}

UINT KivScreen::GetModifiers() const { return m_modifiers; }

SHORT GetKeyState(int vk) {
    constexpr SHORT kHeld = static_cast<SHORT>(0x8000);
    const UINT held = KivScreen::Get().GetModifiers();
    if (vk == static_cast<int>(VK_SHIFT)) return (held & MK_SHIFT) ? kHeld : 0;
    if (vk == static_cast<int>(VK_CONTROL)) return (held & MK_CONTROL) ? kHeld : 0;
    return 0;
}

void KivScreen::PaintAll() {
    KivPaintDesktop();
    std::vector<HWND> tops;
    for (CWnd* w : KivWindows().topLevels) tops.push_back(w->m_hWnd);
    for (HWND h : tops) PaintTree(h);
}
