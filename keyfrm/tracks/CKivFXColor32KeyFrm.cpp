#include "keyfrm/tracks/CKivFXColor32KeyFrm.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKivFXColor32KeyFrm, CKivFXInsValueKeyFrm)

// The element carries the root keyframe's name: files written by earlier versions use it.
KIV_LEVEL(CKivFXColor32KeyFrm, "CKivFXBaseKeyFrm", 0, 0,
          KivField<&Self::Color>("Color", KivEnc::u32, KivXml::color, CKivColor32::kOpaqueWhite))

KIV_IMPLEMENT_DEFAULT(CKivFXColor32KeyFrm, CKivFXInsValueKeyFrm)

CKivFXColor32KeyFrm::CKivFXColor32KeyFrm() { CKivFXColor32KeyFrm::Default(); }
