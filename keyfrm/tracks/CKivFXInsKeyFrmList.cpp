#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"

#include "keyfrm/tracks/KivFXTrackSampling.h"

namespace {

// Handles given to a new keyframe: a tenth of the effect, or five frames, on each side.
constexpr double kLocationHandle = 0.1;
constexpr double kFrameHandle = 5.0;

}  // namespace

KIV_IMPLEMENT_PERSIST_TRACK(CKivFXInsKeyFrmList)

KIV_LEVEL(CKivFXInsKeyFrmList, "CKivFXInsKeyFrmList", 1, 0,
          KivField<&Self::MinValue>("MinValue", KivEnc::f32, KivXml::f32, -1000.0f),
          KivField<&Self::MaxValue>("MaxValue", KivEnc::f32, KivXml::f32, 1000.0f),
          KivField<&Self::DefValue>("DefValue", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::InsMode>("InsMode", KivEnc::i16, KivXml::i16, 0),
          KivField<&Self::CtrlMode>("CtrlMode", KivEnc::i16, KivXml::i16, 1),
          KivField<&Self::BaseOnFrame>("BaseOnFrame", KivEnc::i16, KivXml::flag, 0, kKivFieldOptional))

CKivFXInsKeyFrmList::CKivFXInsKeyFrmList() { KivDefaultLevel(this, Level()); }

float CKivFXInsKeyFrmList::InsValue(double location) const { return ValueAt(m_keys.Find(*this, location), location); }

float CKivFXInsKeyFrmList::InsValue(int frame) const { return ValueAt(m_keys.Find(*this, frame), frame); }

template <class Key>
CKivFXValueKeyFrm* CKivFXInsKeyFrmList::SetValueAt(Key pos, float value, double handle) {
    return SetKeyFrm(
        pos, [&](CKivFXValueKeyFrm& k) { k.Value = value; },
        [&](CKivFXValueKeyFrm& k) {
            k.PtFore = {0.0f, -handle};
            k.PtAfter = {0.0f, handle};
        });
}

CKivFXValueKeyFrm* CKivFXInsKeyFrmList::SendKeyFrmValue(double location, float value) {
    return SetValueAt(location, value, kLocationHandle);
}

CKivFXValueKeyFrm* CKivFXInsKeyFrmList::SendKeyFrmValue(int frame, float value) { return SetValueAt(frame, value, kFrameHandle); }

CKivFXValueKeyFrm* CKivFXInsKeyFrmList::AddKeyFrm(double location) {
    if (!(location >= 0.0 && location <= 1.0)) return nullptr;
    return SendKeyFrmValue(location, InsValue(location));
}

CKivFXValueKeyFrm* CKivFXInsKeyFrmList::AddKeyFrm(int frame) { return SendKeyFrmValue(frame, InsValue(frame)); }

int CKivFXInsKeyFrmList::BuildInsFrame(CObList* out, int from, int to) {
    return KivFXBuildFrameSamples<CKivFXValueKeyFrm>(out, from, to, *this);
}

int CKivFXInsKeyFrmList::BuildInsLocation(CObList* out, ULONG n) {
    return KivFXBuildEvenSamples<CKivFXValueKeyFrm>(out, n, [this] { return KeyFrames(); }, {DefValue}, false, [this](auto& samples) {
        return KivFXRangedSegment<CKivFXValueKeyFrm>(samples, InsMode != 0, {MinValue}, {MaxValue});
    });
}

void CKivFXInsKeyFrmList::ZoomRangeValue(float factor) {
    MinValue *= factor;
    MaxValue *= factor;
    DefValue *= factor;
    ForEachKeyFrame([&](CKivFXValueKeyFrm& k) {
        k.Value *= factor;
        k.PtFore.ValueOffset *= factor;
        k.PtAfter.ValueOffset *= factor;
    });
}
