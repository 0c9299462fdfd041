#include "kivbase/KivInterpolate.h"

#include <cstdint>

float KivPublicInsValue(double loc0, double loc1, float val0, float val1, double loc) {
    const double span = loc1 - loc0;
    if (span == 0.0) return val0;
    return static_cast<float>(val0 + (static_cast<double>(val1) - val0) * ((loc - loc0) / span));
}

float KivPublicInsValue(int frame0, int frame1, float val0, float val1, double frame) {
    return KivPublicInsValue(static_cast<double>(frame0), static_cast<double>(frame1), val0, val1, frame);
}

int KivPublicInsValue(int frame0, int frame1, float val0, float val1, float* out) {
    if (!out || frame1 < frame0) return 0;
    // 64-bit so that a span across the whole int range does not overflow.
    const std::int64_t span = static_cast<std::int64_t>(frame1) - frame0;
    for (std::int64_t k = 0; k <= span; ++k)
        out[k] = KivPublicInsValue(0.0, static_cast<double>(span), val0, val1, static_cast<double>(k));
    return 1;
}

float KivPublicInsBezier3(const float* p, float t) {
    if (!p) return 0.0f;
    const double u = 1.0 - t;
    const double tt = t;
    return static_cast<float>(u * u * u * p[0] + 3.0 * u * u * tt * p[1] + 3.0 * u * tt * tt * p[2] + tt * tt * tt * p[3]);
}
