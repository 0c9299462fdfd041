#include "platform/sdl/KivSdl.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/fw/CString.h"
#include "platform/sdl/KivSdlXErrors.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/DC.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Wnd.h"

namespace {

// About sixty frames a second while idle.
constexpr Uint32 kFrameMilliseconds = 16;
// Popup menu layout in pixels: text inset, check column, separator and item padding.
constexpr int kMenuTextInset = 22;
constexpr int kMenuRightPad = 18;
constexpr int kMenuItemPad = 6;
constexpr int kSeparatorHeight = 7;
constexpr int kCheckSize = 6;

UINT ButtonOf(Uint8 sdlButton) {
    if (sdlButton == SDL_BUTTON_LEFT) return MK_LBUTTON;
    if (sdlButton == SDL_BUTTON_RIGHT) return MK_RBUTTON;
    if (sdlButton == SDL_BUTTON_MIDDLE) return MK_MBUTTON;
    return 0;
}

UINT ModifiersNow() {
    const SDL_Keymod mod = SDL_GetModState();
    return ((mod & KMOD_SHIFT) ? MK_SHIFT : 0) | ((mod & KMOD_CTRL) ? MK_CONTROL : 0);
}

UINT VirtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<UINT>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<UINT>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + static_cast<UINT>(key - SDLK_F1);
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return VK_TAB;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_UP: return VK_UP;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_HOME: return VK_HOME;
        case SDLK_END: return VK_END;
        case SDLK_PAGEUP: return VK_PRIOR;
        case SDLK_PAGEDOWN: return VK_NEXT;
        case SDLK_INSERT: return VK_INSERT;
        case SDLK_DELETE: return VK_DELETE;
        case SDLK_KP_PLUS: return VK_ADD;
        case SDLK_KP_MINUS: return VK_SUBTRACT;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return VK_CONTROL;
        default: return 0;
    }
}

// The system cursors of one run, made once per shape when first asked for and freed
// before the window goes.
class Cursors {
public:
    Cursors() = default;
    Cursors(const Cursors&) = delete;
    Cursors& operator=(const Cursors&) = delete;
    ~Cursors() {
        for (SDL_Cursor* c : m_made)
            if (c) SDL_FreeCursor(c);
    }
    /// Shows the shape the screen's windows ask for at pt.
    void Follow(CPoint pt) {
        const KivCursor wanted = KivScreen::Get().CursorAt(pt);
        if (wanted == m_shown) return;
        SDL_Cursor*& made = m_made[static_cast<size_t>(wanted)];
        if (!made) {
            const SDL_SystemCursor system = wanted == KivCursor::move   ? SDL_SYSTEM_CURSOR_SIZEALL
                                            : wanted == KivCursor::text ? SDL_SYSTEM_CURSOR_IBEAM
                                                                        : SDL_SYSTEM_CURSOR_ARROW;
            made = SDL_CreateSystemCursor(system);
        }
        if (made) SDL_SetCursor(made);
        m_shown = wanted;
    }

private:
    SDL_Cursor* m_made[4] = {};
    KivCursor m_shown = KivCursor::unset;
};

// SDL's clipboard, for KivSetClipboardText and KivGetClipboardText while a window is open.
KivClipboardHandler SdlClipboard() {
    KivClipboardHandler h;
    h.set = [](const std::string& text) { return SDL_SetClipboardText(text.c_str()) == 0; };
    h.get = []() -> std::optional<std::string> {
        // One request to the clipboard's owner (SDL_HasClipboardText would make a second):
        // an owner in another process answers each, and a late answer to a window that has
        // gone costs the owner an X error.
        char* text = SDL_GetClipboardText();
        if (!text) return std::nullopt;
        std::string out(text);
        SDL_free(text);
        if (out.empty()) return std::nullopt;
        return out;
    };
    return h;
}

// Sends a close request to the screen's top window; false when there is none to ask.
bool RequestClose() {
    CWnd* top = KivScreen::Get().GetTopWindow();
    if (!top) return false;
    top->SendMessage(WM_CLOSE);
    return true;
}

