// The two keyframes of the 3-D particle effect: the emission values (PartPlay) and the
// scale factors and colour over a particle's life (PartLife). Both write their XML under
// the element name "CKiv3DFXPartLifeKeyFrm".
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"

class CKiv3DFXPartPlayKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXPartPlayKeyFrm)
public:
    CKiv3DFXPartPlayKeyFrm();
    ~CKiv3DFXPartPlayKeyFrm() override = default;
    /// Every level's defaults. Cannot fail.
    void Default() override;

    int Number;       // number of particles
    float NumberVar;  // its variation (a float, unlike the number itself)
    int Life;         // life of a particle
    int LifeVar;
    float Size;
    float SizeVar;
    float Speed;
    float SpeedVar;
    float WeightX;
    float WeightXVar;
    float WeightY;
    float WeightYVar;
    float Spin;
    float SpinVar;
    float Angle;  // emission angle
    float AngleVar;
};

class CKiv3DFXPartLifeKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXPartLifeKeyFrm)
public:
    CKiv3DFXPartLifeKeyFrm();
    ~CKiv3DFXPartLifeKeyFrm() override = default;
    /// Every level's defaults. Cannot fail.
    void Default() override;

    float SizeScale;
    float SpeedScale;
    float WeightXScale;
    float WeightYScale;
    float SpinScale;
    DWORD Color;  // packed particle colour (alpha << 24 | red << 16 | green << 8 | blue)
};
