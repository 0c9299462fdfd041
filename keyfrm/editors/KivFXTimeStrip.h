// The time axis the keyframe dialogs share: a story range of frames mapped onto locations
// 0 to 1, the rule that keeps a dragged keyframe off another one, the margin limits, the
// frame scale with its labels, the current-frame marker and its frame tip.
#pragma once

#include <cmath>
#include <functional>
#include <vector>

#include "keyfrm/core/CKivFXBaseKeyFrm.h"
#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/CKivFXInsValueKeyFrm.h"
#include "kivbase/CKivObList.h"
#include "platform/ui/Wnd.h"

class CKivToolTipDlg;

/// The frames a dialog shows along its time axis: story in is location 0, story out
/// location 1. Any pair of ints is valid, out below in included.
struct KivFXStoryRange {
    int in = 0;
    int out = 100;

    /// (frame - in) / (out - in) in double precision when out is above in; 0 otherwise.
    double GetLocation(int frame) const {
        if (out <= in) return 0.0;
        return (static_cast<double>(frame) - in) / (static_cast<double>(out) - in);
    }
    /// in + the integer part of ((out - in) x location + 0.5), saturated to the int range
    /// (a NaN location gives in).
    /// Inline with the mappings below: a paint of a dense track maps every keyframe's point.
    int GetSBFrame(double location) const {
        if (std::isnan(location)) return in;
        const double steps = std::trunc((static_cast<double>(out) - in) * location + 0.5);
        return KivTruncToInt(static_cast<double>(in) + steps);
    }
    /// Frames the axis spans, out - in + 1; a range whose out is below its in counts as one
    /// frame, so scales and steps derived from it stay finite and keep their sign.
    double SpanFrames() const;
    /// One frame's worth of location, 1 / SpanFrames() in single precision.
    float FrameStep() const { return static_cast<float>(1.0 / SpanFrames()); }
    /// A distance of frames as a distance of location, frames / (out - in), as GetLocation
    /// places frames; 0 when out is not above in.
    double FramesToLocation(double frames) const {
        if (out <= in) return 0.0;
        return frames / (static_cast<double>(out) - in);
    }
    /// frame raised to in, then lowered to out (out wins for a reversed range).
    int Clamp(int frame) const;
    bool Contains(int frame) const { return frame >= in && frame <= out; }
};

/// Two keyframes closer than this in location count as one place.
constexpr float kKivFXDragOverlapTolerance = 0.001f;

/// When KivFXKeyFrmIsOverlapKF finds another keyframe of track within
/// kKivFXDragOverlapTolerance of keyframe's Location, moves keyframe by steps of step to
/// the nearest place within [0, 1] where none is: the preferred way first (backwards when the
/// mouse did not move horizontally (mouseStill) and the location is above 0, or when it is
/// already at least 1; otherwise forwards), then the other way. A step past an end stops at
/// that end. True when it moved to a free place; false, with the keyframe where it was,
/// without a collision, when no place is free, or for a null track or keyframe or a step
/// that is not a positive finite number.
bool KivFXStepOffOverlap(CKivObList* track, CKivFXBaseKeyFrm* keyframe, float step, bool mouseStill);

/// Puts a dragged keyframe at location, then steps it off the others (KivFXStepOffOverlap);
/// when no place is free it stays where it was before the call. Re-sorts the track
/// afterwards in every case and tells it of the change (KivFXNoteKeyFrmChange), so views of
/// the track answer for the moved key at once, within the drag step that moved it: every
/// drag that moves a key goes through here. Nothing for a null track or keyframe.
void KivFXPlaceDraggedKF(CKivObList* track, CKivFXBaseKeyFrm* keyframe, double location, float step, bool mouseStill);

/// The curve and position dialogs' drag to a frame of the story. On a track placed by frame
/// (KivFXKeyFrmListIsBaseOnFrame) the keyframe takes the frame as its Frame and the frame's
/// location, and steps off the others by whole frames within the story, so the key the
/// track sorts and looks up by moves with it; on any other track it is the location drag
/// above with one frame's worth of location (range.FrameStep()) as the step.
void KivFXPlaceDraggedKF(CKivObList* track, CKivFXInsValueKeyFrm* keyframe, int frame, const KivFXStoryRange& range,
                         bool mouseStill);

