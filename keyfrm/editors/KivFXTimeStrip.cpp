#include "keyfrm/editors/KivFXTimeStrip.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/CKivFXTrackBase.h"
#include "kivbase/gui/CKivToolTipDlg.h"
#include "platform/ui/DC.h"

namespace {

// Pixels the dialogs keep free beside half the client when they clamp a margin.
constexpr int kMarginReserve = 30;
// The frame scale's ticks: medium every 5 steps, long (labelled) every 10.
constexpr std::int64_t kMediumEvery = 5;
constexpr std::int64_t kLongEvery = 10;
// The scale step is this many pixels' worth of frames.
constexpr float kPixelsPerScaleStep = 5.0f;

}  // namespace

double KivFXStoryRange::SpanFrames() const {
    const double span = static_cast<double>(out) - in + 1.0;
    return span >= 1.0 ? span : 1.0;
}

int KivFXStoryRange::Clamp(int frame) const {
    if (frame < in) frame = in;
    if (frame > out) frame = out;
    return frame;
}

namespace {

// The places a dragged keyframe may take: from lo to hi by steps of step. Along locations
// another keyframe blocks every place within the drag tolerance of its own; along whole
// frames only its frame. put(place) puts the keyframe at a place.
struct DragAxis {
    double lo = 0.0, hi = 1.0, step = 0.0;
    bool byLocation = true;
    std::function<void(double)> put;
};

bool Overlaps(CKivObList* track, CKivFXBaseKeyFrm* keyframe) {
    return KivFXKeyFrmIsOverlapKF(track, keyframe, kKivFXDragOverlapTolerance) != 0;
}

// Of the other keyframes within the drag tolerance of keyframe's Location, the location of
// the one farthest towards dir; false when there is none.
bool FarthestNear(CKivObList* track, const CKivFXBaseKeyFrm* keyframe, int dir, double& at) {
    bool found = false;
    for (POSITION pos = track->GetHeadPosition(); pos;) {
        CObject* o = track->GetNext(pos);
        if (!o || o == keyframe || !o->IsKindOf(RUNTIME_CLASS(CKivFXBaseKeyFrm))) continue;
        const double other = static_cast<const CKivFXBaseKeyFrm*>(o)->Location;
        if (!(std::fabs(other - keyframe->Location) < static_cast<double>(kKivFXDragOverlapTolerance))) continue;
        if (!found || dir * (other - at) > 0.0) at = other;
        found = true;
    }
    return found;
}

// Steps from start towards dir until the keyframe collides with none; false once it
// reached an end without finding a free place. A location step goes at once past the farthest keyframe in the way, so
// each step passes at least one keyframe: the keyframes bound the steps, the slack covers
// a landing that rounding leaves just inside the tolerance.
bool StepOneWay(CKivObList* track, CKivFXBaseKeyFrm* keyframe, const DragAxis& axis, double start, int dir) {
    constexpr long long kSlack = 8;
    // Beyond this many steps every place lies past either end.
    const double maxSteps = (axis.hi - axis.lo) / axis.step + 2.0;
    const long long tries = 2LL * track->GetCount() + kSlack;
    double taken = 0.0;
    for (long long t = 0; t < tries; ++t) {
        double next = taken + 1.0;
        double at = 0.0;
        if (axis.byLocation && FarthestNear(track, keyframe, dir, at))
            next = std::max(next, std::ceil((kKivFXDragOverlapTolerance + dir * (at - start)) / axis.step));
        next = std::min(next, maxSteps);
        const double place = start + dir * next * axis.step;
        const bool atEnd = place <= axis.lo || place >= axis.hi;
        axis.put(std::clamp(place, axis.lo, axis.hi));
        if (!Overlaps(track, keyframe)) return true;
        if (atEnd) return false;
        taken = next;
    }
    return false;
}

// The keyframe, at start on the axis, to the nearest free place (see KivFXStepOffOverlap);
// back at start when none is free.
bool StepOff(CKivObList* track, CKivFXBaseKeyFrm* keyframe, const DragAxis& axis, double start, bool mouseStill) {
    if (!(axis.step > 0.0) || !std::isfinite(axis.step) || !Overlaps(track, keyframe)) return false;
    // Backwards when the mouse stood still or the end is reached, but never from the start,
    // where a step back would put the keyframe before the story.
    const int preferred = (mouseStill && start > axis.lo) || start >= axis.hi ? -1 : 1;
    for (const int dir : {preferred, -preferred})
        if (StepOneWay(track, keyframe, axis, start, dir)) return true;
    axis.put(start);
    return false;
}

DragAxis LocationAxis(CKivFXBaseKeyFrm* keyframe, float step) {
    DragAxis axis;
    axis.step = step;
    axis.put = [keyframe](double location) { keyframe->Location = location; };
    return axis;
}

}  // namespace

