#include "keyfrm/tracks/CKivFXPosiKeyFrm.h"

KIV_IMPLEMENT_PERSIST_LEVEL(CKivFXPosiKeyFrm, CKivFXInsValueKeyFrm)

// The element carries the triangle emitter's name, as the scalar keyframe's does: files
// written by earlier versions use it.
KIV_LEVEL(CKivFXPosiKeyFrm, "CKivFXEmitTriangleKeyFrm", 0, kKivLevelKeptByDefault,
          KivField<&Self::PosiX>("PosiX", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::PosiY>("PosiY", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::PosiZ>("PosiZ", KivEnc::f32, KivXml::f32, 0.0f),
          KivBlockField<&Self::Fore>("Fore"),
          KivBlockField<&Self::After>("After"))

CKivFXPosiKeyFrm::CKivFXPosiKeyFrm() = default;

void CKivFXPosiKeyFrm::OffsetPosi(float dx, float dy, float dz) {
    PosiX += dx;
    PosiY += dy;
    PosiZ += dz;
}
