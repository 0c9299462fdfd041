#include "keyfrm/fx3d/CKiv3DFXWipeKeyFrm.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXWipeKeyFrm, CKiv3DFXBaseKeyFrm)

KIV_LEVEL(CKiv3DFXWipeKeyFrm, "CKiv3DFXWipeKeyFrm", 0, 0,
          KivField<&Self::Angle>("Angle", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::Soft>("Soft", KivEnc::f32, KivXml::f32, 0.3f))

KIV_IMPLEMENT_DEFAULT(CKiv3DFXWipeKeyFrm, CKiv3DFXBaseKeyFrm)

CKiv3DFXWipeKeyFrm::CKiv3DFXWipeKeyFrm() { KivDefaultLevel(this, Level()); }
