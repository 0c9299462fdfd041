// The editing side the scalar, position and colour tracks share: their own keyframes among
// the elements, selection, lookup, deletion, setting a keyframe, and the frame edits.
#pragma once

#include <memory>
#include <vector>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/tracks/KivFXTrackChannels.h"
#include "kivbase/CKivObList.h"

/// Moves the list's modification count without changing the list, so that views of it
/// (CKivFXTrackView) rebuild: for code that writes keyframes' members directly and knows the
/// list only as a list (the editors' drags).
inline void KivFXNoteKeyFrmChange(CObList& list) {
    // A slot set to what it holds moves the count: the list's one way to be told.
    if (!list.IsEmpty()) list.SetAt(list.GetHeadPosition(), list.GetHead());
}

/// K is the track's keyframe class; elements of other classes are passed over where the
/// operations say so.
template <class K>
class CKivFXTrackBase : public CKivObList {
public:
    ~CKivFXTrackBase() override = default;

    /// Number of elements (keyframes of any class).
    int GetKeyFrmCount() const { return static_cast<int>(GetCount()); }
    /// Removes and destroys that keyframe if it is in the list (found by identity); else nothing.
    void DeleteKeyFrm(CKivFXBaseKeyFrm* keyframe);
    /// Removes and destroys every selected keyframe; allocates nothing, cannot fail.
    void DeleteSelectKeyFrm();
    /// Clears the selection flag of every keyframe.
    void UnSelectKF();
    /// Clears every selection first when exclusive is nonzero; then sets the keyframe's flag
    /// (even when it is not in this list). Returns 1 if it is in the list, 0 if not or null.
    int SetSelectKF(CKivFXBaseKeyFrm* keyframe, int exclusive);
    /// 1 if any keyframe is selected.
    int IsHasSelectKF() const;
    /// Number of selected keyframes.
    int GetSelKeyFrmCount() const;
    /// The element at that index if it is one of this track's keyframes; null otherwise or
    /// for an index out of range.
    K* GetFXKeyFrm(int index) const;
    /// Index of that object among the elements (by identity); -1 if absent or null.
    int GetFXKeyFrmIndex(const K* keyframe) const;
    /// Moves the list's modification count, as the track's own edits do, so that views of
    /// the track (CKivFXTrackView) rebuild: for hosts and editors that write keyframes'
    /// members directly.
    void NoteKeyFrmChange() { KivFXNoteKeyFrmChange(*this); }

protected:
    CKivFXTrackBase() : m_keys(K::GetThisClass()) {}
    CKivFXTrackBase(const CKivFXTrackBase&) = delete;

    /// The track's keyframes in list order; raises CMemoryException.
    std::vector<const K*> KeyFrames() const;
    /// Calls visit(K&) for each of the track's keyframes in list order, allocating nothing
    /// (so edits made this way cannot fail half way); visit must not add or remove elements.
    /// Counts as a change of the list.
    template <class Visit>
    void ForEachKeyFrame(Visit visit) {
        NoteKeyFrmChange();
        for (POSITION pos = GetHeadPosition(); pos;) {
            CObject* o = GetNext(pos);
            if (m_keys.IsKey(o)) visit(*static_cast<K*>(o));
        }
    }

    /// The keyframe exactly at the position: an existing one (found by KivFXKeyFrmFindKF)
    /// gets set(k); one of another class gives null and nothing changes. Otherwise a new K
    /// placed there gets set(k) and init(k), is appended and the list re-sorted. A NaN
    /// location gives null. Raises CMemoryException with the track as it was (nothing added,
    /// the order unchanged).
    template <class Key, class Set, class Init>
    K* SetKeyFrm(Key pos, Set set, Init init);

    // The frame edits, made public by the tracks that have frames.

    /// Reverses the list order, swaps each keyframe's two handles, and mirrors its Frame to
    /// start + end - Frame (saturated to the int range); Location is unchanged. Allocates
    /// nothing, cannot fail.
    void MakeReverse(const int& start, const int& end);
    /// Adds delta to every keyframe's Frame (saturated to the int range); cannot fail.
    void OffsetFrame(int delta);
    /// The smallest distance in frames between two keyframes that are neighbours in frame
    /// order (0 when two share a frame); 2147483647 with fewer than two keyframes. Allocates
    /// only for keyframes out of frame order, and then may raise CMemoryException.
    int GetKFMinRange() const;
    /// With recompute 0 the cached answer; otherwise whether the track varies (two
    /// keyframes whose channels differ by 1e-9 or more, or three or more keyframes), cached.
    /// Allocates nothing.
    int IsNeedInsKF(int recompute);

    CKivFXTrackKeys m_keys;

private:
    /// The cached answer of IsNeedInsKF; "varies" until first computed, so that a host
    /// asking before any recompute never skips a track that moves. Neither stored nor copied.
    BYTE m_bNeedIns = 1;
};

template <class K>
template <class Key, class Set, class Init>
K* CKivFXTrackBase<K>::SetKeyFrm(Key pos, Set set, Init init) {
    if constexpr (std::is_same_v<Key, double>)
        if (pos != pos) return nullptr;  // NaN: no keyframe could ever be found there again
    if (CKivFXBaseKeyFrm* existing = KivFXKeyFrmFindKF(pos, this)) {
        if (!m_keys.IsKey(existing)) return nullptr;
        K* k = static_cast<K*>(existing);
        set(*k);
        NoteKeyFrmChange();
        return k;
    }
    std::unique_ptr<K> k = KivTranslateBadAlloc([] { return std::make_unique<K>(); });
    if constexpr (std::is_same_v<Key, double>)
        k->Location = pos;
    else
        k->Frame = pos;
    set(*k);
    init(*k);
    const POSITION at = AddTail(k.get());
    K* added = k.release();
    try {
        KivFXKeyFrmTaxisList(this);
    } catch (const CMemoryException&) {
        // The re-sort leaves the order as it was: taking the new keyframe back off the tail
        // restores the track exactly.
        RemoveAt(at);
        delete added;
        throw;
    }
    return added;
}
