// A read-only evaluation view of one scalar, position or colour track, for hosts that ask a
// track for many values while nobody edits it (a renderer, frame after frame): the track's
// keyframes sorted once by the key asked, O(log n) a call and O(1) while the positions rise.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <vector>

#include "keyfrm/tracks/CKivFXColor32KeyFrmList.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "keyfrm/tracks/KivFXTrackKeys.h"

/// What a view reads of the keyframes at each call, besides the keys it sorted.
enum class KivFXViewReads {
    /// Values and handles from the keyframes themselves: one written directly shows at the
    /// next call (for editors, whose drags write values while their view serves the paint).
    Live,
    /// Copies of values and handles made beside the sorted keys, so that a call reads a line
    /// of keys and a line of copies instead of two keyframes anywhere in memory (for
    /// renderers and samplers, which nobody writes under).
    Snapshot,
};

/// It answers exactly as the track's own InsValue would for the track as it was when built;
/// any change through the track's operations, the list functions or the list itself moves the
/// list's modification count, which every call compares (O(1)) before rebuilding the view,
/// while a key (Location, Frame) written directly into a keyframe as a view lives is a
/// promise the host makes not to break: a Live view reads values and handles at each call
/// and keys not, a Snapshot view copies values and handles with the keys, so that one of
/// them written directly is the same promise as a key (a build without NDEBUG checks what
/// the view took now and then and stops the program when it moved; NoteKeyFrmChange on the
/// track makes such a write a change like any other).
///
/// The track must outlive the view; its own fields (range, default, InsMode) are read at each
/// call. A view keeps a cursor, so one view serves one thread. Nothing raises: without
/// memory for its sorted keys (or a Snapshot's copies) a view answers through the track's
/// own InsValue.
template <class Track>
class CKivFXTrackView {
public:
    explicit CKivFXTrackView(const Track& track, KivFXViewReads reads = KivFXViewReads::Live);

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
        Order<Key>& order = OrderOf(pos);
        if (!Ready(order)) return m_track->ValueAt(m_track->m_keys.Find(*m_track, pos), pos);
        if (m_reads == KivFXViewReads::Snapshot) return ValueOf(FindCopied(order, pos), pos);
        return m_track->ValueAt(Search(order, pos), pos);
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
    using K = std::remove_cvref_t<decltype(*std::declval<const Track&>().GetFXKeyFrm(0))>;
    using Values = KivFXValues<K>;
    /// A Snapshot's copy of one segment, aligned so that it never straddles two lines.
    template <class Key>
    struct alignas(std::bit_ceil(sizeof(KivFXSegment<K, Key>))) Copy : KivFXSegment<K, Key> {};
    /// Where a Snapshot's answer comes from: a segment, one keyframe's values, or (neither)
    /// the track's default.
    template <class Key>
    struct Copied {
        const KivFXSegment<K, Key>* between = nullptr;
        const Values* own = nullptr;
    };
    /// One order of the keyframes, sorted by the first call that asks by its key (a track is
    /// mostly asked by one key only), again after each rebuild.
    template <class Key>
    struct Order {
        KivFXSortedKeys<Key> keys;
        /// Snapshot only: copies[i] the segment from key i to key i + 1 (the last one's a
        /// alone is read).
        std::vector<Copy<Key>> copies;
        std::size_t cursor = 0;
        bool built = false;
    };

    Order<double>& OrderOf(double) { return m_byLocation; }
    Order<int>& OrderOf(int) { return m_byFrame; }
    /// Brings the view up to the track and builds the order; false without memory for it,
    /// when the call must go to the track's own search.
    template <class Key>
    bool Ready(Order<Key>& order);
    template <class Key>
    KivFXBracket Find(Order<Key>& order, Key pos) {
        return Ready(order) ? Search(order, pos) : m_track->m_keys.Find(*m_track, pos);
    }
    /// The bracket from a ready order.
    template <class Key>
    KivFXBracket Search(Order<Key>& order, Key pos) {
        return KivFXBracketOf(pos, m_count, KivFXBracket{m_head, nullptr}, KivFXBracket{m_tail, nullptr},
                              [&] { return order.keys.FindFrom(pos, order.cursor); });
    }
    /// The same among a Snapshot's copies.
    template <class Key>
    Copied<Key> FindCopied(Order<Key>& order, Key pos);
    /// The track's answer from a Snapshot's copies.
    template <class Key>
    auto ValueOf(const Copied<Key>& c, Key pos) const {
        return m_track->Answer([&](bool bezier, const Values& def) -> KivFXEvaluation<K> {
            if (c.between) return {KivFXInterpolate<K>(*c.between, pos, bezier), true};
            return {c.own ? *c.own : def, false};
        });
    }
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
    KivFXViewReads m_reads;
    DWORD_PTR m_modCount = 0;
    std::size_t m_count = 0;  // the track's keyframes, in list order: how many, first, last
    const CKivFXInsValueKeyFrm* m_head = nullptr;
    const CKivFXInsValueKeyFrm* m_tail = nullptr;
    Values m_ends[2] = {};  // Snapshot only: the head's and the tail's values
    Order<double> m_byLocation;
    Order<int> m_byFrame;
};

extern template class CKivFXTrackView<CKivFXInsKeyFrmList>;
extern template class CKivFXTrackView<CKivFXPosiKeyFrmList>;
extern template class CKivFXTrackView<CKivFXColor32KeyFrmList>;

