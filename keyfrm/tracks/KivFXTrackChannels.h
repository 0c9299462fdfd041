// What a track interpolates in each kind of keyframe, as channels of floats, and the
// channel-by-channel interpolation that serves every track.
#pragma once

#include <array>
#include <utility>

#include "keyfrm/tracks/CKivFXColor32KeyFrm.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrm.h"
#include "keyfrm/tracks/CKivFXValueKeyFrm.h"
#include "keyfrm/tracks/KivFXTrackKeys.h"
#include "keyfrm/tracks/KivFXTrackMath.h"
#include "kivbase/KivInterpolate.h"

/// Per keyframe class: kCount channels; kHasHandles (whether it has a Bezier form); Of (the
/// keyframe's own values); OutControl and InControl (the Bezier control values its outgoing
/// and incoming handles give); Put (a sample keyframe takes values); SwapHandles (mirroring
/// in time).
template <class K>
struct KivFXChannels;

template <>
struct KivFXChannels<CKivFXValueKeyFrm> {
    static constexpr int kCount = 1;
    static constexpr bool kHasHandles = true;
    using Values = std::array<float, kCount>;
    static Values Of(const CKivFXValueKeyFrm& k) { return {k.Value}; }
    static Values OutControl(const CKivFXValueKeyFrm& k) { return {k.Value + k.PtAfter.ValueOffset}; }
    static Values InControl(const CKivFXValueKeyFrm& k) { return {k.Value + k.PtFore.ValueOffset}; }
    static void Put(CKivFXValueKeyFrm& k, const Values& v) { k.Value = v[0]; }
    static void SwapHandles(CKivFXValueKeyFrm& k) { std::swap(k.PtFore, k.PtAfter); }
};

template <>
struct KivFXChannels<CKivFXPosiKeyFrm> {
    static constexpr int kCount = 3;
    static constexpr bool kHasHandles = true;
    using Values = std::array<float, kCount>;
    static Values Of(const CKivFXPosiKeyFrm& k) { return {k.PosiX, k.PosiY, k.PosiZ}; }
    static Values OutControl(const CKivFXPosiKeyFrm& k) { return {k.PosiX + k.After.X, k.PosiY + k.After.Y, k.PosiZ + k.After.Z}; }
    static Values InControl(const CKivFXPosiKeyFrm& k) { return {k.PosiX + k.Fore.X, k.PosiY + k.Fore.Y, k.PosiZ + k.Fore.Z}; }
    static void Put(CKivFXPosiKeyFrm& k, const Values& v) {
        k.PosiX = v[0];
        k.PosiY = v[1];
        k.PosiZ = v[2];
    }
    static void SwapHandles(CKivFXPosiKeyFrm& k) { std::swap(k.Fore, k.After); }
};

template <>
struct KivFXChannels<CKivFXColor32KeyFrm> {
    static constexpr int kCount = 4;
    static constexpr bool kHasHandles = false;  // colour tracks are always linear
    using Values = std::array<float, kCount>;  // red, green, blue, alpha
    static Values Of(const CKivFXColor32KeyFrm& k) {
        const tagCOLOR32 c = k.GetColor32();
        return {float(c.red), float(c.green), float(c.blue), float(c.alpha)};
    }
    /// Interpolated channels are truncated toward zero to their low 8 bits.
    static tagCOLOR32 ToColor(const Values& v) {
        return {KivFXChannelByte(v[2]), KivFXChannelByte(v[1]), KivFXChannelByte(v[0]), KivFXChannelByte(v[3])};
    }
    static void Put(CKivFXColor32KeyFrm& k, const Values& v) { k.SetColor32(ToColor(v)); }
};

template <class K>
using KivFXValues = typename KivFXChannels<K>::Values;

/// What an evaluation reads of two neighbouring keyframes a and b: their keys (of the
/// position type asked), their values and, where K has handles, a's outgoing and b's incoming
/// control values. The tracks fill one from their keyframes at each call; a snapshot view
/// keeps one per segment, so that both answer through the one arithmetic below.
template <class K, class Key, bool = KivFXChannels<K>::kHasHandles>
struct KivFXSegment {
    Key from, to;
    KivFXValues<K> a, b;
};
template <class K, class Key>
struct KivFXSegment<K, Key, true> {
    Key from, to;
    KivFXValues<K> a, b;
    KivFXValues<K> out, in;
};

template <class K, class Key>
KivFXSegment<K, Key> KivFXSegmentOf(const K& a, const K& b, Key pos) {
    KivFXSegment<K, Key> s;
    s.from = KivFXKeyOf(&a, pos);
    s.to = KivFXKeyOf(&b, pos);
    s.a = KivFXChannels<K>::Of(a);
    s.b = KivFXChannels<K>::Of(b);
    if constexpr (KivFXChannels<K>::kHasHandles) {
        s.out = KivFXChannels<K>::OutControl(a);
        s.in = KivFXChannels<K>::InControl(b);
    }
    return s;
}

/// The cubic Bezier of a segment through a's outgoing and b's incoming handle, at t.
template <class K, class Key>
KivFXValues<K> KivFXBezierAt(const KivFXSegment<K, Key, true>& s, float t) {
    KivFXValues<K> out;
    for (int c = 0; c < KivFXChannels<K>::kCount; ++c) {
        const float p[4] = {s.a[c], s.out[c], s.in[c], s.b[c]};
        out[c] = KivPublicInsBezier3(p, t);
    }
    return out;
}

/// The same between keyframes a and b.
template <class K>
KivFXValues<K> KivFXBezier(const K& a, const K& b, float t) {
    return KivFXBezierAt<K>(KivFXSegmentOf(a, b, 0.0), t);
}

/// The segment's value at a location or a frame: the Bezier when bezier is set (and K has
/// handles), t from the same position type; otherwise the straight line, channel by channel.
template <class K, class Key>
KivFXValues<K> KivFXInterpolate(const KivFXSegment<K, Key>& s, Key pos, bool bezier) {
    if constexpr (KivFXChannels<K>::kHasHandles)
        if (bezier) return KivFXBezierAt<K>(s, KivFXBezierParam(s.from, s.to, pos));
    KivFXValues<K> out;
    // Frames take the line's int overload, locations its double one.
    for (int c = 0; c < KivFXChannels<K>::kCount; ++c) out[c] = KivPublicInsValue(s.from, s.to, s.a[c], s.b[c], static_cast<double>(pos));
    return out;
}

/// A track's values at a position, and whether they were interpolated (ranged tracks clamp
/// only those; values straight from a keyframe or the default are not clamped).
template <class K>
struct KivFXEvaluation {
    KivFXValues<K> values;
    bool interpolated = false;
};

/// The values at a bracket: the default, a keyframe's own values, or the segment between
/// the two keyframes (Bezier when bezier is set, t from the same position type).
template <class K, class Key>
KivFXEvaluation<K> KivFXEvaluate(const KivFXBracket& b, Key pos, bool bezier, const KivFXValues<K>& def) {
    const auto* a = static_cast<const K*>(b.previous);
    const auto* n = static_cast<const K*>(b.next);
    if (a && n) return {KivFXInterpolate<K>(KivFXSegmentOf(*a, *n, pos), pos, bezier), true};
    if (a || n) return {KivFXChannels<K>::Of(a ? *a : *n), false};
    return {def, false};
}
