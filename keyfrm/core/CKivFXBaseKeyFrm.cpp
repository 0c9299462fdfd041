#include "keyfrm/core/CKivFXBaseKeyFrm.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKivFXBaseKeyFrm, CKivObject)

KIV_LEVEL(CKivFXBaseKeyFrm, "CKivFXBaseKeyFrm", 1, 0,
          KivField<&Self::Restore>("Restore", KivEnc::i16, KivXml::flag, 0),
          KivField<&Self::Location>("Location", KivEnc::f64, KivXml::f64, 0.0))

CKivFXBaseKeyFrm::CKivFXBaseKeyFrm() {
    CKivFXBaseKeyFrm::Default();
}

void CKivFXBaseKeyFrm::Default() {
    KivDefaultLevel(this, Level());
    m_bSelect = 0;
}
