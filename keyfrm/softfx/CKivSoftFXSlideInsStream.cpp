#include "keyfrm/softfx/CKivSoftFXSlideInsStream.h"

#include <new>

#include "keyfrm/softfx/CKivSoftFXSlideKeyFrm.h"
#include "keyfrm/softfx/KivSoftFXTruncate.h"

namespace {

using Member = double CKivSoftFXSlideKeyFrm::*;

// A picture may be placed up to one frame beyond either edge.
constexpr double kPositionMin = -1.0;
constexpr double kPositionMax = 2.0;
// Scales run from full size mirrored to full size.
constexpr double kScaleMin = -1.0;
constexpr double kScaleMax = 1.0;
// Blur amounts, angles (fractions of a turn) and opacity are fractions.
constexpr double kFractionMin = 0.0;
constexpr double kFractionMax = 1.0;

struct FieldSpec {
    Member value;
    double minValue;
    double maxValue;
    Member handleIn;   // null: no tangents, the field is always linear
    Member handleOut;
};

using S = CKivSoftFXSlideKeyFrm;
constexpr FieldSpec kFields[CKivSoftFXSlideInsStream::kFieldCount] = {
    {&S::CoordX, kPositionMin, kPositionMax, &S::Handle1X, &S::Handle2X},
    {&S::CoordY, kPositionMin, kPositionMax, &S::Handle1Y, &S::Handle2Y},
    {&S::Width, kScaleMin, kScaleMax, nullptr, nullptr},
    {&S::Height, kScaleMin, kScaleMax, nullptr, nullptr},
    {&S::BlurHorzDegree, kFractionMin, kFractionMax, nullptr, nullptr},
    {&S::BlurHorzAngle, kFractionMin, kFractionMax, nullptr, nullptr},
    {&S::BlurVertDegree, kFractionMin, kFractionMax, nullptr, nullptr},
    {&S::BlurVertAngle, kFractionMin, kFractionMax, nullptr, nullptr},
    {&S::AValue, kFractionMin, kFractionMax, nullptr, nullptr},
};

bool HoldsOnlySlideKeyFrames(CKivObList& list) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CObject* o = list.GetNext(pos);
        if (!o || !o->IsKindOf(RUNTIME_CLASS(CKivSoftFXSlideKeyFrm))) return false;
    }
    return true;
}

}  // namespace

CKivSoftFXSlideInsStream::~CKivSoftFXSlideInsStream() { Clear(); }

int CKivSoftFXSlideInsStream::Prepare(CKivObList* pList, ULONG nFrames, int bCurve) {
    Clear();
    if (nFrames == 0 || !pList || pList->IsEmpty() || !HoldsOnlySlideKeyFrames(*pList)) return 0;
    m_pList = pList;
    m_nFrames = nFrames;
    m_bCurve = bCurve;
    const auto count = static_cast<UINT>(pList->GetCount());
    if (count == 1) {
        m_bSingle = 1;
        return 1;
    }

    try {
        for (int f = 0; f < kFieldCount; ++f) {
            const int cubic = kFields[f].handleIn && bCurve ? 1 : 0;
            m_ins[f] = std::make_unique<CKivInsDoubleThree>(kFields[f].minValue, kFields[f].maxValue, cubic);
        }
    } catch (const std::bad_alloc&) {
        Clear();
        return 0;
    }
    for (auto& ins : m_ins)
        if (!ins->Allocate(count)) {
            Clear();
            return 0;
        }

    // Keys sit on whole frames of an effect whose last frame is nFrames - 1.
    const double lastFrame = static_cast<double>(nFrames - 1);
    UINT i = 0;
    for (POSITION pos = pList->GetHeadPosition(); pos; ++i) {
        const auto& key = *static_cast<const CKivSoftFXSlideKeyFrm*>(pList->GetNext(pos));
        const double at = static_cast<double>(KivLow32(KivTruncToInt64(lastFrame * key.Location)));
        for (int f = 0; f < kFieldCount; ++f) {
            const FieldSpec& spec = kFields[f];
            const double in = spec.handleIn ? key.*spec.handleIn : 0.0;
            const double out = spec.handleOut ? key.*spec.handleOut : 0.0;
            m_ins[f]->SetKey(i, at, key.*spec.value, in, out);
        }
    }
    for (auto& ins : m_ins) ins->Finish();
    return 1;
}

void CKivSoftFXSlideInsStream::Clear() {
    for (auto& ins : m_ins) ins.reset();
    m_pList = nullptr;
    m_nFrames = 0;
    m_bCurve = 0;
    m_bSingle = 0;
}

void CKivSoftFXSlideInsStream::Calc(UINT frame, CKivSoftFXSlideKeyFrm* pResult) {
    if (!pResult || !m_pList) return;
    if (m_bSingle) {
        *pResult = *static_cast<const CKivSoftFXSlideKeyFrm*>(m_pList->GetHead());
        return;
    }
    const auto x = static_cast<double>(frame);
    for (int f = 0; f < kFieldCount; ++f) pResult->*kFields[f].value = m_ins[f]->GetValue(x);
}
