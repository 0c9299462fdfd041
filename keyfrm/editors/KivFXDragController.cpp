#include "keyfrm/editors/KivFXDragController.h"

#include <utility>

#include "platform/ui/WeakWnd.h"

KivFXDragController::KivFXDragController(CWnd& wnd, std::vector<Kind> kinds, Hooks hooks)
    : m_wnd(wnd), m_kinds(std::move(kinds)), m_hooks(std::move(hooks)) {}

const KivFXDragController::Kind* KivFXDragController::Find(int kind) const {
    if (kind < 0 || kind >= static_cast<int>(m_kinds.size())) return nullptr;
    const Kind& k = m_kinds[static_cast<size_t>(kind)];
    return k.begin ? &k : nullptr;
}

bool KivFXDragController::InTrack(CObject* keyframe) const {
    // Only compared, never read: the keyframe may have been destroyed with the track's element.
    const CObList* track = m_hooks.track ? m_hooks.track() : nullptr;
    return keyframe && track && track->Find(keyframe);
}

bool KivFXDragController::HoldsItsKeyFrm() const {
    const Kind* k = Find(m_kind);
    return !k || !k->holdsKeyFrm || InTrack(m_keyFrm);
}

bool KivFXDragController::CancelWithoutItsKeyFrm() {
    if (HoldsItsKeyFrm()) return false;
    Cancel(true);
    return true;
}

bool KivFXDragController::Press(int kind, CPoint point, CObject* keyframe) {
    const Kind* k = Find(kind);
    if (m_dragging || !k) return true;
    const KivWeakWnd alive(m_wnd);
    m_dragging = true;
    m_kind = kind;
    m_keyFrm = keyframe;
    m_last = point;
    k->begin(point);
    m_last = point;
    if (m_hooks.grabbed) m_hooks.grabbed(kind);
    if (m_hooks.tell) m_hooks.tell(Phase::started, kind);
    if (!alive) return false;
    // The host may have ended the drag (by attaching another track) while it was told.
    if (m_dragging && m_wnd.m_hWnd) m_wnd.SetCapture();
    return true;
}

bool KivFXDragController::Move(CPoint point) {
    if (!m_dragging) return true;
    const KivWeakWnd alive(m_wnd);
    if (CancelWithoutItsKeyFrm()) return alive.Alive();
    const int kind = m_kind;
    if (const Kind* k = Find(kind); k && k->move) k->move(point);
    m_last = point;
    if (m_hooks.tell) m_hooks.tell(Phase::moved, kind);
    return alive.Alive();
}

bool KivFXDragController::End() {
    if (!m_dragging) return true;
    const KivWeakWnd alive(m_wnd);
    if (CancelWithoutItsKeyFrm()) return alive.Alive();
    const int kind = m_kind;
    if (const Kind* k = Find(kind); k && k->end) k->end();
    m_dragging = false;
    m_kind = kNone;
    if (m_wnd.m_hWnd && CWnd::GetCapture() == &m_wnd) ReleaseCapture();
    if (m_hooks.ending) m_hooks.ending(kind);
    if (m_hooks.tell) m_hooks.tell(Phase::ended, kind);
    if (!alive) return false;
    // The host may have taken the keyframe out of the track when told of the end.
    if (m_keyFrm && !InTrack(m_keyFrm)) m_keyFrm = nullptr;
    if (m_hooks.ended) m_hooks.ended(kind);
    m_keyFrm = nullptr;
    return true;
}

void KivFXDragController::Cancel(bool repaint) {
    if (!m_dragging) return;
    const int kind = m_kind;
    m_dragging = false;
    m_kind = kNone;
    m_keyFrm = nullptr;
    if (m_wnd.m_hWnd && CWnd::GetCapture() == &m_wnd) ReleaseCapture();
    if (m_hooks.cancelled) m_hooks.cancelled(kind);
    // Whatever the drag drew as grabbed (a selected square, a red outline) goes.
    if (repaint && m_wnd.m_hWnd) {
        m_wnd.Invalidate(TRUE);
        m_wnd.UpdateWindow();
    }
}