// Feeds one event to the screen; false when the run is to end.
bool Dispatch(const SDL_Event& ev, KivSdlPresenter& p, Cursors& cursors) {
    KivScreen& screen = KivScreen::Get();
    switch (ev.type) {
        case SDL_QUIT: return RequestClose();
        case SDL_WINDOWEVENT:
            if (ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) p.FollowWindowSize(ev.window.data1, ev.window.data2);
            if (ev.window.event == SDL_WINDOWEVENT_EXPOSED) p.RequestRedraw();
            if (ev.window.event == SDL_WINDOWEVENT_CLOSE) return RequestClose();
            return true;
        case SDL_MOUSEMOTION:
            screen.SetModifiers(ModifiersNow());
            screen.MouseMove(CPoint(ev.motion.x, ev.motion.y));
            cursors.Follow(CPoint(ev.motion.x, ev.motion.y));
            return true;
        case SDL_MOUSEWHEEL: {
            int x = 0, y = 0;
            SDL_GetMouseState(&x, &y);
            const int turned = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
            screen.SetModifiers(ModifiersNow());
            screen.MouseWheel(CPoint(x, y), turned * WHEEL_DELTA);
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const UINT button = ButtonOf(ev.button.button);
            if (!button) return true;
            screen.SetModifiers(ModifiersNow());
            const CPoint pt(ev.button.x, ev.button.y);
            if (ev.type == SDL_MOUSEBUTTONUP)
                screen.MouseUp(pt, button);
            else if (ev.button.clicks == 2)
                screen.MouseDoubleClick(pt, button);
            else
                screen.MouseDown(pt, button);
            return true;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (const UINT vk = VirtualKeyOf(ev.key.keysym.sym)) {
                if (ev.type == SDL_KEYDOWN)
                    screen.KeyDown(vk);
                else
                    screen.KeyUp(vk);
                // The modifiers as SDL knows them win over the key events: a modifier pressed
                // while another window had the keyboard never sent its key down here.
                screen.SetModifiers(ModifiersNow());
            }
            return true;
        case SDL_TEXTINPUT: {
            const CString text = CString::FromUtf8(ev.text.text);
            for (int i = 0; i < text.GetLength(); ++i) screen.Char(static_cast<UINT>(text[i]));
            return true;
        }
        default: return true;
    }
}

// A popup menu drawn over the screen and chosen with the mouse.
class MenuView {
public:
    MenuView(const CMenu& menu, CPoint at) {
        m_dc.CreateCompatibleDC(nullptr);
        m_dc.SelectStockObject(DEFAULT_GUI_FONT);
        TEXTMETRICW tm{};
        m_dc.GetTextMetrics(&tm);
        const int itemHeight = tm.tmHeight + kMenuItemPad;
        int width = 0, y = 1;
        for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
            Item item;
            item.id = menu.GetMenuItemID(i);
            item.state = menu.GetMenuState(static_cast<UINT>(i), MF_BYPOSITION);
            menu.GetMenuString(static_cast<UINT>(i), item.text, MF_BYPOSITION);
            const int h = (item.state & MF_SEPARATOR) ? kSeparatorHeight : itemHeight;
            item.rect = CRect(1, y, 1, y + h);
            y += h;
            width = std::max<int>(width, m_dc.GetTextExtent(item.text).cx);
            m_items.push_back(item);
        }
        const CSize size(width + kMenuTextInset + kMenuRightPad, y + 1);
        for (Item& item : m_items) item.rect.right = size.cx - 1;
        KivScreen& screen = KivScreen::Get();
        m_place = CRect(CPoint(std::clamp<int>(at.x, 0, std::max(0, screen.GetWidth() - size.cx)),
                               std::clamp<int>(at.y, 0, std::max(0, screen.GetHeight() - size.cy))),
                        size);
        m_bitmap.CreateCompatibleBitmap(&m_dc, size.cx, size.cy);
        m_dc.SelectObject(&m_bitmap);
    }

    /// The command id under a screen point, 0 for none (separators, popups, grayed items).
    UINT CommandAt(CPoint pt) const {
        const int i = IndexAt(pt);
        return i >= 0 && Choosable(static_cast<size_t>(i)) ? m_items[static_cast<size_t>(i)].id : 0;
    }
    bool Contains(CPoint pt) const { return m_place.PtInRect(pt) != FALSE; }
    void Hover(CPoint pt) { m_hover = IndexAt(pt); }
    /// Moves the highlight to the next item that can be chosen in the direction (+1 down,
    /// -1 up), wrapping around; from nothing highlighted, Down starts at the top and Up at
    /// the bottom.
    void Step(int direction) {
        const int n = static_cast<int>(m_items.size());
        int i = m_hover;
        for (int tries = 0; tries < n; ++tries) {
            i = i < 0 ? (direction > 0 ? 0 : n - 1) : (i + direction + n) % n;
            if (Choosable(static_cast<size_t>(i))) {
                m_hover = i;
                return;
            }
        }
    }
    /// Highlights the first (+1) or last (-1) item that can be chosen.
    void StepFromEnd(int direction) {
        m_hover = -1;
        Step(direction);
    }
    /// The command of the highlighted item, 0 for none.
    UINT HoverCommand() const {
        return m_hover >= 0 && Choosable(static_cast<size_t>(m_hover)) ? m_items[static_cast<size_t>(m_hover)].id : 0;
    }

    /// The screen with the menu drawn over it.
    std::vector<std::uint32_t> Compose() {
        Paint();
        KivScreen& screen = KivScreen::Get();
        const int w = screen.GetWidth(), h = screen.GetHeight();
        std::vector<std::uint32_t> out(screen.GetBits(), screen.GetBits() + static_cast<size_t>(w) * static_cast<size_t>(h));
        const KivSurface& menu = *m_bitmap.Surface();
        for (int y = 0; y < menu.height; ++y)
            for (int x = 0; x < menu.width; ++x) {
                const int sx = m_place.left + x, sy = m_place.top + y;
                if (sx < w && sy < h) out[static_cast<size_t>(sy) * static_cast<size_t>(w) + static_cast<size_t>(sx)] = menu.At(x, y);
            }
        return out;
    }

private:
    struct Item {
        UINT id = 0;
        UINT state = 0;
        CString text;
        CRect rect;
    };

    bool Choosable(size_t i) const {
        return !(m_items[i].state & (MF_SEPARATOR | MF_POPUP | MF_GRAYED | MF_DISABLED));
    }

    int IndexAt(CPoint pt) const {
        const CPoint local(pt.x - m_place.left, pt.y - m_place.top);
        for (size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i].rect.PtInRect(local)) return static_cast<int>(i);
        return -1;
    }

    void Paint() {
        const CRect all(0, 0, m_place.Width(), m_place.Height());
        m_dc.FillSolidRect(&all, GetSysColor(COLOR_BTNFACE));
        m_dc.Draw3dRect(&all, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_3DDKSHADOW));
        m_dc.SetBkMode(TRANSPARENT);
        for (size_t i = 0; i < m_items.size(); ++i) {
            const Item& item = m_items[i];
            if (item.state & MF_SEPARATOR) {
                const int y = item.rect.CenterPoint().y;
                m_dc.FillSolidRect(item.rect.left + 2, y, item.rect.Width() - 4, 1, GetSysColor(COLOR_BTNSHADOW));
                continue;
            }
            const bool grayed = (item.state & (MF_GRAYED | MF_DISABLED)) != 0;
            const bool hot = static_cast<int>(i) == m_hover && !grayed;
            if (hot) m_dc.FillSolidRect(&item.rect, GetSysColor(COLOR_HIGHLIGHT));
            const COLORREF ink = grayed ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
            m_dc.SetTextColor(ink);
            if (item.state & MF_CHECKED) {
                const CPoint c = item.rect.CenterPoint();
                const int x = item.rect.left + (kMenuTextInset - kCheckSize) / 2;
                m_dc.FillSolidRect(x, c.y - kCheckSize / 2, kCheckSize, kCheckSize, ink);
            }
            CRect text(item.rect);
            text.left += kMenuTextInset;
            m_dc.DrawText(item.text, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
    }

    CDC m_dc;
    CBitmap m_bitmap;
    std::vector<Item> m_items;
    CRect m_place;
    int m_hover = -1;
};

