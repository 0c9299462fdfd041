// Invalid regions, WM_PAINT and the window device contexts.
#include <algorithm>

#include "platform/ui/Wnd.h"
#include "platform/ui/WndInternal.h"

namespace {

// An invalid region of more rectangles than this is merged into its bounds: repainting a
// little more is harmless, and the region stays cheap to walk. An editor's drag invalidates
// a staircase of thin rectangles along a curve, old and new, which must stay apart.
constexpr size_t kMaxInvalidRects = 256;

CRect ClientRectOf(const CWnd* w) { return CRect(0, 0, w->State()->rect.Width(), w->State()->rect.Height()); }

// Adds rect (client coordinates) to w's invalid region, then to its visible children's:
// all of them, or (allChildren false) only when w does not clip its children out.
void AddInvalid(CWnd* w, const CRect& rect, bool erase, bool allChildren) {
    CRect r;
    if (!r.IntersectRect(rect, ClientRectOf(w))) return;
    KivWndState& s = *w->State();
    s.invalid.Add(r);
    if (s.invalid.Rects().size() > kMaxInvalidRects) s.invalid = KivRegion(s.invalid.Bounds());
    s.erase = s.erase || erase;
    if (!allChildren && (s.style & WS_CLIPCHILDREN)) return;
    for (CWnd* c : s.children) {
        if (!(c->State()->style & WS_VISIBLE)) continue;
        CRect inChild(r);
        inChild.OffsetRect(-c->State()->rect.left, -c->State()->rect.top);
        AddInvalid(c, inChild, erase, allChildren);
    }
}

}  // namespace

void CWnd::InvalidateTree(const CRect& rect, bool erase) {
    if (IsWindowVisible()) AddInvalid(this, rect, erase, true);
}

void CWnd::Invalidate(BOOL erase) { InvalidateRect(nullptr, erase); }

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) {
    if (!m_hWnd || !IsWindowVisible()) return;
    AddInvalid(this, rect ? CRect(*rect) : ClientRectOf(this), erase != FALSE, false);
}

void CWnd::ValidateRect(LPCRECT rect) {
    if (!m_hWnd) return;
    if (rect)
        m_state->invalid.Subtract(CRect(*rect));
    else
        m_state->invalid.Clear();
    if (m_state->invalid.IsEmpty()) m_state->erase = false;
}

BOOL CWnd::GetUpdateRect(LPRECT rect, BOOL erase) {
    if (!m_hWnd) return FALSE;
    if (rect) *rect = m_state->invalid.Bounds();
    if (erase && !m_state->invalid.IsEmpty() && m_state->erase) {
        CClientDC dc(this);
        dc.IntersectClipRect(m_state->invalid.Bounds());
        m_state->erase = false;
        SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    }
    return m_hWnd && !m_state->invalid.IsEmpty();
}

void CWnd::UpdateWindow() {
    if (!m_hWnd || !IsWindowVisible() || m_state->invalid.IsEmpty()) return;
    SendMessage(WM_PAINT);
}

CDC* CWnd::GetDC() {
    if (!m_hWnd) return nullptr;
    m_state->dcs.push_back(std::make_unique<CClientDC>(this));
    return m_state->dcs.back().get();
}

int CWnd::ReleaseDC(CDC* dc) {
    if (!m_hWnd || !dc) return 0;
    auto& dcs = m_state->dcs;
    const auto it = std::find_if(dcs.begin(), dcs.end(), [dc](const auto& p) { return p.get() == dc; });
    if (it == dcs.end()) return 0;
    dcs.erase(it);
    return 1;
}

KivRegion KivVisibleRegion(CWnd* wnd) {
    if (!wnd || !wnd->IsWindowVisible()) return KivRegion();
    CRect onScreen;
    wnd->GetWindowRect(&onScreen);
    KivRegion region(onScreen);
    region.Intersect(KivScreenBounds());
    // Every window is clipped by its ancestors' client areas and by the siblings stacked
    // above it (and above each of its ancestors).
    for (CWnd* c = wnd; c;) {
        CWnd* parent = c->State()->parent;
        const std::vector<CWnd*>& siblings = parent ? parent->State()->children : KivWindows().topLevels;
        const auto self = std::find(siblings.begin(), siblings.end(), c);
        for (auto it = self == siblings.end() ? self : self + 1; it != siblings.end(); ++it)
            if ((*it)->State()->style & WS_VISIBLE) {
                CRect r;
                (*it)->GetWindowRect(&r);
                region.Subtract(r);
            }
        if (parent) {
            CRect p;
            parent->GetWindowRect(&p);
            region.Intersect(p);
        }
        c = parent;
    }
    if (wnd->GetStyle() & WS_CLIPCHILDREN)
        for (CWnd* child : wnd->State()->children)
            if (child->State()->style & WS_VISIBLE) {
                CRect r;
                child->GetWindowRect(&r);
                region.Subtract(r);
            }
    return region;
}

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)

CPaintDC::CPaintDC(CWnd* wnd) {
    m_ps.hdc = m_hDC;
    if (!wnd || !wnd->m_hWnd) return;
    m_hWnd = wnd->m_hWnd;
    KivWndState& s = *wnd->State();
    CRect origin;
    wnd->GetWindowRect(&origin);
    KivRegion update = s.invalid;
    update.Intersect(ClientRectOf(wnd));
    m_ps.rcPaint = update.Bounds();
    update.Offset(origin.left, origin.top);
    KivRegion clip = KivVisibleRegion(wnd);
    clip.Intersect(update);
    AttachSurface(KivScreenSurface(), clip, origin.TopLeft());
    KivNoteScreenChange(clip);
    // The old system validates first and then erases, so an eraser that invalidates again
    // gets another WM_PAINT.
    const bool erase = s.erase;
    s.invalid.Clear();
    s.erase = false;
    m_ps.fErase = FALSE;
    if (erase) m_ps.fErase = wnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(m_hDC)) == 0;
}

CPaintDC::~CPaintDC() = default;

CClientDC::CClientDC(CWnd* wnd) {
    if (!wnd || !wnd->m_hWnd) return;
    m_hWnd = wnd->m_hWnd;
    CRect origin;
    wnd->GetWindowRect(&origin);
    const KivRegion visible = KivVisibleRegion(wnd);
    AttachSurface(KivScreenSurface(), visible, origin.TopLeft());
    KivNoteScreenChange(visible);
}

CClientDC::~CClientDC() = default;
