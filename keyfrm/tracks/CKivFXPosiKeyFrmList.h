// The position track: a point moving along a path in 3-D space, an owning list of position
// keyframes with a range and default per axis, placed by location or by frame.
#pragma once

#include "keyfrm/tracks/CKivFXPosiKeyFrm.h"
#include "keyfrm/tracks/CKivFXTrackBase.h"
#include "keyfrm/tracks/KivFXTrackPersist.h"

class CKivFXPosiKeyFrmList : public CKivFXTrackBase<CKivFXPosiKeyFrm> {
    KIV_DECLARE_PERSIST_TRACK(CKivFXPosiKeyFrmList)
public:
    CKivFXPosiKeyFrmList();
    ~CKivFXPosiKeyFrmList() override = default;

    int IsBaseOnFrame() const { return BaseOnFrame; }
    void SetBaseOnFrame(int baseOnFrame) { BaseOnFrame = baseOnFrame; }

    /// The path's position, as the scalar track finds its value but per axis and never
    /// clamped: (DefX, DefY, DefZ) without keyframes or where no keyframe brackets the
    /// position (NaN, frames beyond +-1073741823). Always returns 1.
    int InsValue(double location, float& x, float& y, float& z) const;
    int InsValue(int frame, float& x, float& y, float& z) const;

    /// Sets the position of the keyframe exactly there, or adds one whose handles follow the
    /// current path (z components 0) and re-sorts. Null when a keyframe of another class sits
    /// there, or for a NaN location; raises CMemoryException.
    CKivFXPosiKeyFrm* SendKeyFrmValue(double location, float x, float y, float z);
    CKivFXPosiKeyFrm* SendKeyFrmValue(int frame, float x, float y, float z);
    /// A keyframe at the path's current position there; the location overload gives null
    /// outside 0.0..1.0.
    CKivFXPosiKeyFrm* AddKeyFrm(double location);
    CKivFXPosiKeyFrm* AddKeyFrm(int frame);

    /// Per-frame samples (new position keyframes, the caller's), each InsValue at its frame;
    /// as the scalar track's.
    int BuildInsValueKF(CObList* out, int from, int to) { return BuildInsFrame(out, from, to); }
    /// n evenly spaced samples, as the scalar track's per axis: interpolated samples clamped
    /// to each axis's range, the others not.
    int BuildInsValueKF(CObList* out, ULONG n) { return BuildInsLocation(out, n); }

    /// Moves every keyframe's position by the three amounts.
    void OffsetPosi(float dx, float dy, float dz);

    // The frame edits and queries, as CKivFXTrackBase states them: MakeReverse (list order
    // reversed, handles swapped, Frame = start + end - Frame saturated), OffsetFrame (Frame +
    // delta saturated), GetKFMinRange (the smallest gap between keyframes neighbouring in frame
    // order; 2147483647 with fewer than two), IsNeedInsKF (cached; "varies" until first
    // recomputed, so a host that asks early never skips a moving track).
    using CKivFXTrackBase::GetKFMinRange;
    using CKivFXTrackBase::IsNeedInsKF;
    using CKivFXTrackBase::MakeReverse;
    using CKivFXTrackBase::OffsetFrame;

    float MinX, MaxX, DefX;
    float MinY, MaxY, DefY;
    float MinZ, MaxZ, DefZ;
    int InsMode;      // 0 linear, anything else Bezier (16 bits stored)
    int CtrlMode;     // handle coupling mode for the editor (0 none, 1 linkage, 2 symmetry)
    int BaseOnFrame;  // 1 frame-based, 0 location-based (optional in older data)

protected:
    int BuildInsFrame(CObList* out, int from, int to);
    int BuildInsLocation(CObList* out, ULONG n);

private:
    template <class>
    friend class CKivFXTrackView;
    using Values = KivFXValues<CKivFXPosiKeyFrm>;
    template <class Key>
    Values PathAt(Key pos) const;
    /// The position at the bracket the track's search gives at pos.
    template <class Key>
    Values ValueAt(const KivFXBracket& bracket, Key pos) const;
    /// The track's answer from evaluate(bezier, default) (a KivFXEvaluation); never clamped.
    template <class Evaluate>
    Values Answer(Evaluate evaluate) const {
        return evaluate(InsMode != 0, Values{DefX, DefY, DefZ}).values;
    }
};

template <class Key>
KivFXValues<CKivFXPosiKeyFrm> CKivFXPosiKeyFrmList::ValueAt(const KivFXBracket& bracket, Key pos) const {
    return Answer([&](bool bezier, const auto& def) { return KivFXEvaluate<CKivFXPosiKeyFrm>(bracket, pos, bezier, def); });
}
