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

/// A distance in pixels rounded half away from zero, within kKivPixelReach.
inline int KivRoundToPixel(double d) { return KivTruncToPixel(d >= 0.0 ? d + 0.5 : d - 0.5); }

/// num / scale, or 0 when the scale is 0 or not finite (every value then maps to the edge
/// the offset is measured from).
inline double KivScaled(double num, double scale) {
    if (scale == 0.0 || !std::isfinite(scale)) return 0.0;
    return num / scale;
}

/// KivRoundToPixel(KivScaled(num, scale)) for one scale and many numbers, the same int for
/// every input, with a multiplication by the scale's inverse in place of most divisions: a
/// quotient so taken is within 2^-25 of the divided one while it stays below 2^26, so it
/// rounds alike unless it lies that close to a half; those, and anything larger, not finite
/// or on a scale whose inverse loses precision, are divided as before.
class KivPixelScaler {
public:
    explicit KivPixelScaler(double scale) : m_scale(scale) {
        const double inverse = 1.0 / scale;
        m_inverse = std::isnormal(scale) && std::isnormal(inverse) ? inverse : 0.0;
    }
    int operator()(double num) const {
        constexpr double kFastReach = 67108864.0;  // 2^26
        constexpr double kMargin = 1e-6;           // far above the 2^-25 the quotient may be off
        const double q = num * m_inverse;
        if (m_inverse != 0.0 && std::fabs(q) < kFastReach) {
            const auto whole = static_cast<long long>(q);  // toward zero
            const double fraction = std::fabs(q - static_cast<double>(whole));
            if (std::fabs(fraction - 0.5) > kMargin) {
                const long long away = fraction > 0.5 ? 1 : 0;
                return static_cast<int>(q < 0.0 ? whole - away : whole + away);
            }
        }
        return KivRoundToPixel(KivScaled(num, m_scale));
    }

private:
    double m_scale;
    double m_inverse = 0.0;  // 0: always divide
};

/// a - b as the float the editors have always computed it, or in double where that float
/// overflows (a view or a track whose range spans beyond the float range).
inline double KivSpan(float a, float b) {
    const float f = a - b;
    return std::isfinite(f) ? static_cast<double>(f) : static_cast<double>(a) - b;
}

/// Units per pixel of a view from hi to lo over pixels: the float the editors have always
/// used, or the double where that float overflows, so that the mappings stay finite.
inline double KivUnitsPerPixel(float hi, float lo, float pixels) {
    const float f = (hi - lo) / pixels;
    return std::isfinite(f) ? static_cast<double>(f) : KivSpan(hi, lo) / pixels;
}

/// v limited to [lo, hi], the low end winning when the two are inverted; a NaN (from a
/// range that is not a number) gives before: a drag never stores what is not a number.
inline float KivClampOrKeep(float v, float lo, float hi, float before) {
    if (v > hi) v = hi;
    if (v < lo) v = lo;
    return std::isnan(v) ? before : v;
}

/// Stores v in field only when it is finite: a drag never stores an infinity or a NaN.
inline void KivStoreFinite(float& field, float v) {
    if (std::isfinite(v)) field = v;
}
