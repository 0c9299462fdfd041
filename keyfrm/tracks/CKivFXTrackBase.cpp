#include "keyfrm/tracks/CKivFXTrackBase.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// An element as a keyframe of any class (selection works on all of them), or null.
CKivFXBaseKeyFrm* AsKeyFrm(CObject* o) {
    return o && o->IsKindOf(RUNTIME_CLASS(CKivFXBaseKeyFrm)) ? static_cast<CKivFXBaseKeyFrm*>(o) : nullptr;
}

// The keyframes of any class, for selection.
template <class Visit>
void ForEachKeyFrm(const CObList& list, Visit visit) {
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (CKivFXBaseKeyFrm* k = AsKeyFrm(list.GetNext(pos))) visit(k);
}

// Two channel values count as equal within this: below anything a renderer can show.
constexpr double kSameValue = 1e-9;

// GetKFMinRange's answer when there is no pair of keyframes to measure.
constexpr int kNoRange = std::numeric_limits<int>::max();

}  // namespace

template <class K>
std::vector<const K*> CKivFXTrackBase<K>::KeyFrames() const {
    return KivTranslateBadAlloc([this] {
        std::vector<const K*> out;
        for (POSITION pos = GetHeadPosition(); pos;) {
            const CObject* o = GetNext(pos);
            if (m_keys.IsKey(o)) out.push_back(static_cast<const K*>(o));
        }
        return out;
    });
}

template <class K>
void CKivFXTrackBase<K>::DeleteKeyFrm(CKivFXBaseKeyFrm* keyframe) {
    if (!keyframe) return;
    if (POSITION pos = Find(keyframe)) DeleteAt(pos);
}

template <class K>
void CKivFXTrackBase<K>::DeleteSelectKeyFrm() {
    // Deleted where they stand, the next position taken first: collecting them beforehand
    // would need memory, and a delete that could fail half way.
    for (POSITION pos = GetHeadPosition(); pos;) {
        const POSITION at = pos;
        CKivFXBaseKeyFrm* k = AsKeyFrm(GetNext(pos));
        if (k && k->IsSelect()) DeleteAt(at);
    }
}

template <class K>
void CKivFXTrackBase<K>::UnSelectKF() {
    ForEachKeyFrm(*this, [](CKivFXBaseKeyFrm* k) { k->SetSelect(0); });
}

template <class K>
int CKivFXTrackBase<K>::SetSelectKF(CKivFXBaseKeyFrm* keyframe, int exclusive) {
    if (exclusive) UnSelectKF();
    if (!keyframe) return 0;
    keyframe->SetSelect(1);
    return Find(keyframe) ? 1 : 0;
}

template <class K>
int CKivFXTrackBase<K>::IsHasSelectKF() const {
    return GetSelKeyFrmCount() > 0 ? 1 : 0;
}

template <class K>
int CKivFXTrackBase<K>::GetSelKeyFrmCount() const {
    int n = 0;
    ForEachKeyFrm(*this, [&](CKivFXBaseKeyFrm* k) { n += k->IsSelect() ? 1 : 0; });
    return n;
}

template <class K>
K* CKivFXTrackBase<K>::GetFXKeyFrm(int index) const {
    const POSITION pos = FindIndex(index);
    CObject* o = pos ? GetAt(pos) : nullptr;
    return m_keys.IsKey(o) ? static_cast<K*>(o) : nullptr;
}

template <class K>
int CKivFXTrackBase<K>::GetFXKeyFrmIndex(const K* keyframe) const {
    if (!keyframe) return -1;
    int index = 0;
    for (POSITION pos = GetHeadPosition(); pos; ++index)
        if (GetNext(pos) == keyframe) return index;
    return -1;
}

template <class K>
void CKivFXTrackBase<K>::MakeReverse(const int& start, const int& end) {
    // Copied first: the caller may pass a keyframe's own Frame, which the loop changes.
    const std::int64_t sum = static_cast<std::int64_t>(start) + end;
    ReverseList();
    ForEachKeyFrame([&](K& k) {
        if constexpr (KivFXChannels<K>::kHasHandles) KivFXChannels<K>::SwapHandles(k);
        k.Frame = KivFXSaturate(sum - k.Frame);
    });
}

template <class K>
void CKivFXTrackBase<K>::OffsetFrame(int delta) {
    if (delta == 0) return;
    ForEachKeyFrame([&](K& k) { k.Frame = KivFXSaturate(static_cast<std::int64_t>(k.Frame) + delta); });
}

template <class K>
int CKivFXTrackBase<K>::GetKFMinRange() const {
    // Tracks are kept in frame order, where neighbours in the list are neighbours in time and
    // one pass answers; only a list out of order needs its frames sorted aside.
    std::int64_t smallest = kNoRange;
    const K* previous = nullptr;
    bool inOrder = true;
    for (POSITION pos = GetHeadPosition(); pos && inOrder;) {
        const CObject* o = GetNext(pos);
        if (!m_keys.IsKey(o)) continue;
        const K* k = static_cast<const K*>(o);
        if (previous) {
            inOrder = previous->Frame <= k->Frame;
            smallest = std::min(smallest, static_cast<std::int64_t>(k->Frame) - previous->Frame);
        }
        previous = k;
    }
    if (inOrder) return static_cast<int>(smallest);
    std::vector<std::int64_t> frames = KivTranslateBadAlloc([this] {
        std::vector<std::int64_t> out;
        for (const K* k : KeyFrames()) out.push_back(k->Frame);
        return out;
    });
    std::sort(frames.begin(), frames.end());
    smallest = kNoRange;
    for (size_t i = 1; i < frames.size(); ++i) smallest = std::min(smallest, frames[i] - frames[i - 1]);
    return static_cast<int>(smallest);
}

template <class K>
int CKivFXTrackBase<K>::IsNeedInsKF(int recompute) {
    if (!recompute) return m_bNeedIns;
    const K* first[2] = {};
    int count = 0;
    for (POSITION pos = GetHeadPosition(); pos && count < 3;) {
        const CObject* o = GetNext(pos);
        if (!m_keys.IsKey(o)) continue;
        if (count < 2) first[count] = static_cast<const K*>(o);
        ++count;
    }
    int varies = count > 2 ? 1 : 0;
    if (count == 2) {
        const auto a = KivFXChannels<K>::Of(*first[0]), b = KivFXChannels<K>::Of(*first[1]);
        for (int c = 0; c < KivFXChannels<K>::kCount; ++c) {
            const double d = a[c] - b[c];  // the difference in single precision, compared in double
            if (!(d > -kSameValue && d < kSameValue)) varies = 1;
        }
    }
    m_bNeedIns = static_cast<BYTE>(varies);
    return varies;
}

template class CKivFXTrackBase<CKivFXValueKeyFrm>;
template class CKivFXTrackBase<CKivFXPosiKeyFrm>;
template class CKivFXTrackBase<CKivFXColor32KeyFrm>;
