// A full 3-D transform at one location: translation, anchor point, rotation and scale per
// axis. Hosts keep these in plain lists placed by Location.
#pragma once

#include "keyfrm/core/CKivFXBaseKeyFrm.h"

class CKivFXTransformKeyFrm : public CKivFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKivFXTransformKeyFrm)
public:
    CKivFXTransformKeyFrm();
    ~CKivFXTransformKeyFrm() override = default;
    /// The root's defaults, then no translation, anchor or rotation and unit scale.
    void Default() override;

    float TranslateX, TranslateY, TranslateZ;
    float AnchorX, AnchorY, AnchorZ;
    float RotateX, RotateY, RotateZ;
    float ScaleX, ScaleY, ScaleZ;
};
