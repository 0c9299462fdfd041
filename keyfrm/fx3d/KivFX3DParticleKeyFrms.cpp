#include "keyfrm/fx3d/KivFX3DParticleKeyFrms.h"

#include "kivbase/KivColor.h"

namespace {
// Both particle keyframes write and look up this one element name; stored projects use it.
constexpr const char* kParticleElement = "CKiv3DFXPartLifeKeyFrm";
}  // namespace

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXPartPlayKeyFrm, CKiv3DFXBaseKeyFrm)

KIV_LEVEL(CKiv3DFXPartPlayKeyFrm, kParticleElement, 0, 0,
          KivField<&Self::Number>("Number", KivEnc::i32, KivXml::i32, 2),
          KivField<&Self::NumberVar>("NumberVar", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::Life>("Life", KivEnc::i32, KivXml::i32, 50),
          KivField<&Self::LifeVar>("LifeVar", KivEnc::i32, KivXml::i32, 0),
          KivField<&Self::Size>("Size", KivEnc::f32, KivXml::f32, 30.0f),
          KivField<&Self::SizeVar>("SizeVar", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::Speed>("Speed", KivEnc::f32, KivXml::f32, 5.0f),
          KivField<&Self::SpeedVar>("SpeedVar", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::WeightX>("WeightX", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::WeightXVar>("WeightXVar", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::WeightY>("WeightY", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::WeightYVar>("WeightYVar", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::Spin>("Spin", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::SpinVar>("SpinVar", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::Angle>("Angle", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::AngleVar>("AngleVar", KivEnc::f32, KivXml::f32, 0.0f))

KIV_IMPLEMENT_DEFAULT(CKiv3DFXPartPlayKeyFrm, CKiv3DFXBaseKeyFrm)

CKiv3DFXPartPlayKeyFrm::CKiv3DFXPartPlayKeyFrm() { KivDefaultLevel(this, Level()); }

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXPartLifeKeyFrm, CKiv3DFXBaseKeyFrm)

KIV_LEVEL(CKiv3DFXPartLifeKeyFrm, kParticleElement, 0, 0,
          KivField<&Self::SizeScale>("SizeScale", KivEnc::f32, KivXml::f32, 1.0f),
          KivField<&Self::SpeedScale>("SpeedScale", KivEnc::f32, KivXml::f32, 1.0f),
          KivField<&Self::WeightXScale>("WeightXScale", KivEnc::f32, KivXml::f32, 1.0f),
          KivField<&Self::WeightYScale>("WeightYScale", KivEnc::f32, KivXml::f32, 1.0f),
          KivField<&Self::SpinScale>("SpinScale", KivEnc::f32, KivXml::f32, 1.0f),
          KivField<&Self::Color>("Color", KivEnc::u32, KivXml::color, CKivColor32::kOpaqueWhite))

KIV_IMPLEMENT_DEFAULT(CKiv3DFXPartLifeKeyFrm, CKiv3DFXBaseKeyFrm)

CKiv3DFXPartLifeKeyFrm::CKiv3DFXPartLifeKeyFrm() { KivDefaultLevel(this, Level()); }
