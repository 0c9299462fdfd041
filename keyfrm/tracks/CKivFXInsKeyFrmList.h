// The scalar track: the animation curve of one effect parameter, an owning list of value
// keyframes with the parameter's range and default, placed by location or by frame.
#pragma once

#include "keyfrm/tracks/CKivFXTrackBase.h"
#include "keyfrm/tracks/CKivFXValueKeyFrm.h"
#include "keyfrm/tracks/KivFXTrackPersist.h"

class CKivFXInsKeyFrmList : public CKivFXTrackBase<CKivFXValueKeyFrm> {
    KIV_DECLARE_PERSIST_TRACK(CKivFXInsKeyFrmList)
public:
    CKivFXInsKeyFrmList();
    ~CKivFXInsKeyFrmList() override = default;

    int IsBaseOnFrame() const { return BaseOnFrame; }
    void SetBaseOnFrame(int baseOnFrame) { BaseOnFrame = baseOnFrame; }

    /// The curve's value: DefValue without keyframes; a keyframe's own Value at it, before the
    /// first, after the last, below 0.0 (the first) or above 1.0 (the last), unclamped;
    /// between two keyframes the linear or Bezier segment, clamped to MinValue..MaxValue.
    /// A position no keyframe brackets (NaN, or frames beyond +-1073741823) gives DefValue.
    float InsValue(double location) const;
    float InsValue(int frame) const;

    /// Sets the Value of the keyframe exactly there, or adds one (handles of 0.1 or 5 frames
    /// on each side) and re-sorts. Null when a keyframe of another class sits there, or for
    /// a NaN location; raises CMemoryException.
    CKivFXValueKeyFrm* SendKeyFrmValue(double location, float value);
    CKivFXValueKeyFrm* SendKeyFrmValue(int frame, float value);
    /// A keyframe carrying the curve's current value there (so it lies on the curve as it
    /// was); the location overload gives null outside 0.0..1.0.
    CKivFXValueKeyFrm* AddKeyFrm(double location);
    CKivFXValueKeyFrm* AddKeyFrm(int frame);

    /// Per-frame samples from min(from, to) to max(from, to): new value keyframes (the
    /// caller's) whose Value is InsValue at each frame; out is emptied with RemoveAll first.
    /// 0 for a null out, else 1. Raises CMemoryException: for more than 2147483647 frames up
    /// front (out untouched); when memory runs out part way, out (already emptied) holds the
    /// samples made so far, each with its value, and the caller owns them. The track never
    /// changes.
    int BuildInsValueKF(CObList* out, int from, int to) { return BuildInsFrame(out, from, to); }
    /// n evenly spaced samples over 0.0..1.0 (see BuildInsLocation). 0 for a null out or
    /// n = 0, else 1. Raises CInvalidArgException when a keyframe maps outside the samples
    /// (all n samples stay in out, those before the fault filled); CMemoryException for more
    /// than 2147483647 samples up front (out untouched), or when memory runs out while the
    /// samples are made (out, already emptied, holds those made so far at constructor
    /// defaults; the caller owns them).
    int BuildInsValueKF(CObList* out, ULONG n) { return BuildInsLocation(out, n); }

    /// Multiplies the range, the default and every keyframe's Value and handle heights.
    void ZoomRangeValue(float factor);

    // The frame edits and queries, as CKivFXTrackBase states them: MakeReverse (list order
    // reversed, handles swapped, Frame = start + end - Frame saturated), OffsetFrame (Frame +
    // delta saturated), GetKFMinRange (the smallest gap between keyframes neighbouring in frame
    // order; 2147483647 with fewer than two), IsNeedInsKF (cached; "varies" until first
    // recomputed, so a host that asks early never skips a moving track).
    using CKivFXTrackBase::GetKFMinRange;
    using CKivFXTrackBase::IsNeedInsKF;
    using CKivFXTrackBase::MakeReverse;
    using CKivFXTrackBase::OffsetFrame;

    float MinValue;   // lower clamp of interpolated values
    float MaxValue;   // upper clamp of interpolated values
    float DefValue;   // value of a track without keyframes
    int InsMode;      // 0 linear, anything else Bezier (16 bits stored)
    int CtrlMode;     // how the editor couples a keyframe's handles: 0 none, 1 linkage, 2 symmetry
    int BaseOnFrame;  // 1 frame-based, 0 location-based (optional in older data)

protected:
    int BuildInsFrame(CObList* out, int from, int to);
    /// Sample i stands for location i / (n - 1). Without keyframes every sample is
    /// DefValue; with one keyframe or n = 1 the first keyframe's Value. Otherwise each
    /// keyframe (in list order) maps to sample Location x (n - 1) + 0.5 truncated: before the
    /// first its Value, between neighbours the segment (its first sample the earlier
    /// keyframe's Value, interpolated ones clamped), from the last (at or below 1.0) on its Value.
    int BuildInsLocation(CObList* out, ULONG n);

private:
    template <class>
    friend class CKivFXTrackView;
    /// The value at the bracket the track's search gives at pos.
    template <class Key>
    float ValueAt(const KivFXBracket& bracket, Key pos) const;
    /// The track's answer from evaluate(bezier, default) (a KivFXEvaluation), with the
    /// track's fields as they are now: the one place the evaluation meets them.
    template <class Evaluate>
    float Answer(Evaluate evaluate) const {
        const auto e = evaluate(InsMode != 0, KivFXValues<CKivFXValueKeyFrm>{DefValue});
        return e.interpolated ? KivFXClamp(e.values[0], MinValue, MaxValue) : e.values[0];
    }
    /// SendKeyFrmValue's body; a new keyframe's handles reach handle units on each side.
    template <class Key>
    CKivFXValueKeyFrm* SetValueAt(Key pos, float value, double handle);
};

template <class Key>
float CKivFXInsKeyFrmList::ValueAt(const KivFXBracket& bracket, Key pos) const {
    return Answer([&](bool bezier, const auto& def) { return KivFXEvaluate<CKivFXValueKeyFrm>(bracket, pos, bezier, def); });
}
