#include "keyfrm/core/KivFXKeyFrmList.h"

#include <cmath>
#include <vector>

#include "keyfrm/core/KivFXBracketRule.h"
#include "keyfrm/core/KivFXExchangeSort.h"

namespace {

// A negative overlap tolerance stands for this one.
constexpr float kDefaultOverlapTolerance = 0.001f;

std::vector<KivFXTrackKind>& TrackKinds() {
    // Never destroyed: the module's end code may run after static objects are gone.
    static auto* kinds = new std::vector<KivFXTrackKind>;
    return *kinds;
}

CKivFXBaseKeyFrm* AsKeyFrm(CObject* o) {
    return o && o->IsKindOf(RUNTIME_CLASS(CKivFXBaseKeyFrm)) ? static_cast<CKivFXBaseKeyFrm*>(o) : nullptr;
}

KivFXFramedKind& FramedKind() {
    static KivFXFramedKind kind{nullptr, nullptr};
    return kind;
}

// The keyframe and its Frame when o is placed by frame.
CKivFXBaseKeyFrm* AsFramed(CObject* o, int& frame) {
    const KivFXFramedKind& kind = FramedKind();
    if (!o || !kind.keyframeClass || !o->IsKindOf(kind.keyframeClass)) return nullptr;
    auto* k = static_cast<CKivFXBaseKeyFrm*>(o);
    frame = kind.frame(k);
    return k;
}

// The key of an element: Frame for the int overloads (elements without a Frame are
// passed over), Location for the double overloads (non-keyframes are passed over).
template <class Key>
bool KeyOf(CObject* o, CKivFXBaseKeyFrm*& k, Key& key) {
    if constexpr (std::is_same_v<Key, int>) {
        k = AsFramed(o, key);
        if (!k) return false;
    } else {
        k = AsKeyFrm(o);
        if (!k) return false;
        key = k->Location;
    }
    return true;
}

// Calls visit(keyframe, key) head to tail (or tail to head) until it returns true;
// returns that keyframe or null.
template <class Key, class Visit>
CKivFXBaseKeyFrm* Walk(CKivObList* list, bool fromTail, Visit visit) {
    if (!list) return nullptr;
    for (POSITION pos = fromTail ? list->GetTailPosition() : list->GetHeadPosition(); pos;) {
        CObject* o = fromTail ? list->GetPrev(pos) : list->GetNext(pos);
        CKivFXBaseKeyFrm* k = nullptr;
        Key key{};
        if (KeyOf<Key>(o, k, key) && visit(k, key)) return k;
    }
    return nullptr;
}

// The list's sort key of a keyframe: Frame on a frame-based list, Location otherwise.
// A keyframe without a Frame sorts by Location even on a frame-based list.
double SortKey(CKivFXBaseKeyFrm* k, bool byFrame) {
    if (byFrame)
        if (int frame = 0; AsFramed(k, frame)) return frame;
    return k->Location;
}

bool RefusedByTrack(CKivObList* list, CKivFXBaseKeyFrm* keyframe) {
    const KivFXTrackKind* kind = KivFXFindTrackKind(list);
    return kind && !keyframe->IsKindOf(kind->keyframeClass);
}

template <class Key>
int CalcRange(Key pos, CKivObList* list, CKivFXBaseKeyFrm** previous, CKivFXBaseKeyFrm** next) {
    KivFXBracketScan<Key, CKivFXBaseKeyFrm> scan(pos);
    const bool hit = Walk<Key>(list, false, [&](CKivFXBaseKeyFrm* k, Key key) { return scan.Offer(k, key); }) != nullptr;
    if (previous) *previous = scan.Previous();
    if (next) *next = scan.Next();
    return hit ? 1 : 0;
}

}  // namespace

int KivFXKeyFrmOpen() { return 1; }
int KivFXKeyFrmClose() { return 1; }

void KivFXRegisterTrackKind(const KivFXTrackKind& kind) {
    for (auto& k : TrackKinds())
        if (k.trackClass == kind.trackClass) {
            k = kind;
            return;
        }
    TrackKinds().push_back(kind);
}

void KivFXUnregisterTrackKinds() {
    TrackKinds().clear();
    FramedKind() = {nullptr, nullptr};
}

void KivFXRegisterFramedKind(const KivFXFramedKind& kind) { FramedKind() = kind; }

const KivFXTrackKind* KivFXFindTrackKind(const CKivObList* list) {
    if (!list) return nullptr;
    for (const auto& k : TrackKinds())
        if (list->IsKindOf(k.trackClass)) return &k;
    return nullptr;
}

int KivFXKeyFrmListIsBaseOnFrame(CKivObList* list) {
    const KivFXTrackKind* kind = KivFXFindTrackKind(list);
    return kind && kind->isBaseOnFrame ? (kind->isBaseOnFrame(list) ? 1 : 0) : 0;
}

// ---- exact and neighbour lookup ----

CKivFXBaseKeyFrm* KivFXKeyFrmFindKF(double location, CKivObList* list) {
    if (location < 0.0) return nullptr;
    return Walk<double>(list, false, [&](CKivFXBaseKeyFrm*, double key) { return key == location; });
}

CKivFXBaseKeyFrm* KivFXKeyFrmFindKF(int frame, CKivObList* list) {
    return Walk<int>(list, false, [&](CKivFXBaseKeyFrm*, int key) { return key == frame; });
}