bool KivFXStepOffOverlap(CKivObList* track, CKivFXBaseKeyFrm* keyframe, float step, bool mouseStill) {
    if (!track || !keyframe) return false;
    return StepOff(track, keyframe, LocationAxis(keyframe, step), keyframe->Location, mouseStill);
}

void KivFXPlaceDraggedKF(CKivObList* track, CKivFXBaseKeyFrm* keyframe, double location, float step, bool mouseStill) {
    if (!track || !keyframe) return;
    const double before = keyframe->Location;
    keyframe->Location = location;
    if (!KivFXStepOffOverlap(track, keyframe, step, mouseStill) && Overlaps(track, keyframe)) keyframe->Location = before;
    KivFXKeyFrmTaxisList(track);
    KivFXNoteKeyFrmChange(*track);
}

void KivFXPlaceDraggedKF(CKivObList* track, CKivFXInsValueKeyFrm* keyframe, int frame, const KivFXStoryRange& range,
                         bool mouseStill) {
    if (!track || !keyframe) return;
    if (!KivFXKeyFrmListIsBaseOnFrame(track)) {
        KivFXPlaceDraggedKF(track, keyframe, range.GetLocation(frame), range.FrameStep(), mouseStill);
        return;
    }
    const int beforeFrame = keyframe->Frame;
    const double beforeLocation = keyframe->Location;
    DragAxis axis;
    axis.lo = std::min(range.in, range.out);
    axis.hi = std::max(range.in, range.out);
    axis.step = 1.0;
    axis.byLocation = false;
    axis.put = [keyframe, &range](double f) {
        keyframe->Frame = static_cast<int>(f);
        keyframe->Location = range.GetLocation(keyframe->Frame);
    };
    axis.put(frame);
    if (!StepOff(track, keyframe, axis, frame, mouseStill) && Overlaps(track, keyframe)) {
        keyframe->Frame = beforeFrame;
        keyframe->Location = beforeLocation;
    }
    KivFXKeyFrmTaxisList(track);
    KivFXNoteKeyFrmChange(*track);
}

UINT KivFXClampMargin(UINT margin, UINT minimum, int clientExtent) {
    if (margin < minimum) margin = minimum;
    const int limit = clientExtent / 2 - kMarginReserve;
    if (margin > static_cast<UINT>(limit)) margin = static_cast<UINT>(limit);
    return margin;
}

int KivFXScaleStep(float framesPerPixel) {
    const int step = KivTruncToInt(static_cast<double>(framesPerPixel * kPixelsPerScaleStep) + 0.5);
    return step < 1 ? 1 : step;
}

namespace {

// Labels keep at least this many pixels between their texts.
constexpr int kLabelGap = 4;
// The label step grows by these factors in turn: 10, 50, 100, 500 ... steps.
constexpr std::int64_t kLabelGrowth[2] = {5, 2};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

// The first frame of [lo, hi] placed at x or right of it; hi + 1 when none is.
std::int64_t FirstFrameFrom(std::int64_t lo, std::int64_t hi, int x, const std::function<int(int)>& frameToX) {
    std::int64_t a = lo, b = hi + 1;
    while (a < b) {
        const std::int64_t m = a + (b - a) / 2;
        if (frameToX(static_cast<int>(m)) >= x)
            b = m;
        else
            a = m + 1;
    }
    return a;
}

}  // namespace

