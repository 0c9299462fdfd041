// The samplers every track shares: per-frame samples in one pass over keyframes sorted once,
// and the evenly spaced segment walk. Samples are new keyframes the caller's list owns.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "keyfrm/tracks/CKivFXTrackView.h"
#include "keyfrm/tracks/KivFXTrackChannels.h"
#include "platform/fw/CException.h"

/// The most samples one call makes: the frame helpers and the sample arithmetic count them
/// in int.
inline constexpr std::int64_t kKivFXMaxSamples = std::numeric_limits<int>::max();

/// A new default keyframe of class K appended to out (which owns it); raises CMemoryException.
template <class K>
K* KivFXAppendSample(CObList& out) {
    std::unique_ptr<K> sample = KivTranslateBadAlloc([] { return std::make_unique<K>(); });
    out.AddTail(sample.get());
    return sample.release();
}

/// What the samplers promise when they raise: a request refused up front (more than
/// kKivFXMaxSamples samples) leaves out untouched. Otherwise out is emptied with RemoveAll
/// before anything is allocated (its former objects stay the caller's, never destroyed, as
/// on success), and when memory runs out part way out holds the samples made so far, in
/// order, which the caller owns. The track itself is never changed.

/// Per-frame samples for every frame from min(from, to) to max(from, to): one new K per frame
/// holding the track's InsValue there, read through one view of the track (sorted once, each
/// run of frames between two keys bracketed once). Returns 0 for a null out; otherwise
/// empties out and returns 1. Raises CMemoryException as stated above.
template <class K, class Track>
int KivFXBuildFrameSamples(CObList* out, int from, int to, const Track& track) {
    if (!out) return 0;
    const std::int64_t first = from < to ? from : to;
    const std::int64_t last = from < to ? to : from;
    if (last - first + 1 > kKivFXMaxSamples) AfxThrowMemoryException();
    out->RemoveAll();
    CKivFXTrackView<Track> view(track);
    view.AtFrames(static_cast<int>(first), last - first + 1,
                  [&](std::int64_t, const auto& v) { KivFXChannels<K>::Put(*KivFXAppendSample<K>(*out), KivFXValues<K>{v}); });
    return 1;
}

/// The n samples of the evenly spaced sampler, made and appended to out at once; sample i
/// stands for location i / (n − 1).
template <class K>
class KivFXEvenSamples {
public:
    /// Raises CMemoryException (out untouched) for more than kKivFXMaxSamples samples;
    /// otherwise empties out.
    KivFXEvenSamples(CObList& out, ULONG n) : m_out(out), m_n(n) {
        if (static_cast<std::int64_t>(n) > kKivFXMaxSamples) AfxThrowMemoryException();
        out.RemoveAll();
    }
    /// Makes the n samples, all at constructor defaults; raises CMemoryException part way
    /// (the samples made so far stay in out).
    void Make() {
        KivTranslateBadAlloc([&] { m_samples.reserve(m_n); });
        for (ULONG i = 0; i < m_n; ++i) m_samples.push_back(KivFXAppendSample<K>(m_out));
    }
    /// Index of the last sample (n − 1), known before they are made.
    std::int64_t Last() const { return static_cast<std::int64_t>(m_n) - 1; }
    /// Raises CInvalidArgException when first..last (if not empty) reaches outside the samples.
    void Check(std::int64_t first, std::int64_t last) const {
        if (first <= last && (first < 0 || last > Last()))
            AfxThrowInvalidArgException("a keyframe maps outside the evenly spaced samples (location below 0.0 or above 1.0)");
    }
    void Put(std::int64_t i, const KivFXValues<K>& v) { KivFXChannels<K>::Put(*m_samples[static_cast<size_t>(i)], v); }
    /// Samples first..last take v; checked as Check does.
    void Fill(std::int64_t first, std::int64_t last, const KivFXValues<K>& v) {
        Check(first, last);
        for (std::int64_t i = first; i <= last; ++i) Put(i, v);
    }

private:
    CObList& m_out;
    ULONG m_n;
    std::vector<K*> m_samples;  // owned by out
};

