// A read-only evaluation view of one scalar, position or colour track, for hosts that ask a
// track for many values while nobody edits it (a renderer, frame after frame): the track's
// keyframes sorted once by the key asked, O(log n) a call and O(1) while the positions rise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

#include "keyfrm/tracks/CKivFXColor32KeyFrmList.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "keyfrm/tracks/KivFXTrackKeys.h"

/// It answers exactly as the track's own InsValue would for the track as it was when built;
/// any change through the track's operations, the list functions or the list itself moves the
/// list's modification count, which every call compares (O(1)) before rebuilding the view,
/// while a key (Location, Frame) written directly into a keyframe as a view lives is a
/// promise the host makes not to break: values and handles are read at each call, keys are
/// not (a build without NDEBUG checks them now and then and stops the program when they
/// moved; NoteKeyFrmChange on the track makes such a write a change like any other).
///
/// The track must outlive the view; its own fields (range, default, InsMode) are read at each
/// call. A view keeps a cursor, so one view serves one thread. Nothing raises: without
/// memory for its sorted keys a view answers through the track's own InsValue.
template <class Track>
class CKivFXTrackView {
public:
    explicit CKivFXTrackView(const Track& track);

    /// The scalar track's InsValue overloads.
    // Each overload is a template, so that instantiating the class for one track leaves the
    // other tracks' overloads out.
    template <class T = Track>
    float InsValue(double location)
        requires std::is_same_v<T, CKivFXInsKeyFrmList>
    {
        return At(location);
    }
    template <class T = Track>
    float InsValue(int frame)
        requires std::is_same_v<T, CKivFXInsKeyFrmList>
    {
        return At(frame);
    }
    /// The position track's InsValue overloads; always 1.
    template <class T = Track>
    int InsValue(double location, float& x, float& y, float& z)
        requires std::is_same_v<T, CKivFXPosiKeyFrmList>
    {
        return Split(At(location), x, y, z);
    }
    template <class T = Track>
    int InsValue(int frame, float& x, float& y, float& z)
        requires std::is_same_v<T, CKivFXPosiKeyFrmList>
    {
        return Split(At(frame), x, y, z);
    }
    /// The colour track's InsValue overloads; always 1.
    template <class T = Track>
    int InsValue(double location, BYTE& red, BYTE& green, BYTE& blue, BYTE& alpha)
        requires std::is_same_v<T, CKivFXColor32KeyFrmList>
    {
        const tagCOLOR32 c = At(location);
        red = c.red, green = c.green, blue = c.blue, alpha = c.alpha;
        return 1;
    }
    template <class T = Track>
    int InsValue(double location, ULONG& colour)
        requires std::is_same_v<T, CKivFXColor32KeyFrmList>
    {
        colour = At(location).ToDWORD();
        return 1;
    }

    /// The track's value at a location or frame as its evaluation gives it (float, the three
    /// axes, or the colour).
    template <class Key>
    auto At(Key pos) {
        return m_track->ValueAt(Bracket(pos), pos);
    }
    /// At's answers at count frames rising one by one from first (the last of them must be
    /// an int), each handed to put(i, values) for i from 0: the bracket is found once per
    /// run of frames between two keys, so a frame costs only its evaluation.
    template <class Put>
    void AtFrames(int first, std::int64_t count, Put put)
        requires(!std::is_same_v<Track, CKivFXColor32KeyFrmList>);
    /// The bracket the track's own search gives at pos.
    KivFXBracket Bracket(double location) { return Find(m_byLocation, location); }
    KivFXBracket Bracket(int frame)
        requires(!std::is_same_v<Track, CKivFXColor32KeyFrmList>)
    {
        return Find(m_byFrame, frame);
    }

private:
    /// One order of the keyframes, sorted by the first call that asks by its key (a track is
    /// mostly asked by one key only), again after each rebuild.
    template <class Key>
    struct Order {
        KivFXSortedKeys<Key> keys;
        std::size_t cursor = 0;
        bool built = false;
    };

    template <class Key>
    KivFXBracket Find(Order<Key>& order, Key pos);
    /// Takes the list's keyframes, head, tail and count afresh and drops both orders.
    void Rebuild();
    template <class Key>
    bool Make(Order<Key>& order);
    static int Split(const KivFXValues<CKivFXPosiKeyFrm>& v, float& x, float& y, float& z) {
        x = v[0], y = v[1], z = v[2];
        return 1;
    }
    /// Every key and element of the list as now, folded into one number.
    std::uint64_t Checksum() const;
    /// Stops the program when a key moved without the modification count (some calls only;
    /// called only in a build without NDEBUG). The members it uses are kept in every build,
    /// so that the view's layout does not depend on NDEBUG.
    void CheckPromise();
    std::uint64_t m_checksum = 0;
    std::uint64_t m_calls = 0;

