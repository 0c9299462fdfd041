#include "keyfrm/tracks/KivFXTrackMath.h"

#include <cmath>
#include <limits>

namespace {

// Positions of the location Bezier are counted in thousandths of the effect's length.
constexpr double kThousandths = 1000.0;
// Far beyond any sample or thousandth a track can have, yet safe to add to and subtract.
constexpr double kWideLimit = 4611686018427387904.0;  // 2^62

// Truncation toward zero into 64 bits without overflow: values beyond ±2^62 stop there.
std::int64_t TruncWide(double v) {
    if (v >= kWideLimit) return static_cast<std::int64_t>(kWideLimit);
    if (v <= -kWideLimit) return -static_cast<std::int64_t>(kWideLimit);
    return static_cast<std::int64_t>(v);
}

}  // namespace

float KivFXBezierParam(double a, double b, double x) {
    if (std::isnan(a) || std::isnan(b) || std::isnan(x)) return std::numeric_limits<float>::quiet_NaN();
    return KivFXSpanParam(TruncWide(a * kThousandths + 0.5), TruncWide(b * kThousandths + 0.5), TruncWide(x * kThousandths + 0.5));
}

int KivFXSaturate(std::int64_t v) {
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

std::int64_t KivFXSampleIndex(double location, std::int64_t last) {
    if (std::isnan(location)) return -static_cast<std::int64_t>(kWideLimit);
    return TruncWide(location * static_cast<double>(last) + 0.5);
}

BYTE KivFXChannelByte(float v) {
    if (std::isnan(v)) return 0;
    return static_cast<BYTE>(static_cast<std::uint64_t>(TruncWide(v)) & 0xFF);
}