// Runs a nested loop over the menu until an item is chosen or the menu is dismissed.
UINT TrackInWindow(KivSdlPresenter& p, const CMenu& menu, CPoint at) {
    MenuView view(menu, at);
    bool moved = false;
    std::vector<SDL_Event> putBack;
    UINT chosen = 0;
    // The menu ends unchosen when the program must act now (KivModalLoopMustEnd).
    for (bool open = true; open && !KivModalLoopMustEnd();) {
        const std::vector<std::uint32_t> frame = view.Compose();
        p.PresentFrame(frame.data());
        SDL_Event ev;
        if (!SDL_WaitEventTimeout(&ev, static_cast<int>(kFrameMilliseconds))) continue;
        switch (ev.type) {
            case SDL_QUIT: putBack.push_back(ev); open = false; break;
            case SDL_MOUSEMOTION:
                moved = true;
                view.Hover(CPoint(ev.motion.x, ev.motion.y));
                break;
            case SDL_MOUSEBUTTONDOWN: {
                const CPoint pt(ev.button.x, ev.button.y);
                if (!view.Contains(pt)) open = false;
                else if ((chosen = view.CommandAt(pt)) != 0) open = false;
                // The release of this press belongs to the menu too.
                break;
            }
            case SDL_MOUSEBUTTONUP: {
                // The release of the press that opened the menu goes back to the screen
                // once the menu is gone, so its button state stays right.
                putBack.push_back(ev);
                const CPoint pt(ev.button.x, ev.button.y);
                if (moved && (chosen = view.CommandAt(pt)) != 0) open = false;
                break;
            }
            case SDL_KEYDOWN:
                switch (ev.key.keysym.sym) {
                    case SDLK_ESCAPE: open = false; break;
                    case SDLK_DOWN: view.Step(1); break;
                    case SDLK_UP: view.Step(-1); break;
                    case SDLK_HOME: view.StepFromEnd(1); break;
                    case SDLK_END: view.StepFromEnd(-1); break;
                    case SDLK_RETURN:
                    case SDLK_KP_ENTER:
                    case SDLK_SPACE:
                        if ((chosen = view.HoverCommand()) != 0) open = false;
                        break;
                    default: break;
                }
                break;
            default: break;
        }
    }
    for (SDL_Event& ev : putBack) SDL_PushEvent(&ev);
    // The screen under the menu is shown again.
    p.RequestRedraw();
    return chosen;
}