int KivFXKeyFrmIsPoint(double location, CKivObList* list) { return KivFXKeyFrmFindKF(location, list) ? 1 : 0; }
int KivFXKeyFrmIsPoint(int frame, CKivObList* list) { return KivFXKeyFrmFindKF(frame, list) ? 1 : 0; }

CKivFXBaseKeyFrm* KivFXKeyFrmFindPrv(double location, CKivObList* list) {
    return Walk<double>(list, true, [&](CKivFXBaseKeyFrm*, double key) { return key < location; });
}

CKivFXBaseKeyFrm* KivFXKeyFrmFindPrv(int frame, CKivObList* list) {
    return Walk<int>(list, true, [&](CKivFXBaseKeyFrm*, int key) { return key < frame; });
}

CKivFXBaseKeyFrm* KivFXKeyFrmFindNext(double location, CKivObList* list) {
    return Walk<double>(list, false, [&](CKivFXBaseKeyFrm*, double key) { return key > location; });
}

CKivFXBaseKeyFrm* KivFXKeyFrmFindNext(int frame, CKivObList* list) {
    return Walk<int>(list, false, [&](CKivFXBaseKeyFrm*, int key) { return key > frame; });
}

// ---- bracketing ----

int KivFXKeyFrmCalcRangeKF(double location, CKivObList* list, CKivFXBaseKeyFrm** previous, CKivFXBaseKeyFrm** next) {
    if (previous) *previous = nullptr;
    if (next) *next = nullptr;
    if (!list || list->IsEmpty()) return 0;
    // Outside the effect the nearest end of the list answers, sorted or not.
    if (location < 0.0) {
        if (previous) *previous = Walk<double>(list, false, [](CKivFXBaseKeyFrm*, double) { return true; });
        return 0;
    }
    if (location > 1.0) {
        if (previous) *previous = Walk<double>(list, true, [](CKivFXBaseKeyFrm*, double) { return true; });
        return 0;
    }
    return CalcRange<double>(location, list, previous, next);
}

int KivFXKeyFrmCalcRangeKF(int frame, CKivObList* list, CKivFXBaseKeyFrm** previous, CKivFXBaseKeyFrm** next) {
    if (previous) *previous = nullptr;
    if (next) *next = nullptr;
    if (!list || list->IsEmpty()) return 0;
    return CalcRange<int>(frame, list, previous, next);
}

// ---- insertion, overlap, re-sort ----

int KivFXKeyFrmTryInsertKF(CKivObList* list, CKivFXBaseKeyFrm* keyframe) {
    if (!list || !keyframe || RefusedByTrack(list, keyframe)) return 0;
    const bool byFrame = KivFXKeyFrmListIsBaseOnFrame(list) != 0;
    const double key = SortKey(keyframe, byFrame);
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        const POSITION at = pos;
        CKivFXBaseKeyFrm* k = AsKeyFrm(list->GetNext(pos));
        if (k && SortKey(k, byFrame) > key) {
            list->InsertBefore(at, keyframe);
            return 1;
        }
    }
    list->AddTail(keyframe);
    return 1;
}

void KivFXKeyFrmInsertKF(CKivObList* list, CKivFXBaseKeyFrm* keyframe) { KivFXKeyFrmTryInsertKF(list, keyframe); }

int KivFXKeyFrmIsOverlapKF(CKivObList* list, CKivFXBaseKeyFrm* keyframe, float tolerance) {
    if (!list || !keyframe) return 0;
    if (tolerance < 0.0f) tolerance = kDefaultOverlapTolerance;
    if (RefusedByTrack(list, keyframe)) return 0;
    if (KivFXKeyFrmListIsBaseOnFrame(list)) {
        int frame = 0;
        if (!AsFramed(keyframe, frame)) return 0;
        return Walk<int>(list, false, [&](CKivFXBaseKeyFrm* k, int key) { return k != keyframe && key == frame; }) ? 1 : 0;
    }
    const double tol = tolerance;
    return Walk<double>(list, false, [&](CKivFXBaseKeyFrm* k, double key) {
               return k != keyframe && std::fabs(key - keyframe->Location) < tol;
           })
               ? 1
               : 0;
}

int KivFXKeyFrmTaxisList(CKivObList* list) {
    if (!list || list->GetCount() < 2) return 0;
    const bool byFrame = KivFXKeyFrmListIsBaseOnFrame(list) != 0;
    struct Entry {
        CObject* object;
        double key;
    };
    std::vector<Entry> table;
    KivTranslateBadAlloc([&] { table.reserve(static_cast<size_t>(list->GetCount())); });
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        CObject* o = list->GetNext(pos);
        CKivFXBaseKeyFrm* k = AsKeyFrm(o);
        // Foreign elements keep their place in the table with a key that sorts them last.
        table.push_back({o, k ? SortKey(k, byFrame) : HUGE_VAL});
    }
    const bool changed = KivFXExchangeSort(table, [](const Entry& e) { return e.key; });
    if (!changed) return 0;
    // The new order is written into the nodes the list has: nothing is allocated once the
    // table is made, so the list is either sorted or, when memory ran out, as it was.
    POSITION pos = list->GetHeadPosition();
    for (const Entry& e : table) {
        list->SetAt(pos, e.object);
        list->GetNext(pos);
    }
    return 1;
}
