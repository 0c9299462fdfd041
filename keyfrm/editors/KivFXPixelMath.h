// Conversions between the editors' doubles and window coordinates that stay defined for
// any input: a NaN, an infinity or a value beyond the int range never reaches a cast.
#pragma once

#include <climits>
#include <cmath>

/// The window system draws within this many pixels of the origin; mapped points are kept
/// inside it so that arithmetic around them (a square's corners, a handle's extent)
/// cannot overflow.
constexpr int kKivPixelReach = 1 << 27;

/// v truncated toward zero and limited to [lo, hi]; NaN gives 0.
inline int KivTruncClamp(double v, int lo, int hi) {
    if (std::isnan(v)) return 0;
    if (v <= static_cast<double>(lo)) return lo;
    if (v >= static_cast<double>(hi)) return hi;
    return static_cast<int>(v);
}

/// A pixel coordinate: v truncated toward zero, within kKivPixelReach of the origin.
inline int KivTruncToPixel(double v) { return KivTruncClamp(v, -kKivPixelReach, kKivPixelReach); }

/// A frame number: v truncated toward zero, saturated to the int range.
inline int KivTruncToInt(double v) { return KivTruncClamp(v, INT_MIN, INT_MAX); }

/// v as a float; values beyond the float range become the infinity of their sign.
inline float KivToFloat(double v) {
    constexpr double kFloatMax = 3.4028234663852886e38;  // FLT_MAX, exactly
    if (v > kFloatMax) return INFINITY;
    if (v < -kFloatMax) return -INFINITY;
    return static_cast<float>(v);
}