std::string& LastError() {
    static std::string* error = new std::string();  // kept until exit, like SDL's own state
    return *error;
}

}  // namespace

// The window's own surface takes the screen's pixels: only the changed rectangles are copied
// and only they are sent to the display, where a renderer would redraw the whole window for
// every change.
struct KivSdlPresenter::Impl {
    // Outlives SDL's video: SDL closes its connections to the display when its video stops,
    // and that is when the server's late refusals arrive.
    std::optional<KivSdlXErrorGuard> xErrors;
    bool sdlStarted = false;
    SDL_Window* window = nullptr;
    SDL_Surface* surface = nullptr;  // the window's; SDL owns it and renews it on resize
    bool redraw = true;
    std::string title;
    std::string error;

    bool TakeSurface() {
        surface = SDL_GetWindowSurface(window);
        redraw = true;
        return surface != nullptr;
    }
    // Copies an area of pixels the size of the screen (0x00RRGGBB rows) into the surface.
    void CopyIn(const std::uint32_t* pixels, int width, int height, CRect area) {
        if (!surface) return;
        CRect inside;
        if (!inside.IntersectRect(area, CRect(0, 0, std::min(width, surface->w), std::min(height, surface->h)))) return;
        const int pitch = width * static_cast<int>(sizeof(std::uint32_t));
        const std::uint32_t* first = pixels + static_cast<size_t>(inside.top) * static_cast<size_t>(width) + static_cast<size_t>(inside.left);
        auto* target = static_cast<std::uint8_t*>(surface->pixels) + static_cast<size_t>(inside.top) * static_cast<size_t>(surface->pitch) +
                       static_cast<size_t>(inside.left) * surface->format->BytesPerPixel;
        if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
        SDL_ConvertPixels(inside.Width(), inside.Height(), SDL_PIXELFORMAT_RGB888, first, pitch, surface->format->format, target,
                          surface->pitch);
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    }
    // Shows the rectangles in the window; each goes to the display as a request of its own,
    // so the space between them is never sent.
    void Send(const std::vector<CRect>& areas) {
        if (!surface) return;
        std::vector<SDL_Rect> rects;
        rects.reserve(areas.size());
        const CRect shown(0, 0, surface->w, surface->h);
        for (const CRect& a : areas) {
            CRect r;
            if (r.IntersectRect(a, shown)) rects.push_back(SDL_Rect{r.left, r.top, r.Width(), r.Height()});
        }
        if (!rects.empty()) SDL_UpdateWindowSurfaceRects(window, rects.data(), static_cast<int>(rects.size()));
    }
    bool Fail(const char* what) {
        error = std::string(what) + ": " + SDL_GetError();
        return false;
    }
};

KivSdlPresenter::KivSdlPresenter() : m_impl(std::make_unique<Impl>()) {}

