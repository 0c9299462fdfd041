#include "keyfrm/editors/KivFXTimeStrip.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/editors/KivFXPixelMath.h"
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

double KivFXStoryRange::GetLocation(int frame) const {
    if (out <= in) return 0.0;
    return (static_cast<double>(frame) - in) / (static_cast<double>(out) - in);
}

int KivFXStoryRange::GetSBFrame(double location) const {
    if (std::isnan(location)) return in;
    const double steps = std::trunc((static_cast<double>(out) - in) * location + 0.5);
    return KivTruncToInt(static_cast<double>(in) + steps);
}

double KivFXStoryRange::SpanFrames() const {
    const double span = static_cast<double>(out) - in + 1.0;
    return span >= 1.0 ? span : 1.0;
}

int KivFXStoryRange::Clamp(int frame) const {
    if (frame < in) frame = in;
    if (frame > out) frame = out;
    return frame;
}

bool KivFXStepOffOverlap(CKivObList* track, CKivFXBaseKeyFrm* keyframe, float step, bool mouseStill, bool clampToRange) {
    if (!track || !keyframe || !KivFXKeyFrmIsOverlapKF(track, keyframe, kKivFXDragOverlapTolerance)) return false;
    // Backwards when the mouse stood still or the end is reached, but never from location 0,
    // where a step back would put the keyframe before the story.
    if ((mouseStill && keyframe->Location > 0.0) || keyframe->Location >= 1.0)
        keyframe->Location -= step;
    else
        keyframe->Location += step;
    // A step past either end would leave the range every location lies in.
    if (clampToRange) keyframe->Location = std::clamp(keyframe->Location, 0.0, 1.0);
    return true;
}

void KivFXPlaceDraggedKF(CKivObList* track, CKivFXBaseKeyFrm* keyframe, double location, float step, bool mouseStill) {
    if (!track || !keyframe) return;
    keyframe->Location = location;
    KivFXStepOffOverlap(track, keyframe, step, mouseStill, false);
    KivFXKeyFrmTaxisList(track);
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

void KivFXDrawFrameScale(CDC& dc, const KivFXStoryRange& range, int step, int baseline, const KivFXFrameScaleLook& look,
                         const std::function<int(int)>& frameToX) {
    if (step < 1) step = 1;
    auto tick = [&](int x, int height) {
        dc.MoveTo(x, baseline);
        dc.LineTo(x, baseline - height);
    };
    auto label = [&](int x, int frame) {
        CString text;
        text.Format(L"%d", frame);
        CRect r(x - look.labelHalfWidth, baseline - look.labelTop, x + look.labelHalfWidth, baseline - look.labelBottom);
        dc.DrawText(text, &r, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
    };
    // 64-bit frames: a range ending near the int limits must not overflow the walk.
    const std::int64_t s = step;
    for (std::int64_t i = range.in; i <= range.out; i += s) {
        if (i == range.in || i == range.out) continue;
        const int frame = static_cast<int>(i);
        const int x = frameToX(frame);
        if (i % (kLongEvery * s) == 0) {
            tick(x, look.longTick);
            label(x, frame);
        } else {
            tick(x, i % (kMediumEvery * s) == 0 ? look.mediumTick : look.shortTick);
        }
    }
    for (int frame : {range.in, range.out}) {
        const int x = frameToX(frame);
        tick(x, look.longTick);
        label(x, frame);
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
