// The tracks' arithmetic rules, each stated once. Frame arithmetic is done wide and
// saturated back to int, so ordinary values give exactly plain int results and none overflows.
#pragma once

#include <cstdint>

#include "platform/fw/KivTypes.h"

/// t = (1 / (to − from + 1)) × (at − from) in single precision: both Bezier parameters end so.
inline float KivFXSpanParam(std::int64_t from, std::int64_t to, std::int64_t at) {
    return (1.0f / static_cast<float>(to - from + 1)) * static_cast<float>(at - from);
}

/// Bezier parameter between keyframes at locations a and b, at x: each position in
/// thousandths, rounded (+0.5, truncated toward zero), then t = (1 / (N − E + 1)) × (X − E)
/// in single precision. t is 0 at a and stays just below 1 next to b.
float KivFXBezierParam(double a, double b, double x);
/// Between frames p and n, at f: when the span |n − p| is below 100 frames all three are
/// scaled by 100 first; then t = (1 / (N − P + 1)) × (F − P) in single precision.
/// (Inline, as the clamp below, so that a loop over the frames of one segment keeps what
/// does not change from frame to frame out of the loop.)
inline float KivFXBezierParam(int p, int n, int f) {
    std::int64_t from = p, to = n, at = f;
    if (static_cast<float>(to > from ? to - from : from - to) < 100.0f) {  // short spans move t in fine steps
        from *= 100;
        to *= 100;
        at *= 100;
    }
    return KivFXSpanParam(from, to, at);
}

/// The clamping rule of ranged tracks; when the range is inverted (min > max) min wins.
inline float KivFXClamp(float v, float min, float max) {
    const float m = v > max ? max : v;
    if (min > m) return min;
    return v > max ? max : v;
}

/// A wide integer brought back to int, saturating at the ends of its range.
int KivFXSaturate(std::int64_t v);

/// Index of the sample a keyframe at location maps to among samples 0..last: location ×
/// last + 0.5, truncated toward zero. NaN and values too far off to be any sample map below
/// every sample (NaN) or beyond both ends, so callers' range checks refuse them.
std::int64_t KivFXSampleIndex(double location, std::int64_t last);

/// A colour channel from its interpolated value: truncated toward zero, low 8 bits (NaN 0).
BYTE KivFXChannelByte(float v);