/// Where each keyframe (in list order) falls among the evenly spaced samples, worked out
/// before any sample is made: idx(K) = KivFXSampleIndex(Location, n − 1).
struct KivFXEvenPlan {
    std::vector<std::int64_t> idx;
    std::size_t longest = 0;  // samples in the longest segment that lies inside the samples

    /// closed: as KivFXFillEvenly takes it. Raises CMemoryException.
    template <class K>
    KivFXEvenPlan(const std::vector<const K*>& keys, std::int64_t last, bool closed) {
        KivTranslateBadAlloc([&] { idx.reserve(keys.size()); });
        for (const K* k : keys) idx.push_back(KivFXSampleIndex(k->Location, last));
        // The segments the walk will fill, by its own rule; the others are never drawn.
        for (size_t j = 1; j < idx.size(); ++j) {
            const std::int64_t s = idx[j - 1], e = idx[j];
            const std::int64_t end = closed ? e : e - 1;
            if (s >= 0 && s <= end && end <= last) longest = std::max(longest, static_cast<std::size_t>(e - s + 1));
        }
    }
};

/// The segment walk of the evenly spaced samplers over the keyframes in list order, each
/// keyframe at sample plan.idx. Before the first keyframe (if its location is above 0.0)
/// the samples take its values; each neighbouring pair (A, B) with idx(A) <= idx(B) is
/// handed to segment(s, e, A, B), which fills s..e − 1 (half-open segments) or s..e
/// (closed); after the last keyframe its values fill the rest: from its own sample when
/// segments are half-open and its location is not above 1.0, from the next one when closed
/// and its location is below 1.0. A segment or fill that reaches outside the samples raises
/// CInvalidArgException before it writes anything; earlier ones stay filled. Allocates nothing.
template <class K, class Segment>
void KivFXFillEvenly(KivFXEvenSamples<K>& out, const std::vector<const K*>& keys, const KivFXEvenPlan& plan, bool closed,
                     Segment& segment) {
    const std::int64_t last = out.Last();
    const std::vector<std::int64_t>& idx = plan.idx;
    if (keys.front()->Location > 0.0) out.Fill(0, idx.front() - 1, KivFXChannels<K>::Of(*keys.front()));
    for (size_t j = 1; j < keys.size(); ++j) {
        const std::int64_t s = idx[j - 1], e = idx[j];
        const std::int64_t end = closed ? e : e - 1;
        if (end < s) continue;
        out.Check(s, end);
        segment(s, e, *keys[j - 1], *keys[j]);
    }
    const K& tail = *keys.back();
    if (!closed) {
        if (!(tail.Location > 1.0)) out.Fill(idx.back(), last, KivFXChannels<K>::Of(tail));
    } else if (!(tail.Location >= 1.0) && idx.back() != last) {
        out.Fill(idx.back() + 1, last, KivFXChannels<K>::Of(tail));
    }
}

/// One line per channel from sample s to sample e, as the frame helper draws it, in buffers
/// reused from segment to segment and sized once beforehand.
template <class K>
class KivFXSegmentLines {
public:
    using Values = KivFXValues<K>;
    /// Room for lines of up to n samples; raises CMemoryException.
    void Reserve(std::size_t n) {
        KivTranslateBadAlloc([&] {
            for (auto& line : m_line) line.reserve(n);
        });
    }
    /// Draws every channel's line from a at s to b at e; within the reserved room it
    /// allocates nothing.
    void Draw(std::int64_t s, std::int64_t e, const Values& a, const Values& b) {
        m_first = s;
        for (int c = 0; c < KivFXChannels<K>::kCount; ++c) {
            KivTranslateBadAlloc([&] { m_line[c].resize(static_cast<size_t>(e - s + 1)); });
            KivPublicInsValue(static_cast<int>(s), static_cast<int>(e), a[c], b[c], m_line[c].data());
        }
    }
    /// The channels' values at sample i of the last line drawn.
    Values At(std::int64_t i) const {
        Values v;
        for (int c = 0; c < KivFXChannels<K>::kCount; ++c) v[c] = m_line[c][static_cast<size_t>(i - m_first)];
        return v;
    }

private:
    std::int64_t m_first = 0;
    std::vector<float> m_line[KivFXChannels<K>::kCount];
};