KivSdlPresenter::~KivSdlPresenter() {
    Impl& p = *m_impl;
    if (p.window) SDL_DestroyWindow(p.window);
    if (p.sdlStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

const std::string& KivSdlPresenter::Error() const { return m_impl->error; }

std::string KivSdlPresenter::VideoDriver() const {
    const char* driver = m_impl->window ? SDL_GetCurrentVideoDriver() : nullptr;
    return driver ? driver : "";
}

bool KivSdlPresenter::Open(const char* title) {
    Impl& p = *m_impl;
    if (p.window) return true;
    // Without a display SDL would fall back to drawing into memory, and a person would wait
    // for a window that never shows: only the drivers of real screens are tried, unless
    // SDL_VIDEODRIVER names another (tests and benchmarks name "dummy").
    // Wayland is asked only in a Wayland session: its library complains on stderr elsewhere.
    if (!SDL_getenv("SDL_VIDEODRIVER")) SDL_SetHint(SDL_HINT_VIDEODRIVER, SDL_getenv("WAYLAND_DISPLAY") ? "x11,wayland" : "x11");
    // The window's surface stays the display's own: SDL would otherwise put it in a texture
    // and draw the whole window through OpenGL at every update, however little changed, and
    // through a software OpenGL (a virtual machine, a remote or virtual X server) that costs
    // milliseconds. SDL_FRAMEBUFFER_ACCELERATION in the environment still decides.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Before SDL's video starts, so SDL's own X error handler passes errors on to the guard.
    if (!p.xErrors) p.xErrors.emplace();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return p.Fail("no display to open it on");
    p.sdlStarted = true;
    KivScreen& screen = KivScreen::Get();
    p.window = SDL_CreateWindow(title ? title : "", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, screen.GetWidth(),
                                screen.GetHeight(), SDL_WINDOW_RESIZABLE);
    if (!p.window) return p.Fail("SDL cannot open a window");
    p.title = title ? title : "";
    if (!p.TakeSurface()) return p.Fail("SDL cannot draw in its window");
    return true;
}

CRect KivSdlPresenter::PresentChanged() {
    Impl& p = *m_impl;
    KivScreen& screen = KivScreen::Get();
    std::vector<CRect> changed = screen.TakeChangedRects();
    const CRect all(0, 0, screen.GetWidth(), screen.GetHeight());
    if (p.surface && p.redraw) {
        // The whole window: after a resize or a menu, or when the display uncovered it.
        changed = {all};
        p.redraw = false;
    }
    CRect bounds;
    for (const CRect& r : changed) bounds.UnionRect(bounds, r);
    if (!p.surface || changed.empty()) return bounds;
    for (const CRect& r : changed) p.CopyIn(screen.GetBits(), all.Width(), all.Height(), r);
    p.Send(changed);
    return bounds;
}

void KivSdlPresenter::PresentFrame(const std::uint32_t* pixels) {
    Impl& p = *m_impl;
    KivScreen& screen = KivScreen::Get();
    const CRect all(0, 0, screen.GetWidth(), screen.GetHeight());
    p.CopyIn(pixels, all.Width(), all.Height(), all);
    p.Send({all});
}

void KivSdlPresenter::RequestRedraw() { m_impl->redraw = true; }

void KivSdlPresenter::FollowWindowSize(int width, int height) {
    Impl& p = *m_impl;
    KivScreen& screen = KivScreen::Get();
    if (width != screen.GetWidth() || height != screen.GetHeight()) {
        screen.Resize(width, height);
        // The maximized windows took the new size; they paint before the window is filled.
        screen.PaintAll();
    }
    if (p.window) p.TakeSurface();
}

void KivSdlPresenter::FollowTitle(const char* fallback) {
    Impl& p = *m_impl;
    if (!p.window) return;
    std::string wanted = fallback ? fallback : "";
    if (CWnd* top = KivScreen::Get().GetTopWindow()) {
        CString text;
        top->GetWindowText(text);
        if (!text.IsEmpty()) wanted = text.ToUtf8();
    }
    if (wanted == p.title) return;
    p.title = wanted;
    SDL_SetWindowTitle(p.window, wanted.c_str());
}

const std::string& KivSdlLastError() { return LastError(); }

int KivSdlRun(const char* title, std::function<bool()> idle) {
    LastError().clear();
    KivSdlPresenter p;
    if (!p.Open(title)) {
        LastError() = p.Error();
        return 1;
    }
    KivScreen& screen = KivScreen::Get();
    const KivPopupMenuHandler previous = KivGetPopupMenuHandler();
    KivSetPopupMenuHandler([&p](const CMenu& menu, CPoint at) { return TrackInWindow(p, menu, at); });
    KivClipboardHandler previousClipboard = KivSetClipboardHandler(SdlClipboard());
    SDL_StartTextInput();
    Cursors cursors;
    for (bool running = true; running;) {
        SDL_Event ev;
        if (SDL_WaitEventTimeout(&ev, static_cast<int>(kFrameMilliseconds))) {
            running = Dispatch(ev, p, cursors);
            while (running && SDL_PollEvent(&ev)) running = Dispatch(ev, p, cursors);
        }
        if (running && idle && !idle()) running = false;
        if (running && !screen.GetTopWindow()) running = false;
        screen.PaintAll();
        p.FollowTitle(title);
        p.PresentChanged();
    }
    SDL_StopTextInput();
    KivSetPopupMenuHandler(previous);
    KivSetClipboardHandler(std::move(previousClipboard));
    return 0;
}
