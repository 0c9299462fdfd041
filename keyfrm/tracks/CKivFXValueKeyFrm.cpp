#include "keyfrm/tracks/CKivFXValueKeyFrm.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKivFXValueKeyFrm, CKivFXInsValueKeyFrm)

// The element carries the triangle emitter's name: files written by earlier versions use it.
KIV_LEVEL(CKivFXValueKeyFrm, "CKivFXEmitTriangleKeyFrm", 0, kKivLevelKeptByDefault,
          KivField<&Self::Value>("Value", KivEnc::f32, KivXml::f32, 0.0f),
          KivBlockField<&Self::PtFore>("PtFore"),
          KivBlockField<&Self::PtAfter>("PtAfter"))

