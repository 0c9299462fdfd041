#include "keyfrm/tracks/CKivFXInsValueKeyFrm.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKivFXInsValueKeyFrm, CKivFXBaseKeyFrm)

KIV_LEVEL(CKivFXInsValueKeyFrm, "CKivFXInsValueKeyFrm", 1, kKivLevelKeptByDefault,
          KivField<&Self::InsKind>("InsKind", KivEnc::u16, KivXml::i16, 0),
          KivField<&Self::Frame>("Frame", KivEnc::i32, KivXml::i32, 0, kKivFieldOptional))

// The inherited Default() leaves InsKind and Frame alone; only construction zeroes them.