/// The interior segment of the ranged tracks (scalar, position): samples s..e − 1, the first
/// taking A's values, the others on the line (the frame helper's buffer from s to e) or on
/// the Bezier with t stepped by 1 / (e − s + 1) in single precision; every one clamped per
/// channel to [min, max].
template <class K>
class KivFXRangedSegment {
public:
    using Values = KivFXValues<K>;
    KivFXRangedSegment(KivFXEvenSamples<K>& out, bool bezier, const Values& min, const Values& max)
        : m_out(out), m_bezier(bezier), m_min(min), m_max(max) {}

    /// Room for segments of up to n samples (only lines need any).
    void Reserve(std::size_t n) {
        if (!m_bezier) m_lines.Reserve(n);
    }

    void operator()(std::int64_t s, std::int64_t e, const K& a, const K& b) {
        m_out.Put(s, Clamped(KivFXChannels<K>::Of(a)));
        if (m_bezier) {
            const float step = 1.0f / static_cast<float>(e - s + 1);
            float t = 0.0f;
            for (std::int64_t i = s + 1; i < e; ++i) {
                t += step;
                m_out.Put(i, Clamped(KivFXBezier(a, b, t)));
            }
            return;
        }
        m_lines.Draw(s, e, KivFXChannels<K>::Of(a), KivFXChannels<K>::Of(b));
        for (std::int64_t i = s + 1; i < e; ++i) m_out.Put(i, Clamped(m_lines.At(i)));
    }

private:
    Values Clamped(Values v) const {
        for (int c = 0; c < KivFXChannels<K>::kCount; ++c) v[c] = KivFXClamp(v[c], m_min[c], m_max[c]);
        return v;
    }

    KivFXEvenSamples<K>& m_out;
    bool m_bezier;
    Values m_min, m_max;
    KivFXSegmentLines<K> m_lines;
};

/// The evenly spaced sampler: 0 for a null out or n = 0. Otherwise n new samples go into out
/// (emptied first); without keyframes (keysOf(): the track's keyframes in list order) each
/// takes def, with one keyframe or n = 1 the first keyframe's values, otherwise
/// KivFXFillEvenly with the segment that makeSegment(samples) gives (which has Reserve(n)).
/// Everything the filling needs is allocated before the samples are made, so memory can run
/// out only while they are made: the samples in out are then all at constructor defaults.
/// Returns 1; raises as KivFXEvenSamples and KivFXFillEvenly do.
template <class K, class KeysOf, class MakeSegment>
int KivFXBuildEvenSamples(CObList* out, ULONG n, KeysOf keysOf, const KivFXValues<K>& def, bool closed, MakeSegment makeSegment) {
    if (!out || n == 0) return 0;
    KivFXEvenSamples<K> samples(*out, n);
    const std::vector<const K*> keys = keysOf();
    if (keys.size() < 2 || n == 1) {
        samples.Make();
        samples.Fill(0, samples.Last(), keys.empty() ? def : KivFXChannels<K>::Of(*keys.front()));
        return 1;
    }
    const KivFXEvenPlan plan(keys, samples.Last(), closed);
    auto segment = makeSegment(samples);
    segment.Reserve(plan.longest);
    samples.Make();
    KivFXFillEvenly(samples, keys, plan, closed, segment);
    return 1;
}
