// The curve dialog's mapping of keyframes to client pixels with the dialog's scales taken
// once and every step inline: a paint of a dense track maps three points for each of
// thousands of keyframes. The dialog's own mapping calls go through it too, so a paint
// and a hit test can never disagree by a pixel.
#pragma once

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>

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
    KivPixelScaler framePixels{1.0};  // of framesPerPixel
    KivPixelScaler valuePixels{1.0};  // of valuePerPixel

    int FrameToPixelX(int frame) const {
        if (frame >= m_column.first && frame <= m_column.last) return m_column.x;
        const int x = MapFrame(frame);
        FindColumn(frame, x);
        return x;
    }
    int LocationToPixelX(double location) const { return FrameToPixelX(range.GetSBFrame(location)); }
    int ValueToPixelY(float value) const { return vMargin + valuePixels(KivSpan(topValue, value)); }
    double HandleLocationOffset(double posOffset) const {
        if (!handlesInFrames) return posOffset;
        // Neighbouring keyframes mostly share their handles' offsets.
        if (!m_offset.known || std::bit_cast<std::uint64_t>(posOffset) != std::bit_cast<std::uint64_t>(m_offset.frames)) {
            m_offset.known = true;
            m_offset.frames = posOffset;
            m_offset.location = range.FramesToLocation(posOffset);
        }
        return m_offset.location;
    }

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

private:
    int MapFrame(int frame) const { return hMargin + framePixels(static_cast<double>(frame) - range.in); }
    // The mapping never decreases with the frame, so two frames that map to one column hold
    // every frame between them there: a column's first and last frames, estimated from the
    // scale and kept only when the mapping confirms them, answer for all the frames between
    // (a dense track has many keyframes a column) with one division a column.
    void FindColumn(int frame, int x) const {
        m_column = {frame, frame, x};
        const double centre = static_cast<double>(x) - hMargin;
        const double scale = framesPerPixel;
        if (!(scale > 0.0) || !std::isfinite(scale)) return;
        const double first = std::ceil(range.in + (centre - 0.5) * scale);
        const double last = std::ceil(range.in + (centre + 0.5) * scale) - 1.0;
        if (first < frame && first >= INT_MIN && MapFrame(static_cast<int>(first)) == x) m_column.first = static_cast<int>(first);
        if (last > frame && last <= INT_MAX && MapFrame(static_cast<int>(last)) == x) m_column.last = static_cast<int>(last);
    }

    struct Column {
        int first = 1, last = 0;  // empty
        int x = 0;
    };
    struct Offset {
        bool known = false;
        double frames = 0.0;
        double location = 0.0;
    };
    mutable Column m_column;
    mutable Offset m_offset;
};
