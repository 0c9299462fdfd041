#include "keyfrm/fx3d/CKivFXColorMaskKeyFrm.h"

namespace {
constexpr float kFullComponent = 255.0f;  // the mask lets every channel through fully
}

KIV_IMPLEMENT_PERSIST_LEVEL(CKivFXColorMaskKeyFrm, CKivFXBaseKeyFrm)

// The element name and the blue-before-green order are those of stored projects.
KIV_LEVEL(CKivFXColorMaskKeyFrm, "CKivFXBaseKeyFrm", 0, 0,
          KivField<&Self::Red>("Red", KivEnc::f32, KivXml::f32, kFullComponent),
          KivField<&Self::Blue>("Blue", KivEnc::f32, KivXml::f32, kFullComponent),
          KivField<&Self::Green>("Green", KivEnc::f32, KivXml::f32, kFullComponent),
          KivField<&Self::Alpha>("Alpha", KivEnc::f32, KivXml::f32, kFullComponent))

KIV_IMPLEMENT_DEFAULT(CKivFXColorMaskKeyFrm, CKivFXBaseKeyFrm)

CKivFXColorMaskKeyFrm::CKivFXColorMaskKeyFrm() { KivDefaultLevel(this, Level()); }
