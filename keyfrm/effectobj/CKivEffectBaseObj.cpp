#include "keyfrm/effectobj/CKivEffectBaseObj.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKivEffectBaseObj, CKivObject)

KIV_LEVEL(CKivEffectBaseObj, "CKivEffectBaseObj", 0, 0,
          KivField<&Self::FXBegin>("FXBegin", KivEnc::f64, KivXml::f64, 0.0),
          KivField<&Self::FXEnd>("FXEnd", KivEnc::f64, KivXml::f64, 1.0))

CKivEffectBaseObj::CKivEffectBaseObj() { KivDefaultLevel(this, Level()); }

void CKivEffectBaseObj::Default() { KivDefaultLevel(this, Level()); }

int CKivEffectBaseObj::Open() { return 1; }

void CKivEffectBaseObj::Close() {}
