#include "keyfrm/fx3d/CKiv3DFXPageCurlKeyFrm.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXPageCurlKeyFrm, CKiv3DFXBaseKeyFrm)

KIV_LEVEL(CKiv3DFXPageCurlKeyFrm, "CKiv3DFXPageCurlKeyFrm", 0, 0,
          KivField<&Self::Angle>("Angle", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::Radius>("Radius", KivEnc::f32, KivXml::f32, 20.0f))

KIV_IMPLEMENT_DEFAULT(CKiv3DFXPageCurlKeyFrm, CKiv3DFXBaseKeyFrm)

CKiv3DFXPageCurlKeyFrm::CKiv3DFXPageCurlKeyFrm() { KivDefaultLevel(this, Level()); }
