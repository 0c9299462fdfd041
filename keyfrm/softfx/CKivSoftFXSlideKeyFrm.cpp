#include "keyfrm/softfx/CKivSoftFXSlideKeyFrm.h"

#include "keyfrm/softfx/CKivSoftFXSlideInsStream.h"
#include "keyfrm/softfx/KivSoftFXTruncate.h"

namespace {

// Handles start pointing back-and-up out of the keyframe and forward-and-up into it.
constexpr double kHandleX = -0.1;
constexpr double kHandleY = 0.1;
// The picture starts at the centre of the frame.
constexpr double kCentre = 0.5;

}  // namespace

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXSlideKeyFrm, CKivSoftFXCoolKeyFrm)

// The run-time results belong to the keyframe they were computed for: a copy takes the
// stored fields and the handle flags and starts its results afresh.
KIV_LEVEL(CKivSoftFXSlideKeyFrm, "CKivSoftFXSlideKeyFrm", 0, 0,
          KivField<&Self::CoordX>("CoordX", KivEnc::f64, KivXml::f64, kCentre),
          KivField<&Self::CoordY>("CoordY", KivEnc::f64, KivXml::f64, kCentre),
          KivField<&Self::Width>("Width", KivEnc::f64, KivXml::f64, 1.0),
          KivField<&Self::Height>("Height", KivEnc::f64, KivXml::f64, 1.0),
          KivField<&Self::BlurHorzDegree>("BlurHorzDegree", KivEnc::f64, KivXml::f64, 0.0),
          KivField<&Self::BlurHorzAngle>("BlurHorzAngle", KivEnc::f64, KivXml::f64, 0.0),
          KivField<&Self::BlurVertDegree>("BlurVertDegree", KivEnc::f64, KivXml::f64, 0.0),
          KivField<&Self::BlurVertAngle>("BlurVertAngle", KivEnc::f64, KivXml::f64, 0.0),
          KivField<&Self::AValue>("AValue", KivEnc::f64, KivXml::f64, 1.0),
          KivField<&Self::Handle1X>("Handle1X", KivEnc::f64, KivXml::f64, kHandleX),
          KivField<&Self::Handle1Y>("Handle1Y", KivEnc::f64, KivXml::f64, kHandleY),
          KivField<&Self::Handle2X>("Handle2X", KivEnc::f64, KivXml::f64, kHandleX),
          KivField<&Self::Handle2Y>("Handle2Y", KivEnc::f64, KivXml::f64, kHandleY),
          KivMemoryField<&Self::HandleLocked>("HandleLocked", 1),
          KivMemoryField<&Self::HandleChanged>("HandleChanged", 0),
          KivMemoryField<&Self::UseWidth>("UseWidth", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::UseHeight>("UseHeight", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::FlipHorz>("FlipHorz", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::FlipVert>("FlipVert", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::UseHorzBlur>("UseHorzBlur", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::UseVertBlur>("UseVertBlur", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::UseAlpha>("UseAlpha", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::ActualX>("ActualX", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::ActualY>("ActualY", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::ActualWidth>("ActualWidth", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::ActualHeight>("ActualHeight", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::ActualRect>("ActualRect", CRect(), kKivFieldResetOnAssign),
          KivMemoryField<&Self::ActualHorzBlurDegree>("ActualHorzBlurDegree", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::ActualHorzBlurAngle>("ActualHorzBlurAngle", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::ActualVertBlurDegree>("ActualVertBlurDegree", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::ActualVertBlurAngle>("ActualVertBlurAngle", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::ActualAlpha>("ActualAlpha", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::WorkParam1>("WorkParam1", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::WorkParam2>("WorkParam2", 0.0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::WorkParam3>("WorkParam3", 0.0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::WorkParam4>("WorkParam4", 0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::WorkParam5>("WorkParam5", 0.0, kKivFieldResetOnAssign),
          KivMemoryField<&Self::WorkParam6>("WorkParam6", 1, kKivFieldResetOnAssign),
          KivMemoryField<&Self::WorkParam7>("WorkParam7", 0, kKivFieldResetOnAssign))

void CKivSoftFXSlideKeyFrm::GetHandle(int handle, double& x, double& y) const {
    x = handle ? Handle1X : Handle2X;
    y = handle ? Handle1Y : Handle2Y;
}

void CKivSoftFXSlideKeyFrm::SetHandle(int handle, double x, double y) {
    (handle ? Handle1X : Handle2X) = x;
    (handle ? Handle1Y : Handle2Y) = y;
}

void CKivSoftFXSlideKeyFrm::SetHandleChanged() {
    if (HandleChanged == 0) HandleChanged = 1;
}

void CKivSoftFXSlideKeyFrm::CopyKeyFrmData(const CKivSoftFXSlideKeyFrm* source) {
    if (!source) return;
    CoordX = source->CoordX;
    CoordY = source->CoordY;
    Width = source->Width;
    Height = source->Height;
    BlurHorzDegree = source->BlurHorzDegree;
    BlurHorzAngle = source->BlurHorzAngle;
    BlurVertDegree = source->BlurVertDegree;
    BlurVertAngle = source->BlurVertAngle;
    AValue = source->AValue;
}

int CKivSoftFXSlideKeyFrm::GetKeyFrameData(ULONG nFrames, CKivObList* pList, double dLocation, CKivSoftFXSlideKeyFrm* pResult,
                                           int bCurve) {
    if (!pList || pList->IsEmpty() || !pResult) return 0;
    CKivSoftFXSlideInsStream stream;
    if (!stream.Prepare(pList, nFrames, bCurve)) return 0;
    // nFrames, not nFrames - 1 as the keys use: a location of 1.0 lands one frame past the
    // last key and so takes its values. Hosts rely on this arithmetic, wrap-around included.
    const UINT frame = KivLow32(KivTruncToInt64(static_cast<double>(nFrames) * dLocation));
    stream.Calc(frame, pResult);
    return 1;
}
