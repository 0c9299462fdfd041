// The host's current frame over a track's story range, and the mapping between frames and
// the normalised locations (0 at story in, 1 at story out) that tracks and editors use.
#pragma once

#include "kivbase/CKivObList.h"

struct KfxEditTime {
    /// Frames shown for a track with nothing to fit: the demo's effect length.
    static constexpr int kDefaultSpan = 100;

    int storyIn = 0;
    int storyOut = kDefaultSpan;
    int frame = 0;

    /// (frame - story in) / (story out - story in); 0 for a range of one frame.
    double LocationOf(int f) const;
    double Location() const { return LocationOf(frame); }
    /// The frame nearest a location.
    int FrameOf(double location) const;
    /// Moves the current frame, kept within the story range; true when it moved.
    bool MoveTo(int f);
};

/// The range that shows a track: from its first to its last keyframe's Frame when it is
/// placed by frame (kDefaultSpan frames from the first when they all share one frame), else
/// 0 to kDefaultSpan; the current frame at story in.
KfxEditTime KfxStoryOf(const CKivObList& track);

/// The dialogs place a scalar or position track's keyframes by Location over the story
/// range, the curve window and frame sampling by Frame. On opening, the one the track is
/// placed by leads: a frame-placed track's Locations are set from its Frames, another
/// track's Frames from its Locations. Nothing for a colour track (placed by location only).
void KfxPlaceOnStory(CKivObList& track, const KfxEditTime& time);
/// After an editor moved keyframes by location: every Frame becomes the frame nearest its
/// Location, so the file's Frames say where the keyframes were seen; a frame-placed track is
/// sorted again.
void KfxFramesFollowLocations(CKivObList& track, const KfxEditTime& time);

/// A dialog keeps a dragged keyframe off its neighbours by the Frames of a frame-placed
/// track, which it does not move: when the dragged keyframe shares its (now followed) Frame
/// with another, it goes to the nearest free frame of the story, preferring the side the
/// dialog steps to (back at the story's end, else on), and the track is sorted again.
template <class Track, class Key>
void KfxKeepDraggedApart(Track& track, Key* dragged, const KfxEditTime& time) {
    if (!dragged || !track.IsBaseOnFrame() || track.GetFXKeyFrmIndex(dragged) < 0) return;
    auto taken = [&](long long f) {
        for (int i = 0; i < track.GetKeyFrmCount(); ++i)
            if (const Key* k = track.GetFXKeyFrm(i); k && k != dragged && k->Frame == f) return true;
        return false;
    };
    if (!taken(dragged->Frame)) return;
    const long long side = dragged->Location >= 1.0 ? -1 : 1;
    const long long span = static_cast<long long>(time.storyOut) - time.storyIn;
    for (long long d = 1; d <= span; ++d)
        for (const long long f : {dragged->Frame + side * d, dragged->Frame - side * d})
            if (f >= time.storyIn && f <= time.storyOut && !taken(f)) {
                dragged->Frame = static_cast<int>(f);
                dragged->Location = time.LocationOf(dragged->Frame);
                KfxFramesFollowLocations(track, time);
                return;
            }
}

/// A dialog adds a keyframe by location; on a frame-placed track the track looks it up by
/// Frame, so one may be added beside the keyframe already at that frame. Once its Frame
/// follows, the pair is made one: the keyframe the dialog selected (the one it just set)
/// stays, the other goes. Call only while no drag holds a keyframe.
template <class Track>
void KfxMergeSharedFrames(Track& track) {
    if (!track.IsBaseOnFrame()) return;
    for (int i = 1; i < track.GetKeyFrmCount(); ++i) {
        auto* a = track.GetFXKeyFrm(i - 1);
        auto* b = track.GetFXKeyFrm(i);
        if (!a || !b || a->Frame != b->Frame) continue;
        track.DeleteKeyFrm(a->IsSelect() && !b->IsSelect() ? b : a);
        --i;
    }
}
