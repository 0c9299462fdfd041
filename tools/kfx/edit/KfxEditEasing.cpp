#include "KfxEditEasing.h"

#include <algorithm>

#include "KfxEditHost.h"
#include "keyfrm/tracks/KivFXTracks.h"

namespace {

constexpr double kThird = 1.0 / 3.0;

bool FlatBefore(KfxEasing e) { return e == KfxEasing::easeIn || e == KfxEasing::easeInOut; }
bool FlatAfter(KfxEasing e) { return e == KfxEasing::easeOut || e == KfxEasing::easeInOut; }

// Where a keyframe stands in the track's own unit of time (frames or the story's share).
template <class Track, class Key>
double TimeOf(const Track& track, const Key& k) {
    return track.IsBaseOnFrame() ? static_cast<double>(k.Frame) : k.Location;
}

// The handle of a scalar keyframe toward a neighbour; zero without one.
SKivFXBezierHandle ScalarHandle(const CKivFXInsKeyFrmList& t, const CKivFXValueKeyFrm& k, const CKivFXValueKeyFrm* n, bool flat) {
    if (!n) return {0.0f, 0.0};
    const float toward = flat ? 0.0f : static_cast<float>((n->Value - k.Value) * kThird);
    return {toward, (TimeOf(t, *n) - TimeOf(t, k)) * kThird};
}

// The handle of a position keyframe toward a neighbour, an offset in space; zero without one
// or when flat (the point leaves or arrives at rest).
SKivFXPosiHandle PositionHandle(const CKivFXPosiKeyFrm& k, const CKivFXPosiKeyFrm* n, bool flat) {
    if (!n || flat) return {0.0f, 0.0f, 0.0f};
    return {static_cast<float>((n->PosiX - k.PosiX) * kThird), static_cast<float>((n->PosiY - k.PosiY) * kThird),
            static_cast<float>((n->PosiZ - k.PosiZ) * kThird)};
}

// Calls ease(keyframe, previous, next) for each chosen keyframe of the track.
template <class Track, class Ease>
int EaseChosen(Track& track, const std::vector<CKivFXBaseKeyFrm*>& chosen, Ease ease) {
    int changed = 0;
    const int n = track.GetKeyFrmCount();
    for (int i = 0; i < n; ++i) {
        auto* k = track.GetFXKeyFrm(i);
        if (!k || std::find(chosen.begin(), chosen.end(), k) == chosen.end()) continue;
        ease(*k, i > 0 ? track.GetFXKeyFrm(i - 1) : nullptr, i + 1 < n ? track.GetFXKeyFrm(i + 1) : nullptr);
        ++changed;
    }
    if (changed) track.InsMode = 1;
    return changed;
}

}  // namespace

std::vector<CKivFXBaseKeyFrm*> KfxChosenKeyFrames(CKivObList& track, const KfxEditTime& time) {
    std::vector<CKivFXBaseKeyFrm*> selected, here;
    for (POSITION pos = track.GetHeadPosition(); pos;) {
        CObject* o = track.GetNext(pos);
        if (!o || !o->IsKindOf(RUNTIME_CLASS(CKivFXBaseKeyFrm))) continue;
        auto* k = static_cast<CKivFXBaseKeyFrm*>(o);
        if (k->IsSelect()) selected.push_back(k);
        const int frame = o->IsKindOf(RUNTIME_CLASS(CKivFXInsValueKeyFrm)) ? static_cast<CKivFXInsValueKeyFrm*>(o)->Frame
                                                                            : time.FrameOf(k->Location);
        if (frame == time.frame) here.push_back(k);
    }
    return selected.empty() ? here : selected;
}

int KfxApplyEasing(CKivObList& track, const std::vector<CKivFXBaseKeyFrm*>& chosen, KfxEasing easing) {
    if (track.IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList))) {
        auto& t = static_cast<CKivFXInsKeyFrmList&>(track);
        return EaseChosen(t, chosen, [&](CKivFXValueKeyFrm& k, const CKivFXValueKeyFrm* prev, const CKivFXValueKeyFrm* next) {
            k.PtFore = ScalarHandle(t, k, prev, FlatBefore(easing));
            k.PtAfter = ScalarHandle(t, k, next, FlatAfter(easing));
        });
    }
    if (track.IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrmList))) {
        auto& t = static_cast<CKivFXPosiKeyFrmList&>(track);
        return EaseChosen(t, chosen, [&](CKivFXPosiKeyFrm& k, const CKivFXPosiKeyFrm* prev, const CKivFXPosiKeyFrm* next) {
            k.Fore = PositionHandle(k, prev, FlatBefore(easing));
            k.After = PositionHandle(k, next, FlatAfter(easing));
        });
    }
    return 0;
}

// ---- The host's keys 1 to 4 -----------------------------------------------------------------

bool KfxEditHost::Ease(KfxEasing easing) {
    static const wchar_t* const kNames[] = {L"linear", L"ease in", L"ease out", L"ease in-out"};
    CKivObList* track = Track();
    if (!track || !m_slot) return false;
    if (m_slot->IsBusy()) {
        Say(L"finish the drag first");
        return false;
    }
    const std::vector<CKivFXBaseKeyFrm*> chosen = KfxChosenKeyFrames(*track, m_time);
    if (chosen.empty()) {
        Say(L"no easing: select keyframes, or go to a frame with one");
        return false;
    }
    const int changed = KfxApplyEasing(*track, chosen, easing);
    if (changed == 0) {
        Say(L"no easing: a colour track has no handles");
        return false;
    }
    m_slot->TrackRestored();
    m_lastEvent = std::wstring(kNames[static_cast<int>(easing)]) + L" handles on " + std::to_wstring(changed) +
                  (changed == 1 ? L" keyframe" : L" keyframes");
    Committed();
    return true;
}
