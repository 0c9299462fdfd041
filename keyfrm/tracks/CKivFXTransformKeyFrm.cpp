#include "keyfrm/tracks/CKivFXTransformKeyFrm.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKivFXTransformKeyFrm, CKivFXBaseKeyFrm)

// The element carries the root keyframe's name, so its "BaseObject" holds a second element
// of the same name: files written by earlier versions are shaped so.
KIV_LEVEL(CKivFXTransformKeyFrm, "CKivFXBaseKeyFrm", 0, 0,
          KivField<&Self::TranslateX>("TranslateX", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::TranslateY>("TranslateY", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::TranslateZ>("TranslateZ", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::AnchorX>("AnchorX", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::AnchorY>("AnchorY", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::AnchorZ>("AnchorZ", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::RotateX>("RotateX", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::RotateY>("RotateY", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::RotateZ>("RotateZ", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::ScaleX>("ScaleX", KivEnc::f32, KivXml::f32, 1.0f),
          KivField<&Self::ScaleY>("ScaleY", KivEnc::f32, KivXml::f32, 1.0f),
          KivField<&Self::ScaleZ>("ScaleZ", KivEnc::f32, KivXml::f32, 1.0f))

KIV_IMPLEMENT_DEFAULT(CKivFXTransformKeyFrm, CKivFXBaseKeyFrm)

CKivFXTransformKeyFrm::CKivFXTransformKeyFrm() { CKivFXTransformKeyFrm::Default(); }
