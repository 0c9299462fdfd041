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

/// Straight line between a and b, channel by channel, at a location or at a frame.
template <class K>
KivFXValues<K> KivFXLinear(const K& a, const K& b, double location) {
    const auto va = KivFXChannels<K>::Of(a), vb = KivFXChannels<K>::Of(b);
    KivFXValues<K> out;
    for (int c = 0; c < KivFXChannels<K>::kCount; ++c) out[c] = KivPublicInsValue(a.Location, b.Location, va[c], vb[c], location);
    return out;
}

template <class K>
KivFXValues<K> KivFXLinear(const K& a, const K& b, int frame) {
    const auto va = KivFXChannels<K>::Of(a), vb = KivFXChannels<K>::Of(b);
    KivFXValues<K> out;
    for (int c = 0; c < KivFXChannels<K>::kCount; ++c)
        out[c] = KivPublicInsValue(a.Frame, b.Frame, va[c], vb[c], static_cast<double>(frame));
    return out;
}

/// The cubic Bezier from a to b through a's outgoing and b's incoming handle, at t.
template <class K>
KivFXValues<K> KivFXBezier(const K& a, const K& b, float t) {
    const auto va = KivFXChannels<K>::Of(a), oa = KivFXChannels<K>::OutControl(a);
    const auto ib = KivFXChannels<K>::InControl(b), vb = KivFXChannels<K>::Of(b);
    KivFXValues<K> out;
    for (int c = 0; c < KivFXChannels<K>::kCount; ++c) {
        const float p[4] = {va[c], oa[c], ib[c], vb[c]};
        out[c] = KivPublicInsBezier3(p, t);
    }
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
    (void)bezier;  // colour tracks have no Bezier form
    if (a && n) {
        if constexpr (KivFXChannels<K>::kHasHandles)
            if (bezier) return {KivFXBezier(*a, *n, KivFXBezierParam(KivFXKeyOf(a, pos), KivFXKeyOf(n, pos), pos)), true};
        return {KivFXLinear(*a, *n, pos), true};
    }
    if (a || n) return {KivFXChannels<K>::Of(a ? *a : *n), false};
    return {def, false};
}
