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

/// Whether a scalar or position track is placed by frame (its BaseOnFrame); false for others.
bool KfxPlacedByFrame(const CKivObList& track);

/// The dialogs place a scalar or position track's keyframes by Location over the story
/// range, the curve window and frame sampling by Frame. On opening, the one the track is
/// placed by leads: a frame-placed track's Locations are set from its Frames, another
/// track's Frames from its Locations. Nothing for a colour track (placed by location only).
void KfxPlaceOnStory(CKivObList& track, const KfxEditTime& time);
/// Every Frame becomes the frame nearest its Location; a frame-placed track is sorted again
/// by its new Frames.
void KfxFramesFollowLocations(CKivObList& track, const KfxEditTime& time);
/// After a dialog moved or made keyframes of a track placed by location, which the dialog
/// places by Location only: their Frames follow (KfxFramesFollowLocations), so the saved
/// file's Frames say where the keyframes were seen. Nothing for a frame-placed track, whose
/// Frames the dialogs keep themselves.
void KfxFramesForSaving(CKivObList& track, const KfxEditTime& time);
