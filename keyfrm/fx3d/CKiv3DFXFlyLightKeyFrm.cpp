#include "keyfrm/fx3d/CKiv3DFXFlyLightKeyFrm.h"

#include "kivbase/KivColor.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXFlyLightKeyFrm, CKiv3DFXBaseKeyFrm)

KIV_LEVEL(CKiv3DFXFlyLightKeyFrm, "CKiv3DFXFlyLightKeyFrm", 0, 0,
          KivField<&Self::Angle>("Angle", KivEnc::f32, KivXml::f32, 90.0f),
          KivField<&Self::HalfRange>("HalfRange", KivEnc::f32, KivXml::f32, 20.0f),
          KivField<&Self::Color>("Color", KivEnc::u32, KivXml::color, CKivColor32::kOpaqueWhite))

KIV_IMPLEMENT_DEFAULT(CKiv3DFXFlyLightKeyFrm, CKiv3DFXBaseKeyFrm)

CKiv3DFXFlyLightKeyFrm::CKiv3DFXFlyLightKeyFrm() { KivDefaultLevel(this, Level()); }
