// The colour track: a 32-bit colour with alpha animated over the effect's length, an owning
// list of colour keyframes placed by location and interpolated linearly per channel.
#pragma once

#include "keyfrm/tracks/CKivFXColor32KeyFrm.h"
#include "keyfrm/tracks/CKivFXTrackBase.h"
#include "keyfrm/tracks/KivFXTrackPersist.h"

class CKivFXColor32KeyFrmList : public CKivFXTrackBase<CKivFXColor32KeyFrm> {
    KIV_DECLARE_PERSIST_TRACK(CKivFXColor32KeyFrmList)
public:
    CKivFXColor32KeyFrmList();
    ~CKivFXColor32KeyFrmList() override = default;

    /// The colour at a location by channels: opaque white without keyframes (or at a
    /// location no keyframe brackets, such as NaN); a keyframe's own colour at it, before
    /// the first, after the last, below 0.0 (the first) or above 1.0 (the last); between two
    /// keyframes each channel on the line, truncated toward zero. Always returns 1.
    int InsValue(double location, BYTE& red, BYTE& green, BYTE& blue, BYTE& alpha) const;
    /// The same packed as alpha << 24 | red << 16 | green << 8 | blue.
    int InsValue(double location, ULONG& colour) const;

    /// Sets the colour of the keyframe exactly there, or adds one and re-sorts. Null when a
    /// keyframe of another class sits there, or for a NaN location; raises CMemoryException.
    CKivFXColor32KeyFrm* SendKeyFrmValue(double location, ULONG colour);
    CKivFXColor32KeyFrm* SendKeyFrmValue(double location, BYTE red, BYTE green, BYTE blue, BYTE alpha);
    /// A keyframe carrying the current colour there; null outside 0.0..1.0.
    CKivFXColor32KeyFrm* AddKeyFrm(double location);

    /// n evenly spaced samples over 0.0..1.0 (see BuildInsLocation). 0 for a null out or
    /// n = 0, else 1. Raises as the scalar track's evenly spaced sampler: CInvalidArgException
    /// when a keyframe maps outside the samples, CMemoryException up front (out untouched) or
    /// while the samples are made (out holds those made so far, the caller's).
    int BuildInsValueKF(CObList* out, ULONG n) { return BuildInsLocation(out, n); }

    int Transition;  // kept for the track's users; the track's own operations do not read it

protected:
    /// Sample i stands for location i / (n - 1). Without keyframes every sample is opaque
    /// white; with one keyframe or n = 1 the first keyframe's colour. Otherwise each keyframe
    /// (in list order) maps to sample Location x (n - 1) + 0.5 truncated: before the first its
    /// colour; between neighbours A and B samples idx(A)..idx(B), the ends exactly A's and B's
    /// colours and the others on the line per channel, truncated; after the last (below 1.0)
    /// its colour from the next sample on.
    int BuildInsLocation(CObList* out, ULONG n);

private:
    template <class>
    friend class CKivFXTrackView;
    /// The colour at the bracket the track's search gives at location.
    tagCOLOR32 ValueAt(const KivFXBracket& bracket, double location) const;
    /// The track's answer from evaluate(bezier, default) (a KivFXEvaluation): always linear,
    /// opaque white without keyframes.
    template <class Evaluate>
    static tagCOLOR32 Answer(Evaluate evaluate) {
        return KivFXChannels<CKivFXColor32KeyFrm>::ToColor(evaluate(false, kWhite).values);
    }
    /// A track without keyframes is opaque white.
    static constexpr KivFXValues<CKivFXColor32KeyFrm> kWhite = {255.0f, 255.0f, 255.0f, 255.0f};
};
