#include "keyfrm/fx3d/CKiv3DFXBendKeyFrm.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXBendKeyFrm, CKiv3DFXBaseKeyFrm)

KIV_LEVEL(CKiv3DFXBendKeyFrm, "CKiv3DFXBendKeyFrm", 0, 0,
          KivField<&Self::Center>("Center", KivEnc::f32, KivXml::f32, 0.5f),
          KivField<&Self::Distance>("Distance", KivEnc::f32, KivXml::f32, 0.0f))

KIV_IMPLEMENT_DEFAULT(CKiv3DFXBendKeyFrm, CKiv3DFXBaseKeyFrm)

CKiv3DFXBendKeyFrm::CKiv3DFXBendKeyFrm() { KivDefaultLevel(this, Level()); }
