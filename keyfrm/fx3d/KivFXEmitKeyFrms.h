// The emitter shape keyframes: the area an effect emits from, as an ellipse, a line, a
// rectangle or a triangle. They derive from the root keyframe, without a progress value.
#pragma once

#include "keyfrm/core/CKivFXBaseKeyFrm.h"
#include "keyfrm/fx3d/SKivFXEmitVertex.h"

class CKivFXEmitEllipseKeyFrm : public CKivFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKivFXEmitEllipseKeyFrm)
public:
    CKivFXEmitEllipseKeyFrm();
    ~CKivFXEmitEllipseKeyFrm() override = default;
    /// Every level's defaults. Cannot fail.
    void Default() override;

    float Width;
    float Height;
};

class CKivFXEmitLineKeyFrm : public CKivFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKivFXEmitLineKeyFrm)
public:
    CKivFXEmitLineKeyFrm();
    ~CKivFXEmitLineKeyFrm() override = default;
    /// Every level's defaults. Cannot fail.
    void Default() override;

    float Length;
};

class CKivFXEmitRectKeyFrm : public CKivFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKivFXEmitRectKeyFrm)
public:
    CKivFXEmitRectKeyFrm();
    ~CKivFXEmitRectKeyFrm() override = default;
    /// Every level's defaults. Cannot fail.
    void Default() override;

    float Width;
    float Height;
};

class CKivFXEmitTriangleKeyFrm : public CKivFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKivFXEmitTriangleKeyFrm)
public:
    CKivFXEmitTriangleKeyFrm();
    ~CKivFXEmitTriangleKeyFrm() override = default;
    /// Every level's defaults: a triangle with its centroid at the origin. Cannot fail.
    void Default() override;

    SKivFXEmitVertex PtVec0;
    SKivFXEmitVertex PtVec1;
    SKivFXEmitVertex PtVec2;
};
