// The curve dialog's mapping of keyframes to client pixels with the dialog's scales taken
// once and every step inline: a paint of a dense track maps three points for each of
// thousands of keyframes. The dialog's own mapping calls go through it too, so a paint
// and a hit test can never disagree by a pixel.
#pragma once

#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/editors/KivFXTimeStrip.h"
#include "keyfrm/tracks/CKivFXValueKeyFrm.h"
#include "platform/fw/CGeometry.h"

struct KivFXCurvePointMap {
    KivFXStoryRange range;
    int hMargin = 0;
    int vMargin = 0;
    float framesPerPixel = 1.0f;
    float topValue = 0.0f;
    double valuePerPixel = 1.0;
    bool handlesInFrames = false;  // a handle's PosOffset counts frames, not location

    int FrameToPixelX(int frame) const {
        return hMargin + KivRoundToPixel(KivScaled(static_cast<double>(frame) - range.in, framesPerPixel));
    }
    int LocationToPixelX(double location) const { return FrameToPixelX(range.GetSBFrame(location)); }
    int ValueToPixelY(float value) const { return vMargin + KivRoundToPixel(KivScaled(KivSpan(topValue, value), valuePerPixel)); }
    double HandleLocationOffset(double posOffset) const { return handlesInFrames ? range.FramesToLocation(posOffset) : posOffset; }

    /// Part kKivFXPartKeyFrm, kKivFXPartForePt or kKivFXPartAfterPt of a keyframe.
    CPoint PartPoint(const CKivFXValueKeyFrm& k, int part) const {
        if (part == kKivFXPartKeyFrm) return CPoint(LocationToPixelX(k.Location), ValueToPixelY(k.Value));
        const SKivFXBezierHandle& h = part == kKivFXPartForePt ? k.PtFore : k.PtAfter;
        return CPoint(LocationToPixelX(k.Location + HandleLocationOffset(h.PosOffset)), ValueToPixelY(k.Value + h.ValueOffset));
    }
    /// The fore handle's, the keyframe's and the after handle's points, as a note draws them.
    void NotePoints(const CKivFXValueKeyFrm& k, CPoint out[3]) const {
        out[0] = PartPoint(k, kKivFXPartForePt);
        out[1] = PartPoint(k, kKivFXPartKeyFrm);
        out[2] = PartPoint(k, kKivFXPartAfterPt);
    }
};
