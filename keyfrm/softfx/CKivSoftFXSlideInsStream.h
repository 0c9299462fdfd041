// A short-lived stream that turns a list of slide keyframes into nine interpolators, one
// per interpolated field, and evaluates them at a frame. Used by
// CKivSoftFXSlideKeyFrm::GetKeyFrameData; never stored.
#pragma once

#include <array>
#include <memory>

#include "keyfrm/softfx/CKivInsDoubleThree.h"
#include "kivbase/CKivObList.h"

class CKivSoftFXSlideKeyFrm;

class CKivSoftFXSlideInsStream : public CObject {
public:
    /// The interpolated fields, in the order the stream fills them.
    enum Field { kCoordX, kCoordY, kWidth, kHeight, kBlurHorzDegree, kBlurHorzAngle, kBlurVertDegree, kBlurVertAngle, kAValue, kFieldCount };

    CKivSoftFXSlideInsStream() = default;
    ~CKivSoftFXSlideInsStream() override;
    CKivSoftFXSlideInsStream(const CKivSoftFXSlideInsStream&) = delete;
    CKivSoftFXSlideInsStream& operator=(const CKivSoftFXSlideInsStream&) = delete;

    /// Never stored: does nothing.
    void Serialize(CArchive&) override {}

    /// Places each keyframe of pList at frame (nFrames - 1) x Location and builds the
    /// interpolators (the position cubic when bCurve is nonzero); a one-keyframe list needs
    /// none. 0, the stream cleared, for nFrames 0, a null or empty list, an element that is
    /// not a slide keyframe, or no memory. The list must outlive the stream's use.
    virtual int Prepare(CKivObList* pList, ULONG nFrames, int bCurve);
    /// Releases the interpolators and forgets the list.
    virtual void Clear();
    /// Writes the values at frame into pResult: the only keyframe whole (through its
    /// operator=), or the nine interpolated values. Nothing before a successful Prepare or
    /// for a null pResult.
    virtual void Calc(UINT frame, CKivSoftFXSlideKeyFrm* pResult);

    /// The interpolator of one field after Prepare with two or more keyframes, else null.
    const CKivInsDoubleThree* GetInterpolator(Field field) const { return m_ins[field].get(); }

private:
    CKivObList* m_pList = nullptr;  // not owned
    ULONG m_nFrames = 0;
    int m_bCurve = 0;
    int m_bSingle = 0;
    std::array<std::unique_ptr<CKivInsDoubleThree>, kFieldCount> m_ins;
};