// ---- definitions ----

template <class Track>
CKivFXTrackView<Track>::CKivFXTrackView(const Track& track, KivFXViewReads reads) : m_track(&track), m_reads(reads) {
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
    if (m_reads == KivFXViewReads::Snapshot && m_count > 0) {
        m_ends[0] = KivFXChannels<K>::Of(*static_cast<const K*>(m_head));
        m_ends[1] = KivFXChannels<K>::Of(*static_cast<const K*>(m_tail));
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
    static_assert(sizeof(Copy<Key>) <= 64, "a call reads one line of copies");
    try {
        order.keys.Build(m_track->m_keys.Keys(*m_track));
        order.copies.clear();
        if (m_reads == KivFXViewReads::Snapshot) {
            const std::size_t n = order.keys.Size();
            order.copies.resize(n);
            for (std::size_t i = 0; i < n; ++i) {
                const K& a = *static_cast<const K*>(order.keys.KeyFrm(i));
                const K& b = i + 1 < n ? *static_cast<const K*>(order.keys.KeyFrm(i + 1)) : a;
                static_cast<KivFXSegment<K, Key>&>(order.copies[i]) = KivFXSegmentOf(a, b, Key{});
            }
        }
    } catch (const std::bad_alloc&) {
        return false;  // asked again at the next call
    }
    order.cursor = 0;
    order.built = true;
    return true;
}

template <class Track>
template <class Key>
bool CKivFXTrackView<Track>::Ready(Order<Key>& order) {
    if (m_track->GetModCount() != m_modCount) Rebuild();
#ifndef NDEBUG
    CheckPromise();
#endif
    return order.built || Make(order);
}

template <class Track>
template <class Key>
auto CKivFXTrackView<Track>::FindCopied(Order<Key>& order, Key pos) -> Copied<Key> {
    return KivFXBracketOf(pos, m_count, Copied<Key>{nullptr, &m_ends[0]}, Copied<Key>{nullptr, &m_ends[1]}, [&] {
        using Keys = KivFXSortedKeys<Key>;
        const auto s = order.keys.SlotsFrom(pos, order.cursor, {order.copies.data(), sizeof(Copy<Key>)});
        if (s.previous != Keys::kNone && s.next != Keys::kNone) return Copied<Key>{&order.copies[s.previous], nullptr};
        if (s.previous != Keys::kNone || s.next != Keys::kNone)
            return Copied<Key>{nullptr, &order.copies[s.previous != Keys::kNone ? s.previous : s.next].a};
        return Copied<Key>{};
    });
}

template <class Track>
template <class Put>
void CKivFXTrackView<Track>::AtFrames(int first, std::int64_t count, Put put)
    requires(!std::is_same_v<Track, CKivFXColor32KeyFrmList>)
{
    for (std::int64_t i = 0; i < count;) {
        const int frame = static_cast<int>(first + i);
        if (!Ready(m_byFrame)) {  // without memory for the keys: the track's own search, frame by frame
            put(i, m_track->ValueAt(m_track->m_keys.Find(*m_track, frame), frame));
            ++i;
            continue;
        }
        // Every frame of the run up to the next key takes the bracket found at its first.
        const auto run = [&](const auto& where, auto valueAt) {
            const std::int64_t n = m_count < 2 ? count - i : m_byFrame.keys.SameFrom(frame, m_byFrame.cursor, count - i);
            for (std::int64_t j = 0; j < n; ++j) put(i + j, valueAt(where, static_cast<int>(frame + j)));
            i += n;
        };
        if (m_reads == KivFXViewReads::Snapshot)
            run(FindCopied(m_byFrame, frame), [this](const Copied<int>& c, int f) { return ValueOf(c, f); });
        else
            run(Search(m_byFrame, frame), [this](const KivFXBracket& b, int f) { return m_track->ValueAt(b, f); });
    }
}

template <class Track>
std::uint64_t CKivFXTrackView<Track>::Checksum() const {
    std::uint64_t sum = 0;
    for (POSITION pos = m_track->GetHeadPosition(); pos;) {
        const CObject* o = m_track->GetNext(pos);
        std::uint64_t h = reinterpret_cast<std::uintptr_t>(o);
        if (m_track->m_keys.IsKey(o)) {
            const auto* k = static_cast<const K*>(o);
            h ^= std::bit_cast<std::uint64_t>(k->Location) * 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint32_t>(k->Frame);
            if (m_reads == KivFXViewReads::Snapshot) {  // and what the copies took
                const auto mix = [&](const Values& v) {
                    for (float f : v) h = (h ^ std::bit_cast<std::uint32_t>(f)) * 0x100000001B3ULL;
                };
                mix(KivFXChannels<K>::Of(*k));
                if constexpr (KivFXChannels<K>::kHasHandles) mix(KivFXChannels<K>::OutControl(*k)), mix(KivFXChannels<K>::InControl(*k));
            }
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
    std::fprintf(stderr, "CKivFXTrackView: a keyframe's %s was written directly while a view of its track lived "
                         "(call NoteKeyFrmChange on the track after such writes)\n",
                 m_reads == KivFXViewReads::Snapshot ? "key, value or handle" : "key");
    std::abort();
}
