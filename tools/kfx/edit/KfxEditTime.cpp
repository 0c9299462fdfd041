#include "KfxEditTime.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "platform/fw/CException.h"

namespace {

// Frame-placed keyframes of a scalar or position track: lowest and highest Frame.
template <class Track>
bool FrameSpan(const CKivObList& list, int& lo, int& hi) {
    const auto& track = static_cast<const Track&>(list);
    if (!track.IsBaseOnFrame() || track.GetKeyFrmCount() == 0) return false;
    lo = INT_MAX;
    hi = INT_MIN;
    for (int i = 0; i < track.GetKeyFrmCount(); ++i)
        if (const auto* k = track.GetFXKeyFrm(i)) {
            lo = std::min(lo, k->Frame);
            hi = std::max(hi, k->Frame);
        }
    return lo <= hi;
}

// Calls place(keyframe) for each keyframe of a scalar or position track; the keys written
// so count as a change of the track (the editors evaluate through views of it).
template <class Place>
void ForEachTimedKeyFrame(CKivObList& list, Place place) {
    auto walk = [&](auto& track) {
        for (int i = 0; i < track.GetKeyFrmCount(); ++i)
            if (auto* k = track.GetFXKeyFrm(i)) place(*k);
        track.NoteKeyFrmChange();
    };
    if (list.IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList))) walk(static_cast<CKivFXInsKeyFrmList&>(list));
    if (list.IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrmList))) walk(static_cast<CKivFXPosiKeyFrmList&>(list));
}

}  // namespace

bool KfxPlacedByFrame(const CKivObList& list) {
    if (list.IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList))) return static_cast<const CKivFXInsKeyFrmList&>(list).IsBaseOnFrame() != 0;
    if (list.IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrmList))) return static_cast<const CKivFXPosiKeyFrmList&>(list).IsBaseOnFrame() != 0;
    return false;
}

void KfxPlaceOnStory(CKivObList& track, const KfxEditTime& time) {
    if (KfxPlacedByFrame(track))
        ForEachTimedKeyFrame(track, [&](auto& k) { k.Location = time.LocationOf(k.Frame); });
    else
        KfxFramesFollowLocations(track, time);
}

void KfxFramesFollowLocations(CKivObList& track, const KfxEditTime& time) {
    ForEachTimedKeyFrame(track, [&](auto& k) { k.Frame = time.FrameOf(k.Location); });
    // New Frames may be in another order than the old ones.
    if (KfxPlacedByFrame(track)) {
        try {
            KivFXKeyFrmTaxisList(&track);
        } catch (const CMemoryException&) {
            // The order stays as it was; the next change sorts again.
        }
    }
}

void KfxFramesForSaving(CKivObList& track, const KfxEditTime& time) {
    if (!KfxPlacedByFrame(track)) KfxFramesFollowLocations(track, time);
}

double KfxEditTime::LocationOf(int f) const {
    if (storyOut <= storyIn) return 0.0;
    return (static_cast<double>(f) - storyIn) / (static_cast<double>(storyOut) - storyIn);
}

int KfxEditTime::FrameOf(double location) const {
    const double f = storyIn + std::trunc((static_cast<double>(storyOut) - storyIn) * location + 0.5);
    return static_cast<int>(std::clamp(f, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

bool KfxEditTime::MoveTo(int f) {
    const int clamped = std::clamp(f, storyIn, std::max(storyIn, storyOut));
    if (clamped == frame) return false;
    frame = clamped;
    return true;
}

KfxEditTime KfxStoryOf(const CKivObList& track) {
    KfxEditTime time;
    int lo = 0, hi = 0;
    const bool byFrame = track.IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList)) ? FrameSpan<CKivFXInsKeyFrmList>(track, lo, hi)
                         : track.IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrmList)) ? FrameSpan<CKivFXPosiKeyFrmList>(track, lo, hi)
                                                                               : false;
    if (byFrame) {
        // A span below the default is widened to it, saturating at the top of the int range.
        if (static_cast<long long>(hi) - lo < 1) hi = static_cast<int>(std::min<long long>(INT_MAX, static_cast<long long>(lo) + KfxEditTime::kDefaultSpan));
        time.storyIn = lo;
        time.storyOut = hi;
    }
    time.frame = time.storyIn;
    return time;
}