    const Track* m_track;
    DWORD_PTR m_modCount = 0;
    std::size_t m_count = 0;  // the track's keyframes, in list order: how many, first, last
    const CKivFXInsValueKeyFrm* m_head = nullptr;
    const CKivFXInsValueKeyFrm* m_tail = nullptr;
    Order<double> m_byLocation;
    Order<int> m_byFrame;
};

extern template class CKivFXTrackView<CKivFXInsKeyFrmList>;
extern template class CKivFXTrackView<CKivFXPosiKeyFrmList>;
extern template class CKivFXTrackView<CKivFXColor32KeyFrmList>;

// ---- definitions ----

template <class Track>
CKivFXTrackView<Track>::CKivFXTrackView(const Track& track) : m_track(&track) {
    Rebuild();
}

template <class Track>
void CKivFXTrackView<Track>::Rebuild() {
    m_modCount = m_track->GetModCount();
    m_count = 0;
    m_head = m_tail = nullptr;
    for (POSITION pos = m_track->GetHeadPosition(); pos;) {
        const CObject* o = m_track->GetNext(pos);
        if (!m_track->m_keys.IsKey(o)) continue;
        const auto* k = static_cast<const CKivFXInsValueKeyFrm*>(o);
        if (!m_head) m_head = k;
        m_tail = k;
        ++m_count;
    }
    m_byLocation.built = false;
    m_byFrame.built = false;
#ifndef NDEBUG
    m_checksum = Checksum();
#endif
}

template <class Track>
template <class Key>
bool CKivFXTrackView<Track>::Make(Order<Key>& order) {
    try {
        order.keys.Build(m_track->m_keys.Keys(*m_track));
    } catch (const std::bad_alloc&) {
        return false;  // asked again at the next call
    }
    order.cursor = 0;
    order.built = true;
    return true;
}

template <class Track>
template <class Key>
KivFXBracket CKivFXTrackView<Track>::Find(Order<Key>& order, Key pos) {
    if (m_track->GetModCount() != m_modCount) Rebuild();
#ifndef NDEBUG
    CheckPromise();
#endif
    if (!order.built && !Make(order)) return m_track->m_keys.Find(*m_track, pos);
    return KivFXBracketOf(pos, m_count, m_head, m_tail, [&] { return order.keys.FindFrom(pos, order.cursor); });
}

template <class Track>
template <class Put>
void CKivFXTrackView<Track>::AtFrames(int first, std::int64_t count, Put put)
    requires(!std::is_same_v<Track, CKivFXColor32KeyFrmList>)
{
    for (std::int64_t i = 0; i < count;) {
        const int frame = static_cast<int>(first + i);
        const KivFXBracket b = Bracket(frame);
        std::int64_t run = 1;
        if (m_count < 2)
            run = count - i;  // no keyframe or one: the same answer at every frame
        else if (m_byFrame.built)
            run = m_byFrame.keys.SameFrom(frame, m_byFrame.cursor, count - i);
        for (std::int64_t j = 0; j < run; ++j) put(i + j, m_track->ValueAt(b, static_cast<int>(frame + j)));
        i += run;
    }
}

template <class Track>
std::uint64_t CKivFXTrackView<Track>::Checksum() const {
    std::uint64_t sum = 0;
    for (POSITION pos = m_track->GetHeadPosition(); pos;) {
        const CObject* o = m_track->GetNext(pos);
        std::uint64_t h = reinterpret_cast<std::uintptr_t>(o);
        if (m_track->m_keys.IsKey(o)) {
            const auto* k = static_cast<const CKivFXInsValueKeyFrm*>(o);
            std::uint64_t bits;
            static_assert(sizeof bits == sizeof k->Location);
            std::memcpy(&bits, &k->Location, sizeof bits);
            h ^= bits * 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint32_t>(k->Frame);
        }
        sum = (sum ^ h) * 0x100000001B3ULL;
    }
    return sum;
}

template <class Track>
void CKivFXTrackView<Track>::CheckPromise() {
    // Calls 1, 2, 4, 8 ... and then every 4,096th: a whole pass over the list now and then
    // costs O(1) a call on average.
    constexpr std::uint64_t kEvery = 4096;
    ++m_calls;
    if ((m_calls & (m_calls - 1)) != 0 && m_calls % kEvery != 0) return;
    if (Checksum() == m_checksum) return;
    std::fprintf(stderr,
                 "CKivFXTrackView: a keyframe's key was written directly while a view of its track lived "
                 "(call NoteKeyFrmChange on the track after such writes)\n");
    std::abort();
}
