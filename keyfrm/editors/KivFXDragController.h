// One mouse drag of an editor, the same for the four editors: the press decides what is
// grabbed (a keyframe or one of its handles, the current-frame marker, a keyframe's time
// square, a colour strip), then every move, the end, or a quiet cancel. The checks that keep
// a drag sound live here and nowhere else: the host may destroy the window while it is told
// of a step, and may take the grabbed keyframe out of the track (or attach another track)
// between two steps; such a drag ends quietly, telling nothing more.
#pragma once

#include <functional>
#include <vector>

#include "keyfrm/editors/KivFXCurveNotes.h"
#include "platform/fw/CObList.h"
#include "platform/ui/Wnd.h"

class KivFXDragController {
public:
    static constexpr int kNone = -1;
    /// What the host is told of.
    enum class Phase { started, moved, ended };

    /// One kind of drag: its three steps, and whether it holds a keyframe (one that must
    /// stay in the shown track for the drag to go on).
    struct Kind {
        bool holdsKeyFrm = false;
        std::function<void(CPoint)> begin;
        std::function<void(CPoint)> move;
        std::function<void()> end;
    };
    /// What the editor does around the steps; every hook may be empty.
    struct Hooks {
        /// The track shown now; a held keyframe must be one of its elements.
        std::function<const CObList*()> track;
        /// Right after the press's first step, before the host is told: the selection the
        /// grab makes and its repaint.
        std::function<void(int kind)> grabbed;
        /// Tells the host; may run the host's code, which may destroy the window.
        std::function<void(Phase, int kind)> tell;
        /// The editor's look once a drag is over, before the host is told of its end.
        std::function<void(int kind)> ending;
        /// After the host was told of the end, with the window still there (the held
        /// keyframe is then null when the host took it out of the track).
        std::function<void(int kind)> ended;
        /// After a drag ended quietly (nothing told): what the editor resets, such as its tip.
        std::function<void(int kind)> cancelled;
    };

    /// kinds[i] describes drag kind i (a kind without steps is none).
    KivFXDragController(CWnd& wnd, std::vector<Kind> kinds, Hooks hooks);

    /// Starts a drag of kind at point holding keyframe (null for a drag that holds none) and
    /// captures the mouse. Nothing while a drag is in progress or for an unknown kind.
    /// Returns false when the window did not survive the host being told.
    bool Press(int kind, CPoint point, CObject* keyframe = nullptr);
    /// One step of the drag in progress; a drag whose keyframe left the track ends quietly.
    /// Returns false when the window did not survive the host being told.
    bool Move(CPoint point);
    /// Ends the drag in progress and tells the host; quietly for a keyframe that left the
    /// track. Returns false when the window did not survive the host being told.
    bool End();
    /// Ends the drag in progress without telling the host and repaints when asked (not when
    /// a host attaches another track: attaching repaints as the editor documents).
    void Cancel(bool repaint);

    bool IsDragging() const { return m_dragging; }
    int GetKind() const { return m_kind; }
    /// The held keyframe, as the editor's keyframe class; null when the drag holds none.
    template <class K>
    K* KeyFrm() const {
        return static_cast<K*>(m_keyFrm);
    }
    /// Where the previous step (or the press) had the mouse.
    CPoint Last() const { return m_last; }

private:
    const Kind* Find(int kind) const;
    bool InTrack(CObject* keyframe) const;
    bool HoldsItsKeyFrm() const;
    /// Ends the drag quietly when its keyframe left the track; whether it did.
    bool CancelWithoutItsKeyFrm();

    CWnd& m_wnd;
    std::vector<Kind> m_kinds;
    Hooks m_hooks;
    bool m_dragging = false;
    int m_kind = kNone;
    CObject* m_keyFrm = nullptr;
    CPoint m_last;
};

/// Selects keyframe alone in track and repaints at once what that changed: invalidate(k)
/// invalidates where k is drawn, for the grabbed keyframe and for every other one whose
/// selection the grab clears (else they would stay drawn as selected until a full paint).
template <class Track, class K, class Invalidate>
void KivFXSelectAlone(CWnd& wnd, Track& track, K& keyframe, Invalidate invalidate) {
    for (int i = 0; i < track.GetKeyFrmCount(); ++i) {
        K* other = track.GetFXKeyFrm(i);
        if (other && other != &keyframe && other->IsSelect()) invalidate(*other);
    }
    track.SetSelectKF(&keyframe, 1);
    invalidate(keyframe);
    wnd.UpdateWindow();
}

/// Adds the keyframe and handle drags of a curve or position editor E to kinds (sized past
/// E::kDragAfterPt): its steps are named alike in every such editor and each holds a
/// keyframe. E befriends this, so that its steps stay protected.
template <class E>
void KivFXAddPartDragKinds(E& editor, std::vector<KivFXDragController::Kind>& kinds) {
    E* e = &editor;
    kinds[E::kDragKeyFrm] = {true, [e](CPoint p) { e->BeginDragKF(p); }, [e](CPoint p) { e->DragKF(p); }, [e] { e->EndDragKF(); }};
    kinds[E::kDragForePt] = {true, [e](CPoint p) { e->BeginDragKFForePt(p); }, [e](CPoint p) { e->DragKFForePt(p); },
                             [e] { e->EndDragKFForePt(); }};
    kinds[E::kDragAfterPt] = {true, [e](CPoint p) { e->BeginDragKFAfterPt(p); }, [e](CPoint p) { e->DragKFAfterPt(p); },
                              [e] { e->EndDragKFAfterPt(); }};
}

/// Grabs the first keyframe part under point in the order the curve and position editors
/// test them (after handle, fore handle, the keyframe itself): hit(point, part) gives the
/// keyframe whose part is there, kinds[part] the drag kind for that part. False when none.
template <class Hit>
bool KivFXPressOnPart(KivFXDragController& drag, CPoint point, Hit hit, const int (&kinds)[3]) {
    for (int part : {kKivFXPartAfterPt, kKivFXPartForePt, kKivFXPartKeyFrm}) {
        if (auto* k = hit(point, part)) {
            drag.Press(kinds[part], point, k);
            return true;
        }
    }
    return false;
}

/// How the two keyframe dialogs tell their host of a drag: at every step and at its end;
/// the marker's drag moved the current frame, any other drag changed the track (at its end).
template <class Dlg>
void KivFXTellDialogHost(Dlg& dlg, KivFXDragController::Phase phase, bool marker) {
    if (phase == KivFXDragController::Phase::started) return;
    const bool ended = phase == KivFXDragController::Phase::ended;
    dlg.SendToModifyMsg(ended && !marker ? 1 : 0, marker ? 1 : 0);
}
