#include "keyfrm/fx3d/CKiv3DFXWaveKeyFrm.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXWaveKeyFrm, CKiv3DFXBaseKeyFrm)

KIV_LEVEL(CKiv3DFXWaveKeyFrm, "CKiv3DFXWaveKeyFrm", 0, 0,
          KivField<&Self::SpanAngle>("SpanAngle", KivEnc::f32, KivXml::f32, 10.0f),
          KivField<&Self::WaveSplit>("WaveSplit", KivEnc::f32, KivXml::f32, 0.25f),
          KivField<&Self::Swing>("Swing", KivEnc::f32, KivXml::f32, 50.0f))

KIV_IMPLEMENT_DEFAULT(CKiv3DFXWaveKeyFrm, CKiv3DFXBaseKeyFrm)

CKiv3DFXWaveKeyFrm::CKiv3DFXWaveKeyFrm() { KivDefaultLevel(this, Level()); }
