#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"

#include <cstdint>

#include "keyfrm/tracks/KivFXTrackSampling.h"

namespace {

// A new keyframe's handles follow the path over this distance on one side of it (location
// overload) or this many frames on each side (frame overload).
constexpr double kHandleReach = 0.05;
constexpr int kHandleFrames = 5;
// Past the middle of the effect the handle is measured backwards, so it stays inside 0..1.
constexpr double kMiddle = 0.5;

using Values = KivFXValues<CKivFXPosiKeyFrm>;

void SetPosition(CKivFXPosiKeyFrm& k, float x, float y, float z) { KivFXChannels<CKivFXPosiKeyFrm>::Put(k, {x, y, z}); }

}  // namespace

KIV_IMPLEMENT_PERSIST_TRACK(CKivFXPosiKeyFrmList)

// The element carries the scalar track's name: files written by earlier versions use it.
KIV_LEVEL(CKivFXPosiKeyFrmList, "CKivFXInsKeyFrmList", 1, 0,
          KivField<&Self::MinX>("MinX", KivEnc::f32, KivXml::f32, -1000.0f),
          KivField<&Self::MaxX>("MaxX", KivEnc::f32, KivXml::f32, 1000.0f),
          KivField<&Self::DefX>("DefX", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::MinY>("MinY", KivEnc::f32, KivXml::f32, -1000.0f),
          KivField<&Self::MaxY>("MaxY", KivEnc::f32, KivXml::f32, 1000.0f),
          KivField<&Self::DefY>("DefY", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::MinZ>("MinZ", KivEnc::f32, KivXml::f32, -1000.0f),
          KivField<&Self::MaxZ>("MaxZ", KivEnc::f32, KivXml::f32, 1000.0f),
          KivField<&Self::DefZ>("DefZ", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::InsMode>("InsMode", KivEnc::i16, KivXml::i16, 0),
          KivField<&Self::CtrlMode>("CtrlMode", KivEnc::i16, KivXml::i16, 1),
          KivField<&Self::BaseOnFrame>("BaseOnFrame", KivEnc::i16, KivXml::flag, 0, kKivFieldOptional))

CKivFXPosiKeyFrmList::CKivFXPosiKeyFrmList() { KivDefaultLevel(this, Level()); }

template <class Key>
Values CKivFXPosiKeyFrmList::PathAt(Key pos) const {
    return ValueAt(m_keys.Find(*this, pos), pos);
}

int CKivFXPosiKeyFrmList::InsValue(double location, float& x, float& y, float& z) const {
    const Values v = PathAt(location);
    x = v[0], y = v[1], z = v[2];
    return 1;
}

int CKivFXPosiKeyFrmList::InsValue(int frame, float& x, float& y, float& z) const {
    const Values v = PathAt(frame);
    x = v[0], y = v[1], z = v[2];
    return 1;
}

CKivFXPosiKeyFrm* CKivFXPosiKeyFrmList::SendKeyFrmValue(double location, float x, float y, float z) {
    return SetKeyFrm(
        location, [&](CKivFXPosiKeyFrm& k) { SetPosition(k, x, y, z); },
        [&](CKivFXPosiKeyFrm& k) {
            // The path as it is before the keyframe joins it.
            const Values c = PathAt(location);
            Values d;
            if (location > kMiddle) {
                const Values n = PathAt(location - kHandleReach);
                d = {c[0] - n[0], c[1] - n[1], 0.0f};
            } else {
                const Values n = PathAt(location + kHandleReach);
                d = {n[0] - c[0], n[1] - c[1], 0.0f};
            }
            k.After = {d[0], d[1], 0.0f};
            k.Fore = {-d[0], -d[1], 0.0f};
        });
}

CKivFXPosiKeyFrm* CKivFXPosiKeyFrmList::SendKeyFrmValue(int frame, float x, float y, float z) {
    return SetKeyFrm(
        frame, [&](CKivFXPosiKeyFrm& k) { SetPosition(k, x, y, z); },
        [&](CKivFXPosiKeyFrm& k) {
            const Values c = PathAt(frame);
            const Values p = PathAt(KivFXSaturate(static_cast<std::int64_t>(frame) - kHandleFrames));
            const Values n = PathAt(KivFXSaturate(static_cast<std::int64_t>(frame) + kHandleFrames));
            k.Fore = {p[0] - c[0], p[1] - c[1], 0.0f};
            k.After = {n[0] - c[0], n[1] - c[1], 0.0f};
        });
}

CKivFXPosiKeyFrm* CKivFXPosiKeyFrmList::AddKeyFrm(double location) {
    if (!(location >= 0.0 && location <= 1.0)) return nullptr;
    const Values v = PathAt(location);
    return SendKeyFrmValue(location, v[0], v[1], v[2]);
}

CKivFXPosiKeyFrm* CKivFXPosiKeyFrmList::AddKeyFrm(int frame) {
    const Values v = PathAt(frame);
    return SendKeyFrmValue(frame, v[0], v[1], v[2]);
}

int CKivFXPosiKeyFrmList::BuildInsFrame(CObList* out, int from, int to) {
    return KivFXBuildFrameSamples<CKivFXPosiKeyFrm>(out, from, to, *this);
}

int CKivFXPosiKeyFrmList::BuildInsLocation(CObList* out, ULONG n) {
    return KivFXBuildEvenSamples<CKivFXPosiKeyFrm>(out, n, [this] { return KeyFrames(); }, {DefX, DefY, DefZ}, false, [this](auto& samples) {
        return KivFXRangedSegment<CKivFXPosiKeyFrm>(samples, InsMode != 0, {MinX, MinY, MinZ}, {MaxX, MaxY, MaxZ});
    });
}

void CKivFXPosiKeyFrmList::OffsetPosi(float dx, float dy, float dz) {
    ForEachKeyFrame([&](CKivFXPosiKeyFrm& k) { k.OffsetPosi(dx, dy, dz); });
}