/// The keyframe an edit at a frame of the story makes or changes, reached by the track's
/// own key: edit is called with the frame on a track placed by frame and with the frame's
/// location over range on any other (so a frame-placed track finds its keyframe at that
/// frame and sorts a new one by it); the keyframe edit returns is put at that location,
/// where the dialogs draw it. Returns what edit returns.
template <class Track, class Edit>
auto KivFXEditAtFrame(Track& track, const KivFXStoryRange& range, int frame, Edit edit) {
    const double location = range.GetLocation(frame);
    auto* keyframe = track.IsBaseOnFrame() ? edit(frame) : edit(location);
    if (keyframe) keyframe->Location = location;
    return keyframe;
}

/// Whether a keyframe of track sits at a frame of the story, by the track's own key.
template <class Track>
bool KivFXIsKeyFrmAtFrame(Track& track, const KivFXStoryRange& range, int frame) {
    return track.IsBaseOnFrame() ? KivFXKeyFrmIsPoint(frame, &track) != 0
                                 : KivFXKeyFrmIsPoint(range.GetLocation(frame), &track) != 0;
}

/// A margin raised to at least minimum and then lowered to at most half the client extent
/// less 30 pixels (the half truncated toward zero). The second comparison is unsigned, as
/// the dialogs always did: below 60 pixels the limit wraps to a huge value and leaves the
/// margin as it is.
UINT KivFXClampMargin(UINT margin, UINT minimum, int clientExtent);

/// The frame scale's step: the integer part of (frames per pixel x 5 + 0.5), at least 1.
int KivFXScaleStep(float framesPerPixel);

/// How a frame scale looks: tick heights above its baseline and where each label goes.
struct KivFXFrameScaleLook {
    int longTick = 8;      // multiples of 10 steps, story in and story out; these are labelled
    int mediumTick = 5;    // multiples of 5 steps
    int shortTick = 2;     // every other step
    int labelHalfWidth = 15;
    int labelTop = 23;     // the label's rectangle, in pixels above the baseline
    int labelBottom = 8;
};

/// One mark of a frame scale: a tick of height pixels at x, with the label "%d" of frame
/// centred in a box labelHalfWidth either side of x when labelled.
struct KivFXScaleMark {
    int frame = 0;
    int x = 0;
    int height = 0;
    bool labelled = false;
    int labelHalfWidth = 0;
};

/// The marks of the frame scale that can show between pixel columns left and right
/// (exclusive): a tick every step frames from story in (story in and story out skipped;
/// long at multiples of 10 steps, medium at multiples of 5), then story in and story out
/// with long ticks and labels. frameToX places a frame and never decreases as the frame
/// grows. Labels stand at multiples of the label step, 10 steps grown by turns five and
/// two times (10, 50, 100, 500 ... steps) until boxes as wide as the widest label
/// (textWidth of a frame's label) leave a gap between neighbours; a label whose box would
/// touch story in's or story out's is left out. What is marked does not depend on the
/// columns asked, and their number bounds the work: about one mark per pixel column.
std::vector<KivFXScaleMark> KivFXFrameScaleMarks(const KivFXStoryRange& range, int step, const KivFXFrameScaleLook& look,
                                                 int left, int right, const std::function<int(int)>& frameToX,
                                                 const std::function<int(int)>& textWidth);

/// Draws the frame scale along baseline y with the DC's pen, font and text colour: the
/// marks of KivFXFrameScaleMarks that fall in the DC's clip (ticks first, story in and story
/// out last). frameToX places a frame.
void KivFXDrawFrameScale(CDC& dc, const KivFXStoryRange& range, int step, int baseline, const KivFXFrameScaleLook& look,
                         const std::function<int(int)>& frameToX);

/// The marker bitmap's rectangle, horizontally centred on x (left = x - width / 2) with its
/// top at top.
CRect KivFXTimeRulerRect(CSize bitmapSize, int x, int top);
/// The marker: the bitmap drawn with DrawState into rulerRect, and the current-frame line
/// of kKivFXTimeRulerLine from the rectangle's bottom at its centre down to lineBottom.
void KivFXDrawTimeRuler(CDC& dc, CBitmap& marker, const CRect& rulerRect, int lineBottom);
constexpr COLORREF kKivFXTimeRulerLine = RGB(0, 0, 220);

/// Shows the frame tip: text "%d" of frame, shown, and placed at the screen position of
/// the client point of owner.
void KivFXShowFrameTip(CKivToolTipDlg& tip, const CWnd& owner, int frame, CPoint clientPoint);
