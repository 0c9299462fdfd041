#include "keyfrm/fx3d/CKiv3DFXGhostKeyFrm.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXGhostKeyFrm, CKiv3DFXBaseKeyFrm)

KIV_LEVEL(CKiv3DFXGhostKeyFrm, "CKiv3DFXGhostKeyFrm", 0, 0,
          KivField<&Self::Pitch>("Pitch", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::Distance>("Distance", KivEnc::f32, KivXml::f32, 1.0f),
          KivField<&Self::ProjectDir>("ProjectDir", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::ZDirection>("ZDirection", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::BodyAlpha>("BodyAlpha", KivEnc::f32, KivXml::f32, 1.0f),
          KivField<&Self::GhostAlpha>("GhostAlpha", KivEnc::f32, KivXml::f32, 0.1f))

KIV_IMPLEMENT_DEFAULT(CKiv3DFXGhostKeyFrm, CKiv3DFXBaseKeyFrm)

CKiv3DFXGhostKeyFrm::CKiv3DFXGhostKeyFrm() { KivDefaultLevel(this, Level()); }