std::vector<KivFXScaleMark> KivFXFrameScaleMarks(const KivFXStoryRange& range, int step, const KivFXFrameScaleLook& look,
                                                 int left, int right, const std::function<int(int)>& frameToX,
                                                 const std::function<int(int)>& textWidth) {
    // 64-bit frames: a range ending near the int limits must not overflow the walk.
    const std::int64_t s = std::max(step, 1);
    const std::int64_t in = range.in, out = range.out;
    auto halfOf = [&](int frame) { return std::max(look.labelHalfWidth, (textWidth(frame) + 1) / 2); };
    auto mark = [&](int frame, int height, bool labelled) {
        return KivFXScaleMark{frame, frameToX(frame), height, labelled, labelled ? halfOf(frame) : 0};
    };
    const KivFXScaleMark ends[2] = {mark(range.in, look.longTick, true), mark(range.out, look.longTick, true)};
    std::vector<KivFXScaleMark> marks;
    if (out < in) {
        for (const KivFXScaleMark& e : ends) marks.push_back(e);
        return marks;
    }
    const int widest = std::max(textWidth(range.in), textWidth(range.out));
    const int reach = std::max({look.labelHalfWidth, ends[0].labelHalfWidth, ends[1].labelHalfWidth}) + 1;
    // The frames whose marks can reach into the columns asked, found by bisection.
    const std::int64_t fLo = FirstFrameFrom(in, out, left - reach, frameToX);
    const std::int64_t fHi = std::min(FirstFrameFrom(in, out, right + reach, frameToX) - 1, out - 1);

    // Ticks, one per pixel column: ten ticks in one column hold a long one (when the
    // lattice has any), so beyond ten the walk jumps to the next column.
    constexpr int kTicksToTallest = static_cast<int>(kLongEvery);
    auto heightOf = [&](std::int64_t f) {
        return f % (kLongEvery * s) == 0 ? look.longTick : f % (kMediumEvery * s) == 0 ? look.mediumTick : look.shortTick;
    };
    for (std::int64_t k = std::max<std::int64_t>(1, CeilDiv(fLo - in, s)); in + k * s <= fHi;) {
        const std::int64_t f = in + k * s;
        const int x = frameToX(static_cast<int>(f));
        int height = heightOf(f);
        int n = 1;
        for (++k; n < kTicksToTallest && in + k * s <= fHi && frameToX(static_cast<int>(in + k * s)) == x; ++k, ++n)
            height = std::max(height, heightOf(in + k * s));
        if (n == kTicksToTallest) k = std::max(k, CeilDiv(FirstFrameFrom(f, fHi, x + 1, frameToX) - in, s));
        marks.push_back(KivFXScaleMark{static_cast<int>(f), x, height, false, 0});
    }

    // Labels on the ticks' lattice at multiples of the label step, grown until the widest
    // label leaves a gap to the next (a pixel spared for rounding).
    std::int64_t labelStep = kLongEvery * s;
    for (int turn = 0; in + labelStep <= out; turn ^= 1) {
        const int spacing = frameToX(static_cast<int>(in + labelStep)) - frameToX(range.in);
        if (spacing - 1 >= widest + kLabelGap) break;
        labelStep *= kLabelGrowth[turn];
    }
    if (in % s == 0) {
        auto clear = [&](const KivFXScaleMark& m, const KivFXScaleMark& e) {
            const std::int64_t apart = std::llabs(static_cast<std::int64_t>(m.x) - e.x);
            return apart >= (textWidth(m.frame) + textWidth(e.frame) + 1) / 2 + kLabelGap;
        };
        for (std::int64_t f = CeilDiv(std::max(fLo, in + 1), labelStep) * labelStep; f <= fHi; f += labelStep) {
            const KivFXScaleMark m = mark(static_cast<int>(f), look.longTick, true);
            if (clear(m, ends[0]) && clear(m, ends[1])) marks.push_back(m);
        }
    }
    for (const KivFXScaleMark& e : ends) marks.push_back(e);
    return marks;
}

void KivFXDrawFrameScale(CDC& dc, const KivFXStoryRange& range, int step, int baseline, const KivFXFrameScaleLook& look,
                         const std::function<int(int)>& frameToX) {
    CRect clip;
    dc.GetClipBox(&clip);
    auto textWidth = [&](int frame) {
        CString text;
        text.Format(L"%d", frame);
        return static_cast<int>(dc.GetTextExtent(text).cx);
    };
    for (const KivFXScaleMark& m : KivFXFrameScaleMarks(range, step, look, clip.left, clip.right, frameToX, textWidth)) {
        dc.MoveTo(m.x, baseline);
        dc.LineTo(m.x, baseline - m.height);
        if (!m.labelled) continue;
        CString text;
        text.Format(L"%d", m.frame);
        CRect r(m.x - m.labelHalfWidth, baseline - look.labelTop, m.x + m.labelHalfWidth, baseline - look.labelBottom);
        dc.DrawText(text, &r, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
    }
}

CRect KivFXTimeRulerRect(CSize bitmapSize, int x, int top) {
    const int left = x - bitmapSize.cx / 2;
    return CRect(left, top, left + bitmapSize.cx, top + bitmapSize.cy);
}

void KivFXDrawTimeRuler(CDC& dc, CBitmap& marker, const CRect& rulerRect, int lineBottom) {
    dc.DrawState(rulerRect.TopLeft(), rulerRect.Size(), &marker, DST_BITMAP);
    CPen pen(PS_SOLID, 1, kKivFXTimeRulerLine);
    KivSaveDC saved(dc);
    dc.SelectObject(&pen);
    const int x = rulerRect.left + rulerRect.Width() / 2;
    dc.MoveTo(x, rulerRect.bottom);
    dc.LineTo(x, lineBottom);
}

void KivFXShowFrameTip(CKivToolTipDlg& tip, const CWnd& owner, int frame, CPoint clientPoint) {
    CString text;
    text.Format(L"%d", frame);
    tip.SetToolTipText(text);
    // Placed before it shows, so that it never appears for a moment where it was last.
    owner.ClientToScreen(&clientPoint);
    tip.UpdateTip(clientPoint);
    tip.ShowWindow(SW_SHOWNOACTIVATE);
}
