// The alpha effect's keyframe: the one member of the soft family with stored data of its
// own, a list of shade values.
#pragma once

#include "keyfrm/softfx/CKivSoftFXArrayKeyFrm.h"

class CKivSoftFXAlphaKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKivSoftFXAlphaKeyFrm)
public:
    /// The list starts empty; the bases start at their defaults.
    CKivSoftFXAlphaKeyFrm() = default;
    ~CKivSoftFXAlphaKeyFrm() override = default;
    /// The bases' Default, then an empty list.
    void Default() override;

    CArray<double> ShadeColor;  // the shade values in order
};
