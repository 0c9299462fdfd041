#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXBaseKeyFrm, CKivFXBaseKeyFrm)

KIV_LEVEL(CKiv3DFXBaseKeyFrm, "CKiv3DFXBaseKeyFrm", 0, 0,
          KivField<&Self::Prog>("Prog", KivEnc::f32, KivXml::f32, 0.0f))

KIV_IMPLEMENT_DEFAULT(CKiv3DFXBaseKeyFrm, CKivFXBaseKeyFrm)

CKiv3DFXBaseKeyFrm::CKiv3DFXBaseKeyFrm() { KivDefaultLevel(this, Level()); }
